// The authors' commands, run as the program they are: stamp-clip writes a clip, grab saves
// a frame as the video panel shows it (also at high pixel ratios), read-stamp reads it back.
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString toolPath()
{
    return qEnvironmentVariable("HW_BINARY_DIR") + QStringLiteral("/tools/hacklewright-tool");
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& args, const QString& scale = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!scale.isEmpty())
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    p.setProcessEnvironment(env);
    p.start(toolPath(), args);
    ToolRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(MediaTools, StampClipGrabAndReadStampAgree)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("Lesson.avi"));
    ASSERT_EQ(tool({QStringLiteral("stamp-clip"), clip, QStringLiteral("--codec"), QStringLiteral("mpeg4"),
                    QStringLiteral("--keyint"), QStringLiteral("10"), QStringLiteral("--bframes"),
                    QStringLiteral("--frames"), QStringLiteral("40"), QStringLiteral("--drop"), QStringLiteral("5,6")})
                  .exitCode,
              0);
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip, QStringLiteral("23")}).out, QStringLiteral("23"));
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip, QStringLiteral("6")}).out, QStringLiteral("4"));

    for (const QString& scale : {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}) {
        const QString png = dir.filePath(QStringLiteral("frame-%1.png").arg(scale));
        const ToolRun grab = tool({QStringLiteral("grab"), clip, QStringLiteral("17"), png}, scale);
        ASSERT_EQ(grab.exitCode, 0) << grab.err.toStdString();
        const QImage saved(png);
        EXPECT_EQ(saved.width(), qRound(320 * scale.toDouble())) << "picture at the screen's own resolution";
        EXPECT_EQ(tool({QStringLiteral("read-stamp"), png}).out, QStringLiteral("17")) << scale.toStdString();
    }

    const ToolRun missing = tool({QStringLiteral("grab"), dir.filePath(QStringLiteral("none.avi")), QStringLiteral("1"),
                              dir.filePath(QStringLiteral("x.png"))});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Cannot find the specified file")));
    EXPECT_NE(tool({QStringLiteral("grab"), clip, QStringLiteral("40"), dir.filePath(QStringLiteral("x.png"))}).exitCode, 0);
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip + QStringLiteral(".png")}).exitCode, 2);
}
