// Each card rendered to PDF and read back with poppler: every text where the layout puts
// it, within one printer pixel at 600 per inch; the header frame; the pictures filling
// their boxes; the instruction blocks wrapped inside their boxes.
#include "CardPdf.h"
#include "CardTables.h"

#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/ReportPlatform.h"
#include "hw/report/TReport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace hw::test;

class CardPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!popplerAvailable())
            GTEST_SKIP() << "poppler's pdftotext and pdftoppm are not installed";
        ASSERT_TRUE(dir_.isValid());
        // Lines wrap as on a screen of the cards' design resolution unless a test says otherwise.
        hw::setScreenPpiOverride(96.0);
        hw::createRecipeCards(&owner_);
    }
    void TearDown() override { hw::setScreenPpiOverride(0.0); }

    hw::RecipeCard& card(size_t i) const { return *hw::recipeCards()[i]; }

    QString render(size_t i, const QString& suffix = {})
    {
        const QString path = dir_.filePath(QStringLiteral("card%1%2.pdf").arg(i).arg(suffix));
        EXPECT_TRUE(card(i).SaveAsPdf(path));
        return path;
    }

    template <class T>
    T* element(size_t i, const QString& name) const
    {
        for (const auto& e : card(i).Report1()->elements()) {
            if (e->name() == name)
                return static_cast<T*>(e.get());
        }
        return nullptr;
    }

    QTemporaryDir dir_;
    QObject owner_;
};

// The 10-point line pitch as printed: the distance between the first two materials labels
// (the first two label rows of every card hold text). 0 when they are not found.
double labelPitch(const QList<PdfWord>& words)
{
    const double labelLeft = pxToPoints(328);
    QList<double> tops;
    for (const PdfWord& w : words) {
        if (std::abs(w.xMin - labelLeft) < 0.5 && w.yMin > pxToPoints(160) - 0.5 && w.yMin < pxToPoints(328))
            tops.append(w.yMin);
    }
    std::sort(tops.begin(), tops.end());
    if (tops.size() < 2 || std::abs(tops.first() - pxToPoints(160)) > kPrinterPixel)
        return 0.0;
    return tops.at(1) - tops.at(0);
}

void expectLineAt(const QList<PdfWord>& words, const QString& text, double left, double top, double xTo = 1e9)
{
    const QList<PdfWord> row = wordsAt(words, top, left, xTo);
    ASSERT_FALSE(row.isEmpty()) << "nothing at " << top << " pt for " << text.toStdString();
    EXPECT_EQ(joined(row), text.simplified());
    EXPECT_NEAR(row.first().xMin, left, kPrinterPixel) << text.toStdString();
    EXPECT_NEAR(row.first().yMin, top, kPrinterPixel) << text.toStdString();
}

// A centred line: its middle on the middle of its box.
void expectCentredAt(const QList<PdfWord>& words, const QString& text, double boxLeft, double boxWidth,
                     double top)
{
    const QList<PdfWord> row = wordsAt(words, top, boxLeft - 50, boxLeft + boxWidth);
    ASSERT_FALSE(row.isEmpty()) << "nothing at " << top << " pt for " << text.toStdString();
    EXPECT_EQ(joined(row), text);
    EXPECT_NEAR((row.first().xMin + row.last().xMax) / 2, boxLeft + boxWidth / 2, kPrinterPixel)
        << text.toStdString();
    EXPECT_NEAR(row.first().yMin, top, kPrinterPixel) << text.toStdString();
}

TEST_F(CardPdf, HeaderBandIsFramedAtTheMargins)
{
    for (size_t i = 0; i < cardTables().size(); ++i) {
        SCOPED_TRACE(cardTables()[i].displayName.toStdString());
        const QString pdf = render(i);
        // At 600 per inch the band runs from 300 to 4800 across and from 300 to 806.25 down.
        // (The titles start at 850.)
        const QRect area(250, 250, 4600, 585);
        const QImage band = renderArea(pdf, 600, area);
        ASSERT_FALSE(band.isNull());
        const QRect frame = darkBounds(band, 128).translated(area.topLeft());
        EXPECT_NEAR(frame.left(), 300, 1);
        EXPECT_NEAR(frame.top(), 300, 1);
        EXPECT_NEAR(frame.right() + 1, 4800, 1);
        EXPECT_NEAR(frame.bottom() + 1, 806.25, 1);
        // One point thick: 8.33 printer pixels.
        int thickness = 0;
        const int row = 550 - area.y();
        while (thickness < 40 && qGray(band.pixel(frame.left() - area.x() + thickness, row)) < 128)
            ++thickness;
        EXPECT_NEAR(thickness, 600.0 / 72.0, 1.0);
    }
}

TEST_F(CardPdf, TextsPrintAtTheirPlaces)
{
    for (size_t i = 0; i < cardTables().size(); ++i) {
        const CardTable& t = cardTables()[i];
        SCOPED_TRACE(t.displayName.toStdString());
        const QList<PdfWord> words = pdfWords(render(i));

        // The header, centred on the 721-pixel lines that start at the band's left edge.
        const double bandLeft = 127.0 * kPointsPerTenth;
        const double bandTop = 127.0 * kPointsPerTenth;
        expectCentredAt(words, QStringLiteral("Hacklewright"), bandLeft, pxToPoints(721),
                        bandTop + pxToPoints(4));
        expectCentredAt(words, QStringLiteral("Volume 2"), bandLeft, pxToPoints(721),
                        bandTop + pxToPoints(31));
        expectCentredAt(words, QStringLiteral("Terrestrials & Attractor Patterns"), bandLeft, pxToPoints(721),
                        bandTop + pxToPoints(53));

        // The title, one or two centred lines.
        for (int n = 0; n < t.titleLines.size(); ++n)
            expectCentredAt(words, t.titleLines.at(n), pxToPoints(t.titleLeft), pxToPoints(t.titleWidth),
                            pxToPoints(136 + 24 * n));

        expectLineAt(words, QStringLiteral("Materials"), pxToPoints(328), pxToPoints(136));
        expectLineAt(words, QStringLiteral("Tying Instructions"), pxToPoints(56), pxToPoints(328));

        // Materials: the two columns row by row, at one 10-point line pitch apart.
        const double labelLeft = pxToPoints(328);
        const double valueLeft = pxToPoints(t.valueLeft);
        const double firstRow = pxToPoints(160);
        const double pitch = labelPitch(words);
        EXPECT_GT(pitch / kPointsPerTenth, 38.0);
        EXPECT_LT(pitch / kPointsPerTenth, 43.0);
        const qsizetype rows = std::max(t.labels.size(), t.values.size());
        for (qsizetype n = 0; n < rows; ++n) {
            SCOPED_TRACE("row " + std::to_string(n + 1));
            const double top = firstRow + n * pitch;
            const QString label = n < t.labels.size() ? t.labels.at(n) : QString();
            const QString value = n < t.values.size() ? t.values.at(n) : QString();
            if (label.isEmpty()) {
                EXPECT_TRUE(wordsAt(words, top, labelLeft, valueLeft).isEmpty());
            } else {
                expectLineAt(words, label, labelLeft, top, valueLeft);
            }
            if (value.isEmpty()) {
                EXPECT_TRUE(wordsAt(words, top, valueLeft, 1e9).isEmpty());
            } else {
                expectLineAt(words, value, valueLeft, top);
            }
            // Level with each other.
            const QList<PdfWord> l = wordsAt(words, top, labelLeft, valueLeft);
            const QList<PdfWord> v = wordsAt(words, top, valueLeft, 1e9);
            if (!l.isEmpty() && !v.isEmpty()) {
                EXPECT_NEAR(l.first().yMin, v.first().yMin, 0.01);
            }
        }

        // The footers, at the bottom margin's edge.
        const auto* notice = element<hw::TReportLabel>(i, QStringLiteral("ReportLabel5"));
        const auto* web = element<hw::TReportLabel>(i, QStringLiteral("ReportLabel6"));
        ASSERT_TRUE(notice && web);
        EXPECT_TRUE(notice->caption().contains(QStringLiteral("Hacklewright")));
        EXPECT_TRUE(notice->caption().contains(QChar(0xA9)));
        EXPECT_TRUE(web->caption().contains(QStringLiteral("www.hacklewright.")));
        expectLineAt(words, notice->caption(), pxToPoints(48), pxToPoints(986), pxToPoints(592));
        expectLineAt(words, web->caption(), pxToPoints(592), pxToPoints(986));
    }
}

TEST_F(CardPdf, DoubleBlanksPrintAsTwoBlanks)
{
    // "1X or 2X  long": the gap before "long" is two blanks wide, the others one.
    for (size_t i = 0; i < cardTables().size(); ++i) {
        const CardTable& t = cardTables()[i];
        const qsizetype n = t.values.indexOf(QRegularExpression(QStringLiteral(".*  .*")));
        if (n < 0)
            continue;
        SCOPED_TRACE(t.values.at(n).toStdString());
        const QList<PdfWord> row
            = wordsAt(pdfWords(render(i)), pxToPoints(160), pxToPoints(t.valueLeft), 1e9);
        ASSERT_GE(row.size(), 3);
        const QStringList expected = t.values.at(n).split(QLatin1Char(' '));
        int w = 0;
        double single = 0.0;
        double doubled = 0.0;
        for (qsizetype k = 1; k < expected.size(); ++k) {
            if (expected.at(k).isEmpty()) {
                ++k;
                doubled = row.at(w + 1).xMin - row.at(w).xMax;
            } else if (single == 0.0) {
                single = row.at(w + 1).xMin - row.at(w).xMax;
            }
            ++w;
        }
        EXPECT_GT(single, 2.0);
        EXPECT_NEAR(doubled, 2 * single, 0.2);
    }
}

TEST_F(CardPdf, PicturesFillTheirBoxesExactly)
{
    for (size_t i = 0; i < cardTables().size(); ++i) {
        const CardTable& t = cardTables()[i];
        SCOPED_TRACE(t.displayName.toStdString());
        // A solid picture of the bitmap's size shows where the stretched picture lands.
        auto* image = element<hw::TReportImage>(i, QStringLiteral("ReportImage1"));
        ASSERT_TRUE(image);
        QImage solid(t.bitmap, QImage::Format_RGB32);
        solid.fill(Qt::black);
        image->setPicture(solid);
        const QString pdf = render(i, QStringLiteral("-solid"));

        const double scale = 600.0 / 96.0;
        const QRectF expected(t.picture.x() * scale, t.picture.y() * scale, t.picture.width() * scale,
                              t.picture.height() * scale);
        const QRect area = expected.toAlignedRect().adjusted(-30, -30, 30, 30);
        const QRect box = darkBounds(renderArea(pdf, 600, area), 128).translated(area.topLeft());
        EXPECT_NEAR(box.left(), expected.left(), 1);
        EXPECT_NEAR(box.top(), expected.top(), 1);
        EXPECT_NEAR(box.right() + 1, expected.right(), 1);
        EXPECT_NEAR(box.bottom() + 1, expected.bottom(), 1);
    }
}

TEST_F(CardPdf, InstructionBlocksWrapInsideTheirBoxes)
{
    // At the design resolution and at the denser screens the wrap is measured on.
    for (double ppi : {96.0, 120.0, 144.0}) {
        hw::setScreenPpiOverride(ppi);
        for (size_t i = 0; i < cardTables().size(); ++i) {
            const CardTable& t = cardTables()[i];
            SCOPED_TRACE(t.displayName.toStdString() + " at " + std::to_string(int(ppi)) + " ppi");
            const auto* memo = element<hw::TReportMemo>(i, QStringLiteral("ReportMemo3"));
            ASSERT_TRUE(memo);
            const QList<PdfWord> words = pdfWords(render(i, QString::number(int(ppi))));

            const double left = pxToPoints(56);
            const double top = pxToPoints(t.blockTop);
            // The wrap is measured with the screen's whole-pixel font, a little narrower than
            // the printer's, so a printed line may reach a few points past the block's edge;
            // it stays well inside the paper (a quarter inch is the widest unprintable edge).
            const double right = 612.0 - 18.0;
            const double footerTop = pxToPoints(986);
            const double pitch = labelPitch(words);
            ASSERT_GT(pitch, 0.0);

            QList<PdfWord> inBlock;
            for (const PdfWord& w : words) {
                if (w.xMin >= left - 0.5 && w.yMin >= top - 0.5 && w.yMin < footerTop - 0.5)
                    inBlock.append(w);
            }
            const QList<QList<PdfWord>> lines = textLines(inBlock);
            ASSERT_FALSE(lines.isEmpty());

            // Lines sit on the pitch grid from the block's top; steps start their own line after
            // exactly one empty line.
            QStringList paragraphs;
            int previous = -2;
            int last = 0;
            for (const QList<PdfWord>& line : lines) {
                const double k = (line.first().yMin - top) / pitch;
                const int row = static_cast<int>(std::lround(k));
                EXPECT_NEAR(line.first().yMin, top + row * pitch, kPrinterPixel);
                EXPECT_NEAR(line.first().xMin, left, kPrinterPixel);
                EXPECT_LE(line.last().xMax, right) << joined(line).toStdString();
                if (row - previous == 2)
                    paragraphs.append(joined(line));
                else if (row - previous == 1 && !paragraphs.isEmpty())
                    paragraphs.last() += QLatin1Char(' ') + joined(line);
                else
                    ADD_FAILURE() << "unexpected gap before " << joined(line).toStdString();
                previous = row;
                last = row;
            }

            // Every step printed whole: nothing was cut off at the bottom.
            ASSERT_EQ(paragraphs.size(), t.steps);
            for (int s = 0; s < t.steps; ++s) {
                EXPECT_EQ(paragraphs.at(s), memo->lines().at(2 * s).simplified());
                EXPECT_TRUE(paragraphs.at(s).startsWith(QStringLiteral("%1. ").arg(s + 1)));
            }
            // The block's height holds the wrapped text, the trailing empty line included, and
            // the text stays clear of the footers.
            const int used = last + 1 + (t.emptyLineAfterLastStep ? 1 : 0);
            EXPECT_LE(used * pitch, pxToPoints(t.blockHeight) + 1.0 * kPointsPerTenth);
            EXPECT_LT(lines.last().first().yMax, footerTop);
        }
    }
}

} // namespace
