#include "PanelNote.h"

#include "WindowFont.h"

#include <QChildEvent>
#include <QEvent>
#include <QPainter>

namespace hw {

namespace {
constexpr int kMargin = 6; // from the panel's edges
constexpr int kPadX = 6;   // text to plate
constexpr int kPadY = 2;
constexpr int kFlashMs = 1500;

QFont noteFont()
{
    QFont font = windowFont();
    font.setPixelSize(13);
    font.setWeight(QFont::Bold);
    return font;
}
} // namespace

PanelNote::PanelNote(QWidget* panel, QPoint anchor, const QString& name)
    : PanelNote(panel, Corner::TopRight, name)
{
    anchor_ = anchor;
    setParent(panel->parentWidget());
    hide();
}

PanelNote::PanelNote(QWidget* panel, Corner corner, const QString& name)
    : QWidget(panel)
    , panel_(panel)
    , corner_(corner)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFont(noteFont());
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kFlashMs);
    connect(&hideTimer_, &QTimer::timeout, this, [this] { setText({}); });
    panel->installEventFilter(this);
}

void PanelNote::setText(const QString& text)
{
    hideTimer_.stop();
    text_ = text;
    setAccessibleName(text);
    if (text.isEmpty() || !panelShown()) {
        hide();
        return;
    }
    place();
    raise();
    show();
    update();
}

void PanelNote::flash(const QString& text)
{
    setText(text);
    hideTimer_.start();
}

void PanelNote::place()
{
    const QWidget* panel = parentWidget();
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text_);
    const QSize size(textSize.width() + 2 * kPadX, textSize.height() + 2 * kPadY);
    if (anchor_) {
        setGeometry(anchor_->x() - size.width(), anchor_->y(), size.width(), size.height());
        return;
    }
    if (corner_ == Corner::TopBand) {
        setGeometry(0, 0, panel->width(), size.height());
        return;
    }
    const int x = corner_ == Corner::TopLeft ? kMargin : panel->width() - kMargin - size.width();
    setGeometry(x, topMargin_ >= 0 ? topMargin_ : kMargin, size.width(), size.height());
}

bool PanelNote::panelShown() const
{
    return !anchor_ || !panel_->isHidden();
}

bool PanelNote::eventFilter(QObject* watched, QEvent* event)
{
    // Beside the panel, the note comes and goes with it.
    if (anchor_ && watched == panel_) {
        if (event->type() == QEvent::HideToParent)
            hide();
        else if (event->type() == QEvent::ShowToParent && !text_.isEmpty()) {
            place();
            raise();
            show();
        }
        return false;
    }
    if (watched == parentWidget()) {
        // The clip device puts a fresh picture surface into the panel whenever it opens a
        // clip; the note stays above it.
        if (event->type() == QEvent::ChildAdded && static_cast<QChildEvent*>(event)->child() != this)
            raise();
        else if (event->type() == QEvent::Resize && !text_.isEmpty())
            place();
    }
    return false;
}

void PanelNote::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (corner_ == Corner::TopBand) {
        p.fillRect(rect(), QColor(40, 24, 54));
        p.setPen(QColor(255, 236, 160));
        const QRect text = rect().adjusted(kPadX, 0, -kPadX, 0);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text_, Qt::ElideRight, text.width()));
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 180));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QColor(255, 236, 160));
    p.drawText(rect(), Qt::AlignCenter, text_);
}

} // namespace hw
