#include "TutorTree.h"

#include "BuiltOnce.h"
#include "MediaFixtures.h"
#include "TempTree.h"

#include "hw/clips/StampedFrame.h"

#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>
#include <stdexcept>

namespace hw::test {
namespace {

void writeStamped(const QString& path, int frames, QSize size = {320, 240}, int fps = 25)
{
    ClipFormat format;
    format.size = size;
    format.framesPerSecond = fps;
    const QString error
        = writeClip(path, format, frames, [size](int n) { return makeStampedFrame(size, n); });
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
}

void writePicture(const QString& path, QSize size, QColor left, QColor right)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, size.width() / 2, size.height()), left);
    p.fillRect(QRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height()), right);
    p.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "BMP"))
        throw std::runtime_error("cannot save " + path.toStdString());
}

void writeSection(const QString& root, const QString& name, const std::vector<TopicLines>& topics)
{
    writeTreeFile(root + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".ini"),
                  sectionIni(topics));
}

void writePattern(const QString& root, const QString& baseName, const QByteArray& displayName, int numSteps,
                  const std::vector<TopicLines>& topics, const QByteArray& materials)
{
    writeTreeFile(root + QStringLiteral("/Flies/") + baseName + QStringLiteral(".ini"),
                  patternIni(displayName, numSteps, topics, materials));
}

QDir cachedTree(const QString& name, const std::function<void(const QString&)>& build)
{
    return QDir(builtOnce(QStringLiteral("tree-") + name, build));
}

} // namespace

QDir standardTree()
{
    return cachedTree(QStringLiteral("standard"), [](const QString& root) {
        writeSection(root, QStringLiteral("QuickTour"),
                     {{"Welcome", 0, 9, 0}, {"Using the tutor", 10, 19, 0}, {"Printing", 20, 29, 0}});
        writeStamped(root + QStringLiteral("/QuickTour/QuickTour.avi"), 30);
        writeSection(root, QStringLiteral("Techniques"),
                     {{"Whip finish", 0, 11, 12}, {"Dubbing", 24, 35, 12}});
        writeStamped(root + QStringLiteral("/Techniques/Techniques.avi"), 48);

        writePattern(root, QStringLiteral("Adams"), "Adams", 3,
                     {{"Tail", 0, 14, 45}, {"Body", 15, 29, 45}, {"Hackle", 30, 59, 45}},
                     "Hook=Dry fly hook, size 12\r\nTail=Grizzly and brown fibres\r\n");
        writePicture(root + QStringLiteral("/Flies/Adams.bmp"), {60, 40}, Qt::red, Qt::yellow);
        writeStamped(root + QStringLiteral("/Flies/Adams.avi"), 105);

        writePattern(root, QStringLiteral("Caddis"), "Cr\xE8me Caddis", 2,
                     {{"Body", 0, 19, 40}, {"Wing", 20, 39, 40}}, "Hook=Size 14\r\n");
        writePicture(root + QStringLiteral("/Flies/Caddis.bmp"), {120, 80}, Qt::green, Qt::green);
        writeStamped(root + QStringLiteral("/Flies/Caddis.avi"), 80);

        writePattern(root, QStringLiteral("Zulu"), "Zulu Empty", 0, {},
                     "Hook=Size 10\r\nThread=Black 8/0\r\n");
        writePicture(root + QStringLiteral("/Flies/Zulu.bmp"), {120, 80}, Qt::blue, Qt::blue);
    });
}

QDir rangeTree()
{
    return cachedTree(QStringLiteral("range"), [](const QString& root) {
        writePattern(root, QStringLiteral("Range"), "Range", 1, {{"Whole", 100, 200, 500}}, "");
        writePicture(root + QStringLiteral("/Flies/Range.bmp"), {120, 80}, Qt::gray, Qt::gray);
        writeStamped(root + QStringLiteral("/Flies/Range.avi"), 700, {160, 120}, 50);

        const int max = 2147483647;
        writePattern(root, QStringLiteral("Huge"), "Huge", 2,
                     {{"Top", max, max, max}, {"Bottom", -max - 1, -max - 1, -max - 1}}, "");
        writePicture(root + QStringLiteral("/Flies/Huge.bmp"), {120, 80}, Qt::black, Qt::white);
        writeStamped(root + QStringLiteral("/Flies/Huge.avi"), 10);
    });
}

QDir emptyTree()
{
    return cachedTree(QStringLiteral("empty"), [](const QString& root) {
        writePattern(root, QStringLiteral("Bare"), "Bare", -1, {}, "Hook=Size 16\r\n");
        writePicture(root + QStringLiteral("/Flies/Bare.bmp"), {120, 80}, Qt::cyan, Qt::cyan);
        // The section folders exist, their files do not.
        QDir().mkpath(root + QStringLiteral("/QuickTour"));
        QDir().mkpath(root + QStringLiteral("/Techniques"));
    });
}

QDir twinsTree()
{
    return cachedTree(QStringLiteral("twins"), [](const QString& root) {
        writePattern(root, QStringLiteral("One"), "Twin", 1, {{"Only", 0, 4, 0}}, "Hook=One\r\n");
        writePicture(root + QStringLiteral("/Flies/One.bmp"), {120, 80}, Qt::magenta, Qt::magenta);
        writeStamped(root + QStringLiteral("/Flies/One.avi"), 5);
        writePattern(root, QStringLiteral("Two"), "Twin", 1, {{"Only", 0, 4, 0}}, "Hook=Two\r\n");
        writePicture(root + QStringLiteral("/Flies/Two.bmp"), {120, 80}, Qt::darkGreen, Qt::darkGreen);
        writeStamped(root + QStringLiteral("/Flies/Two.avi"), 5);
    });
}

QDir captionTree()
{
    return cachedTree(QStringLiteral("captions"), [](const QString& root) {
        writeSection(root, QStringLiteral("QuickTour"),
                     {{"Welcome", 0, 9, 0}, {"Using the tutor", 10, 19, 0}, {"Printing", 20, 29, 0}});
        writeStamped(root + QStringLiteral("/QuickTour/QuickTour.avi"), 30);
        writeTreeFile(root + QStringLiteral("/QuickTour/quicktour.SRT"),
                      "1\r\n00:00:00,000 --> 00:00:00,360\r\n<i>Welcome</i> to the\r\ntutor\r\n\r\n"
                      "2\r\n00:00:00,800 --> 00:00:01,160\r\nPrinting a recipe\r\n");
        writeSection(root, QStringLiteral("Techniques"),
                     {{"Whip finish", 0, 11, 12}, {"Dubbing", 24, 35, 12}});
        writeStamped(root + QStringLiteral("/Techniques/Techniques.avi"), 48);
        writeTreeFile(root + QStringLiteral("/Techniques/Techniques.vtt"),
                      "WEBVTT\n\n00:00.000 --> 00:00.400\nWhip finish: four turns\n\n"
                      "00:01.000 --> 00:05.000\nPast the end of the clip\n");
        writePattern(root, QStringLiteral("Adams"), "Adams", 1, {{"Tail", 0, 14, 0}}, "Hook=Size 12\r\n");
        writePicture(root + QStringLiteral("/Flies/Adams.bmp"), {60, 40}, Qt::red, Qt::yellow);
        writeStamped(root + QStringLiteral("/Flies/Adams.avi"), 15);
        writeTreeFile(root + QStringLiteral("/Flies/Adams.srt"), QByteArray("\x00\x01garbage\xff", 10));
    });
}

} // namespace hw::test
