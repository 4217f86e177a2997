#include "CardLayout.h"
#include "CardPicture.h"

#include "hw/report/TReport.h"

#include <QFont>

namespace hw {
namespace {

// Every element's box is given in design pixels; the stored value is exact.
void place(TReportPrintable& element, double left, double top, double width, double height)
{
    element.setSize(designPixels(height), designPixels(left), designPixels(top), designPixels(width));
}

QFont arial(int points, QFont::Weight weight = QFont::Normal, bool italic = false)
{
    QFont font(QStringLiteral("Arial"), points, weight, italic);
    return font;
}

TReportLabel* addLabel(TReport& report, TReportBand* band, const QString& name, const QString& caption,
                       QRect box, const QFont& font, TAlignment alignment, bool autoSize)
{
    TReportLabel* label = band ? band->AddLabel() : report.AddLabel();
    label->setName(name);
    place(*label, box.x(), box.y(), box.width(), box.height());
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAutoSize(autoSize);
    label->setWordWrap(true);
    label->setCaption(caption);
    return label;
}

TReportMemo* addMemo(TReport& report, const QString& name, const QStringList& lines, QRect box,
                     const QFont& font, bool autoSize)
{
    TReportMemo* memo = report.AddMemo();
    memo->setName(name);
    place(*memo, box.x(), box.y(), box.width(), box.height());
    memo->setFont(font);
    memo->setAlignment(taLeftJustify);
    memo->setAutoSize(autoSize);
    memo->setWordWrap(true);
    memo->setLines(lines);
    return memo;
}

void setUpPage(TReport& report)
{
    TReportPage& page = report.page();
    page.setPaperSize(TPaperSize::Letter);
    page.setOrientation(poPortrait);
    page.setColumns(1);
    page.setValues({127.0, 2794.0, 127.0, 2159.0, 127.0, 127.0, 0.0});
    report.setOptions(TReport::FirstPageHeader | TReport::LastPageFooter);
    report.setPrintIfEmpty(false);
    TPrinterSettings& printer = report.printerSettings();
    printer.copies = 1;
    printer.duplex = false;
    printer.firstPage = 0;
    printer.lastPage = 0;
    printer.outputBin = TOutputBin::First;
    report.setUnits(TReportUnits::Inches);
    report.setZoom(100);
    report.setFont(arial(10));
    report.frame().setAll(false);
    report.setSnapToGrid(true);
}

void addHeaderBand(TReport& report)
{
    TReportBand* band = report.AddBand(rbPageHeader);
    band->setName(QStringLiteral("ReportBand1"));
    band->setSize(designPixels(81), designPixels(720));
    band->setColor(Qt::white);
    TReportFrame frame;
    frame.color = Qt::black;
    frame.setAll(true);
    frame.width = 1;
    band->setFrame(frame);
    // The lines are one pixel wider than the band and centred on their own box.
    addLabel(report, band, QStringLiteral("ReportLabel1"), QStringLiteral("Hacklewright"),
             QRect(0, 4, 721, 25), arial(16, QFont::Bold), taCenter, false);
    addLabel(report, band, QStringLiteral("ReportLabel2"), QStringLiteral("Volume 2"), QRect(0, 31, 721, 25),
             arial(12), taCenter, false);
    addLabel(report, band, QStringLiteral("ReportLabel3"),
             QStringLiteral("Terrestrials & Attractor Patterns"), QRect(0, 53, 721, 25),
             arial(12, QFont::Bold), taCenter, false);
}

} // namespace

TReportLabel* addTitleLine(TReport& report, const QString& name, const QString& caption, int left, int top,
                           int width)
{
    return addLabel(report, nullptr, name, caption, QRect(left, top, width, 24), arial(14, QFont::Bold, true),
                    taCenter, false);
}

QStringList instructionLines(const QStringList& steps, bool emptyLineAfterLastStep)
{
    QStringList lines;
    for (int i = 0; i < steps.size(); ++i) {
        if (i > 0)
            lines.append(QString());
        lines.append(QStringLiteral("%1. %2").arg(i + 1).arg(steps.at(i)));
    }
    if (emptyLineAfterLastStep)
        lines.append(QString());
    return lines;
}

QString footerNotice()
{
    return QStringLiteral("\u00A9 Hacklewright Studio. All rights reserved.");
}

QString footerWebAddress()
{
    return QStringLiteral("http://www.hacklewright.example");
}

void layOutCard(TReport& report, const CardDesign& design)
{
    report.beginLayoutLoad();
    setUpPage(report);
    addHeaderBand(report);

    addTitleLine(report, QStringLiteral("ReportLabel4"), design.title, design.titleLeft, 136,
                 design.titleWidth);

    TReportImage* picture = report.AddImage();
    picture->setName(QStringLiteral("ReportImage1"));
    place(*picture, design.picture.x(), design.picture.y(), design.picture.width(), design.picture.height());
    picture->setStretch(true);
    picture->setPicture(loadCardPicture(design.pictureResource));

    addLabel(report, nullptr, QStringLiteral("ReportLabel7"), QStringLiteral("Materials"),
             QRect(328, 136, 69, 20), arial(12, QFont::Bold), taLeftJustify, true);
    addMemo(report, QStringLiteral("ReportMemo2"), design.materialLabels,
            QRect(328, 160, design.labelColumnWidth, design.labelColumnHeight),
            arial(10, QFont::Normal, true), true);
    addMemo(report, QStringLiteral("ReportMemo1"), design.materialValues,
            QRect(design.valueColumnLeft, 160, design.valueColumnWidth, design.valueColumnHeight), arial(10),
            true);

    addLabel(report, nullptr, QStringLiteral("ReportLabel8"), QStringLiteral("Tying Instructions"),
             QRect(56, 328, 139, 20), arial(12, QFont::Bold), taLeftJustify, true);
    addMemo(report, QStringLiteral("ReportMemo3"),
            instructionLines(design.steps, design.emptyLineAfterLastStep),
            QRect(56, design.instructionsTop, 705, design.instructionsHeight), arial(10), false);

    addLabel(report, nullptr, QStringLiteral("ReportLabel5"), footerNotice(), QRect(48, 986, 209, 17),
             arial(10), taLeftJustify, true);
    addLabel(report, nullptr, QStringLiteral("ReportLabel6"), footerWebAddress(), QRect(592, 986, 169, 17),
             arial(10), taLeftJustify, true);
    report.endLayoutLoad();
}

} // namespace hw
