#include "TourFrames.h"

#include "FrameDecor.h"
#include "LessonFrames.h"

#include "hw/artwork/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace hw::demo {
namespace {

const QSize kWindow(632, 453);

QImage artwork(const char* path)
{
    return renderArtwork(QString::fromLatin1(path));
}

void paintList(QPainter& p, const QRect& box, const QStringList& lines, int selected)
{
    p.save();
    p.setClipRect(box);
    p.setFont(demoFont(11));
    for (int i = 0; i < lines.size(); ++i) {
        const QRect line(box.left() + 1, box.top() + 1 + i * 13, box.width() - 2, 13);
        if (i == selected) {
            p.fillRect(line, QColor(0, 0, 128));
            p.setPen(Qt::white);
        } else {
            p.setPen(Qt::black);
        }
        p.drawText(line.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    p.restore();
}

// The tutor window as the scene shows it, at full size; scaled down afterwards.
QImage paintWindow(TourScene scene, int number)
{
    const bool gallery = scene == TourScene::Gallery;
    const bool lesson = scene == TourScene::Handedness || scene == TourScene::Recipes;
    QImage window = renderBackground(gallery);
    QPainter p(&window);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawImage(502, 89,
                artwork(scene == TourScene::Gallery || lesson ? "artwork/QuickTourUp.bmp"
                                                              : "artwork/QuickTourDown.bmp"));
    p.drawImage(502, 137, artwork("artwork/TechniquesUp.bmp"));
    p.drawImage(502, 185, artwork(gallery || lesson ? "artwork/PatternsDown.bmp" : "artwork/PatternsUp.bmp"));
    p.drawImage(502, 408, artwork("artwork/GoinFishin.bmp"));

    const PatternSpec& adams = patternSpecs().front();
    if (gallery) {
        const std::vector<PatternSpec>& all = patternSpecs();
        for (int i = 0; i < 6; ++i) {
            const QRect cell(64 + (i % 3) * 125, 161 + (i / 3) * 80, 125, 80);
            p.drawImage(cell.left() + 2, cell.top(),
                        renderFlyPicture(all[static_cast<size_t>(i)].kind, QSize(120, 80)));
        }
        return window;
    }

    QStringList topics;
    QStringList instructions;
    if (lesson) {
        p.drawImage(15, 79, renderFlyPicture(adams.kind, QSize(120, 80)));
        for (const StepSpec& s : adams.steps)
            topics << QString::fromLatin1(s.title);
        for (const MaterialSpec& m : adams.materials)
            instructions << QString::fromLatin1(m.value);
    } else {
        p.drawImage(15, 79, artwork("artwork/QuickTourLogo.bmp"));
        for (const TourSpec& t : tourSpecs())
            topics << QString::fromLatin1(t.title);
        instructions << QStringLiteral("Select a topic from the list, then press Play.")
                     << QStringLiteral("Prev and Next move through the topics.");
    }
    paintList(p, QRect(148, 88, 331, 70), instructions, -1);
    paintList(p, QRect(349, 168, 129, 206), topics, lesson ? 3 : number);

    const LessonFrames still(patternStep(adams, 3), false, QSize(320, 240));
    QImage picture = still.frame(20, 36, 0);
    p.drawImage(15, 168, picture);

    p.drawImage(15, 417, artwork("artwork/Previous.bmp"));
    p.drawImage(124, 417, artwork("artwork/Play.bmp"));
    p.drawImage(179, 417, artwork("artwork/Rewind.bmp"));
    p.drawImage(287, 417, artwork("artwork/Next.bmp"));
    if (lesson) {
        p.drawImage(69, 417, artwork("artwork/StepBack.bmp"));
        p.drawImage(233, 417, artwork("artwork/StepForward.bmp"));
        p.drawImage(355, 417, artwork("artwork/PrintRecipe.bmp"));
        const QRect combo(351, 386, 129, 21);
        p.fillRect(combo, Qt::white);
        p.setPen(QColor(120, 120, 120));
        p.drawRect(combo.adjusted(0, 0, -1, -1));
        p.setFont(demoFont(11));
        p.setPen(Qt::black);
        p.drawText(combo.adjusted(4, 0, -20, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tie Left Handed"));
        p.fillRect(QRect(combo.right() - 17, combo.top() + 2, 16, 17), QColor(212, 208, 200));
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        const QPointF c(combo.right() - 9, combo.center().y() + 1);
        p.drawPolygon(QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 2.5)}));
    }
    return window;
}

QList<QRectF> highlightsOf(TourScene scene)
{
    switch (scene) {
    case TourScene::Welcome:
        return {QRectF(120, 2, 392, 68)};
    case TourScene::Sections:
        return {QRectF(496, 83, 131, 149)};
    case TourScene::TopicsAndVideo:
        return {QRectF(344, 163, 139, 216), QRectF(10, 163, 330, 250)};
    case TourScene::Transport:
        return {QRectF(10, 412, 335, 41)};
    case TourScene::Gallery:
        return {QRectF(58, 155, 387, 192)};
    case TourScene::Handedness:
        return {QRectF(346, 381, 139, 31)};
    case TourScene::Recipes:
        return {QRectF(350, 412, 130, 41)};
    }
    return {};
}

} // namespace

TourFrames::TourFrames(const TourSpec& design, int number, const QSize& size)
    : backdrop_(size, QImage::Format_RGB32)
{
    QPainter p(&backdrop_);
    QLinearGradient wall(0, 0, 0, size.height());
    wall.setColorAt(0, QColor(238, 234, 242));
    wall.setColorAt(1, QColor(208, 200, 218));
    p.fillRect(backdrop_.rect(), wall);
    paintTitleBar(p, size.width(),
                  QStringLiteral("%1. %2").arg(number + 1).arg(QString::fromLatin1(design.title)),
                  QStringLiteral("Quick Tour"));
    paintBottomLedge(p, size);

    const double scale = 0.34;
    screen_ = QRectF((size.width() - kWindow.width() * scale) / 2, kTitleBarHeight + 9,
                     kWindow.width() * scale, kWindow.height() * scale);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(screen_.translated(2, 2), QColor(0, 0, 0, 60));
    p.drawImage(screen_, paintWindow(design.scene, number));
    p.setPen(QPen(QColor(60, 40, 80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(screen_);

    for (const QRectF& r : highlightsOf(design.scene))
        highlights_.append(QRectF(screen_.left() + r.left() * scale, screen_.top() + r.top() * scale,
                                  r.width() * scale, r.height() * scale));

    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(demoFont(11, false, true));
    p.setPen(QColor(50, 30, 66));
    p.drawText(QRectF(12, screen_.bottom() + 3, size.width() - 86, stampTop(size) - screen_.bottom() - 4),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, QString::fromLatin1(design.caption));
}

QImage TourFrames::frame(int index, int count, int32_t frameNumber) const
{
    QImage image = backdrop_.copy();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Dim the rest of the miniature, then ring the part being explained with a pulse.
    QPainterPath dim;
    dim.addRect(screen_);
    for (const QRectF& r : highlights_) {
        QPainterPath hole;
        hole.addRoundedRect(r, 3, 3);
        dim = dim.subtracted(hole);
    }
    const double appear = std::min(1.0, index / 8.0);
    p.fillPath(dim, QColor(20, 10, 30, static_cast<int>(90 * appear)));
    const double pulse = 0.5 + 0.5 * std::sin(index * 0.45);
    for (const QRectF& r : highlights_) {
        p.setPen(QPen(QColor(240, 140, 40, static_cast<int>((140 + 115 * pulse) * appear)), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
    }
    paintProgress(p, image.width(), count > 1 ? static_cast<double>(index) / (count - 1) : 1.0);
    paintFrameNumber(p, image.size(), frameNumber, QColor(70, 50, 90));
    p.end();
    stampFrame(image, frameNumber);
    return image;
}

SplashFrames::SplashFrames(const QSize& size)
    : backdrop_(size, QImage::Format_RGB32)
    , fly_(180, 110, QImage::Format_ARGB32_Premultiplied)
{
    QPainter p(&backdrop_);
    QLinearGradient water(0, 0, 0, size.height());
    water.setColorAt(0, QColor(16, 36, 52));
    water.setColorAt(0.6, QColor(30, 72, 86));
    water.setColorAt(1, QColor(20, 50, 62));
    p.fillRect(backdrop_.rect(), water);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        const double y = 30 + i * 4.6;
        const double x = std::fmod(i * 97.0, size.width() + 60) - 40;
        p.setPen(
            QPen(QColor(170, 210, 220, 30 + (i % 5) * 8), 1 + (i % 3) * 0.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, y), QPointF(x + 30 + (i % 7) * 9, y));
    }
    fly_.fill(Qt::transparent);
    QPainter f(&fly_);
    drawFinishedFly(f, QRectF(fly_.rect()), flyLook(FlyKind::ParachuteAdams));
}

QImage SplashFrames::frame(int index, int count, int32_t frameNumber) const
{
    Q_UNUSED(count);
    QImage image = backdrop_.copy();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int w = image.width();

    // The fly drifts in from the left and settles above the title, riding a little swell.
    const double arrive = std::min(1.0, index / 28.0);
    const double ease = 1 - std::pow(1 - arrive, 3);
    const double x = -fly_.width() + ease * ((w - fly_.width()) / 2.0 + fly_.width());
    const double y = 28 + 4 * std::sin(index * 0.3);
    p.drawImage(QPointF(x, y), fly_);

    auto fade = [&](int from, int to) {
        return std::clamp((index - from) / static_cast<double>(to - from), 0.0, 1.0);
    };
    QFont title(QStringLiteral("Liberation Serif"));
    title.setPixelSize(40);
    title.setBold(true);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(QColor(255, 250, 232, static_cast<int>(255 * fade(14, 32))));
    p.drawText(QRect(0, 134, w, 48), Qt::AlignCenter, QStringLiteral("Hacklewright"));
    p.setFont(demoFont(12, true));
    p.setPen(QColor(214, 230, 234, static_cast<int>(255 * fade(28, 42))));
    p.drawText(QRect(0, 180, w, 18), Qt::AlignCenter,
               QStringLiteral("Volume 2  \u2022  Terrestrials & Attractor Patterns"));
    p.setFont(demoFont(9));
    p.setPen(QColor(150, 180, 190, 160));
    p.drawText(QRect(6, stampTop(image.size()) - 14, 80, 12), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Frame %1").arg(frameNumber));
    p.end();
    stampFrame(image, frameNumber);
    return image;
}

} // namespace hw::demo
