#include "LessonFrames.h"

#include "FrameDecor.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace hw::demo {
namespace {

constexpr QRectF kFlyArea(14, 40, 292, 150);
// The part of the drawing box shown: the fly, the vise's jaws and the bobbin's swing,
// widened for a fly that reaches further back (a tail as long as the shank).
QRectF flyFrame(const FlyLook& look)
{
    const QRectF usual(20, 4, 180, 104);
    return usual.adjusted(0, 0, std::max(0.0, flyBounds(look).right() + 4 - usual.right()), 0);
}

QPen roundPen(const QColor& c, double w)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The vise: jaws gripping the hook's bend from below, a stem down to the bench and a
// base on it. Drawn in the fly's own units so that mirroring moves it with the fly.
void paintVise(QPainter& p, double benchY)
{
    const QPointF tip(kBendX + 3, kShankY + 25);
    const QPointF base(kBendX + 34, kShankY + 45);
    const QPointF axis = (base - tip) / std::hypot(base.x() - tip.x(), base.y() - tip.y());
    const QPointF normal(-axis.y(), axis.x());
    QPolygonF jaws;
    jaws << tip + normal * 2.2 << base + normal * 8 << base - normal * 8 << tip - normal * 2.2;
    QLinearGradient steel(tip - normal * 8, tip + normal * 8);
    steel.setColorAt(0, QColor(60, 64, 70));
    steel.setColorAt(0.45, QColor(170, 176, 184));
    steel.setColorAt(1, QColor(70, 74, 80));
    p.setPen(roundPen(QColor(40, 42, 46), 0.6));
    p.setBrush(steel);
    p.drawPolygon(jaws);
    p.setPen(roundPen(QColor(40, 42, 46), 0.8));
    p.drawLine(tip + axis * 4, base - axis * 2); // the split between the jaws

    const QRectF stem(base.x() - 3.5, base.y(), 7, benchY - base.y());
    QLinearGradient rod(stem.left(), 0, stem.right(), 0);
    rod.setColorAt(0, QColor(70, 74, 80));
    rod.setColorAt(0.4, QColor(190, 196, 204));
    rod.setColorAt(1, QColor(64, 68, 74));
    p.setPen(Qt::NoPen);
    p.setBrush(rod);
    p.drawRect(stem);
    p.setBrush(QColor(52, 54, 60));
    p.drawRoundedRect(QRectF(base.x() - 7, base.y() - 2, 14, 8), 2, 2); // collar
    QLinearGradient plate(0, benchY - 6, 0, benchY + 2);
    plate.setColorAt(0, QColor(120, 124, 132));
    plate.setColorAt(1, QColor(48, 50, 56));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(base.x() - 24, benchY - 6, 48, 8), 3, 3);
}

// The bobbin hanging from the shank at work, swinging round it as the thread is wrapped.
void paintBobbin(QPainter& p, const FlyLook& look, QPointF work, double phase, bool wrapping)
{
    const double reach = wrapping ? 26 * std::cos(phase) : 26;
    const double side = wrapping ? 5 * std::sin(phase) : 0;
    const QPointF exit = work + QPointF(side, reach >= 0 ? std::max(reach, 14.0) : std::min(reach, -14.0));
    const bool behind = wrapping && std::cos(phase) < 0;
    p.save();
    if (behind)
        p.setOpacity(0.55);
    p.setPen(roundPen(look.thread, 0.9));
    p.drawLine(work, exit);
    QPointF dir = exit - work;
    dir /= std::hypot(dir.x(), dir.y());
    const QPointF n(-dir.y(), dir.x());
    p.setPen(roundPen(QColor(150, 154, 160), 2.2));
    p.drawLine(exit, exit + dir * 13); // the tube
    const QPointF spool = exit + dir * 21;
    p.setPen(roundPen(QColor(110, 114, 120), 1.1));
    p.drawLine(exit + dir * 13, spool + n * 7.5); // the holder's arms
    p.drawLine(exit + dir * 13, spool - n * 7.5);
    QPolygonF body;
    body << spool + n * 5.5 - dir * 3.8 << spool + n * 5.5 + dir * 3.8 << spool - n * 5.5 + dir * 3.8
         << spool - n * 5.5 - dir * 3.8;
    p.setPen(roundPen(look.thread.darker(150), 0.6));
    p.setBrush(look.thread);
    p.drawPolygon(body);
    p.setPen(roundPen(look.thread.lighter(160), 0.4));
    for (int i = -2; i <= 2; ++i)
        p.drawLine(spool + n * (i * 2.0) - dir * 3.2, spool + n * (i * 2.0) + dir * 3.2);
    p.setPen(roundPen(QColor(120, 124, 130), 1.6));
    p.drawLine(spool + n * 7.5 - dir * 4.5,
               spool + n * 7.5 + dir * 4.5); // the holder's legs on the spool ends
    p.drawLine(spool - n * 7.5 - dir * 4.5, spool - n * 7.5 + dir * 4.5);
    p.restore();
}

// Where the fly is finished off: behind the eye, or over the collar wraps of a bullet head.
double finishX(const FlyLook& look)
{
    return look.head == HeadStyle::Bullet ? 76 : kEyeX + 14;
}

// The whip-finish tool turning round the shank where the fly is finished off.
void paintWhipTool(QPainter& p, const FlyLook& look, double phase)
{
    const QPointF at(finishX(look), kShankY);
    const QPointF tip = at + QPointF(4 * std::sin(phase), -16 * std::cos(phase));
    const QPointF handle = tip + QPointF(26, 34);
    p.save();
    p.setPen(roundPen(look.thread, 0.7));
    p.drawLine(at, tip);
    p.drawLine(tip, at + QPointF(10, 40));
    p.setPen(roundPen(QColor(90, 94, 100), 1.6));
    p.drawLine(tip, handle);
    QPainterPath hook(tip);
    hook.quadTo(tip + QPointF(-4, -2), tip + QPointF(-3, 3));
    p.drawPath(hook);
    p.setPen(roundPen(QColor(40, 40, 44), 4));
    p.drawLine(handle, handle + QPointF(10, 14));
    p.restore();
    paintBobbin(p, look, at + QPointF(10, 8), 0, false);
}

// A half hitch: a loop of thread round the tip of the half-hitch tool, held against the eye,
// slides off the tool onto the shank behind the eye and is pulled tight.
void paintHalfHitch(QPainter& p, const FlyLook& look, double progress)
{
    const double slide = std::clamp(progress * 1.4, 0.0, 1.0);
    const QPointF tip(kEyeX - 3, kShankY);
    p.save();
    // the tool: a slim tube pointing at the eye from in front of the hook
    p.setPen(roundPen(QColor(90, 94, 100), 3.2));
    p.drawLine(tip + QPointF(-4, -1), tip + QPointF(-26, -9));
    p.setPen(roundPen(QColor(40, 40, 44), 4));
    p.drawLine(tip + QPointF(-26, -9), tip + QPointF(-38, -13));
    // the loop, from round the tool's tip to round the shank behind the eye
    const double x = kEyeX - 4 + (kEyeX + 12 - (kEyeX - 4)) * slide;
    const double rx = 2.6;
    const double ry = 6.5 - 3.5 * std::clamp((progress - 0.7) / 0.3, 0.0, 1.0);
    p.setPen(roundPen(look.thread, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x, kShankY), rx, ry);
    p.restore();
    paintBobbin(p, look, QPointF(x + 1, kShankY + ry * 0.6), 0, false);
}

// Which wound parts have their material hanging at this step: tied in at an earlier step
// (or at this one, then arriving) and not yet wound. A shell tied in by a step of its own
// is drawn by that step's part.
void waitingAt(const PatternSpec& design, int step, LessonStep* s)
{
    const auto& steps = design.steps;
    for (size_t i = 0; i < steps.size() && std::cmp_less_equal(i, step); ++i)
        for (const StepUse& tie : steps[i].materials) {
            if (tie.handling != Handling::TieIn)
                continue;
            for (size_t j = i + 1; j < steps.size(); ++j) {
                const auto winds = [&](const StepUse& u) {
                    return u.handling == Handling::Wind && qstrcmp(u.material, tie.material) == 0;
                };
                if (std::none_of(steps[j].materials.begin(), steps[j].materials.end(), winds))
                    continue;
                const bool shell = steps[i].part == partNumber(FlyPart::ShellTieIn)
                    && steps[j].part == partNumber(FlyPart::Wing);
                if (std::cmp_greater_equal(j, step) && steps[j].part >= 0 && !shell) {
                    s->waiting = s->waiting.with(FlyPart(steps[j].part));
                    if (std::cmp_equal(i, step))
                        s->arriving = s->arriving.with(FlyPart(steps[j].part));
                }
                break;
            }
        }
}

} // namespace

LessonStep patternStep(const PatternSpec& design, int step)
{
    LessonStep s;
    const StepSpec& current = design.steps[static_cast<size_t>(step)];
    s.heading = QStringLiteral("%1. %2").arg(step + 1).arg(QString::fromLatin1(current.title));
    s.caption = QString::fromLatin1(design.displayName);
    s.look = flyLook(design.kind);
    for (size_t i = 0; std::cmp_less(i, step); ++i) {
        if (design.steps[i].part >= 0)
            s.done = s.done.with(static_cast<FlyPart>(design.steps[i].part));
        s.threadCut |= design.steps[i].part == kWhipFinish;
    }
    s.part = current.part;
    s.whipFinish = s.part == kWhipFinish;
    s.halfHitch = s.part == kHalfHitch;
    waitingAt(design, step, &s);
    return s;
}

LessonStep techniqueStep(const TechniqueSpec& design, int number)
{
    LessonStep s;
    s.heading = QStringLiteral("%1. %2").arg(number + 1).arg(QString::fromLatin1(design.title));
    s.caption = QStringLiteral("Techniques");
    s.look = flyLook(design.kind);
    s.done = design.done;
    s.waiting = design.waiting | design.arriving;
    s.arriving = design.arriving;
    s.part = design.part;
    s.whipFinish = s.part == kWhipFinish;
    s.halfHitch = s.part == kHalfHitch;
    return s;
}

LessonFrames::LessonFrames(const LessonStep& step, bool leftHanded, const QSize& size)
    : step_(step)
    , leftHanded_(leftHanded)
    , frame_(flyFrame(step.look))
    , backdrop_(size, QImage::Format_RGB32)
    , overlay_(size, QImage::Format_ARGB32_Premultiplied)
{
    active_ = step_.part;
    if (step_.whipFinish && !step_.done.has(FlyPart::Head) && step_.look.head == HeadStyle::Thread)
        active_ = partNumber(FlyPart::Head); // the whip finish forms the thread head
    paintStatic();
}

void LessonFrames::paintStatic()
{
    const QSize size = backdrop_.size();
    const int benchTop = stampTop(size) - 30;
    QPainter p(&backdrop_);
    QLinearGradient wall(0, 0, 0, benchTop);
    wall.setColorAt(0, QColor(214, 208, 196));
    wall.setColorAt(1, QColor(184, 176, 162));
    p.fillRect(QRect(0, 0, size.width(), benchTop), wall);
    // The bench top with its grain, then its plain front edge along the bottom, where the
    // frame stamp takes its colours.
    const int edgeTop = stampTop(size) - 2;
    QLinearGradient wood(0, benchTop, 0, edgeTop);
    wood.setColorAt(0, QColor(138, 102, 68));
    wood.setColorAt(1, QColor(104, 76, 50));
    p.fillRect(QRect(0, benchTop, size.width(), edgeTop - benchTop), wood);
    p.setPen(QColor(82, 58, 38, 120));
    for (int y = benchTop + 4; y < edgeTop - 2; y += 5)
        p.drawLine(0, y, size.width(), y + 1);
    p.fillRect(QRect(0, edgeTop, size.width(), 1), QColor(150, 114, 80));
    p.fillRect(QRect(0, edgeTop + 1, size.width(), size.height() - edgeTop - 1), QColor(92, 66, 44));

    p.setRenderHint(QPainter::Antialiasing);
    const QTransform toScreen = flyTransform(kFlyArea, !leftHanded_, frame_);
    p.save();
    p.setTransform(toScreen);
    paintVise(p, toScreen.inverted().map(QPointF(0, benchTop + 6)).y());
    p.restore();

    FlyStage stage{step_.done, active_, 0.0, step_.waiting, step_.arriving};
    drawFly(p, kFlyArea, step_.look, stage, !leftHanded_, frame_, FlyLayer::BelowActive);
    overlay_.fill(Qt::transparent);
    QPainter over(&overlay_);
    drawFly(over, kFlyArea, step_.look, stage, !leftHanded_, frame_, FlyLayer::AboveActive);

    paintTitleBar(p, size.width(), step_.heading,
                  leftHanded_ ? QStringLiteral("Left hand") : QStringLiteral("Right hand"));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(demoFont(10, false, true));
    p.setPen(QColor(70, 60, 80));
    p.drawText(QRect(8, kTitleBarHeight + 5, size.width() - 16, 14), Qt::AlignLeft | Qt::AlignVCenter,
               step_.caption);
}

QImage LessonFrames::frame(int index, int count, int32_t frameNumber) const
{
    const double t = count > 1 ? static_cast<double>(index) / (count - 1) : 1.0;
    // The part is finished three quarters of the way through; the rest shows it done.
    const double progress = std::min(1.0, t / 0.75);

    // The fly grows in kGrowthSteps visible steps; it is drawn once for each and kept for
    // the frames between, which only move the tools.
    const int growth = static_cast<int>(std::lround(progress * kGrowthSteps));
    if (growth != flyGrowth_) {
        flyGrowth_ = growth;
        fly_ = backdrop_.copy();
        const FlyStage stage{step_.done, active_, static_cast<double>(growth) / kGrowthSteps, step_.waiting,
                             step_.arriving};
        QPainter p(&fly_);
        p.setRenderHint(QPainter::Antialiasing);
        drawFly(p, kFlyArea, step_.look, stage, !leftHanded_, frame_, FlyLayer::Active);
        p.drawImage(0, 0, overlay_);
    }
    QImage image = fly_.copy();
    const int part = active_;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    p.save();
    p.setTransform(flyTransform(kFlyArea, !leftHanded_, frame_));
    if (step_.whipFinish) {
        if (progress < 1.0)
            paintWhipTool(p, step_.look, index * 0.75);
    } else if (step_.halfHitch) {
        paintHalfHitch(p, step_.look, progress);
    } else if ((step_.done.has(FlyPart::Thread) || part == partNumber(FlyPart::Thread)) && !step_.threadCut) {
        // no bobbin before the thread is started or after it is whip-finished and cut
        double workX = part >= 0 ? flyPartWorkX(step_.look, FlyPart(part), progress) : 60.0;
        for (int k = 0; part < 0 && k < kFlyPartCount; ++k)
            if (step_.arriving.has(FlyPart(k))) {
                workX = flyTieInX(step_.look, FlyPart(k));
                break;
            }
        paintBobbin(p, step_.look, QPointF(workX, kShankY), index * 0.8, progress < 1.0);
    }
    p.restore();

    paintProgress(p, image.width(), t);
    paintFrameNumber(p, image.size(), frameNumber, QColor(246, 236, 220));
    p.end();
    stampFrame(image, frameNumber);
    return image;
}

} // namespace hw::demo
