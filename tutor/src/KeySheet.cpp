#include "KeySheet.h"

#include "WindowFont.h"
#include "hw/tutor/WindowKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace hw {

namespace {
QString sheetText()
{
    QString html = QStringLiteral("<p style='margin:0 0 6px 0'><b style='font-size:14px'>Keys</b></p>"
                                  "<table width='100%' cellspacing='0' cellpadding='1'>");
    for (const KeyHelp& key : windowKeys())
        html
            += QStringLiteral("<tr><td width='36%' style='padding-right:10px'><b>%1</b></td><td>%2</td></tr>")
                   .arg(key.keys.toHtmlEscaped(), key.action.toHtmlEscaped());
    html += QStringLiteral("</table><p style='margin:6px 0 0 0; color:#5a4a2a'>"
                           "Right-click the video for the practice menu. "
                           "Press any key or click to close.</p>");
    return html;
}
} // namespace

KeySheet::KeySheet(QWidget* window)
    : QFrame(window, Qt::Popup)
{
    setObjectName(QStringLiteral("KeySheet"));
    setAccessibleName(QStringLiteral("Keys"));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 250, 232));
    palette.setColor(QPalette::WindowText, QColor(40, 32, 16));
    setPalette(palette);
    setFont(windowFont());

    auto* label = new QLabel(sheetText(), this);
    label->setObjectName(QStringLiteral("KeySheetText"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setFixedWidth(590);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(label);
}

void KeySheet::open(QWidget* over)
{
    adjustSize();
    const QPoint centre = over->mapToGlobal(over->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
    show();
    activateWindow();
    setFocus(Qt::PopupFocusReason);
}

void KeySheet::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat())
        return; // the key that opened the sheet, still held
    close();
}

void KeySheet::mousePressEvent(QMouseEvent* event)
{
    // A click outside closes a popup by itself; one inside closes it too.
    event->accept();
    close();
}

} // namespace hw
