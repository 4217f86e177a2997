// hacklewright-tool card: one card by its pattern name, or all six into a folder.
#include "BuiltTools.h"
#include "CardPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int runCard(const QStringList& args)
{
    return hw::test::runTool(QStringList{QStringLiteral("card")} + args).exitCode;
}

TEST(CardCommand, WritesCardsByPatternName)
{
    if (!QFileInfo(hw::test::toolPath()).isExecutable())
        GTEST_SKIP() << "hacklewright-tool is not built";
    if (!hw::test::popplerAvailable())
        GTEST_SKIP() << "poppler's tools are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const QString one = dir.filePath(QStringLiteral("nymph.pdf"));
    ASSERT_EQ(runCard({QStringLiteral("Gold Ribbed Hare's Ear Nymph"), one}), 0);
    const QString text = hw::test::joined(hw::test::pdfWords(one));
    EXPECT_TRUE(text.contains(QStringLiteral("Bead Head, Gold Ribbed Hare's Ear Nymph")));

    // The name is compared exactly, as Print Recipe does.
    const QString none = dir.filePath(QStringLiteral("none.pdf"));
    EXPECT_EQ(runCard({QStringLiteral("gold ribbed hare's ear nymph"), none}), 2);
    EXPECT_FALSE(QFileInfo::exists(none));
    EXPECT_EQ(runCard({QStringLiteral("Deer Hair Ant")}), 2);
    // A file that cannot be written is a failure, not a silent success.
    EXPECT_EQ(runCard({QStringLiteral("Deer Hair Ant"), dir.filePath(QStringLiteral("missing/ant.pdf"))}), 1);

    const QString all = dir.filePath(QStringLiteral("all"));
    ASSERT_EQ(runCard({QStringLiteral("--all"), all}), 0);
    const QStringList files = QDir(all).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    EXPECT_EQ(
        files,
        QStringList({QStringLiteral("BulletHeadHopper.pdf"), QStringLiteral("DeerHairAnt.pdf"),
                     QStringLiteral("DeerHairCricket.pdf"), QStringLiteral("GoldRibbedHaresEarNymph.pdf"),
                     QStringLiteral("ParachuteAdams.pdf"), QStringLiteral("ParachuteHopper.pdf")}));
    EXPECT_TRUE(hw::test::joined(hw::test::pdfWords(QDir(all).filePath(QStringLiteral("DeerHairAnt.pdf"))))
                    .contains(QStringLiteral("Deer Hair Ant Materials")));
}

} // namespace
