// The library checker: one fault per small tree made here, and the demo library (which must
// check clean). make-broken's corpus is checked with the other hardening tests.
#include "BuiltOnce.h"
#include "CheckFindings.h"
#include "MediaFixtures.h"
#include "TempTree.h"

#include "hw/check/LibraryCheck.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include <fcntl.h>
#include <unistd.h>

using hw::check::checkLibrary;
using hw::check::CheckReport;
using hw::check::Severity;
using hw::test::findingCodes;

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

// A sound library: one pattern "Parachute Adams" with two 20-frame steps and their
// left-handed twins 40 frames later, in a 90-frame 15 fps clip, both sections and the splash.
class SmallTree {
public:
    SmallTree()
    {
        hw::ClipFormat format;
        format.size = QSize(64, 48);
        EXPECT_EQ(hw::test::writeClip(tree_.path(QStringLiteral("clip.avi")), format, 90,
                                      [](int f) {
                                          QImage frame(64, 48, QImage::Format_RGB32);
                                          frame.fill(QColor(f, 80, 120));
                                          return frame;
                                      }),
                  QString());
        QFile clip(tree_.path(QStringLiteral("clip.avi")));
        EXPECT_TRUE(clip.open(QIODevice::ReadOnly));
        video_ = clip.readAll();
        files_[QStringLiteral("Flies/Adams.ini")] = hw::test::patternIni(
            "Parachute Adams", 2, {{"Tail", 0, 19, 40}, {"Hackle", 20, 39, 40}}, "Hook=Dry fly hook\r\n");
        files_[QStringLiteral("Flies/Adams.bmp")] = bmp(QSize(120, 80));
        files_[QStringLiteral("SplashScreen/SplashScreen.avi")] = video_;
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
    EXPECT_EQ(clean.count(Severity::Error), 0) << findingCodes(clean);
    for (const auto& f : clean.findings)
        EXPECT_EQ(f.code, QStringLiteral("card-without-pattern")) << findingCodes(clean);
    EXPECT_EQ(clean.patterns, 1);
    EXPECT_EQ(clean.videos, 4);

    const QString adams = QStringLiteral("Flies/Adams.ini");
    struct Fault {
        const char* code;
        Severity severity;
        int line; // of the finding in Adams.ini, 0 when none is expected
        std::function<void(std::map<QString, QByteArray>&)> make;
    };
    const std::vector<Fault> faults = {
        {"range-reversed", Severity::Error, 7,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=19", "StopFrame=-5"); }},
        {"range-outside-video", Severity::Error, 12,
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
        {"name-case", Severity::Note, 0,
         [&](auto& t) {
             t[QStringLiteral("Flies/ADAMS.BMP")] = t[QStringLiteral("Flies/Adams.bmp")];
             t.erase(QStringLiteral("Flies/Adams.bmp"));
         }},
        {"left-overlaps-right", Severity::Warning, 8,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=19\r\nOffset=40", "StopFrame=19\r\nOffset=10"); }},
        {"step-short", Severity::Warning, 12,
         [&](auto& t) { replaceIn(t[adams], "StopFrame=39", "StopFrame=25"); }},
        {"picture-shape", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.bmp")] = bmp(QSize(60, 80)); }},
        {"picture-empty", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.bmp")].clear(); }},
        {"picture-size", Severity::Warning, 0,
         [&](auto& t) { t[QStringLiteral("Flies/Adams.bmp")] = bmp(QSize(240, 160)); }},
        {"no-left-take", Severity::Warning, 8,
         [&](auto& t) {
             replaceIn(t[adams], "Offset=40\r\n[T", "Offset=0\r\n[T");
             replaceIn(t[adams], "Offset=40\r\n[M", "Offset=0\r\n[M");
         }},
        {"splash-missing", Severity::Warning, 0,
         [&](auto& t) { t.erase(QStringLiteral("SplashScreen/SplashScreen.avi")); }},
        {"no-topics", Severity::Warning, 3,
         [&](auto& t) { replaceIn(t[adams], "numsteps=2", "numsteps=0"); }},
        {"name-refused", Severity::Error, 0,
         [&](auto& t) { t[QStringLiteral("Flies/..\\..\\outside\\Secret.ini")] = t[adams]; }},
        {"file-too-large", Severity::Error, 0, [&](auto& t) { t[adams].append(QByteArray(5 << 20, ';')); }},
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
        ASSERT_NE(found, report.findings.end()) << fault.code << "\n" << findingCodes(report);
        EXPECT_EQ(found->severity, fault.severity) << fault.code;
        if (fault.line) {
            EXPECT_EQ(found->line, fault.line) << fault.code << "\n" << findingCodes(report);
        }
        // A warning or a note is the only mistake of its tree.
        if (fault.severity != Severity::Error) {
            EXPECT_EQ(report.count(Severity::Error), 0) << fault.code << "\n" << findingCodes(report);
        }
    }
}

// One mistake hides no other: each value at fault is reported at its own line, and the
// picture and the video are checked although the tutor would skip the pattern.
TEST(LibraryCheck, ReportsEveryFaultOfAFileAtItsLine)
{
    SmallTree tree;
    QByteArray& adams = tree.files()[QStringLiteral("Flies/Adams.ini")];
    replaceIn(adams, "StopFrame=19", "StopFrame=19 frames");
    replaceIn(adams, "StopFrame=39", "StopFrame=95");
    replaceIn(adams, "Offset=40\r\n[M", "Offset=4O\r\n[M");
    tree.files()[QStringLiteral("Flies/Adams.bmp")] = "BM garbage";
    const CheckReport report = tree.check();
    std::vector<std::pair<std::string, int>> errors;
    for (const auto& f : report.findings)
        if (f.severity == Severity::Error)
            errors.emplace_back(f.code.toStdString(), f.line);
    const std::vector<std::pair<std::string, int>> expected
        = {{"picture-unreadable", 0}, {"bad-integer", 7}, {"range-outside-video", 12}, {"bad-integer", 13}};
    std::sort(errors.begin(), errors.end(), [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_EQ(errors, expected) << findingCodes(report);
    EXPECT_EQ(report.videos, 4) << "the pattern's video is checked too";
}

// Each step's left-handed range is reported once, naming a few of the steps it runs into and
// counting the rest, however many overlap.
TEST(LibraryCheck, OverlappingStepsAreReportedOnceEach)
{
    SmallTree tree;
    std::vector<hw::test::TopicLines> steps(40, {"Same", 0, 19, 1});
    tree.files()[QStringLiteral("Flies/Adams.ini")] = hw::test::patternIni("Parachute Adams", 40, steps, "");
    const CheckReport report = tree.check();
    std::vector<QString> overlaps;
    for (const auto& f : report.findings)
        if (f.code == QStringLiteral("left-overlaps-right"))
            overlaps.push_back(f.message);
    ASSERT_EQ(overlaps.size(), 40u) << findingCodes(report);
    EXPECT_EQ(overlaps[0].toStdString(),
              std::string("step 1 \"Same\": its left-handed range 1..19 runs into the "
                          "right-handed ranges of step 2 (0..19), step 3 (0..19), step 4 "
                          "(0..19) and 36 more"));
    for (const QString& message : overlaps)
        EXPECT_TRUE(message.endsWith(QStringLiteral(" and 36 more"))) << message.toStdString();
}

// Names are found and shown as the folder lists them, whatever their letters; one that is
// not UTF-8 is warned about; control characters never reach a terminal raw.
TEST(LibraryCheck, NamesAreShownAsListed)
{
    SmallTree tree;
    auto& files = tree.files();
    for (const char* ext : {".ini", ".bmp", ".avi"}) {
        const QString from = QStringLiteral("Flies/Adams") + QLatin1String(ext);
        files[QStringLiteral("Flies/\u0106rab") + QLatin1String(ext)] = files[from];
        files[QStringLiteral("Flies/Esc\x1b[2J") + QLatin1String(ext)] = files[from];
        files.erase(from);
    }
    replaceIn(files[QStringLiteral("Flies/Esc\x1b[2J.ini")], "Parachute Adams", "Escape");
    replaceIn(files[QStringLiteral("Flies/Esc\x1b[2J.ini")], "title=Tail",
              "titel=Tail"); // a finding about it
    hw::test::TempTree t;
    for (const auto& [path, bytes] : files)
        t.write(path, bytes);
    const QByteArray latin1 = QFile::encodeName(t.path(QStringLiteral("Flies/"))) + "\xC6rab.ini";
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const CheckReport report = checkLibrary(t.root());
    EXPECT_EQ(report.count(Severity::Error), 0) << findingCodes(report);
    EXPECT_EQ(report.patterns, 2);
    EXPECT_EQ(report.videos, 5);
    const QString text = hw::check::formatText(report);
    EXPECT_TRUE(text.contains(QStringLiteral("Flies\\\\xc6rab.ini: warning: the file name is not in")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('\x1b')));
    EXPECT_TRUE(text.contains(QStringLiteral("Flies\\Esc\\x1b[2J.ini"))) << text.toStdString();
}

TEST(LibraryCheck, DemoLibraryChecksClean)
{
    const CheckReport report = checkLibrary(QDir(hw::test::demoTree()));
    EXPECT_EQ(report.count(Severity::Error), 0) << findingCodes(report);
    // The demo spells some file names in another case on purpose, to show that the tutor
    // finds them: notes, which "check --strict" passes; nothing else may be found.
    for (const auto& f : report.findings) {
        EXPECT_EQ(f.code, QStringLiteral("name-case")) << findingCodes(report);
        EXPECT_EQ(f.severity, Severity::Note) << findingCodes(report);
    }
    EXPECT_GE(report.patterns, 10);
    EXPECT_EQ(report.videos, report.patterns + 3); // both sections and the splash
}
