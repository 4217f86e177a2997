#pragma once
// The layout every recipe card shares, filled in with what differs from card to card.
// Positions are kept in design pixels (96 per inch) and converted to tenths of a
// millimetre once, when the element is placed, so that nothing is rounded twice.
#include <QRect>
#include <QString>
#include <QStringList>

namespace hw {

class TReport;
class TReportLabel;

struct CardDesign {
    QString title;     // the (first) title line
    int titleLeft = 0; // design pixels, like every number below
    int titleWidth = 0;
    QRect picture;            // left, top, width, height
    QString pictureResource;  // e.g. ":/recipes/DeerHairAnt.bmp"
    int labelColumnWidth = 0; // the materials label column starts under the heading
    int labelColumnHeight = 0;
    int valueColumnLeft = 0;
    int valueColumnWidth = 0;
    int valueColumnHeight = 0;
    int instructionsTop = 0;
    int instructionsHeight = 0;
    QStringList materialLabels; // one memo line each, printed exactly as written
    QStringList materialValues;
    QStringList steps; // the prose of each tying step, without its number
    bool emptyLineAfterLastStep = false;
};

// Page settings, the header band, the title, the picture, the materials, the tying
// instructions and the footers.
void layOutCard(TReport& report, const CardDesign& design);

// A centred 14 pt bold italic title line (the second title line of a two-line title).
TReportLabel* addTitleLine(TReport& report, const QString& name, const QString& caption, int left, int top,
                           int width);

// The instruction block's lines: "1. ..." for each step, one empty line between steps.
QStringList instructionLines(const QStringList& steps, bool emptyLineAfterLastStep);

// The footer texts every card carries.
QString footerNotice();
QString footerWebAddress();

} // namespace hw
