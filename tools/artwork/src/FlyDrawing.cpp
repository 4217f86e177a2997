#include "hw/artwork/FlyDrawing.h"

#include "hw/artwork/Random.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace hw {
namespace {

constexpr double S = kShankY;
constexpr double kPi = std::numbers::pi;

QPen fibrePen(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QColor vary(const QColor& base, Random& rng, int spread)
{
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    const int d = rng.range(-spread, spread);
    return QColor(clamp(base.red() + d), clamp(base.green() + d), clamp(base.blue() + d), base.alpha());
}

// A slightly curved fibre from a to b; bend lifts its middle across its length.
void fibre(QPainter& p, QPointF a, QPointF b, double bend)
{
    const QPointF mid = (a + b) / 2;
    const QPointF d = b - a;
    const QPointF normal(-d.y(), d.x());
    QPainterPath path(a);
    path.quadTo(mid + normal * bend, b);
    p.drawPath(path);
}

// A barred (grizzly) fibre: alternating dark and light bars along its length.
void barredFibre(QPainter& p, QPointF a, QPointF b, double width, Random& rng)
{
    const int bars = 5;
    for (int i = 0; i < bars; ++i) {
        const QPointF s = a + (b - a) * (static_cast<double>(i) / bars);
        const QPointF e = a + (b - a) * (static_cast<double>(i + 1) / bars);
        const bool dark = (i + rng.range(0, 1)) % 2 == 0;
        p.setPen(fibrePen(dark ? QColor(72, 70, 68) : QColor(232, 230, 224), width));
        p.drawLine(s, e);
    }
}

void drawHook(QPainter& p, HookShape shape)
{
    QPainterPath hook;
    hook.moveTo(36, S);
    QPointF point(117, S + 15);
    if (shape == HookShape::Curved) {
        // a long shank that starts to curve down under the body and runs into a wide, round bend
        hook.cubicTo(90, S - 1.5, 124, S - 0.5, kBendX + 4, S + 5);
        hook.cubicTo(kBendX + 17, S + 14, kBendX + 12, S + 36, kBendX - 8, S + 35);
        hook.quadTo(121, S + 34, 115, S + 21);
        point = QPointF(115, S + 21);
    } else {
        hook.lineTo(kBendX, S);
        hook.arcTo(QRectF(kBendX - 14, S, 28, 28), 90, -180);
        hook.quadTo(124, S + 28, 117, S + 15);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(fibrePen(QColor(70, 62, 56), 2.8));
    p.drawPath(hook);
    p.drawEllipse(QPointF(kEyeX, S - 2), 4.6, 4.6);
    // barb
    QPolygonF barb;
    barb << point << point + QPointF(4.5, 4.5) << point + QPointF(2.5, 5.5);
    p.setBrush(QColor(70, 62, 56));
    p.drawPolygon(barb);
    p.setBrush(Qt::NoBrush);
    p.setPen(fibrePen(QColor(175, 168, 160), 0.8));
    p.drawPath(hook.translated(-0.4, -0.7));
    p.drawArc(QRectF(kEyeX - 4.6, S - 6.6, 9.2, 9.2), 60 * 16, 120 * 16);
}

void drawThreadBase(QPainter& p, const FlyLook& look)
{
    p.setPen(Qt::NoPen);
    p.setBrush(look.thread);
    p.drawRoundedRect(QRectF(38, S - 2.3, kBendX - 38, 4.6), 2, 2);
    p.setPen(fibrePen(look.thread.lighter(150), 0.5));
    for (double x = 40; x < kBendX - 1; x += 2.6)
        p.drawLine(QPointF(x, S - 2.1), QPointF(x + 1.6, S + 2.1));
}

void drawTail(QPainter& p, const FlyLook& look)
{
    Random rng(11);
    switch (look.tail) {
    case TailStyle::None:
        return;
    case TailStyle::HackleFibres:
        for (int i = 0; i < 26; ++i) {
            const double angle = rng.real(-0.05, 0.16);
            const double len = look.tailLength * rng.real(0.94, 1.04);
            const QPointF a(kBendX - 4 + rng.real(-2, 2), S - 0.5);
            const QPointF b = a + QPointF(std::cos(angle) * len, -std::sin(angle) * len);
            if (look.grizzly) {
                barredFibre(p, a, b, 0.7, rng);
            } else {
                p.setPen(fibrePen(vary(look.tailColour, rng, 25), 0.7));
                fibre(p, a, b, rng.real(-0.03, 0.03));
            }
        }
        return;
    case TailStyle::Squirrel:
        for (int i = 0; i < 40; ++i) {
            const double angle = rng.real(0.0, 0.16);
            const double len = look.tailLength * rng.real(0.8, 1.05);
            const QPointF a(kBendX - 4 + rng.real(-2, 2), S - 0.5);
            const QPointF dir(std::cos(angle), -std::sin(angle));
            p.setPen(fibrePen(vary(look.tailColour, rng, 20), 0.9));
            p.drawLine(a, a + dir * (len * 0.6));
            p.setPen(fibrePen(QColor(40, 32, 28), 0.9));
            p.drawLine(a + dir * (len * 0.6), a + dir * (len * 0.8));
            p.setPen(fibrePen(QColor(225, 210, 180), 0.9));
            p.drawLine(a + dir * (len * 0.8), a + dir * len);
        }
        return;
    case TailStyle::Tippets:
        for (int i = 0; i < 12; ++i) {
            const double angle = rng.real(0.0, 0.14);
            const double len = look.tailLength * rng.real(0.9, 1.02);
            const QPointF a(kBendX - 4, S - 0.5);
            const QPointF dir(std::cos(angle), -std::sin(angle));
            p.setPen(fibrePen(vary(look.tailColour, rng, 15), 1.0));
            p.drawLine(a, a + dir * len);
            p.setPen(fibrePen(QColor(25, 20, 20), 1.1));
            p.drawLine(a + dir * (len * 0.55), a + dir * (len * 0.63));
            p.drawLine(a + dir * (len * 0.85), a + dir * (len * 0.93));
        }
        return;
    case TailStyle::Hair:
        for (int i = 0; i < 34; ++i) {
            const double angle = rng.real(-0.02, 0.16);
            const double len = look.tailLength * rng.real(0.8, 1.04);
            const QPointF a(kBendX - 4 + rng.real(-2, 2), S - 0.5);
            const QPointF dir(std::cos(angle), -std::sin(angle));
            p.setPen(fibrePen(vary(look.tailColour, rng, 22), 1.1));
            p.drawLine(a, a + dir * (len * 0.85));
            p.setPen(fibrePen(look.tailColour.darker(220), 1.0));
            p.drawLine(a + dir * (len * 0.85), a + dir * len);
        }
        return;
    }
}

void drawPost(QPainter& p, const FlyLook& look)
{
    Random rng(23);
    const double x = look.postX;
    const double h = look.postHeight;
    if (look.post == PostStyle::Parachute) {
        for (int i = 0; i < 46; ++i) {
            const QPointF a(x + rng.real(-3, 3), S - 2);
            const QPointF b(x + rng.real(-6.5, 6.5), S - h + rng.real(-3, 3));
            // every fourth fibre a shade darker, so a white post still reads on white
            p.setPen(
                fibrePen(i % 4 == 0 ? look.postColour.darker(130) : vary(look.postColour, rng, 18), 1.2));
            fibre(p, a, b, rng.real(-0.05, 0.05));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(look.thread);
        p.drawRoundedRect(QRectF(x - 3.6, S - std::min(14.0, h * 0.4), 7.2, std::min(12.0, h * 0.35)), 1.5,
                          1.5);
    } else if (look.post == PostStyle::DividedWings) {
        for (int side = 0; side < 2; ++side) {
            p.save();
            p.translate(x, S - 3);
            p.rotate(side ? 14 : -16);
            QColor c = look.postColour;
            c.setAlpha(side ? 235 : 180);
            QPainterPath wing;
            wing.moveTo(0, 0);
            wing.cubicTo(-9, -12, -8, -h * 0.9, 0, -h);
            wing.cubicTo(8, -h * 0.9, 7, -12, 0, 0);
            p.setPen(fibrePen(c.darker(125), 0.7));
            p.setBrush(c);
            p.drawPath(wing);
            p.setPen(fibrePen(c.darker(112), 0.4));
            for (int v = 1; v < 6; ++v)
                p.drawLine(QPointF(0, -2), QPointF(-6 + 2.4 * v, -h * 0.85));
            p.restore();
        }
    }
}

QPainterPath extendedBodyPath(const FlyLook& look)
{
    QPainterPath path;
    if (look.extended == ExtendedStyle::Worm) {
        // about twice the shank: along it, then drooping away behind the bend
        path.moveTo(36, S - 1);
        path.cubicTo(90, S - 8, 150, S - 8, 182, S + 8);
        path.cubicTo(194, S + 15, 200, S + 24, 197, S + 31);
        path.cubicTo(194, S + 35, 189, S + 33, 188, S + 29);
        path.cubicTo(184, S + 18, 160, S + 6, 130, S + 5);
        path.cubicTo(90, S + 5, 60, S + 7, 36, S + 7);
        path.closeSubpath();
        return path;
    }
    const double ry = look.extended == ExtendedStyle::Cricket ? 10 : 9;
    path.moveTo(88, S - ry + 1);
    path.cubicTo(130, S - ry - 2, 178, S - ry, 188, S - 1);
    path.cubicTo(186, S + ry - 1, 150, S + ry + 1, 88, S + ry - 1);
    path.closeSubpath();
    return path;
}

void drawExtendedBody(QPainter& p, const FlyLook& look)
{
    if (look.extended == ExtendedStyle::None)
        return;
    const QPainterPath path = extendedBodyPath(look);
    const QRectF box = path.boundingRect();
    QLinearGradient shade(0, box.top(), 0, box.bottom());
    shade.setColorAt(0, look.extendedColour.lighter(135));
    shade.setColorAt(0.45, look.extendedColour);
    shade.setColorAt(1, look.extendedColour.darker(150));
    p.setPen(fibrePen(look.extendedColour.darker(170), 0.8));
    p.setBrush(shade);
    p.drawPath(path);
    // thread segmentation wraps
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    p.setPen(
        fibrePen(look.extended == ExtendedStyle::Worm ? look.extendedColour.darker(160) : look.thread, 1.4));
    const double step = look.extended == ExtendedStyle::Worm ? 8 : 13;
    for (double x = box.left() + step; x < box.right() - 3; x += step)
        p.drawLine(QPointF(x, box.top()), QPointF(x + 3, box.bottom()));
    p.restore();
}

QPainterPath abdomenPath(const FlyLook& look)
{
    const double front = look.bodyFront;
    const double back = kBendX + 2;
    QPainterPath path;
    path.moveTo(back, S - 3.2);
    path.cubicTo(back - 20, S - 4, front + 18, S - 6.4, front, S - 6);
    path.cubicTo(front - 3, S - 4.5, front - 3, S + 4.5, front, S + 6);
    path.cubicTo(front + 18, S + 6.4, back - 20, S + 4, back, S + 3.2);
    path.cubicTo(back + 2, S + 2, back + 2, S - 2, back, S - 3.2);
    return path;
}

// Points along a path's outline by length, from one flattening of the path (asking the
// path itself for each point costs a full length computation every time).
class OutlineSampler {
public:
    explicit OutlineSampler(const QPainterPath& path)
        : polygon_(path.toFillPolygon())
    {
        lengths_.reserve(static_cast<size_t>(polygon_.size()));
        double total = 0;
        lengths_.push_back(0);
        for (qsizetype i = 1; i < polygon_.size(); ++i) {
            total += QLineF(polygon_[i - 1], polygon_[i]).length();
            lengths_.push_back(total);
        }
    }
    // The point at fraction t of the length, and the direction of travel there.
    QPointF at(double t, QPointF* direction) const
    {
        if (polygon_.size() < 2) {
            *direction = QPointF(1, 0);
            return polygon_.isEmpty() ? QPointF() : polygon_.first();
        }
        const double target = t * lengths_.back();
        const auto it = std::upper_bound(lengths_.begin(), lengths_.end(), target);
        const qsizetype i = std::clamp<qsizetype>(it - lengths_.begin(), 1, polygon_.size() - 1);
        const double span = lengths_[static_cast<size_t>(i)] - lengths_[static_cast<size_t>(i - 1)];
        const double f = span > 0 ? (target - lengths_[static_cast<size_t>(i - 1)]) / span : 0;
        *direction = polygon_[i] - polygon_[i - 1];
        return polygon_[i - 1] + (polygon_[i] - polygon_[i - 1]) * f;
    }

private:
    QPolygonF polygon_;
    std::vector<double> lengths_;
};

void fuzz(QPainter& p, const QPainterPath& outline, const QColor& colour, Random& rng, int count,
          double length)
{
    // Dubbing: short, fine, half-transparent fibres standing out from the outline, leaning
    // back along the body the way the dubbing was twisted on.
    const OutlineSampler sampler(outline);
    for (int i = 0; i < count; ++i) {
        QPointF along;
        const QPointF at = sampler.at(rng.real(0, 1), &along);
        const double tangent = std::atan2(along.y(), along.x());
        const double angle = tangent - kPi / 2 + rng.real(-0.9, 0.9);
        QColor c = vary(colour, rng, 24);
        c.setAlpha(rng.range(110, 200));
        p.setPen(fibrePen(c, rng.real(0.3, 0.6)));
        const QPointF tip = at + QPointF(std::cos(angle), std::sin(angle)) * rng.real(length * 0.3, length);
        fibre(p, at, tip, rng.real(-0.15, 0.15));
    }
}

// The rear hump and the thread waist in front of it, or the smaller front hump.
void drawAntHump(QPainter& p, const FlyLook& look, bool rear)
{
    if (rear) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.thread);
        p.drawRoundedRect(QRectF(60, S - 2.5, 44, 5), 2, 2);
    }
    const QRectF hump = rear ? QRectF(100, S - 21, 48, 30) : QRectF(34, S - 14, 30, 22);
    QRadialGradient gloss(hump.center() + QPointF(-hump.width() * 0.18, -hump.height() * 0.22),
                          hump.width() * 0.6);
    gloss.setColorAt(0, look.bodyColour.lighter(260));
    gloss.setColorAt(0.35, look.bodyColour.lighter(130));
    gloss.setColorAt(1, look.bodyColour);
    p.setPen(fibrePen(look.bodyColour.darker(150), 0.8));
    p.setBrush(gloss);
    p.drawEllipse(hump);
    // the folded deer hair shows as fine strands over the hump
    p.setPen(fibrePen(look.bodyColour.lighter(180), 0.35));
    for (int i = 0; i < 7; ++i) {
        const double dy = hump.height() * (0.2 + 0.1 * i);
        p.drawArc(hump.adjusted(2, dy * 0.3, -2, -dy * 0.3), 20 * 16, 140 * 16);
    }
}

QPainterPath underbodyPath(const FlyLook& look)
{
    const double front = look.underbodyFront;
    const double back = kBendX + 1;
    QPainterPath path;
    path.moveTo(back, S - 2.6);
    path.cubicTo(back - 24, S - 3.4, front + 16, S - 5, front, S - 4.2);
    path.cubicTo(front - 2, S - 3, front - 2, S + 3, front, S + 4.2);
    path.cubicTo(front + 16, S + 5, back - 24, S + 3.4, back, S + 2.6);
    path.closeSubpath();
    return path;
}

// Yarn wrapped in smooth, touching turns.
void drawUnderbody(QPainter& p, const FlyLook& look)
{
    if (!look.underbodyColour.isValid())
        return;
    const QPainterPath path = underbodyPath(look);
    const QRectF box = path.boundingRect();
    QLinearGradient shade(0, box.top(), 0, box.bottom());
    shade.setColorAt(0, look.underbodyColour.lighter(115));
    shade.setColorAt(1, look.underbodyColour.darker(135));
    p.setPen(fibrePen(look.underbodyColour.darker(150), 0.5));
    p.setBrush(shade);
    p.drawPath(path);
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    p.setPen(fibrePen(look.underbodyColour.darker(125), 0.5));
    for (double x = box.left() + 2; x < box.right(); x += 2.2)
        p.drawLine(QPointF(x, box.top()), QPointF(x + 1.6, box.bottom()));
    p.restore();
}

void drawBody(QPainter& p, const FlyLook& look)
{
    if (look.body == BodyStyle::None)
        return;
    if (look.body == BodyStyle::AntHumps) {
        drawAntHump(p, look, true);
        return;
    }
    Random rng(41);
    const QPainterPath path = abdomenPath(look);
    const QRectF box = path.boundingRect();
    switch (look.body) {
    case BodyStyle::Dubbed: {
        QLinearGradient shade(0, box.top(), 0, box.bottom());
        shade.setColorAt(0, look.bodyColour.lighter(120));
        shade.setColorAt(1, look.bodyColour.darker(135));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawPath(path);
        fuzz(p, path, look.bodyColour, rng, 150, 3.0);
        p.save();
        p.setClipPath(path, Qt::IntersectClip);
        for (int i = 0; i < 120; ++i) {
            const QPointF at(rng.real(box.left(), box.right()), rng.real(box.top(), box.bottom()));
            p.setPen(fibrePen(vary(look.bodyColour, rng, 35), 0.6));
            const double angle = rng.real(0, kPi);
            p.drawLine(at, at + QPointF(std::cos(angle), std::sin(angle)) * 2.5);
        }
        p.restore();
        break;
    }
    case BodyStyle::Floss: {
        QLinearGradient shade(0, box.top(), 0, box.bottom());
        shade.setColorAt(0, look.bodyColour.darker(115));
        shade.setColorAt(0.3, look.bodyColour.lighter(140));
        shade.setColorAt(1, look.bodyColour.darker(150));
        p.setPen(fibrePen(look.bodyColour.darker(160), 0.6));
        p.setBrush(shade);
        p.drawPath(path);
        break;
    }
    case BodyStyle::Peacock:
    case BodyStyle::Coachman: {
        const QColor herl(58, 66, 40);
        p.setPen(Qt::NoPen);
        p.setBrush(herl);
        p.drawPath(path);
        p.save();
        p.setClipPath(path, Qt::IntersectClip);
        for (int i = 0; i < 220; ++i) {
            const QPointF at(rng.real(box.left(), box.right()), rng.real(box.top(), box.bottom()));
            static const QColor sheen[]
                = {QColor(40, 120, 70), QColor(30, 90, 100), QColor(120, 100, 40), QColor(70, 150, 80)};
            p.setPen(fibrePen(sheen[rng.range(0, 3)], 0.9));
            p.drawLine(at, at + QPointF(0.6, 1.4));
        }
        if (look.body == BodyStyle::Coachman) {
            const double mid = (look.bodyFront + kBendX) / 2;
            QLinearGradient red(0, box.top(), 0, box.bottom());
            red.setColorAt(0, QColor(150, 20, 30));
            red.setColorAt(0.3, QColor(230, 60, 60));
            red.setColorAt(1, QColor(120, 10, 20));
            p.setPen(Qt::NoPen);
            p.setBrush(red);
            p.drawRect(QRectF(mid - 14, box.top(), 28, box.height()));
        }
        p.restore();
        fuzz(p, path, herl.lighter(150), rng, 90, 3.5);
        break;
    }
    case BodyStyle::None:
    case BodyStyle::AntHumps:
        break;
    }
}

bool palmered(const FlyLook& look)
{
    return look.hackle == HackleStyle::Palmered || look.hackle == HackleStyle::CollarAndPalmer;
}

// The slant of a turn wound forward the way the thread goes, seen from the side: its top lies
// nearer the bend than its bottom. A rib counter-wound through a palmered hackle slants the
// other way and crosses the hackle's stem.
constexpr double kTurnSlant = 4;

void drawRib(QPainter& p, const FlyLook& look)
{
    if (look.rib == RibStyle::None || look.body == BodyStyle::None)
        return;
    const double slant = palmered(look) ? -kTurnSlant : kTurnSlant;
    for (double x = kBendX - 3; x > look.bodyFront + 4; x -= 8) {
        p.setPen(fibrePen(look.ribColour.darker(130), 1.5));
        const double half = 3.6 + 2.4 * (kBendX - x) / (kBendX - look.bodyFront);
        p.drawLine(QPointF(x, S - half), QPointF(x - slant, S + half));
        p.setPen(fibrePen(look.ribColour.lighter(150), 0.6));
        p.drawLine(QPointF(x - 0.1 * slant, S - half + 0.5), QPointF(x - 0.85 * slant, S + half - 2));
    }
}

void drawWing(QPainter& p, const FlyLook& look)
{
    Random rng(53);
    switch (look.wing) {
    case WingStyle::None:
        return;
    case WingStyle::Quill: {
        QPainterPath quill;
        quill.moveTo(78, S - 7);
        quill.cubicTo(110, S - 11, 145, S - 12, 168, S - 10);
        quill.cubicTo(174, S - 9, 173, S - 6, 166, S - 5.5);
        quill.cubicTo(140, S - 5, 105, S - 4, 82, S - 3.5);
        quill.closeSubpath();
        QLinearGradient shade(76, S - 14, 76, S - 3);
        shade.setColorAt(0, look.wingColour.lighter(125));
        shade.setColorAt(1, look.wingColour.darker(140));
        p.setPen(fibrePen(look.wingColour.darker(180), 0.7));
        p.setBrush(shade);
        p.drawPath(quill);
        p.save();
        p.setClipPath(quill, Qt::IntersectClip);
        // mottling: soft light and dark blotches, and the fine slant of the quill fibres
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 38; ++i) {
            QColor c = rng.range(0, 1) ? look.wingColour.lighter(rng.range(130, 170))
                                       : look.wingColour.darker(rng.range(130, 160));
            c.setAlpha(110);
            p.setBrush(c);
            p.drawEllipse(QPointF(rng.real(80, 170), rng.real(S - 12, S - 4)), rng.real(2, 5),
                          rng.real(1, 2.2));
        }
        p.setPen(fibrePen(look.wingColour.darker(125), 0.3));
        for (double x = 80; x < 172; x += 1.6)
            p.drawLine(QPointF(x, S - 13), QPointF(x + 4, S - 3));
        p.restore();
        return;
    }
    case WingStyle::Hair:
        for (int i = 0; i < 48; ++i) {
            const QPointF a(58 + rng.real(0, 10), S - 6 + rng.real(-1.5, 1.5));
            const QPointF b(150 + rng.real(0, 14), S - 12 + rng.real(-5, 3));
            p.setPen(fibrePen(vary(look.wingColour, rng, 28), 1.0));
            fibre(p, a, b, rng.real(-0.04, 0.01));
            p.setPen(fibrePen(look.wingColour.darker(200), 1.0));
            p.drawLine(b + (a - b) * 0.06, b);
        }
        if (look.head == HeadStyle::Clipped) {
            for (int i = 0; i < 20; ++i) {
                const double x = 42 + i * 0.8;
                p.setPen(fibrePen(vary(look.wingColour, rng, 25), 1.0));
                p.drawLine(QPointF(x, S - 4), QPointF(x - 2 + rng.real(-1, 1), S - 11 - rng.real(0, 2)));
            }
        }
        return;
    case WingStyle::Shell: {
        QPainterPath shell;
        // a slab lying on the body: thick over the middle, pinched down at both tie-in points
        shell.moveTo(look.bodyFront - 10, S - 3);
        shell.cubicTo(look.bodyFront + 4, S - 19, kBendX - 10, S - 19, kBendX + 5, S - 3);
        shell.lineTo(kBendX + 3, S - 1);
        shell.cubicTo(kBendX - 12, S - 8, look.bodyFront + 6, S - 8, look.bodyFront - 8, S - 1);
        shell.closeSubpath();
        QLinearGradient shade(0, S - 20, 0, S - 2);
        shade.setColorAt(0, look.wingColour.lighter(170));
        shade.setColorAt(0.35, look.wingColour);
        shade.setColorAt(1, look.wingColour.darker(140));
        p.setPen(fibrePen(look.wingColour.darker(170), 0.7));
        p.setBrush(shade);
        p.drawPath(shell);
        p.save();
        p.setClipPath(shell, Qt::IntersectClip);
        p.setPen(fibrePen(look.wingColour.lighter(150), 0.4));
        for (int i = 0; i < 4; ++i) {
            QPainterPath strand;
            strand.moveTo(look.bodyFront - 6, S - 3 - i);
            strand.cubicTo(look.bodyFront + 6, S - 16 + i * 1.6, kBendX - 12, S - 16 + i * 1.6, kBendX + 2,
                           S - 3 - i);
            p.drawPath(strand);
        }
        p.restore();
        return;
    }
    case WingStyle::WingCase: {
        const QRectF box(46, S - 12, 34, 6);
        QLinearGradient shade(box.topLeft(), box.bottomLeft());
        shade.setColorAt(0, look.wingColour.lighter(130));
        shade.setColorAt(1, look.wingColour.darker(140));
        p.setPen(fibrePen(look.wingColour.darker(170), 0.6));
        p.setBrush(shade);
        p.drawRoundedRect(box, 3, 3);
        p.setPen(fibrePen(look.wingColour.lighter(165), 1.0));
        for (double x = box.left() + 4; x < box.right() - 2; x += 6)
            p.drawLine(QPointF(x, box.top() + 1), QPointF(x + 2, box.bottom() - 1));
        return;
    }
    }
}

void drawLegs(QPainter& p, const FlyLook& look)
{
    Random rng(67);
    if (look.legs == LegStyle::Kicking) {
        for (int side = 0; side < 2; ++side) {
            const QPointF shift = side ? QPointF(0, 0) : QPointF(-7, -2.5);
            const QColor c = side ? look.legColour : look.legColour.darker(125);
            const QPointF hip = QPointF(86, S + 1) + shift;
            const QPointF knee = QPointF(150, S - 15) + shift;
            const QPointF foot = QPointF(130, S + 22) + shift;
            // the thigh: thick at the hip, tapering to the knot at the knee
            const QPointF d = knee - hip;
            const double len = std::hypot(d.x(), d.y());
            const QPointF n(-d.y() / len, d.x() / len);
            const QPointF bulge = hip + d * 0.45 + n * -3;
            QPainterPath thigh;
            thigh.moveTo(hip + n * 2.6);
            thigh.quadTo(bulge + n * 3.2, knee + n * 1.2);
            thigh.lineTo(knee - n * 1.2);
            thigh.quadTo(bulge - n * 3.2, hip - n * 2.6);
            thigh.closeSubpath();
            QLinearGradient shade(hip + n * 3, hip - n * 3);
            shade.setColorAt(0, c.darker(140));
            shade.setColorAt(0.5, c.lighter(125));
            shade.setColorAt(1, c.darker(120));
            p.setPen(fibrePen(c.darker(170), 0.5));
            p.setBrush(shade);
            p.drawPath(thigh);
            p.setBrush(Qt::NoBrush);
            p.setPen(fibrePen(c, 1.6));
            p.drawLine(knee, foot);
            p.setPen(fibrePen(c.darker(140), 0.6));
            for (int spine = 1; spine < 5; ++spine) {
                const QPointF at = knee + (foot - knee) * (spine / 5.0);
                p.drawLine(at, at + QPointF(2.2, 1.0));
            }
            p.setPen(fibrePen(c, 1.2));
            p.drawLine(foot, foot + QPointF(-6, 2.5));
            p.setPen(Qt::NoPen);
            p.setBrush(c.darker(150));
            p.drawEllipse(knee, 2.6, 2.3);
        }
        return;
    }
    if (look.legs == LegStyle::Soft) {
        // partridge fibres swept back under the thorax
        for (int i = 0; i < 22; ++i) {
            const QPointF a(52 + rng.real(0, 16), S + 3);
            const QPointF b = a + QPointF(rng.real(16, 24), rng.real(9, 14));
            QColor c = i % 3 ? vary(look.legColour, rng, 20) : look.legColour.darker(170);
            p.setPen(fibrePen(c, 0.7));
            fibre(p, a, b, rng.real(0.02, 0.08));
        }
        return;
    }
    if (look.legs == LegStyle::Fibres) {
        // spade hackle fibres on each side of the body, angled back and down along it
        for (int side = 0; side < 2; ++side) {
            const QPointF shift = side ? QPointF(0, 0) : QPointF(-5, -1.5);
            for (int i = 0; i < 9; ++i) {
                const QPointF a = QPointF(84 + rng.real(-2, 2), S + 2) + shift;
                const QPointF b = a + QPointF(rng.real(34, 42), rng.real(15, 21));
                const QColor c = side ? vary(look.legColour, rng, 18) : look.legColour.darker(130);
                p.setPen(fibrePen(c, 0.8));
                fibre(p, a, b, rng.real(-0.06, 0.02));
            }
        }
        return;
    }
    if (look.legs == LegStyle::Spindly) {
        const double base = look.body == BodyStyle::AntHumps ? 78 : std::max(52.0, look.bodyFront - 6);
        for (int i = 0; i < 3; ++i) {
            const QPointF a(base + i * 7, S + 3);
            const QPointF k = a + QPointF(-10 + i * 9, 12 + rng.real(0, 2));
            const QPointF f = k + QPointF(-7 + i * 8, 11);
            p.setPen(fibrePen(vary(look.legColour, rng, 15), 1.1));
            p.setBrush(Qt::NoBrush);
            QPainterPath leg(a);
            leg.lineTo(k);
            leg.lineTo(f);
            p.drawPath(leg);
        }
    }
}

void drawThorax(QPainter& p, const FlyLook& look)
{
    if (look.body == BodyStyle::AntHumps) {
        drawAntHump(p, look, false);
        return;
    }
    if (!look.thoraxColour.isValid())
        return;
    Random rng(71);
    const double right = std::max(look.bodyFront + 4, 62.0);
    QPainterPath ball;
    ball.addEllipse(QRectF(42, S - 9.5, right - 42, 19));
    QLinearGradient shade(0, S - 10, 0, S + 10);
    shade.setColorAt(0, look.thoraxColour.lighter(120));
    shade.setColorAt(1, look.thoraxColour.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(ball);
    fuzz(p, ball, look.thoraxColour, rng, 110, 4.5);
}

void hackleStroke(QPainter& p, const FlyLook& look, Random& rng, QPointF a, QPointF b, bool barred)
{
    if (barred) {
        barredFibre(p, a, b, 0.7, rng);
    } else {
        p.setPen(fibrePen(vary(look.hackleColour, rng, 30), 0.7));
        p.drawLine(a, b);
    }
}

// The hackle wound from the bend forward over the abdomen in open turns, short at the back:
// the stem's turns slant as the thread's do, and the fibres stand out from them.
void drawPalmer(QPainter& p, const FlyLook& look, double amount)
{
    if (!palmered(look))
        return;
    const double reach = kBendX - 4 - (kBendX - 4 - look.bodyFront) * amount;
    for (double x = kBendX - 6; x >= reach - 0.5 && x > look.bodyFront + 2; x -= 10) {
        const double half = 3.4 + 2.6 * (kBendX - x) / (kBendX - look.bodyFront);
        p.setPen(fibrePen(look.hackleColour.darker(160), 1.3));
        p.drawLine(QPointF(x, S - half), QPointF(x - kTurnSlant, S + half));
    }
    Random rng(79);
    const int n = static_cast<int>(70 * amount);
    for (int i = 0; i < n; ++i) {
        const double x = kBendX - 4 - (kBendX - 4 - look.bodyFront) * (static_cast<double>(i) / 70);
        const double len = 8 + 6 * (1 - (x - look.bodyFront) / (kBendX - look.bodyFront));
        const double angle = rng.real(-0.9, 0.9) + (i % 2 ? kPi : 0);
        const QPointF a(x, S);
        hackleStroke(p, look, rng, a,
                     a + QPointF(std::sin(angle) * len * 0.5 + len * 0.35, -std::cos(angle) * len),
                     look.grizzly && look.hackle == HackleStyle::Palmered && i % 2);
    }
}

// The collar in front of the body or the parachute round the post.
void drawHackle(QPainter& p, const FlyLook& look, double amount)
{
    Random rng(83);
    const bool collar = look.hackle == HackleStyle::Collar || look.hackle == HackleStyle::CollarAndPalmer;
    auto stroke = [&](QPointF a, QPointF b, bool barred) { hackleStroke(p, look, rng, a, b, barred); };
    if (collar) {
        const double x = look.post == PostStyle::DividedWings ? look.postX - 6 : look.bodyFront - 12;
        const int n = static_cast<int>(96 * amount);
        for (int i = 0; i < n; ++i) {
            const double angle = rng.real(-1.05, 1.05) + (i % 2 ? kPi : 0);
            const double len = rng.real(19, 26);
            const QPointF a(x + rng.real(-3, 3), S);
            // a mixed collar shows one barred fibre in three; a palmered fly's thorax hackle is all grizzly
            const bool barred = look.grizzly && (look.hackle == HackleStyle::CollarAndPalmer || i % 3 == 0);
            stroke(a, a + QPointF(std::sin(angle) * len, -std::cos(angle) * len), barred);
        }
    }
    if (look.hackle == HackleStyle::Parachute) {
        const QPointF centre(look.postX, S - std::min(13.0, look.postHeight * 0.4));
        const int n = static_cast<int>(84 * amount);
        for (int i = 0; i < n; ++i) {
            const double phi = rng.real(0, 2 * kPi);
            const double r = rng.real(18, 24);
            const QPointF end = centre + QPointF(std::cos(phi) * r, std::sin(phi) * r * 0.24);
            stroke(centre + QPointF(0, rng.real(-1.5, 1.5)), end, look.grizzly && i % 2 == 0);
        }
    }
}

// What will become the shell or wing case, tied in and lying back until it is pulled over:
// a wing-case strip at the front of the abdomen, a foam strip or a bunch of hair at the bend.
void drawShellTieIn(QPainter& p, const FlyLook& look)
{
    Random rng(59);
    if (look.wing == WingStyle::WingCase) {
        QPainterPath strip;
        strip.moveTo(look.bodyFront - 3, S - 5);
        strip.cubicTo(look.bodyFront + 14, S - 9, look.bodyFront + 28, S - 12, look.bodyFront + 40, S - 13);
        strip.lineTo(look.bodyFront + 41, S - 8);
        strip.cubicTo(look.bodyFront + 28, S - 7, look.bodyFront + 14, S - 5, look.bodyFront - 3, S - 1);
        strip.closeSubpath();
        p.setPen(fibrePen(look.wingColour.darker(170), 0.6));
        p.setBrush(look.wingColour);
        p.drawPath(strip);
        p.save();
        p.setClipPath(strip, Qt::IntersectClip);
        p.setPen(fibrePen(look.wingColour.lighter(165), 1.0));
        for (double x = look.bodyFront + 2; x < look.bodyFront + 40; x += 6)
            p.drawLine(QPointF(x, S - 14), QPointF(x + 2, S - 2));
        p.restore();
        return;
    }
    if (look.wing != WingStyle::Shell)
        return;
    if (look.hairShell) {
        // bound down along the top of the shank, the tips reaching back past the bend
        for (int i = 0; i < 44; ++i) {
            const QPointF a(look.bodyFront - 2 + rng.real(0, 6), S - 3 + rng.real(-1, 1));
            const QPointF b(kBendX + 26 + rng.real(0, 10), S - 9 + rng.real(-4, 3));
            p.setPen(fibrePen(vary(look.wingColour, rng, 26), 1.0));
            fibre(p, a, b, rng.real(-0.03, 0.0));
            p.setPen(fibrePen(look.wingColour.darker(210), 1.0));
            p.drawLine(b + (a - b) * 0.08, b);
        }
        return;
    }
    QPainterPath foam;
    foam.moveTo(kBendX - 10, S - 6);
    foam.lineTo(kBendX + 44, S - 12);
    foam.lineTo(kBendX + 45, S - 5);
    foam.lineTo(kBendX - 10, S + 1);
    foam.closeSubpath();
    QLinearGradient shade(0, S - 12, 0, S + 1);
    shade.setColorAt(0, look.wingColour.lighter(170));
    shade.setColorAt(1, look.wingColour.darker(130));
    p.setPen(fibrePen(look.wingColour.darker(170), 0.7));
    p.setBrush(shade);
    p.drawPath(foam);
    p.setPen(Qt::NoPen);
    p.setBrush(look.thread);
    p.drawRoundedRect(QRectF(kBendX - 8, S - 6, 5, 8), 1.5, 1.5);
}

// Deer hair spun round the shank and not yet trimmed: a shaggy ball, the tips swept back.
void drawSpunHair(QPainter& p, const FlyLook& look)
{
    if (look.head != HeadStyle::Square)
        return;
    Random rng(89);
    for (int i = 0; i < 150; ++i) {
        const QPointF a(rng.real(38, 74), S + rng.real(-1.5, 1.5));
        const double angle = rng.real(0.15, kPi - 0.15) * (i % 2 ? 1 : -1);
        const double len = rng.real(14, 23);
        const QPointF b
            = a + QPointF(std::abs(std::cos(angle)) * len * 0.5 + len * 0.25, std::sin(angle) * len);
        QColor c = vary(look.headColour, rng, 40);
        c.setAlpha(rng.range(170, 255));
        p.setPen(fibrePen(c, 0.8));
        fibre(p, a, b, rng.real(-0.1, 0.1));
        p.setPen(fibrePen(look.headColour.lighter(200), 0.8));
        p.drawLine(b + (a - b) * 0.1, b);
    }
}

void drawHead(QPainter& p, const FlyLook& look)
{
    switch (look.head) {
    case HeadStyle::Thread: {
        QPolygonF cone;
        cone << QPointF(35, S - 3.2) << QPointF(45, S - 4.6) << QPointF(45, S + 4.6) << QPointF(35, S + 3.2);
        p.setPen(Qt::NoPen);
        p.setBrush(look.headColour);
        p.drawPolygon(cone);
        p.setPen(fibrePen(look.headColour.lighter(200), 0.7));
        p.drawLine(QPointF(36, S - 2), QPointF(44, S - 3));
        return;
    }
    case HeadStyle::Bead: {
        QRadialGradient gold(QPointF(36, S - 3.5), 10);
        gold.setColorAt(0, QColor(255, 246, 200));
        gold.setColorAt(0.35, QColor(230, 190, 70));
        gold.setColorAt(1, QColor(140, 100, 20));
        p.setPen(fibrePen(QColor(120, 85, 20), 0.6));
        p.setBrush(gold);
        p.drawEllipse(QPointF(39, S), 8.2, 8.2);
        return;
    }
    case HeadStyle::Bullet: {
        QPainterPath bullet;
        bullet.moveTo(35, S);
        bullet.cubicTo(36, S - 12, 54, S - 15, 75, S - 14);
        bullet.lineTo(75, S + 14);
        bullet.cubicTo(54, S + 15, 36, S + 12, 35, S);
        QLinearGradient shade(0, S - 15, 0, S + 15);
        shade.setColorAt(0, look.headColour.lighter(150));
        shade.setColorAt(0.5, look.headColour);
        shade.setColorAt(1, look.headColour.darker(150));
        p.setPen(fibrePen(look.headColour.darker(170), 0.7));
        p.setBrush(shade);
        p.drawPath(bullet);
        p.setPen(fibrePen(look.headColour.lighter(170), 0.45));
        for (int k = -5; k <= 5; ++k)
            p.drawLine(QPointF(38, S + k * 1.3), QPointF(74, S + k * 2.6));
        Random rng(97);
        // the flared tips of the folded hair make the collar
        for (int i = 0; i < 90; ++i) {
            const bool top = i % 2 == 0;
            const QPointF a(77, top ? S - 12 + rng.real(0, 5) : S + 12 - rng.real(0, 5));
            const QPointF b(94 + rng.real(0, 14), top ? S - 14 - rng.real(0, 9) : S + 12 + rng.real(0, 10));
            QColor c = vary(look.headColour, rng, 35);
            c.setAlpha(rng.range(150, 255));
            p.setPen(fibrePen(c, 0.6));
            fibre(p, a, b, top ? rng.real(0.0, 0.08) : rng.real(-0.08, 0.0));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(look.thread);
        p.drawRoundedRect(QRectF(74, S - 13.5, 5, 27), 2, 2);
        return;
    }
    case HeadStyle::Square: {
        // spun hair trimmed flat underneath and square on top and at the sides, a few
        // untrimmed tips left at the back over the wing
        Random rng(103);
        for (int i = 0; i < 26; ++i) {
            const QPointF a(74, S - rng.real(3, 12));
            const QPointF b(a.x() + rng.real(14, 24), a.y() - rng.real(0, 5));
            QColor c = vary(look.headColour, rng, 30);
            c.setAlpha(rng.range(170, 255));
            p.setPen(fibrePen(c, 0.7));
            fibre(p, a, b, rng.real(-0.06, 0.02));
            p.setPen(fibrePen(look.headColour.lighter(200), 0.7));
            p.drawLine(b + (a - b) * 0.12, b);
        }
        QPainterPath block;
        block.addRoundedRect(QRectF(34, S - 15, 43, 21), 3.5, 3.5);
        QLinearGradient shade(0, S - 15, 0, S + 6);
        shade.setColorAt(0, look.headColour.lighter(140));
        shade.setColorAt(1, look.headColour.darker(130));
        p.setPen(fibrePen(look.headColour.darker(160), 0.6));
        p.setBrush(shade);
        p.drawPath(block);
        for (int i = 0; i < 140; ++i) {
            p.setPen(fibrePen(vary(look.headColour, rng, 45), 0.7));
            p.drawPoint(QPointF(rng.real(35.5, 75.5), rng.real(S - 13.5, S + 4.5)));
        }
        return;
    }
    case HeadStyle::Clipped: {
        Random rng(101);
        QPainterPath block;
        block.addRoundedRect(QRectF(34, S - 10, 18, 20), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(look.headColour);
        p.drawPath(block);
        for (int i = 0; i < 60; ++i) {
            p.setPen(fibrePen(vary(look.headColour, rng, 40), 0.8));
            const QPointF at(rng.real(35, 51), rng.real(S - 9, S + 9));
            p.drawPoint(at);
        }
        return;
    }
    }
}

// A hackle feather from its tied-in end a to its tip b: the stem and the fibres along it,
// longest at the middle.
void feather(QPainter& p, const FlyLook& look, QPointF a, QPointF b, bool barred, Random& rng)
{
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / len, d.x() / len);
    const QPointF along = d / len;
    for (int i = 2; i < 26; ++i) {
        const double t = i / 26.0;
        const QPointF at = a + d * t;
        const double fibreLength = 9 * std::sin(kPi * t) + 2;
        for (const double side : {-1.0, 1.0}) {
            const QPointF tip = at + (n * side + along * 0.6) * fibreLength;
            if (barred) {
                barredFibre(p, at, tip, 0.5, rng);
            } else {
                p.setPen(fibrePen(vary(look.hackleColour, rng, 26), 0.5));
                p.drawLine(at, tip);
            }
        }
    }
    p.setPen(fibrePen(look.hackleColour.lighter(150), 0.8));
    p.drawLine(a, b);
}

// A bunch of hair bound on between x0 and x1 along the top of the shank, its tips reaching
// to about tipX (before the eye when tipX is smaller than x0).
void hairBunch(QPainter& p, const QColor& colour, double x0, double x1, double tipX, double spread,
               Random& rng)
{
    for (int i = 0; i < 44; ++i) {
        const QPointF a(rng.real(x0, x1), S - 3 + rng.real(-1, 1));
        const QPointF b(tipX + rng.real(-5, 5), S - 3 + rng.real(-spread, spread * 0.6));
        p.setPen(fibrePen(vary(colour, rng, 26), 1.0));
        fibre(p, a, b, rng.real(-0.03, 0.0));
        p.setPen(fibrePen(colour.darker(210), 1.0));
        p.drawLine(b + (a - b) * 0.08, b);
    }
}

// A material tied in and waiting to be wound, hanging from where it was tied in: the wire or
// tinsel of a rib, a hackle, the herl and floss of a body, an ant's hair lying back, or a
// bullet head's hair reaching forward over the eye.
void drawWaiting(QPainter& p, const FlyLook& look, FlyPart part)
{
    Random rng(113u + static_cast<uint32_t>(part));
    const double x = flyTieInX(look, part);
    auto strand = [&](const QColor& colour, double width, QPointF end) {
        QPainterPath path(QPointF(x, S + 1));
        path.cubicTo(QPointF(x + 10, S + 2), end - QPointF(3, 12), end);
        p.setPen(fibrePen(colour.darker(190), width));
        p.drawPath(path);
        p.setPen(fibrePen(colour.lighter(130), width * 0.45));
        p.drawPath(path.translated(-0.3, -0.3));
    };
    switch (part) {
    case FlyPart::Rib:
        strand(look.ribColour, 1.6, QPointF(x + 20, S + 26));
        return;
    case FlyPart::Palmer:
        feather(p, look, QPointF(x, S - 1), QPointF(x + 38, S - 14), false, rng);
        return;
    case FlyPart::Hackle:
        if (look.hackle == HackleStyle::Parachute) {
            // the bare stem bound up the post, the feather standing beside it
            const double top = S - std::min(13.0, look.postHeight * 0.4);
            p.setPen(fibrePen(look.hackleColour.lighter(150), 0.9));
            p.drawLine(QPointF(x + 2, S - 2), QPointF(x + 2, top));
            feather(p, look, QPointF(x + 2, top), QPointF(x + 30, top - 22), look.grizzly, rng);
        } else {
            // tied in at the front, lying back over the body
            feather(p, look, QPointF(x, S - 3), QPointF(x + 40, S - 18),
                    look.grizzly && look.hackle == HackleStyle::CollarAndPalmer, rng);
        }
        return;
    case FlyPart::Body:
        if (look.body == BodyStyle::AntHumps) {
            hairBunch(p, look.bodyColour, 88, kBendX, kBendX + 44, 6, rng);
            p.setPen(Qt::NoPen);
            p.setBrush(look.thread);
            p.drawRoundedRect(QRectF(86, S - 5, kBendX - 84, 6), 2, 2);
            return;
        }
        if (look.body == BodyStyle::Coachman)
            strand(QColor(220, 40, 44), 1.6, QPointF(x + 14, S + 28));
        for (int i = 0; i < 3; ++i) {
            const QPointF end(x + 22 + 6 * i, S + 24 + 3 * i);
            strand(QColor(58, 66, 40), 1.8, end);
            QPainterPath herl(QPointF(x + 2, S + 2));
            herl.lineTo(end);
            fuzz(p, herl, QColor(70, 130, 80), rng, 14, 2.2);
        }
        return;
    case FlyPart::Head:
        if (look.head == HeadStyle::Bullet) {
            // tied in behind the eye, tips forward: the hair spreads round the hook
            for (int i = 0; i < 110; ++i) {
                const bool top = i % 2 == 0;
                const QPointF a(rng.real(x - 6, x + 4), S + (top ? -2.5 : 2.5));
                const QPointF b(rng.real(14, 24), S + (top ? -rng.real(4, 15) : rng.real(4, 15)));
                QColor c = vary(look.headColour, rng, 35);
                c.setAlpha(rng.range(160, 255));
                p.setPen(fibrePen(c, 0.6));
                fibre(p, a, b, rng.real(-0.05, 0.05));
            }
            p.setPen(Qt::NoPen);
            p.setBrush(look.thread);
            p.drawRoundedRect(QRectF(x - 4, S - 4, 8, 8), 2, 2);
        }
        return;
    default:
        return;
    }
}

struct PartExtent {
    enum Growth { Fade, FrontToBack, BackToFront, Upward, Fibres } growth;
    double from, to;
};

PartExtent extentOf(const FlyLook& look, FlyPart part)
{
    switch (part) {
    case FlyPart::Thread:
        return {PartExtent::FrontToBack, 36, kBendX + 2};
    case FlyPart::Post:
        return {PartExtent::Upward, S + 2, S - look.postHeight - 4};
    case FlyPart::ExtendedBody:
        return {PartExtent::BackToFront, look.extended == ExtendedStyle::Worm ? 34.0 : 86.0, 198};
    case FlyPart::Body:
        return look.body == BodyStyle::AntHumps
            ? PartExtent{PartExtent::BackToFront, 96, 150}
            : PartExtent{PartExtent::BackToFront, look.bodyFront - 10, kBendX + 12};
    case FlyPart::Underbody:
        return {PartExtent::BackToFront, look.underbodyFront - 2, kBendX + 4};
    case FlyPart::Rib:
        return {PartExtent::BackToFront, look.bodyFront - 2, kBendX + 4};
    case FlyPart::Thorax:
        return look.body == BodyStyle::AntHumps
            ? PartExtent{PartExtent::BackToFront, 30, 66}
            : PartExtent{PartExtent::BackToFront, 30, std::max(look.bodyFront + 4, 62.0) + 6};
    case FlyPart::Hackle:
    case FlyPart::Palmer:
        return {PartExtent::Fibres, 0, 0};
    case FlyPart::Tail:
    case FlyPart::Wing:
    case FlyPart::Legs:
    case FlyPart::ShellTieIn:
    case FlyPart::SpunHair:
    case FlyPart::Head:
        return {PartExtent::Fade, 0, 0};
    }
    return {PartExtent::Fade, 0, 0};
}

void drawPart(QPainter& p, const FlyLook& look, FlyPart part, double amount)
{
    switch (part) {
    case FlyPart::Thread:
        drawThreadBase(p, look);
        break;
    case FlyPart::Tail:
        drawTail(p, look);
        break;
    case FlyPart::Post:
        drawPost(p, look);
        break;
    case FlyPart::ExtendedBody:
        drawExtendedBody(p, look);
        break;
    case FlyPart::Body:
        drawBody(p, look);
        break;
    case FlyPart::Rib:
        drawRib(p, look);
        break;
    case FlyPart::Wing:
        drawWing(p, look);
        break;
    case FlyPart::Legs:
        drawLegs(p, look);
        break;
    case FlyPart::Thorax:
        drawThorax(p, look);
        break;
    case FlyPart::Hackle:
        drawHackle(p, look, amount);
        break;
    case FlyPart::Head:
        drawHead(p, look);
        break;
    case FlyPart::Underbody:
        drawUnderbody(p, look);
        break;
    case FlyPart::Palmer:
        drawPalmer(p, look, amount);
        break;
    case FlyPart::ShellTieIn:
        drawShellTieIn(p, look);
        break;
    case FlyPart::SpunHair:
        drawSpunHair(p, look);
        break;
    }
}

void drawPartial(QPainter& p, const FlyLook& look, FlyPart part, double amount)
{
    amount = std::clamp(amount, 0.0, 1.0);
    if (amount <= 0)
        return;
    const PartExtent e = extentOf(look, part);
    p.save();
    const double big = 1000;
    switch (e.growth) {
    case PartExtent::Fade:
        p.setOpacity(std::min(1.0, amount * 1.6));
        break;
    case PartExtent::FrontToBack:
        p.setClipRect(QRectF(-big, -big, big + e.from + (e.to - e.from) * amount, 2 * big),
                      Qt::IntersectClip);
        break;
    case PartExtent::BackToFront: {
        const double left = e.to - (e.to - e.from) * amount;
        p.setClipRect(QRectF(left, -big, big, 2 * big), Qt::IntersectClip);
        break;
    }
    case PartExtent::Upward: {
        const double top = e.from + (e.to - e.from) * amount;
        p.setClipRect(QRectF(-big, top, 2 * big, big), Qt::IntersectClip);
        break;
    }
    case PartExtent::Fibres:
        break;
    }
    drawPart(p, look, part, amount);
    p.restore();
}

// The part that a part turns into: the tied-in shell is pulled over into the shell or wing
// case, the spun hair is trimmed into the head. -1: none.
int successorOf(FlyPart part)
{
    if (part == FlyPart::ShellTieIn)
        return partNumber(FlyPart::Wing);
    if (part == FlyPart::SpunHair)
        return partNumber(FlyPart::Head);
    return -1;
}

// How much of a part still shows: it goes as its successor is tied.
double remaining(const FlyStage& stage, FlyPart part)
{
    const int successor = successorOf(part);
    if (successor < 0)
        return 1.0;
    if (stage.done.has(FlyPart(successor)))
        return 0.0;
    if (stage.active == successor)
        return 1.0 - std::clamp(stage.progress * 1.6, 0.0, 1.0);
    return 1.0;
}

// A waiting material in the layer that holds it: it appears as it is tied in, and goes as its
// part is wound.
void drawWaitingIn(QPainter& p, const FlyLook& look, const FlyStage& stage, FlyPart part, FlyLayer layer,
                   bool below, bool above)
{
    const bool arriving = stage.arriving.has(part);
    const bool winding = stage.active == partNumber(part);
    const bool changes = arriving || winding;
    bool wanted = true;
    switch (layer) {
    case FlyLayer::All:
        break;
    case FlyLayer::BelowActive:
        wanted = below && !changes;
        break;
    case FlyLayer::Active:
        wanted = changes;
        break;
    case FlyLayer::AboveActive:
        wanted = above && !changes;
        break;
    }
    if (!wanted)
        return;
    const double shown = std::clamp(stage.progress * 1.6, 0.0, 1.0);
    const double opacity = winding ? 1.0 - shown : arriving ? shown : 1.0;
    if (opacity <= 0)
        return;
    p.save();
    p.setOpacity(opacity);
    drawWaiting(p, look, part);
    p.restore();
}

} // namespace

QTransform flyTransform(const QRectF& target, bool mirrored, const QRectF& frame)
{
    const double scale = std::min(target.width() / frame.width(), target.height() / frame.height());
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(mirrored ? -scale : scale, scale);
    t.translate(-frame.center().x(), -frame.center().y());
    return t;
}

QRectF flyBounds(const FlyLook& look)
{
    double right = kBendX + 17;
    double top = S - 12;
    double bottom = S + 31;
    switch (look.tail) {
    case TailStyle::None:
        break;
    case TailStyle::HackleFibres:
        right = std::max(right, kBendX + look.tailLength + 2);
        top = std::min(top, S - 16);
        break;
    case TailStyle::Squirrel:
        right = std::max(right, kBendX + look.tailLength - 2);
        top = std::min(top, S - look.tailLength * 0.16);
        break;
    case TailStyle::Tippets:
    case TailStyle::Hair:
        right = std::max(right, kBendX + look.tailLength - 2);
        top = std::min(top, S - look.tailLength * 0.16 - 2);
        break;
    }
    if (look.post != PostStyle::None)
        top = std::min(top, S - look.postHeight - 4);
    if (look.extended != ExtendedStyle::None)
        right = std::max(right, look.extended == ExtendedStyle::Worm ? 199.0 : 190.0);
    if (look.extended == ExtendedStyle::Worm || look.hook == HookShape::Curved)
        bottom = std::max(bottom, S + 37);
    if (look.head == HeadStyle::Square)
        top = std::min(top, S - 17);
    switch (look.wing) {
    case WingStyle::Quill:
        right = std::max(right, 173.0);
        top = std::min(top, S - 15);
        break;
    case WingStyle::Hair:
        right = std::max(right, 166.0);
        top = std::min(top, S - 19);
        break;
    case WingStyle::Shell:
        top = std::min(top, S - 19);
        break;
    default:
        break;
    }
    if (look.legs == LegStyle::Kicking) {
        top = std::min(top, S - 20);
        right = std::max(right, 158.0);
    }
    if (look.hackle == HackleStyle::Collar || look.hackle == HackleStyle::CollarAndPalmer)
        top = std::min(top, S - 27);
    if (look.head == HeadStyle::Bullet)
        top = std::min(top, S - 24);
    if (look.body == BodyStyle::AntHumps)
        top = std::min(top, S - 22);
    return QRectF(QPointF(24, top), QPointF(right, bottom));
}

void drawFinishedFly(QPainter& painter, const QRectF& target, const FlyLook& look)
{
    drawFly(painter, target, look, FlyStage{FlyParts::all(), -1, 1.0, {}, {}}, false, flyBounds(look));
}

double flyPartWorkX(const FlyLook& look, FlyPart part, double progress)
{
    const PartExtent e = extentOf(look, part);
    switch (part) {
    case FlyPart::Thread:
        return 38 + (kBendX - 40) * progress;
    case FlyPart::Tail:
        return kBendX - 6;
    case FlyPart::Post:
        return look.postX - 4;
    case FlyPart::ExtendedBody:
        return 96;
    case FlyPart::Body:
    case FlyPart::Underbody:
    case FlyPart::Rib:
        return std::clamp(e.to - (e.to - e.from) * progress, 40.0, kBendX - 2);
    case FlyPart::Palmer:
        return kBendX - 4 - (kBendX - 4 - look.bodyFront) * progress;
    case FlyPart::Wing:
        if (look.wing == WingStyle::Shell)
            return look.bodyFront - 6;
        return look.wing == WingStyle::WingCase ? 48 : 74;
    case FlyPart::ShellTieIn:
        return look.wing == WingStyle::WingCase ? look.bodyFront : kBendX - 6;
    case FlyPart::Legs:
        return look.body == BodyStyle::AntHumps ? 84 : 86;
    case FlyPart::Thorax:
        return look.body == BodyStyle::AntHumps ? 50 : 70 - 24 * progress;
    case FlyPart::Hackle:
        return look.hackle == HackleStyle::Parachute ? look.postX : 52 - 6 * progress;
    case FlyPart::SpunHair:
        return 72 - 24 * progress;
    case FlyPart::Head:
        // a bullet head is tied down a quarter of the shank behind the eye
        return look.head == HeadStyle::Bullet ? 76 : 42;
    }
    return 60;
}

double flyTieInX(const FlyLook& look, FlyPart part)
{
    switch (part) {
    case FlyPart::Rib:
        return kBendX - 4;
    case FlyPart::Palmer:
        return kBendX - 6;
    case FlyPart::Hackle:
        if (look.hackle == HackleStyle::Parachute)
            return look.postX;
        return look.post == PostStyle::DividedWings ? look.postX + 6 : look.bodyFront - 2;
    case FlyPart::Body:
        return look.body == BodyStyle::AntHumps ? 88 : kBendX - 4;
    case FlyPart::Head:
        return look.head == HeadStyle::Bullet ? 66 : 42;
    default:
        return flyPartWorkX(look, part, 0);
    }
}

void drawFly(QPainter& painter, const QRectF& target, const FlyLook& look, const FlyStage& stage,
             bool mirrored, const QRectF& frame, FlyLayer layer)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setTransform(flyTransform(target, mirrored, frame), true);

    // Painted back to front, not in tying order: the tail and the hook lie behind the body,
    // the wing and the hackle in front of it. The hook goes with the thread base.
    static constexpr FlyPart paintOrder[] = {
        FlyPart::Tail, FlyPart::Thread, FlyPart::ExtendedBody, FlyPart::Underbody, FlyPart::Body,
        FlyPart::Rib,  FlyPart::Palmer, FlyPart::ShellTieIn,   FlyPart::Legs,      FlyPart::Thorax,
        FlyPart::Wing, FlyPart::Post,   FlyPart::Hackle,       FlyPart::SpunHair,  FlyPart::Head,
    };
    const auto* activeAt = std::find(std::begin(paintOrder), std::end(paintOrder), FlyPart(stage.active));
    for (const auto* it = std::begin(paintOrder); it != std::end(paintOrder); ++it) {
        const FlyPart part = *it;
        const bool isActive = stage.active == partNumber(part);
        // a part that changes with the active one is painted in the active layer
        const bool changing = isActive || (stage.active >= 0 && successorOf(part) == stage.active);
        const bool above = activeAt != std::end(paintOrder) && it > activeAt;
        bool wanted = true;
        bool hook = part == FlyPart::Thread;
        switch (layer) {
        case FlyLayer::All:
            break;
        case FlyLayer::BelowActive:
            wanted = it < activeAt && !changing;
            hook = hook && it <= activeAt; // the hook lies under the thread even while it is wound
            break;
        case FlyLayer::Active:
            wanted = changing;
            hook = false;
            break;
        case FlyLayer::AboveActive:
            wanted = above && !changing;
            hook = hook && above;
            break;
        }
        if (hook)
            drawHook(painter, look.hook);
        if (stage.waiting.has(part) && !stage.done.has(part))
            drawWaitingIn(painter, look, stage, part, layer, it < activeAt, above);
        if (!wanted)
            continue;
        const double left = remaining(stage, part);
        if (left <= 0)
            continue;
        painter.save();
        painter.setOpacity(left);
        if (isActive)
            drawPartial(painter, look, part, stage.progress);
        else if (stage.done.has(part))
            drawPartial(painter, look, part, 1.0);
        painter.restore();
    }
    painter.restore();
}

FlyLook flyLook(FlyKind kind)
{
    FlyLook l;
    switch (kind) {
    case FlyKind::BulletHeadHopper:
        l.thread = QColor(96, 104, 48);
        l.extended = ExtendedStyle::Hopper;
        l.extendedColour = QColor(232, 214, 140);
        l.underbodyColour = QColor(226, 208, 134);
        l.underbodyFront = 60;
        l.wing = WingStyle::Quill;
        l.wingColour = QColor(128, 98, 66);
        l.legs = LegStyle::Kicking;
        l.legColour = QColor(146, 96, 52);
        l.head = HeadStyle::Bullet;
        l.headColour = QColor(118, 126, 62);
        l.bodyFront = 78;
        break;
    case FlyKind::DeerHairCricket:
        l.thread = QColor(30, 30, 30);
        l.extended = ExtendedStyle::Cricket;
        l.extendedColour = QColor(46, 44, 42);
        l.wing = WingStyle::Quill;
        l.wingColour = QColor(48, 48, 54);
        l.legs = LegStyle::Fibres; // spade hackle fibres
        l.legColour = QColor(40, 36, 34);
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(44, 42, 42);
        l.head = HeadStyle::Square;
        l.headColour = QColor(58, 54, 50);
        l.bodyFront = 74;
        break;
    case FlyKind::ParachuteAdams:
        l.thread = QColor(90, 90, 92);
        l.tail = TailStyle::HackleFibres;
        l.tailColour = QColor(150, 148, 146);
        l.grizzly = true;
        l.post = PostStyle::Parachute;
        l.postColour = QColor(244, 120, 44);
        l.postX = 60;
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(138, 138, 142);
        l.bodyFront = 66;
        l.thoraxColour = QColor(132, 132, 136);
        l.hackle = HackleStyle::Parachute;
        l.hackleColour = QColor(150, 150, 150);
        l.headColour = QColor(90, 90, 92);
        break;
    case FlyKind::HaresEarNymph:
        l.thread = QColor(160, 130, 90);
        l.tail = TailStyle::Squirrel;
        l.tailColour = QColor(170, 112, 62);
        l.tailLength = 52; // a nymph's: half the shank
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(156, 128, 96);
        l.bodyFront = 80;
        l.rib = RibStyle::Tinsel;
        l.wing = WingStyle::WingCase;
        l.wingColour = QColor(104, 78, 52);
        l.legs = LegStyle::Soft;
        l.legColour = QColor(128, 106, 82);
        l.thoraxColour = QColor(142, 114, 84);
        l.head = HeadStyle::Bead;
        break;
    case FlyKind::ParachuteHopper:
        l.thread = QColor(190, 170, 90);
        l.underbodyColour = QColor(238, 232, 210);
        l.underbodyFront = 76; // the rear two thirds, under the abdomen
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(176, 178, 74);
        l.bodyFront = 70;
        l.post = PostStyle::Parachute;
        l.postColour = QColor(248, 248, 244);
        l.postX = 64; // at the front of the abdomen
        l.wing = WingStyle::Quill;
        l.wingColour = QColor(132, 102, 70);
        l.legs = LegStyle::Kicking;
        l.legColour = QColor(206, 176, 88);
        l.thoraxColour = QColor(170, 172, 70);
        l.hackle = HackleStyle::Parachute;
        l.hackleColour = QColor(150, 150, 150);
        l.grizzly = true;
        l.headColour = QColor(190, 170, 90);
        break;
    case FlyKind::DeerHairAnt:
        l.thread = QColor(24, 24, 24);
        l.body = BodyStyle::AntHumps;
        l.bodyColour = QColor(34, 32, 32);
        l.legs = LegStyle::Spindly;
        l.legColour = QColor(30, 30, 30);
        l.post = PostStyle::Parachute;
        l.postColour = QColor(250, 250, 246);
        l.postX = 82;
        l.postHeight = 24;
        l.headColour = QColor(24, 24, 24);
        break;
    case FlyKind::FoamBeetle:
        l.thread = QColor(30, 30, 30);
        l.body = BodyStyle::Peacock;
        l.bodyFront = 48;
        l.wing = WingStyle::Shell;
        l.wingColour = QColor(36, 36, 40);
        l.legs = LegStyle::Spindly;
        l.legColour = QColor(30, 30, 30);
        l.post = PostStyle::Parachute;
        l.postColour = QColor(255, 150, 40);
        l.postX = 46; // at the head tie-down
        l.postHeight = 20;
        l.headColour = QColor(30, 30, 30);
        break;
    case FlyKind::RoyalCoachman:
        l.thread = QColor(30, 30, 30);
        l.tail = TailStyle::Tippets;
        l.tailColour = QColor(236, 150, 40);
        l.body = BodyStyle::Coachman;
        l.bodyFront = 72;
        l.post = PostStyle::DividedWings;
        l.postColour = QColor(250, 250, 250);
        l.postX = 66; // a third of the way back
        l.postHeight = 36;
        l.hackle = HackleStyle::Collar;
        l.hackleColour = QColor(120, 62, 30);
        l.headColour = QColor(30, 30, 30);
        break;
    case FlyKind::Stimulator:
        l.hook = HookShape::Curved; // 3X long, curved
        l.thread = QColor(220, 110, 30);
        l.tail = TailStyle::Hair;
        l.tailColour = QColor(190, 156, 104);
        l.tailLength = 32; // as long as the gap
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(232, 196, 56);
        l.bodyFront = 72;
        l.rib = RibStyle::Tinsel;
        l.ribColour = QColor(200, 200, 205);
        l.wing = WingStyle::Hair;
        l.wingColour = QColor(186, 152, 102);
        l.thoraxColour = QColor(230, 112, 34);
        l.hackle = HackleStyle::CollarAndPalmer;
        l.hackleColour = QColor(130, 76, 36);
        l.grizzly = true;
        l.headColour = QColor(220, 110, 30);
        break;
    case FlyKind::ElkHairCaddis:
        l.thread = QColor(110, 100, 60);
        l.body = BodyStyle::Dubbed;
        l.bodyColour = QColor(136, 132, 84);
        l.bodyFront = 60;
        l.rib = RibStyle::Tinsel;
        l.hackle = HackleStyle::Palmered;
        l.hackleColour = QColor(128, 80, 40);
        l.wing = WingStyle::Hair;
        l.wingColour = QColor(196, 166, 116);
        l.head = HeadStyle::Clipped;
        l.headColour = QColor(186, 156, 106);
        break;
    case FlyKind::Inchworm:
        l.thread = QColor(90, 140, 50);
        l.extended = ExtendedStyle::Worm;
        l.extendedColour = QColor(116, 178, 62);
        l.headColour = QColor(70, 110, 40);
        break;
    case FlyKind::Humpy:
        l.thread = QColor(200, 40, 40);
        l.tail = TailStyle::Hair;
        l.tailColour = QColor(70, 58, 50);
        l.tailLength = 92;
        l.body = BodyStyle::Floss;
        l.bodyColour = QColor(232, 196, 40);
        l.bodyFront = 70;
        l.wing = WingStyle::Shell;
        l.wingColour = QColor(156, 124, 88);
        l.hairShell = true;
        l.post = PostStyle::DividedWings;
        l.postColour = QColor(170, 140, 100);
        l.postX = 62;
        l.postHeight = 30;
        l.hackle = HackleStyle::Collar;
        l.hackleColour = QColor(126, 70, 34);
        l.grizzly = true;
        l.headColour = QColor(200, 40, 40);
        break;
    }
    return l;
}

} // namespace hw
