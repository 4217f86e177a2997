// Labels and memos: word wrap measured on the screen, auto size, the pitch of "W" on the
// output device, the 1.0 cut-off, alignments and the box fill.
#include "TextLayout.h"
#include "PdfReader.h"
#include "ReportTestSupport.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>

using namespace hw;
using namespace hw::test;

namespace {

class ReportText : public ReportTest {
protected:
    QTemporaryDir dir;

    // Generates `report` into a 600 dpi PDF and returns its words.
    QList<PdfWord> printedWords(TReport& report, const QString& name)
    {
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        printToPdf(report, pdf, 600);
        return pdfWords(pdf);
    }
};

const QFont kArial10(QStringLiteral("Arial"), 10);

} // namespace

TEST_F(ReportText, ArialResolvesToAMetricCompatibleFace)
{
    const QFontInfo info(kArial10);
    EXPECT_TRUE(info.family() == QStringLiteral("Arial")
                || info.family() == QStringLiteral("Liberation Sans"))
        << info.family().toStdString();
}

TEST_F(ReportText, WordWrap)
{
    const double box = 200.0; // screen pixels
    const QString paragraph = QStringLiteral(
        "Wrap the hook shank with thread from the eye to the bend, then tie in a  length of yarn.");
    const QStringList lines = wrapLines({paragraph}, kArial10, 96, 100, box);
    ASSERT_GT(lines.size(), 2);
    // Only blanks are broken at, double blanks survive, and no line starts or ends blank.
    EXPECT_EQ(lines.join(QLatin1Char(' ')), paragraph);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        EXPECT_FALSE(line.startsWith(QLatin1Char(' ')) || line.endsWith(QLatin1Char(' ')))
            << line.toStdString();
        if (line.contains(QLatin1Char(' '))) {
            EXPECT_LE(measuredScreenWidth(line + QLatin1Char(' '), kArial10, 96, 100), box);
        }
        if (i + 1 < lines.size()) {
            const QString next = lines[i + 1].section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(
                measuredScreenWidth(line + QLatin1Char(' ') + next + QLatin1Char(' '), kArial10, 96, 100),
                box);
        }
    }

    // A word wider than the box stays whole on its own line; empty lines stay.
    const QString longWord = QStringLiteral("Supercalifragilisticexpialidocious");
    EXPECT_EQ(
        wrapLines({QStringLiteral("a ") + longWord + QStringLiteral(" b"), QString()}, kArial10, 96, 100, 60),
        (QStringList{QStringLiteral("a"), longWord, QStringLiteral("b"), QString()}));

    // A word that fits only without its trailing blank starts the next line.
    const QString pair = QStringLiteral("ab cd");
    const double tight = (measuredScreenWidth(pair, kArial10, 96, 100)
                          + measuredScreenWidth(pair + QLatin1Char(' '), kArial10, 96, 100))
        / 2;
    EXPECT_EQ(wrapLines({pair}, kArial10, 96, 100, tight),
              (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));

    // At zoom 200 the text measures twice as wide against the same on-screen box.
    EXPECT_GT(wrapLines({paragraph}, kArial10, 96, 200, box).size(), lines.size());
}

TEST_F(ReportText, WrapAndAutoSizeOnThePage)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";
    TReport report;
    const double left = 300.0, width = 600.0;
    const QString longWord = QStringLiteral("Hyperextendedunbreakablefeatherwingcase");

    auto* wrapped = report.AddMemo();
    wrapped->setSize(400.0, left, 200.0, width);
    wrapped->setAutoSize(false);
    wrapped->setLines({QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda"),
                       longWord + QStringLiteral(" mu")});

    auto* unwrapped = report.AddMemo(); // AutoSize wins over WordWrap
    unwrapped->setSize(100.0, left, 1000.0, width);
    unwrapped->setAutoSize(true);
    unwrapped->setWordWrap(true);
    unwrapped->setLines({QStringLiteral("nu xi omicron pi rho sigma tau upsilon phi chi psi omega")});

    const QList<PdfWord> words = printedWords(report, QStringLiteral("wrap"));
    QList<PdfWord> top, bottom;
    for (const PdfWord& w : words)
        (w.yMin < 1000.0 * kPointsPerTenth - 5 ? top : bottom).append(w);

    EXPECT_GE(lineTops(top).size(), 4);
    const double boxRight = (left + width) * kPointsPerTenth;
    for (const PdfWord& w : top) {
        if (w.text != longWord) {
            EXPECT_LE(w.xMax, boxRight + 1.0) << w.text.toStdString();
        }
    }
    const PdfWord* big = findWord(top, longWord);
    ASSERT_TRUE(big);
    EXPECT_GT(big->xMax, boxRight); // overruns to the right, on a line of its own
    EXPECT_NEAR(big->xMin, left * kPointsPerTenth, 1.0);
    const PdfWord* mu = findWord(top, QStringLiteral("mu"));
    ASSERT_TRUE(mu);
    EXPECT_GT(mu->yMin, big->yMin + 5);

    EXPECT_EQ(lineTops(bottom).size(), 1);
    const PdfWord* omega = findWord(bottom, QStringLiteral("omega"));
    ASSERT_TRUE(omega);
    EXPECT_GT(omega->xMax, boxRight);
}

TEST_F(ReportText, PitchCutOff)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";
    const double pitch = linePitch(kArial10, 600);
    // The pitch is the font's full height on the device: about 0.44 cm for 10 pt.
    EXPECT_NEAR(pitch, 39.4, 1.5);
    EXPECT_NEAR(linePitch(kArial10, 96), 39.7, 2.7);

    struct Case {
        const char* name;
        double height;
        int lines;
        int expected;
    };
    for (const Case& c : {Case{"exact", pitch, 1, 1}, Case{"short-0.9", pitch - 0.9, 1, 1},
                          Case{"short-1.1", pitch - 1.1, 1, 0}, Case{"eleven-in-ten", 10 * pitch, 11, 10},
                          Case{"ten-in-ten", 10 * pitch, 10, 10}}) {
        SCOPED_TRACE(c.name);
        TReport report;
        auto* memo = report.AddMemo();
        memo->setSize(c.height, 300.0, 300.0, 1500.0);
        memo->setAutoSize(false);
        memo->setWordWrap(false);
        QStringList lines;
        for (int i = 1; i <= c.lines; ++i)
            lines << QStringLiteral("Line%1").arg(i);
        memo->setLines(lines);
        const QList<PdfWord> words = printedWords(report, QString::fromLatin1(c.name));
        EXPECT_EQ(words.size(), c.expected);
        if (c.expected > 1) {
            // Lines are one pitch apart from the box's top.
            const QList<double> tops = lineTops(words);
            EXPECT_NEAR(tops.last() - tops.first(), (c.expected - 1) * pitch * kPointsPerTenth, 0.5);
            EXPECT_FALSE(findWord(words, QStringLiteral("Line11")));
        }
    }

    // A label exactly one pitch high prints its caption; empty memo lines take their pitch.
    TReport report;
    auto* label = report.AddLabel();
    label->setSize(pitch, 300.0, 300.0, 1000.0);
    label->setAutoSize(false);
    label->setCaption(QStringLiteral("Caption"));
    auto* memo = report.AddMemo();
    memo->setSize(3 * pitch, 300.0, 600.0, 1000.0);
    memo->setLines({QStringLiteral("First"), QString(), QStringLiteral("Third")});
    const QList<PdfWord> words = printedWords(report, QStringLiteral("label"));
    ASSERT_TRUE(findWord(words, QStringLiteral("Caption")));
    const PdfWord* first = findWord(words, QStringLiteral("First"));
    const PdfWord* third = findWord(words, QStringLiteral("Third"));
    ASSERT_TRUE(first && third);
    EXPECT_NEAR(third->yMin - first->yMin, 2 * pitch * kPointsPerTenth, 0.5);
}

TEST_F(ReportText, Alignments)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";
    TReport report;
    const double left = 400.0, width = 1000.0;
    auto add = [&](double top, TAlignment alignment, const QString& text) {
        auto* label = report.AddLabel();
        label->setSize(60.0, left, top, width);
        label->setAlignment(alignment);
        label->setCaption(text);
        return label;
    };
    auto* l = add(200.0, taLeftJustify, QStringLiteral("Leftward"));
    auto* r = add(300.0, taRightJustify, QStringLiteral("Rightward"));
    auto* c = add(400.0, taCenter, QStringLiteral("Centreward"));
    EXPECT_TRUE(l->autoSize());
    EXPECT_FALSE(r->autoSize()); // a non-left alignment turns auto size off
    EXPECT_FALSE(c->autoSize());
    // A centred line wider than its box is centred on the box and not clipped.
    auto* wide
        = add(500.0, taCenter, QStringLiteral("Overhanging text that is far wider than its little box"));
    wide->setSize(60.0, 1000.0, 500.0, 100.0);
    wide->setWordWrap(false);

    // AlignToBand centres on the band (127 .. 2032), not on the element's own box.
    auto* band = report.AddBand(rbPageHeader);
    band->setSize(100.0, 1905.0);
    auto* banded = band->AddLabel();
    banded->setSize(60.0, 0.0, 10.0, 300.0);
    banded->setAlignment(taCenter);
    banded->setAlignToBand(true);
    banded->setCaption(QStringLiteral("Bandwide"));

    const QList<PdfWord> words = printedWords(report, QStringLiteral("align"));
    const PdfWord* bw = findWord(words, QStringLiteral("Bandwide"));
    ASSERT_TRUE(bw);
    EXPECT_NEAR((bw->xMin + bw->xMax) / 2, (127.0 + 1905.0 / 2) * kPointsPerTenth, 0.8);
    const PdfWord* lw = findWord(words, QStringLiteral("Leftward"));
    const PdfWord* rw = findWord(words, QStringLiteral("Rightward"));
    const PdfWord* cw = findWord(words, QStringLiteral("Centreward"));
    ASSERT_TRUE(lw && rw && cw);
    EXPECT_NEAR(lw->xMin, left * kPointsPerTenth, 0.8);
    EXPECT_NEAR(rw->xMax, (left + width) * kPointsPerTenth, 0.8);
    EXPECT_NEAR((cw->xMin + cw->xMax) / 2, (left + width / 2) * kPointsPerTenth, 0.8);
    const PdfWord* over = findWord(words, QStringLiteral("Overhanging"));
    const PdfWord* box = findWord(words, QStringLiteral("box"));
    ASSERT_TRUE(over && box);
    EXPECT_NEAR((over->xMin + box->xMax) / 2, 1050.0 * kPointsPerTenth, 1.0);
    EXPECT_NEAR(over->yMin, box->yMin, 0.5); // one unclipped line
}

TEST_F(ReportText, BoxFillAutoSizeAndTransparency)
{
    TReport report;
    auto* band = report.AddBand(rbPageHeader);
    band->setSize(400.0, 1905.0);
    band->setColor(QColor(200, 200, 255));

    auto* sized = report.AddLabel();
    sized->setSize(60.0, 300.0, 200.0, 1500.0); // auto size: the fill follows the text
    sized->setColor(Qt::yellow);
    sized->setCaption(QStringLiteral("Materials"));

    auto* clear = report.AddLabel();
    clear->setSize(60.0, 300.0, 350.0, 1500.0);
    clear->setTransparent(true);
    clear->setColor(Qt::yellow);
    clear->setCaption(QStringLiteral("Clear"));

    auto output = TReportOutput::forPageImages(96);
    report.Generate(*output);
    const QImage page = pageImage(*output);
    const int left = 113; // 300 tenths
    const int textWidth
        = QFontMetrics(fontAtDpi(kArial10, 96)).horizontalAdvance(QStringLiteral("Materials")) + 1;
    int right = left;
    while (page.pixel(right, 96) != qRgb(255, 255, 0) || page.pixel(right + 1, 96) == qRgb(255, 255, 0))
        if (++right > 700)
            break;
    EXPECT_NEAR(right + 1 - left, textWidth, 1);
    EXPECT_EQ(page.pixel(left + textWidth + 20, 96), qRgb(200, 200, 255)); // band colour beyond
    // The transparent label leaves the band showing around its letters.
    EXPECT_EQ(page.pixel(left + 1, 152), qRgb(200, 200, 255));
}
