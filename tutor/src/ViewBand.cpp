#include "ViewBand.h"

#include "WindowFont.h"

#include <QPainter>

#include <algorithm>

namespace hw {

namespace {
constexpr int kPad = 16;
constexpr int kFadeMs = 400;
} // namespace

ViewBand::ViewBand(QWidget* view)
    : QWidget(view)
{
    setObjectName(QStringLiteral("PracticeBand"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    QFont font = windowFont();
    font.setPixelSize(18);
    font.setWeight(QFont::DemiBold);
    setFont(font);
    idle_.setSingleShot(true);
    idle_.setInterval(kShownMs);
    connect(&idle_, &QTimer::timeout, this, [this] { fade_.start(); });
    fade_.setStartValue(1.0);
    fade_.setEndValue(0.0);
    fade_.setDuration(kFadeMs);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        opacity_ = value.toDouble();
        update();
    });
    connect(&fade_, &QVariantAnimation::finished, this, &QWidget::hide);
}

void ViewBand::setStep(const StepInfo& info)
{
    if (info == info_)
        return;
    info_ = info;
    setAccessibleName(text());
    update();
}

void ViewBand::setBadges(const QString& badges)
{
    badges_ = badges;
    setAccessibleName(text());
    update();
}

QString ViewBand::text() const
{
    QStringList parts;
    if (!info_.title.isEmpty())
        parts << info_.title;
    if (info_.number > 0)
        parts << QStringLiteral("Step %1 of %2").arg(info_.number).arg(info_.count);
    if (!badges_.isEmpty())
        parts << badges_;
    return parts.join(QStringLiteral(" | "));
}

void ViewBand::wake()
{
    fade_.stop();
    opacity_ = 1.0;
    place();
    raise();
    show();
    update();
    idle_.start();
}

void ViewBand::place()
{
    setGeometry(0, 0, parentWidget()->width(), kHeight);
}

void ViewBand::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(opacity_);
    p.fillRect(rect(), QColor(0, 0, 0, 170));
    const QFontMetrics metrics(font());
    const int baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
    int x = kPad;
    p.setPen(QColor(255, 255, 255));
    if (!info_.title.isEmpty()) {
        p.drawText(x, baseline, info_.title);
        x += metrics.horizontalAdvance(info_.title) + 2 * kPad;
    }
    if (info_.number > 0) {
        const QString step = QStringLiteral("Step %1 of %2").arg(info_.number).arg(info_.count);
        p.setPen(QColor(255, 236, 160));
        p.drawText(x, baseline, step);
        x += metrics.horizontalAdvance(step) + 2 * kPad;
    }
    int right = width() - kPad;
    if (!badges_.isEmpty()) {
        const int w = metrics.horizontalAdvance(badges_) + 2 * 8;
        const QRect plate(right - w, (height() - metrics.height()) / 2 - 2, w, metrics.height() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 236, 160));
        p.drawRoundedRect(plate, 4, 4);
        p.setPen(QColor(40, 32, 16));
        p.drawText(plate, Qt::AlignCenter, badges_);
        right = plate.left() - 2 * kPad;
    }
    // Where the play is within the step: a thin bar in the room between.
    if (info_.number > 0 && right - x > 60) {
        const QRect track(x, height() / 2 - 2, right - x, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawRect(track);
        p.setBrush(QColor(255, 236, 160));
        p.drawRect(QRect(track.topLeft(),
                         QSize(static_cast<int>(track.width() * std::clamp(info_.done, 0.0, 1.0)), 4)));
    }
}

} // namespace hw
