// view_bench: a lesson played as the practice view plays it: a 60-second 1080p30 H.264 clip
// (a moving test picture, B-frames, a keyframe every 250 frames, made with ffmpeg) shown full
// screen, the device scaling straight to the screen's size. Reports frames shown, dropped and
// late, and the CPU the whole program used (decoding, scaling, painting). Run it under an X
// server of the target's size:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/media/view_bench
#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

constexpr int kSeconds = 60;
constexpr int kRate = 30;

bool makeLesson(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                  QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("testsrc2=size=1920x1080:rate=%1:duration=%2").arg(kRate).arg(kSeconds),
                  QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                  QStringLiteral("veryfast"), QStringLiteral("-g"), QStringLiteral("250"),
                  QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-f"),
                  QStringLiteral("avi"), path});
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString lesson = dir.filePath(QStringLiteral("lesson.avi"));
    std::fprintf(stderr, "making a %d-second 1080p%d H.264 lesson...\n", kSeconds, kRate);
    if (!makeLesson(lesson)) {
        std::fprintf(stderr, "view_bench: ffmpeg could not make the lesson\n");
        return 1;
    }

    QWidget view(nullptr, Qt::Window | Qt::FramelessWindowHint);
    view.setAutoFillBackground(true);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, Qt::black);
    view.setPalette(palette);
    view.setGeometry(view.screen()->geometry());
    view.showFullScreen();
    QEventLoop settle;
    while (!view.isVisible() || view.size() != view.screen()->size())
        settle.processEvents(QEventLoop::WaitForMoreEvents);

    hw::TMediaPlayer player;
    player.setDisplay(&view);
    player.setSoundOutput({});
    player.setFileName(lesson);
    player.Open();
    hw::PlayerInspection::waitUntilIdle(player);
    const int last = player.Length() - 1;
    player.setStartPos(0);
    player.setEndPos(last);
    QEventLoop loop;
    player.OnNotify = [&](QObject*) { loop.quit(); };
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    player.Play();
    loop.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = cpuSeconds() - cpu0;
    QCoreApplication::processEvents();
    const auto stats = hw::PlayerInspection::playbackStats(player);
    const QImage shown = hw::PlayerInspection::displayedPicture(player);
    out << "**Practice view, " << QGuiApplication::platformName() << " " << view.width() << "×"
        << view.height() << ", 1080p" << kRate << " H.264, frames 0–" << last << ":** " << stats.presented
        << " of " << (last + 1) << " frames shown, " << (last + 1 - stats.presented) << " dropped, "
        << stats.late << " later than one frame period (worst " << stats.maxLateUs / 1000.0
        << " ms), pictures scaled to " << shown.width() << "×" << shown.height() << ", wall "
        << QString::number(wall, 'f', 2) << " s, CPU " << QString::number(cpu, 'f', 2)
        << " s = " << QString::number(100 * cpu / wall, 'f', 1)
        << " % of one core (goal: 0 dropped, at most 100 %).\n";
    return 0;
}
