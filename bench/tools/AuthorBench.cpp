// author_bench [--tool PATH] [--keep DIR] [--large-files]: times the authors' commands and prints a Markdown
// report.
//
// 1. Deep grabs: a 60-second 1920 x 1080 H.264 video at 30 frames a second (a keyframe every
//    250 frames, three B-frames), as MP4 and as AVI (1,800 frames each), made with the ffmpeg
//    program. For each of five frames deep in it, `hacklewright-tool grab VIDEO N OUT.png`
//    and `ffmpeg -ss N/30 -i VIDEO -frames:v 1 OUT.png` run as whole processes, taking
//    turns, three times each; a frame's time is its best of three, and the figures are the
//    medians over the five frames.
// 2. Library check: a library of 1,000 patterns (20 steps of one second and 10 materials
//    lines each, a 120 x 80 picture, a 64 x 48 MJPEG video of 600 frames, shared by hard
//    links) and both sections. Timed in this process, warm, median of three: checkLibrary
//    against the catalogue load plus opening each pattern's video once (as the tutor does).
// 3. Large lesson files: the same library's sections and two patterns, one with 20,000
//    sections beyond its steps, one with 5,000 steps whose left-handed ranges all run into
//    each other's right-handed ones. checkLibrary, warm, median of three; goal 1 s.
#include "hw/check/LibraryCheck.h"
#include "hw/clips/ClipWriter.h"
#include "hw/content/Catalogue.h"
#include "hw/media/TMediaPlayer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

constexpr int kRounds = 3;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs a program to its end; the wall time in ms, or -1 when it fails.
double timedRun(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return double(t.nsecsElapsed()) / 1e6;
}

// Encodes the same picture sequence twice, once into each container: a stream copy from MP4
// into AVI would keep MP4's finer clock and leave every other AVI frame slot empty.
bool makeLongVideo(const QString& mp4, const QString& avi)
{
    for (const QString& out : {mp4, avi}) {
        const QStringList encode{QStringLiteral("-v"),
                                 QStringLiteral("error"),
                                 QStringLiteral("-y"),
                                 QStringLiteral("-f"),
                                 QStringLiteral("lavfi"),
                                 QStringLiteral("-i"),
                                 QStringLiteral("testsrc2=size=1920x1080:rate=30"),
                                 QStringLiteral("-t"),
                                 QStringLiteral("60"),
                                 QStringLiteral("-c:v"),
                                 QStringLiteral("libx264"),
                                 QStringLiteral("-preset"),
                                 QStringLiteral("veryfast"),
                                 QStringLiteral("-g"),
                                 QStringLiteral("250"),
                                 QStringLiteral("-bf"),
                                 QStringLiteral("3"),
                                 QStringLiteral("-pix_fmt"),
                                 QStringLiteral("yuv420p"),
                                 out};
        if (timedRun(QStringLiteral("ffmpeg"), encode) < 0)
            return false;
    }
    return true;
}

void benchGrabs(QTextStream& out, const QString& tool, const QDir& dir)
{
    const QString mp4 = dir.filePath(QStringLiteral("long.mp4")),
                  avi = dir.filePath(QStringLiteral("long.avi"));
    if (!makeLongVideo(mp4, avi)) {
        out << "Could not make the long video with the ffmpeg program.\n";
        return;
    }
    const std::vector<int> frames{1100, 1240, 1400, 1620, 1745};
    out << "| Video | Frames | grab, median (ms) | ffmpeg -ss, median (ms) | Ratio "
           "|\n|---|---|---|---|---|\n";
    for (const QString& video : {mp4, avi}) {
        std::vector<double> ours, theirs;
        for (int frame : frames) {
            // Three rounds, the two programs taking turns; each frame's best time of each, so
            // that a burst of load from other programs on the machine falls on neither.
            const QString png = dir.filePath(QStringLiteral("grab.png"));
            double a = 1e18, b = 1e18;
            for (int round = 0; round < kRounds; ++round) {
                a = std::min(a, timedRun(tool, {QStringLiteral("grab"), video, QString::number(frame), png}));
                b = std::min(b,
                             timedRun(QStringLiteral("ffmpeg"),
                                      {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                                       QStringLiteral("-ss"), QString::number(frame / 30.0, 'f', 6),
                                       QStringLiteral("-i"), video, QStringLiteral("-frames:v"),
                                       QStringLiteral("1"), png}));
            }
            ours.push_back(a);
            theirs.push_back(b);
        }
        QStringList list;
        for (int f : frames)
            list << QString::number(f);
        const double a = median(ours), b = median(theirs);
        out << "| " << QFileInfo(video).suffix().toUpper() << " 1920×1080 H.264 | "
            << list.join(QStringLiteral(", ")) << " | " << QString::number(a, 'f', 0) << " | "
            << QString::number(b, 'f', 0) << " | " << QString::number(a / b, 'f', 2) << " |\n";
    }
    out << '\n';
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool makeLibrary(const QDir& root, int patterns)
{
    const QString clip = root.filePath(QStringLiteral("clip.avi"));
    hw::ClipFormat format;
    format.size = QSize(64, 48);
    hw::ClipWriter writer;
    if (!writer.open(clip, format))
        return false;
    QImage frame(64, 48, QImage::Format_RGB32);
    for (int f = 0; f < 600; ++f) {
        frame.fill(QColor(f % 256, 90, 140));
        writer.addFrame(frame);
    }
    if (!writer.finish())
        return false;
    QImage picture(120, 80, QImage::Format_RGB888);
    picture.fill(Qt::darkGreen);
    picture.save(root.filePath(QStringLiteral("picture.bmp")), "BMP");
    QFile pictureFile(root.filePath(QStringLiteral("picture.bmp")));
    pictureFile.open(QIODevice::ReadOnly);
    const QByteArray bmp = pictureFile.readAll();
    // Twenty one-second steps (15 frames) and their left-handed twins 300 frames later.
    auto topics = [](const char* titleKey, int count) {
        QByteArray ini;
        for (int n = 1; n <= count; ++n)
            ini += "[Topics " + QByteArray::number(n) + "]\r\n" + titleKey + "=Step " + QByteArray::number(n)
                + "\r\nStartFrame=" + QByteArray::number((n - 1) * 15)
                + "\r\nStopFrame=" + QByteArray::number(n * 15 - 1) + "\r\nOffset=300\r\n";
        return ini;
    };
    QDir().mkpath(root.filePath(QStringLiteral("Flies")));
    for (int i = 0; i < patterns; ++i) {
        const QString base = root.filePath(QStringLiteral("Flies/Pattern%1").arg(i, 4, 10, QLatin1Char('0')));
        QByteArray ini = "[Info]\r\nname=Pattern " + QByteArray::number(i) + "\r\nnumsteps=20\r\n"
            + topics("title", 20) + "[Materials]\r\n";
        for (int m = 0; m < 10; ++m)
            ini += "Line" + QByteArray::number(m) + "=Material " + QByteArray::number(m) + "\r\n";
        if (!writeFile(base + QStringLiteral(".ini"), ini) || !writeFile(base + QStringLiteral(".bmp"), bmp))
            return false;
        std::error_code error;
        std::filesystem::create_hard_link(clip.toStdString(), (base + QStringLiteral(".avi")).toStdString(),
                                          error);
        if (error)
            return false;
    }
    for (const QString& section : {QStringLiteral("QuickTour"), QStringLiteral("Techniques")}) {
        const QString base = root.filePath(section + QLatin1Char('/') + section);
        if (!writeFile(base + QStringLiteral(".ini"), "[Info]\r\nNumTopics=20\r\n" + topics("Title", 20)))
            return false;
        std::error_code error;
        std::filesystem::create_hard_link(clip.toStdString(), (base + QStringLiteral(".avi")).toStdString(),
                                          error);
    }
    return true;
}

// The tutor's own work on the same library: the catalogue, then each pattern's video once.
int loadAndOpen(const QDir& root)
{
    hw::Catalogue catalogue;
    hw::initResources(catalogue, {}, root);
    int opened = 0;
    for (const hw::tFlyRecord* fly = catalogue.flyList(); fly; fly = fly->next) {
        hw::TMediaPlayer player;
        player.setFileName(root.filePath(QStringLiteral("Flies/") + QString::fromLatin1(fly->baseName)
                                         + QStringLiteral(".avi")));
        player.Open();
        opened += player.Length() > 0 ? 1 : 0;
    }
    return opened;
}

void benchCheck(QTextStream& out, const QDir& root)
{
    if (!makeLibrary(root, 1000)) {
        out << "Could not write the library.\n";
        return;
    }
    std::vector<double> check, baseline;
    hw::check::CheckReport report;
    int opened = 0;
    for (int run = 0; run < 4; ++run) { // the first of each is a warm-up
        QElapsedTimer t;
        t.start();
        opened = loadAndOpen(root);
        if (run > 0)
            baseline.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        report = hw::check::checkLibrary(root);
        if (run > 0)
            check.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double a = median(check), b = median(baseline);
    out << "| Library | check (ms) | catalogue + each video opened once (ms) | Ratio |\n|---|---|---|---|\n"
        << "| " << report.patterns << " patterns, " << report.videos << " videos (" << opened
        << " opened by the tutor's way), " << report.count(hw::check::Severity::Error) << " errors, "
        << report.count(hw::check::Severity::Warning) << " warnings | " << QString::number(a, 'f', 0) << " | "
        << QString::number(b, 'f', 0) << " | " << QString::number(a / b, 'f', 2) << " |\n";
}

void benchLargeFiles(QTextStream& out, const QDir& root)
{
    if (!makeLibrary(root, 0)) {
        out << "Could not write the library.\n";
        return;
    }
    QByteArray sections = "[Info]\r\nname=Many sections\r\nnumsteps=1\r\n[Topics 1]\r\ntitle=One\r\n"
                          "StartFrame=0\r\nStopFrame=29\r\nOffset=300\r\n";
    for (int n = 0; n < 20000; ++n)
        sections += "[Extra " + QByteArray::number(n) + "]\r\nkey=value\r\n";
    QByteArray steps = "[Info]\r\nname=Many steps\r\nnumsteps=5000\r\n";
    for (int n = 1; n <= 5000; ++n)
        steps += "[Topics " + QByteArray::number(n)
            + "]\r\ntitle=Step\r\nStartFrame=" + QByteArray::number(n % 50)
            + "\r\nStopFrame=" + QByteArray::number(n % 50 + 30) + "\r\nOffset=5\r\n";
    const QString clip = root.filePath(QStringLiteral("clip.avi"));
    for (const auto& [name, ini] :
         {std::pair{QStringLiteral("Sections"), sections}, std::pair{QStringLiteral("Steps"), steps}}) {
        const QString base = root.filePath(QStringLiteral("Flies/") + name);
        std::error_code error;
        std::filesystem::create_hard_link(clip.toStdString(), (base + QStringLiteral(".avi")).toStdString(),
                                          error);
        if (!writeFile(base + QStringLiteral(".ini"), ini) || error) {
            out << "Could not write the library.\n";
            return;
        }
    }
    std::vector<double> times;
    hw::check::CheckReport report;
    for (int run = 0; run < 4; ++run) { // the first is a warm-up
        QElapsedTimer t;
        t.start();
        report = hw::check::checkLibrary(root);
        if (run > 0)
            times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    out << "| Library | check (ms) | Findings |\n|---|---|---|\n"
        << "| 20,000 extra sections and 5,000 overlapping steps | " << QString::number(median(times), 'f', 0)
        << " | " << report.findings.size() << " |\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tools/hacklewright-tool");
    if (const int i = args.indexOf(QStringLiteral("--tool")); i >= 0 && i + 1 < args.size())
        tool = args[i + 1];
    QTemporaryDir temp;
    QString dir = temp.path();
    if (const int i = args.indexOf(QStringLiteral("--keep")); i >= 0 && i + 1 < args.size()) {
        dir = args[i + 1];
        QDir().mkpath(dir);
    }
    QTextStream out(stdout);
    if (args.contains(QStringLiteral("--large-files"))) { // that case alone
        QDir(dir).mkpath(QStringLiteral("large"));
        benchLargeFiles(out, QDir(QDir(dir).filePath(QStringLiteral("large"))));
        return 0;
    }
    out << "## Deep grabs, whole processes\n\n";
    out.flush();
    benchGrabs(out, tool, QDir(dir));
    out << "## Library check\n\n";
    out.flush();
    QDir(dir).mkpath(QStringLiteral("library"));
    benchCheck(out, QDir(QDir(dir).filePath(QStringLiteral("library"))));
    out << "\n## Large lesson files\n\n";
    out.flush();
    QDir(dir).mkpath(QStringLiteral("large"));
    benchLargeFiles(out, QDir(QDir(dir).filePath(QStringLiteral("large"))));
    return 0;
}
