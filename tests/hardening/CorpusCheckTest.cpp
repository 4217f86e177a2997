// hacklewright-tool check on every case of the broken-content corpus: each case's fault is
// found (and the sound ones have no errors); the command's exit codes and JSON.
#include "BrokenCorpus.h"
#include "BuiltTools.h"
#include "CheckFindings.h"

#include "hw/check/LibraryCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>

using hw::check::checkLibrary;
using hw::check::CheckReport;
using hw::check::Severity;

using hw::test::findingCodes;

TEST(BrokenContent, CheckFindsEachCasesFault)
{
    // What each case must give; a case added to the corpus must be added here too.
    const std::map<QString, QString> expected = {
        {QStringLiteral("sound"), QString()},
        {QStringLiteral("avi-damaged-index"), QString()},
        {QStringLiteral("avi-zero-length"), QStringLiteral("video-unopenable")},
        {QStringLiteral("avi-truncated-header"), QStringLiteral("video-unopenable")},
        {QStringLiteral("avi-not-video"), QStringLiteral("video-unopenable")},
        {QStringLiteral("avi-truncated-frames"), QStringLiteral("range-outside-video")},
        {QStringLiteral("avi-missing"), QStringLiteral("video-missing")},
        {QStringLiteral("bmp-zero-length"), QStringLiteral("picture-empty")},
        {QStringLiteral("bmp-not-a-bitmap"), QStringLiteral("picture-unreadable")},
        {QStringLiteral("bmp-short"), QStringLiteral("picture-unreadable")},
        {QStringLiteral("bmp-damaged-header"), QStringLiteral("picture-unreadable")},
        {QStringLiteral("bmp-huge-dimensions"), QStringLiteral("picture-unreadable")},
        {QStringLiteral("bmp-pixels-missing"), QStringLiteral("picture-unreadable")},
        {QStringLiteral("bmp-missing"), QStringLiteral("picture-missing")},
        {QStringLiteral("ini-binary-garbage"), QStringLiteral("ini-ignored")},
        {QStringLiteral("ini-long-lines"), QStringLiteral("value-cut")},
        {QStringLiteral("ini-missing-sections"), QStringLiteral("topic-missing")},
        {QStringLiteral("ini-bad-integer-pattern"), QStringLiteral("bad-integer")},
        {QStringLiteral("ini-bad-integer-section"), QStringLiteral("bad-integer")},
        {QStringLiteral("ini-frames-beyond-clip"), QStringLiteral("range-outside-video")},
    };
    const QDir corpus = hw::test::brokenCorpus();
    int cases = 0;
    for (const QString& name : corpus.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ++cases;
        const auto want = expected.find(name);
        ASSERT_NE(want, expected.end()) << "no expectation for the corpus case " << name.toStdString();
        const CheckReport report = checkLibrary(QDir(corpus.filePath(name)));
        if (want->second.isEmpty()) {
            EXPECT_EQ(report.count(Severity::Error), 0) << name.toStdString() << "\n" << findingCodes(report);
        } else {
            EXPECT_TRUE(report.has(want->second)) << name.toStdString() << "\n" << findingCodes(report);
        }
    }
    EXPECT_EQ(cases, int(expected.size()));

    // The command: exit 0 with warnings only, 1 with --strict or with errors; JSON counts.
    auto run = [&](const QStringList& args) {
        const hw::test::ProcessRun check = hw::test::runTool(QStringList{QStringLiteral("check")} + args);
        return std::make_pair(check.exitCode, check.out);
    };
    const QString sound = corpus.filePath(QStringLiteral("sound"));
    EXPECT_EQ(run({sound}).first, 0);
    EXPECT_EQ(run({sound, QStringLiteral("--strict")}).first, 1);
    const auto [code, json] = run({corpus.filePath(QStringLiteral("bmp-missing")), QStringLiteral("--json")});
    EXPECT_EQ(code, 1);
    const QJsonObject top = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(top.value(QStringLiteral("errors")).toInt(), 1);
    for (const auto& finding : top.value(QStringLiteral("findings")).toArray()) {
        if (finding.toObject().value(QStringLiteral("severity")).toString() == QStringLiteral("error")) {
            EXPECT_EQ(finding.toObject().value(QStringLiteral("file")).toString(),
                      QStringLiteral("Flies\\Adams.bmp"));
        }
    }
    EXPECT_EQ(run({corpus.filePath(QStringLiteral("none"))}).first, 2);
}
