// The two window backgrounds: a river valley with the product's title along the top, and
// white drop-shadowed panels wherever the window puts a control over the picture.
#include "hw/artwork/Artwork.h"
#include "hw/artwork/Random.h"

#include "Lettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace hw {
namespace {

constexpr int kWidth = 632;
constexpr int kHeight = 453;
constexpr double kHorizon = 98;

// Places of the tutor window's controls (client coordinates), which the panels frame.
const QRect kLogo(15, 79, 120, 80);
const QRect kInstructions(148, 88, 331, 70);
const QRect kVideo(15, 168, 320, 240);
const QRect kTopics(349, 168, 129, 206);
const QRect kHandedness(351, 386, 129, 21);
const QRect kSectionButtons(502, 89, 119, 185 + 41 - 89);
const QRect kExitButton(502, 408, 119, 41);
const QRect kGallery(64, 161, 375, 180);

QPainterPath ridge(Random& rng, double base, double amplitude, double wavelength)
{
    QPainterPath path;
    path.moveTo(0, kHeight);
    path.lineTo(0, base);
    const double phase = rng.real(0, 6.28);
    for (double x = 0; x <= kWidth; x += 4) {
        const double y = base
            - amplitude
                * (0.6 * std::sin(x / wavelength + phase)
                   + 0.3 * std::sin(x / (wavelength * 0.37) + phase * 2)
                   + 0.1 * std::sin(x / (wavelength * 0.11)));
        path.lineTo(x, y);
    }
    path.lineTo(kWidth, kHeight);
    path.closeSubpath();
    return path;
}

void paintSky(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0, QColor(86, 136, 190));
    sky.setColorAt(0.55, QColor(150, 188, 222));
    sky.setColorAt(1, QColor(226, 232, 226));
    p.fillRect(QRectF(0, 0, kWidth, kHorizon + 4), sky);
    // low sun glow behind the hills, left of centre
    QRadialGradient glow(QPointF(180, kHorizon - 10), 260);
    glow.setColorAt(0, QColor(255, 240, 205, 150));
    glow.setColorAt(1, QColor(255, 240, 205, 0));
    p.fillRect(QRectF(0, 0, kWidth, kHorizon + 4), glow);
    // a few soft clouds
    Random rng(5);
    for (int c = 0; c < 5; ++c) {
        const QPointF at(rng.real(20, kWidth - 20), rng.real(12, 60));
        for (int puff = 0; puff < 7; ++puff) {
            const QPointF centre = at + QPointF(rng.real(-40, 40), rng.real(-5, 5));
            const double r = rng.real(10, 20);
            QRadialGradient cloud(centre, r * 1.8);
            cloud.setColorAt(0, QColor(255, 255, 255, 90));
            cloud.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(cloud);
            p.drawEllipse(centre, r * 2.6, r * 1.1);
        }
    }
}

void paintHills(QPainter& p)
{
    Random rng(17);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 150, 168));
    p.drawPath(ridge(rng, kHorizon - 26, 16, 90));
    p.setBrush(QColor(92, 122, 118));
    p.drawPath(ridge(rng, kHorizon - 12, 12, 55));
    // the tree line: rows of dark conifers on the far bank
    for (int row = 0; row < 3; ++row) {
        const double base = kHorizon + 2 + row * 5;
        const QColor tone = QColor(40 + row * 6, 72 + row * 8, 52 + row * 4);
        for (double x = -10; x < kWidth + 10; x += rng.real(5, 11)) {
            const double h = rng.real(12, 30) - row * 3;
            const double w = h * rng.real(0.28, 0.38);
            QPolygonF tree;
            tree << QPointF(x, base - h) << QPointF(x + w, base + 2) << QPointF(x - w, base + 2);
            p.setBrush(tone.lighter(rng.range(90, 115)));
            p.drawPolygon(tree);
        }
    }
}

void paintRiver(QPainter& p)
{
    // The river comes from the far left bend towards the viewer and fills the lower picture.
    QPainterPath water;
    water.moveTo(0, kHorizon + 14);
    water.cubicTo(140, kHorizon + 10, 300, kHorizon + 16, kWidth, kHorizon + 30);
    water.lineTo(kWidth, kHeight);
    water.lineTo(0, kHeight);
    water.closeSubpath();
    QLinearGradient deep(0, kHorizon + 10, 0, kHeight);
    deep.setColorAt(0, QColor(176, 196, 200));
    deep.setColorAt(0.25, QColor(92, 134, 146));
    deep.setColorAt(1, QColor(30, 74, 86));
    p.setPen(Qt::NoPen);
    p.setBrush(deep);
    p.drawPath(water);

    // reflections of the tree line
    QLinearGradient mirror(0, kHorizon + 14, 0, kHorizon + 60);
    mirror.setColorAt(0, QColor(36, 70, 52, 170));
    mirror.setColorAt(1, QColor(36, 70, 52, 0));
    p.setBrush(mirror);
    p.drawRect(QRectF(0, kHorizon + 14, kWidth, 46));

    // ripples: soft light and dark crescents, longer and wider apart nearer the viewer
    Random rng(29);
    p.save();
    p.setClipPath(water);
    for (double y = kHorizon + 16; y < kHeight; y += 1.2 + (y - kHorizon) * 0.022) {
        const double depth = (y - kHorizon) / (kHeight - kHorizon);
        const int count = static_cast<int>(30 - depth * 14);
        for (int i = 0; i < count; ++i) {
            const double x = rng.real(-30, kWidth);
            const double len = rng.real(5, 12) + depth * rng.real(18, 46);
            const bool light = rng.range(0, 1) != 0;
            QPen pen(light ? QColor(206, 226, 230, static_cast<int>(26 + 50 * depth * rng.real(0.5, 1)))
                           : QColor(12, 40, 50, static_cast<int>(30 + 60 * depth)),
                     0.6 + depth * rng.real(0.6, 1.8));
            pen.setCapStyle(Qt::RoundCap);
            p.setPen(pen);
            QPainterPath ripple;
            ripple.moveTo(x, y);
            ripple.quadTo(x + len / 2, y + (light ? -1 : 1) * (0.6 + depth * 1.5), x + len, y);
            p.drawPath(ripple);
        }
    }
    // glitter under the low sun: bright flecks in a band that widens towards the viewer
    for (int i = 0; i < 420; ++i) {
        const double depth = std::pow(rng.real(0, 1), 1.6);
        const double y = kHorizon + 16 + depth * (kHeight - kHorizon - 16);
        const double x = 180 + rng.real(-1, 1) * (14 + depth * 150) * rng.real(0.2, 1);
        const double len = 1.5 + depth * rng.real(3, 12);
        p.setPen(QPen(QColor(255, 250, 230, static_cast<int>(rng.range(60, 200) * (1 - depth * 0.6))),
                      0.7 + depth, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
    p.restore();
}

void paintBanks(QPainter& p)
{
    Random rng(31);
    // near bank, bottom right: grass and stones
    QPainterPath bank;
    bank.moveTo(kWidth, 300);
    bank.cubicTo(560, 330, 520, 400, 470, kHeight);
    bank.lineTo(kWidth, kHeight);
    bank.closeSubpath();
    QLinearGradient grass(470, 300, kWidth, kHeight);
    grass.setColorAt(0, QColor(104, 128, 64));
    grass.setColorAt(1, QColor(58, 82, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(grass);
    p.drawPath(bank);
    p.save();
    p.setClipPath(bank);
    for (int i = 0; i < 500; ++i) {
        const QPointF at(rng.real(460, kWidth), rng.real(300, kHeight));
        p.setPen(QPen(QColor(rng.range(70, 140), rng.range(110, 160), rng.range(40, 70)), 1.0));
        p.drawLine(at, at + QPointF(rng.real(-2, 2), -rng.real(3, 8)));
    }
    p.restore();
    // far-side gravel bar on the left
    QPainterPath bar;
    bar.moveTo(0, kHorizon + 20);
    bar.cubicTo(60, kHorizon + 22, 120, kHorizon + 30, 160, kHorizon + 40);
    bar.cubicTo(90, kHorizon + 46, 40, kHorizon + 50, 0, kHorizon + 52);
    bar.closeSubpath();
    p.setBrush(QColor(176, 160, 132));
    p.setPen(Qt::NoPen);
    p.drawPath(bar);
    // stones breaking the current
    static const QPointF stones[]
        = {{468, 318}, {446, 396}, {540, 282}, {30, kHorizon + 44}, {150, 438}, {96, kHorizon + 58}};
    for (const QPointF& at : stones) {
        const double r = 2 + (at.y() - kHorizon) * rng.real(0.02, 0.035);
        QRadialGradient stone(at + QPointF(-r * 0.3, -r * 0.4), r * 1.4);
        stone.setColorAt(0, QColor(170, 162, 146));
        stone.setColorAt(1, QColor(70, 66, 60));
        p.setBrush(stone);
        p.drawEllipse(at, r * 1.4, r * 0.7);
        p.setPen(QPen(QColor(240, 248, 248, 150), 1.0));
        p.drawArc(QRectF(at.x() - r * 1.8, at.y() - r * 0.4, r * 3.6, r * 1.4), 200 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
    }
}

void paintTitle(QPainter& p)
{
    artwork::drawEmbossed(p, QRectF(0, 0, kWidth, 52), QStringLiteral("Hacklewright"), artwork::titleFont(44),
                          QColor(255, 252, 240), Qt::AlignHCenter | Qt::AlignTop);
    QFont sub = artwork::bodyFont(13, true);
    sub.setItalic(true);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    artwork::drawEmbossed(p, QRectF(0, 51, kWidth, 18),
                          QStringLiteral("Volume 2  \u2022  Terrestrials & Attractor Patterns"), sub,
                          QColor(250, 246, 230), Qt::AlignHCenter | Qt::AlignTop);
}

// A white panel with a soft shadow down and to the right, framing rect with a margin.
void paintPanel(QPainter& p, QRect rect, int margin = 5)
{
    QRectF box = QRectF(rect).adjusted(-margin, -margin, margin, margin);
    box = box.intersected(QRectF(2, 2, kWidth - 6, kHeight - 5));
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 20, 30, 16));
        p.drawRoundedRect(box.translated(3, 3).adjusted(-i * 0.5, -i * 0.5, i * 0.5, i * 0.5), 5 + i * 0.5,
                          5 + i * 0.5);
    }
    p.setBrush(QColor(255, 255, 255));
    p.setPen(QPen(QColor(206, 210, 214), 1));
    p.drawRoundedRect(box, 4, 4);
}

} // namespace

QImage renderBackground(bool patternsMenu)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintSky(p);
    paintHills(p);
    paintRiver(p);
    paintBanks(p);
    paintTitle(p);
    if (patternsMenu) {
        artwork::drawEmbossed(p, QRectF(kGallery.left(), kGallery.top() - 44, kGallery.width(), 30),
                              QStringLiteral("Choose a pattern for a tying lesson"), artwork::titleFont(20),
                              QColor(255, 252, 240), Qt::AlignHCenter | Qt::AlignVCenter);
        paintPanel(p, kGallery, 6);
    } else {
        paintPanel(p, kLogo);
        paintPanel(p, kInstructions);
        paintPanel(p, kVideo);
        paintPanel(p, kTopics.united(kHandedness));
    }
    paintPanel(p, kSectionButtons, 6);
    paintPanel(p, kExitButton, 6);
    return image;
}

} // namespace hw
