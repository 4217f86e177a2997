#include "PagePainter.h"
#include "TextLayout.h"

#include "hw/report/ReportPlatform.h"
#include "hw/report/TReport.h"

#include <QFontMetrics>
#include <QPainter>

namespace hw {

PagePainter::PagePainter(QPainter& painter, const DeviceMapping& mapping, const TReport& report)
    : painter_(painter)
    , mapping_(mapping)
    , report_(report)
{ }

void PagePainter::paintBand(const TReportBand& band, QPointF at)
{
    const QRect box = mapping_.rect(at.x(), at.y(), band.width(), band.height());
    painter_.fillRect(box, band.color());
    for (const auto& element : band.elements()) {
        if (element->enabled())
            paintElement(*element, at);
    }
    paintFrame(band.frame(), box);
}

void PagePainter::paintFrame(const TReportFrame& frame, const QRect& box)
{
    if (!frame.hasLines())
        return;
    // Each line is a filled rectangle inside the box, so that its outer edge is the box's
    // edge on every device.
    const int across = mapping_.lineWidthX(frame.width);
    const int down = mapping_.lineHeightY(frame.width);
    if (frame.drawTop)
        painter_.fillRect(QRect(box.left(), box.top(), box.width(), down), frame.color);
    if (frame.drawBottom)
        painter_.fillRect(QRect(box.left(), box.top() + box.height() - down, box.width(), down), frame.color);
    if (frame.drawLeft)
        painter_.fillRect(QRect(box.left(), box.top(), across, box.height()), frame.color);
    if (frame.drawRight)
        painter_.fillRect(QRect(box.left() + box.width() - across, box.top(), across, box.height()),
                          frame.color);
}

void PagePainter::paintElement(const TReportPrintable& element, QPointF offset)
{
    switch (element.kind()) {
    case TReportPrintable::Kind::Label:
    case TReportPrintable::Kind::Memo:
        paintText(static_cast<const TReportCustomLabel&>(element), offset);
        break;
    case TReportPrintable::Kind::Image:
        paintImage(static_cast<const TReportImage&>(element), offset);
        break;
    }
}

void PagePainter::paintText(const TReportCustomLabel& label, QPointF offset)
{
    const TElementSize& size = label.size();
    const double left = size.left + offset.x();
    const double top = size.top + offset.y();
    double width = size.width;
    const QFont font = label.font();
    const double ppi = hw::screenPpi();
    const int zoom = report_.zoom() > 0 ? report_.zoom() : 100;

    QStringList lines = label.textLines();
    if (label.autoSize()) {
        // The box grows or shrinks to its widest line, measured on the screen; the stored
        // width is left alone so that generating twice gives the same page.
        double widest = 0.0;
        for (const QString& line : lines)
            widest = std::max(widest, measuredScreenWidth(line, font, ppi, zoom));
        width = fromDisplayUnits(widest, TReportUnits::Pixels, ppi, zoom);
        const TReportFrame& frame = label.frame();
        if (frame.drawLeft)
            width += frame.width * kTenthsPerInch / 72.0;
        if (frame.drawRight)
            width += frame.width * kTenthsPerInch / 72.0;
    } else if (label.wordWrap()) {
        const double boxPixels = toDisplayUnits(size.width, TReportUnits::Pixels, ppi, zoom);
        lines = wrapLines(lines, font, ppi, zoom, boxPixels);
    }

    // AlignToBand aligns the lines on the band's width instead of the element's box.
    double alignLeft = left;
    double alignWidth = width;
    if (label.alignToBand() && label.band()) {
        alignLeft = offset.x();
        alignWidth = label.band()->width();
    }

    const QRect box = mapping_.rect(left, top, width, size.height);
    if (!label.transparent())
        painter_.fillRect(box, label.color());

    const double pitch = linePitch(font, mapping_.dpiY);
    const int count = linesThatFit(static_cast<int>(lines.size()), pitch, size.height);
    const QFont deviceFont = fontAtDpi(font, mapping_.dpiY);
    const QFontMetrics metrics(deviceFont, painter_.device());
    painter_.save();
    painter_.setFont(deviceFont);
    painter_.setPen(label.fontColor());
    painter_.setBackgroundMode(Qt::TransparentMode);
    for (int i = 0; i < count; ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty())
            continue;
        const int y = mapping_.y(top + i * pitch);
        const int textWidth = metrics.horizontalAdvance(line);
        int x = box.left();
        switch (label.alignment()) {
        case taLeftJustify:
            x = mapping_.x(alignLeft);
            break;
        case taRightJustify:
            x = mapping_.x(alignLeft + alignWidth) - textWidth;
            break;
        case taCenter:
            x = mapping_.x(alignLeft + alignWidth / 2.0) - textWidth / 2;
            break;
        }
        painter_.drawText(QPoint(x, y + metrics.ascent()), line);
    }
    painter_.restore();
    paintFrame(label.frame(), box);
}

void PagePainter::paintImage(const TReportImage& image, QPointF offset)
{
    const TElementSize& size = image.size();
    const QRect box = mapping_.rect(size.left + offset.x(), size.top + offset.y(), size.width, size.height);
    if (!image.transparent())
        painter_.fillRect(box, image.color());
    const QImage& picture = image.picture();
    if (!picture.isNull()) {
        painter_.save();
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
        if (image.stretch()) {
            painter_.drawImage(box, picture);
        } else {
            // The picture's own pixels are design pixels, so it keeps its size on every
            // device; it is clipped to the box.
            const QSize own(mapping_.width(designPixels(picture.width())),
                            mapping_.height(designPixels(picture.height())));
            QRect target(box.topLeft(), own);
            if (image.center())
                target.moveCenter(box.center());
            painter_.setClipRect(box);
            painter_.drawImage(target, picture);
        }
        painter_.restore();
    }
    paintFrame(image.frame(), box);
}

} // namespace hw
