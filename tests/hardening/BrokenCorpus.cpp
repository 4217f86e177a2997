#include "BrokenCorpus.h"

#include "BuiltOnce.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace hw::test {

const LessonSpec kQuickTourLesson{0, 20, {{"Welcome", 0, 9, 0}, {"Getting Around", 10, 19, 0}}};
const LessonSpec kTechniquesLesson{1, 32, {{"Whip Finish", 0, 7, 16}, {"Dubbing Loop", 8, 15, 16}}};
const LessonSpec kAdamsLesson{2, 24, {{"Tail", 0, 5, 12}, {"Hackle", 6, 11, 12}}};
const LessonSpec kWulffLesson{3, 20, {{"Tail", 0, 4, 10}, {"Body", 5, 9, 10}}};

QDir brokenCorpus()
{
    static const QDir corpus(builtOnce(
        QStringLiteral("broken-corpus"),
        [](const QString& root) {
            QProcess tool;
            tool.setProcessChannelMode(QProcess::MergedChannels);
            tool.start(QStringLiteral(HW_MAKE_BROKEN), {root});
            const bool finished = tool.waitForFinished(10 * 60 * 1000);
            if (!finished || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
                throw std::runtime_error("make-broken failed: " + tool.readAll().toStdString());
        },
        fileStamp(QStringLiteral(HW_MAKE_BROKEN)))); // a rebuilt program writes the corpus anew
    return corpus;
}

QDir brokenCase(const QString& name)
{
    const QDir dir(brokenCorpus().filePath(name));
    EXPECT_TRUE(dir.exists()) << "no case " << name.toStdString() << " in the corpus";
    return dir;
}

} // namespace hw::test
