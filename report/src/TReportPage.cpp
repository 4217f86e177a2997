#include "hw/report/TReportPage.h"

#include <utility>

namespace hw {

QSizeF paperDimensions(TPaperSize size)
{
    // Portrait width x length in tenths of a millimetre, the system's paper table.
    switch (size) {
    case TPaperSize::Letter:
    case TPaperSize::LetterSmall:
        return {2159, 2794};
    case TPaperSize::Tabloid:
        return {2794, 4318};
    case TPaperSize::Ledger:
        return {4318, 2794};
    case TPaperSize::Legal:
        return {2159, 3556};
    case TPaperSize::Statement:
        return {1397, 2159};
    case TPaperSize::Executive:
        return {1841, 2667};
    case TPaperSize::A3:
        return {2970, 4200};
    case TPaperSize::A4:
    case TPaperSize::A4Small:
        return {2100, 2970};
    case TPaperSize::A5:
        return {1480, 2100};
    case TPaperSize::B4:
        return {2570, 3640}; // JIS, as system code 12
    case TPaperSize::B5:
        return {1820, 2570}; // JIS, as system code 13
    case TPaperSize::Folio:
        return {2159, 3302};
    case TPaperSize::Quarto:
        return {2150, 2750};
    case TPaperSize::qr10X14:
        return {2540, 3556};
    case TPaperSize::qr11X17:
        return {2794, 4318};
    case TPaperSize::Note:
        return {2159, 2794};
    case TPaperSize::Env9:
        return {984, 2254};
    case TPaperSize::Env10:
        return {1048, 2413};
    case TPaperSize::Env11:
        return {1143, 2635};
    case TPaperSize::Env12:
        return {1207, 2794};
    case TPaperSize::Env14:
        return {1270, 2921};
    case TPaperSize::CSheet:
        return {4318, 5588};
    case TPaperSize::DSheet:
        return {5588, 8636};
    case TPaperSize::ESheet:
        return {8636, 11176};
    case TPaperSize::Default:
    case TPaperSize::Custom:
        break;
    }
    return {};
}

TReportPage::TReportPage()
{
    values_ = {127.0, 2794.0, 127.0, 2159.0, 127.0, 127.0, 0.0};
    paperSize_ = TPaperSize::Letter;
}

void TReportPage::setPaperSize(TPaperSize size)
{
    paperSize_ = size;
    applyPaper();
}

void TReportPage::setOrientation(TReportOrientation orientation)
{
    if (orientation_ == orientation)
        return;
    orientation_ = orientation;
    if (paperDimensions(paperSize_).isEmpty())
        std::swap(values_[Length], values_[Width]);
    else
        applyPaper();
}

void TReportPage::applyPaper()
{
    const QSizeF paper = paperDimensions(paperSize_);
    if (paper.isEmpty())
        return;
    const bool portrait = orientation_ == poPortrait;
    values_[Width] = portrait ? paper.width() : paper.height();
    values_[Length] = portrait ? paper.height() : paper.width();
}

} // namespace hw
