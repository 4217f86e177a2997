#pragma once
// The page settings of a report. All lengths are tenths of a millimetre.
#include <QSizeF>
#include <array>

namespace hw {

// The engine's paper sizes. Default .. ESheet are the system paper codes 0 .. 26 (so Letter
// is 1 and A4 is 9); Custom is sent as the user-defined code 256 with the page's own Length
// and Width.
enum class TPaperSize {
    Default = 0,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    qr10X14,
    qr11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom
};

enum TReportOrientation { poPortrait, poLandscape };

// Portrait width x length of a paper size in tenths of a millimetre; an empty size for
// Default and Custom.
QSizeF paperDimensions(TPaperSize size);

class TReportPage {
public:
    // Order of the Values list.
    enum Value { BottomMargin, Length, TopMargin, Width, LeftMargin, RightMargin, ColumnSpace };
    using Values = std::array<double, 7>;

    TReportPage();

    TPaperSize paperSize() const { return paperSize_; }
    // Length and Width follow the paper size unless it is Custom (or Default).
    void setPaperSize(TPaperSize size);
    TReportOrientation orientation() const { return orientation_; }
    void setOrientation(TReportOrientation orientation);
    int columns() const { return columns_; }
    void setColumns(int columns) { columns_ = columns; }

    const Values& values() const { return values_; }
    // Authoritative stored values (BottomMargin, Length, TopMargin, Width, LeftMargin,
    // RightMargin, ColumnSpace).
    void setValues(const Values& values) { values_ = values; }
    double value(Value which) const { return values_[which]; }
    void setValue(Value which, double tenths) { values_[which] = tenths; }

    double bottomMargin() const { return values_[BottomMargin]; }
    double length() const { return values_[Length]; }
    double topMargin() const { return values_[TopMargin]; }
    double width() const { return values_[Width]; }
    double leftMargin() const { return values_[LeftMargin]; }
    double rightMargin() const { return values_[RightMargin]; }
    double columnSpace() const { return values_[ColumnSpace]; }

private:
    void applyPaper();

    TPaperSize paperSize_ = TPaperSize::A4;
    TReportOrientation orientation_ = poPortrait;
    int columns_ = 1;
    Values values_{};
};

} // namespace hw
