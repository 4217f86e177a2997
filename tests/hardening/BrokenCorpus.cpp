#include "BrokenCorpus.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace hw::test {

const LessonSpec kQuickTourLesson{0, 20, {{"Welcome", 0, 9, 0}, {"Getting Around", 10, 19, 0}}};
const LessonSpec kTechniquesLesson{1, 32, {{"Whip Finish", 0, 7, 16}, {"Dubbing Loop", 8, 15, 16}}};
const LessonSpec kAdamsLesson{2, 24, {{"Tail", 0, 5, 12}, {"Hackle", 6, 11, 12}}};
const LessonSpec kWulffLesson{3, 20, {{"Tail", 0, 4, 10}, {"Body", 5, 9, 10}}};

namespace {

// The tool's identity: a rebuilt tool writes the corpus anew.
QByteArray toolStamp()
{
    const QFileInfo tool(QStringLiteral(HW_TOOL));
    return tool.absoluteFilePath().toUtf8() + ' ' + QByteArray::number(tool.size()) + ' '
        + QByteArray::number(tool.lastModified().toMSecsSinceEpoch());
}

} // namespace

QDir brokenCorpus()
{
    static const QDir corpus = [] {
        const QString base = QCoreApplication::applicationDirPath() + QStringLiteral("/broken-corpus");
        const QString root = base + QStringLiteral("/cases");
        QDir().mkpath(base);
        // Test cases run as separate processes, several at once: one of them writes.
        QLockFile lock(base + QStringLiteral("/lock"));
        lock.setStaleLockTime(10 * 60 * 1000);
        if (!lock.lock())
            ADD_FAILURE() << "cannot lock " << base.toStdString();
        QFile marker(base + QStringLiteral("/complete"));
        if (marker.open(QIODevice::ReadOnly) && marker.readAll() == toolStamp())
            return QDir(root);
        marker.close();
        QFile::remove(marker.fileName());
        QDir(root).removeRecursively();
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral(HW_TOOL), {QStringLiteral("make-broken"), root});
        const bool finished = tool.waitForFinished(10 * 60 * 1000);
        if (!finished || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
            ADD_FAILURE() << "make-broken failed: " << tool.readAll().toStdString();
            return QDir(root);
        }
        if (marker.open(QIODevice::WriteOnly))
            marker.write(toolStamp());
        return QDir(root);
    }();
    return corpus;
}

QDir brokenCase(const QString& name)
{
    const QDir dir(brokenCorpus().filePath(name));
    EXPECT_TRUE(dir.exists()) << "no case " << name.toStdString() << " in the corpus";
    return dir;
}

} // namespace hw::test
