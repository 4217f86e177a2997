// The library checker: one fault per small tree made here, and the demo library (which must
// check clean). make-broken's corpus is checked with the other hardening tests.
#include "BuiltOnce.h"
#include "TempTree.h"

#include "hw/check/LibraryCheck.h"
#include "hw/clips/ClipWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using hw::check::checkLibrary;
using hw::check::CheckReport;
using hw::check::Severity;

namespace {

QByteArray bmp(QSize size)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Every code found, for the failure messages.
std::string codes(const CheckReport& report)
{
    std::string out;
    for (const auto& f : report.findings)
        out += f.code.toStdString() + " (" + f.file.toStdString() + ":" + std::to_string(f.line) + " "
            + f.message.toStdString() + ")\n";
    return out;
}

// A sound library: one pattern "Parachute Adams" with two 20-frame steps and their
// left-handed twins 40 frames later, in a 90-frame 15 fps clip, and both sections.
class SmallTree {
public:
    SmallTree()
    {
        hw::ClipFormat format;
        format.size = QSize(64, 48);
        hw::ClipWriter writer;
        EXPECT_TRUE(writer.open(tree_.path(QStringLiteral("clip.avi")), format));
        QImage frame(64, 48, QImage::Format_RGB32);
        for (int f = 0; f < 90; ++f) {
            frame.fill(QColor(f, 80, 120));
            writer.addFrame(frame);
        }
        EXPECT_TRUE(writer.finish());
        QFile clip(tree_.path(QStringLiteral("clip.avi")));
        EXPECT_TRUE(clip.open(QIODevice::ReadOnly));
        video_ = clip.readAll();
        files_[QStringLiteral("Flies/Adams.ini")] = hw::test::patternIni(
            "Parachute Adams", 2, {{"Tail", 0, 19, 40}, {"Hackle", 20, 39, 40}}, "Hook=Dry fly hook\r\n");
        files_[QStringLiteral("Flies/Adams.bmp")] = bmp(QSize(125, 80));
        files_[QStringLiteral("Flies/Adams.avi")] = video_;
        for (const char* section : {"QuickTour", "Techniques"}) {
            const QString name = QString::fromLatin1(section);
            files_[name + QLatin1Char('/') + name + QStringLiteral(".ini")]
                = hw::test::sectionIni({{"One", 0, 29, 0}});
            files_[name + QLatin1Char('/') + name + QStringLiteral(".avi")] = video_;
        }
    }
    std::map<QString, QByteArray>& files() { return files_; }
    CheckReport check()
    {
        hw::test::TempTree tree;
        for (const auto& [path, bytes] : files_)
            tree.write(path, bytes);
        return checkLibrary(tree.root());
    }

private:
    hw::test::TempTree tree_;
    QByteArray video_;
    std::map<QString, QByteArray> files_;
};

void replaceIn(QByteArray& text, const char* from, const char* to)
{
    ASSERT_TRUE(text.contains(from)) << from;
    text.replace(from, to);
}

} // namespace

TEST(LibraryCheck, FindsEachFaultOfASmallTree)
{
    SmallTree sound;
    const CheckReport clean = sound.check();
    EXPECT_EQ(clean.count(Severity::Error), 0) << codes(clean);
    for (const auto& f : clean.findings)
        EXPECT_EQ(f.code, QStringLiteral("card-without-pattern")) << codes(clean);
    EXPECT_EQ(clean.patterns, 1);
    EXPECT_EQ(clean.videos, 3);

    const QString adams = QStringLiteral("Flies/Adams.ini");
    struct Fault {
        const char* code;
        Severity severity;
        int line; // of the finding in Adams.ini, 0 when none is expected
        std::function<void(std::map<QString, QByteArray>&)> make;
    };
    const std::vector<Fault> faults = {
        {"range-reversed", Severity::Error, 6,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=19", "StopFrame=-5"); }},
        {"range-outside-video", Severity::Error, 11,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=39", "StopFrame=60"); }},
        {"bad-integer", Severity::Error, 13,
         [&](auto& t) { replaceIn(t[adams], "Offset=40\r\n[M", "Offset=4O\r\n[M"); }},
        {"topic-missing", Severity::Error, 3,
         [&](auto& t) { replaceIn(t[adams], "numsteps=2", "numsteps=3"); }},
        {"video-missing", Severity::Error, 0, [&](auto& t) { t.erase(QStringLiteral("Flies/Adams.avi")); }},
        {"video-unopenable", Severity::Error, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.avi")] = "not a video"; }},
        {"picture-missing", Severity::Error, 0, [&](auto& t) { t.erase(QStringLiteral("Flies/Adams.bmp")); }},
        {"name-shared", Severity::Error, 2,
         [&](auto& t) {
             t[QStringLiteral("Flies/Zz.ini")] = t[adams];
             t[QStringLiteral("Flies/Zz.bmp")] = t[QStringLiteral("Flies/Adams.bmp")];
             t[QStringLiteral("Flies/Zz.avi")] = t[QStringLiteral("Flies/Adams.avi")];
         }},
        {"card-name-case", Severity::Error, 0,
         [&](auto& t) { replaceIn(t[adams], "Parachute Adams", "parachute adams"); }},
        {"ini-ignored", Severity::Warning, 5,
         [&](auto& t) { replaceIn(t[adams], "[Topics 1]\r\n", "[Topics 1]\r\nhook and thread\r\n"); }},
        {"ini-ignored", Severity::Warning, 1, [&](auto& t) { t[adams].prepend("name=Early\r\n"); }},
        {"ini-ignored", Severity::Warning, 16,
         [&](auto& t) { t[adams].append("[Topics 1]\r\ntitle=Again\r\n"); }},
        {"key-unread", Severity::Warning, 5,
         [&](auto& t) { replaceIn(t[adams], "title=Tail", "titel=Tail"); }},
        {"section-unread", Severity::Warning, 16,
         [&](auto& t) { t[adams].append("[Topics 3]\r\ntitle=Extra\r\n"); }},
        {"value-cut", Severity::Warning, 5,
         [&](auto& t) { replaceIn(t[adams], "title=Tail", ("title=" + QByteArray(1100, 'T')).constData()); }},
        {"name-case", Severity::Warning, 0,
         [&](auto& t) {
             t[QStringLiteral("Flies/ADAMS.BMP")] = t[QStringLiteral("Flies/Adams.bmp")];
             t.erase(QStringLiteral("Flies/Adams.bmp"));
         }},
        {"left-overlaps-right", Severity::Warning, 6,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=19\r\nOffset=40", "StopFrame=19\r\nOffset=10"); }},
        {"step-short", Severity::Warning, 11,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=39", "StopFrame=25"); }},
        {"picture-shape", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.bmp")] = bmp(QSize(60, 80)); }},
        {"picture-empty", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.bmp")].clear(); }},
        {"no-topics", Severity::Warning, 3,
         [&](auto& t) { replaceIn(t[adams], "numsteps=2", "numsteps=0"); }},
        // Caption files beside the 6-second clip (Tail is 0..1.33 s).
        {"captions-unreadable", Severity::Error, 0,
         [&](auto& t) { t[QStringLiteral("Flies/ADAMS.srt")] = "Tail, then hackle"; }},
        {"caption-past-end", Severity::Error, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.srt")] = "1\n00:00:05,000 --> 00:00:07,000\nLast\n"; }},
        {"captions-overlap", Severity::Warning, 0,
         [&](auto& t) {
             t[QStringLiteral("Flies/Adams.vtt")]
                 = "WEBVTT\n\n00:00.000 --> 00:01.000\nOne\n\n00:00.500 --> 00:01.200\nTwo\n";
         }},
        {"caption-crosses-topic", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.srt")] = "1\n00:00:01,000 --> 00:00:02,000\nOn\n"; }},
    };
    for (const Fault& fault : faults) {
        SmallTree tree;
        fault.make(tree.files());
        const CheckReport report = tree.check();
        const QString code = QString::fromLatin1(fault.code);
        auto found = std::find_if(report.findings.begin(), report.findings.end(),
                                  [&](const auto& f) { return f.code == code; });
        ASSERT_NE(found, report.findings.end()) << fault.code << "\n" << codes(report);
        EXPECT_EQ(found->severity, fault.severity) << fault.code;
        if (fault.line) {
            EXPECT_EQ(found->line, fault.line) << fault.code << "\n" << codes(report);
        }
        // A warning is the only mistake of its tree.
        if (fault.severity == Severity::Warning) {
            EXPECT_EQ(report.count(Severity::Error), 0) << fault.code << "\n" << codes(report);
        }
    }
}

TEST(LibraryCheck, DemoLibraryChecksClean)
{
    const CheckReport report = checkLibrary(QDir(hw::test::demoTree()));
    EXPECT_EQ(report.count(Severity::Error), 0) << codes(report);
    // The demo spells some file names in another case on purpose, to show that the tutor
    // finds them; nothing else may be found.
    for (const auto& f : report.findings)
        EXPECT_EQ(f.code, QStringLiteral("name-case")) << codes(report);
    EXPECT_GE(report.patterns, 10);
    EXPECT_EQ(report.videos, report.patterns + 2);
}
