#pragma once
// A printable element: placed on a band (Size relative to the band's top-left corner) or
// directly on the page (Size relative to the paper's top-left corner).
#include "hw/report/TReportFrame.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace hw {

class TReport;
class TReportBand;

// The Size list, in its stored order Height, Left, Top, Width (tenths of a millimetre).
struct TElementSize {
    double height = 0.0;
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
};

class TReportPrintable {
public:
    enum class Kind { Label, Memo, Image };

    virtual ~TReportPrintable();
    TReportPrintable(const TReportPrintable&) = delete;
    TReportPrintable& operator=(const TReportPrintable&) = delete;

    virtual Kind kind() const = 0;

    QString name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    const TElementSize& size() const { return size_; }
    // Stored values in tenths of a millimetre, in the Size list's order.
    void setSize(double height, double left, double top, double width);
    void setSize(const TElementSize& size) { size_ = size; }

    // On-screen bounds in pixels, derived from the stored values at the report's screen PPI
    // and zoom (relative to the band or the page).
    QRect bounds() const;
    // A design-time change of the on-screen bounds. Outside layout loading it updates the
    // stored values; while the report is loading its layout it changes nothing.
    void setBounds(const QRect& pixels);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    QColor color() const { return color_; }
    void setColor(const QColor& color) { color_ = color; }
    // False: the box is filled with Color before the content is drawn.
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent) { transparent_ = transparent; }
    const TReportFrame& frame() const { return frame_; }
    TReportFrame& frame() { return frame_; }
    void setFrame(const TReportFrame& frame) { frame_ = frame; }

    // The font the element prints with: the report's font while ParentFont is set, else
    // its own.
    QFont font() const;
    // Gives the element a font of its own (clears ParentFont).
    void setFont(const QFont& font);
    bool parentFont() const { return parentFont_; }
    void setParentFont(bool parent) { parentFont_ = parent; }
    // The size in points of the element's font (sets a font of its own based on the current
    // one).
    int fontSize() const;
    void setFontSize(int points);
    // The text colour (the font's colour): the system's window-text colour, black.
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color) { fontColor_ = color; }

    TReport* report() const { return report_; }
    // The band the element sits on; nullptr for an element placed directly on the page.
    TReportBand* band() const { return band_; }

protected:
    TReportPrintable(TReport* report, TReportBand* band);

private:
    TReport* report_;
    TReportBand* band_;
    QString name_;
    TElementSize size_;
    bool enabled_ = true;
    QColor color_ = Qt::white;
    bool transparent_ = false;
    TReportFrame frame_;
    QFont font_;
    bool parentFont_ = true;
    QColor fontColor_ = Qt::black;
};

} // namespace hw
