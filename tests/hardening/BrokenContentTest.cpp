// The tutor on every tree of the broken-content corpus: it shows the error each fault calls
// for in the standard error box (or the reader's default), and goes on: every other section
// and pattern still opens on the right screen and plays the right frames of the right video.
#include "BrokenCorpus.h"
#include "TutorDriver.h"

#include "hw/content/CatalogueText.h"
#include "hw/media/PlayerInspection.h"

#include <gtest/gtest.h>

#include <limits>

using namespace hw;
using namespace hw::test;

namespace {

const QString kNoDevice = QStringLiteral("No MCI device open.");
const QString kUnreadable
    = QStringLiteral("The specified file cannot be read: it is damaged or not a video file.");
// The device's text, and the clip's name (%1) on a line of its own.
const QString kNotFound
    = QStringLiteral("Cannot find the specified file. Make sure the path and filename are correct.\n\"%1\"");

std::string joined(const std::vector<QString>& texts)
{
    QStringList list(texts.begin(), texts.end());
    return list.join(QStringLiteral(" | ")).toStdString();
}

QStringList galleryOf(const TForm1& f)
{
    return listLines(f.PatternsListBox);
}

// Walks the window through sections, patterns, topics and hands, checking each step.
class Walk {
public:
    explicit Walk(TutorWindow& session)
        : s_(session)
        , f_(session.form())
    { }

    void expectNoBoxes(const char* when)
    {
        const std::vector<QString> boxes = s_.takeBoxes();
        EXPECT_TRUE(boxes.empty()) << when << ": " << joined(boxes);
    }

    void expectBoxes(const std::vector<QString>& expected, const char* when)
    {
        EXPECT_EQ(joined(s_.takeBoxes()), joined(expected)) << when;
    }

    void expectScreen(Screen screen)
    {
        EXPECT_EQ(screenMismatch(f_, screen).toStdString(), "") << "expected the " << screenName(screen);
    }

    // From this frame on the video is damaged: the device shows the nearest whole picture
    // before it in its place.
    void setDamagedFrom(int lesson, int frame)
    {
        damagedLesson_ = lesson;
        damagedFrom_ = frame;
    }

    bool shows(int lesson, int frame) const
    {
        if (PlayerInspection::displayedFrame(*f_.MediaPlayer1) != frame)
            return false;
        const auto shown = readCorpusFrame(PlayerInspection::displayedPicture(*f_.MediaPlayer1));
        if (lesson == damagedLesson_ && frame >= damagedFrom_)
            return shown && shown->lesson == lesson && shown->frame < damagedFrom_;
        return shown == CorpusFrame{lesson, frame};
    }

    // The current topic in the current hand: its first frame shows; Play runs it to its last
    // frame and brings the Play face back. A range the clip does not hold shows nothing of
    // its own, and the device refuses to play it without an error box (its Play face stays
    // Stop until the next click, as for any play the device refuses).
    void checkTopic(int lesson)
    {
        const tTopicRecord* topic = f_.currentTopic();
        ASSERT_NE(topic, nullptr);
        const FrameRange range = topicFrames(*topic, f_.handedness());
        const int32_t length = f_.MediaPlayer1->Length();
        const bool showable = range.start >= 0 && range.start < length;
        const bool playable = range.start >= 0 && range.start <= range.stop && range.stop < length;
        const std::string what = topic->title.toStdString() + " in hand " + std::to_string(f_.handedness());
        if (showable) {
            EXPECT_TRUE(waitFor([&] {
                return shows(lesson, int(range.start)) && f_.MediaPlayer1->Mode() == TMPModes::mpStopped;
            })) << what
                << ": first frame " << range.start << " not shown; shows "
                << PlayerInspection::displayedFrame(*f_.MediaPlayer1);
        } else {
            PlayerInspection::waitUntilIdle(*f_.MediaPlayer1);
            const auto shown = readCorpusFrame(PlayerInspection::displayedPicture(*f_.MediaPlayer1));
            EXPECT_TRUE(!shown || shown->lesson == lesson) << what << ": another video's frame on show";
            EXPECT_FALSE(shown && shown->frame >= range.start && shown->frame <= range.stop) << what;
        }
        EXPECT_TRUE(showsPlayFace(f_)) << what;

        click(f_.PlayStopButton);
        if (playable) {
            EXPECT_TRUE(waitFor([&] {
                return showsPlayFace(f_) && f_.MediaPlayer1->Mode() == TMPModes::mpStopped
                    && shows(lesson, int(range.stop));
            })) << what
                << ": did not play to frame " << range.stop << "; shows "
                << PlayerInspection::displayedFrame(*f_.MediaPlayer1);
        } else {
            EXPECT_NE(f_.MediaPlayer1->Mode(), TMPModes::mpPlaying) << what;
            EXPECT_TRUE(showsStopFace(f_)) << what;
            // Rewind leaves the face alone when nothing plays; the next topic click restores it.
        }
        expectNoBoxes(what.c_str());
    }

    void checkTopics(int lesson)
    {
        const int count = f_.TopicsListBox->Count();
        for (int row = 0; row < count; ++row) {
            if (row > 0)
                clickTopic(f_, row);
            EXPECT_EQ(f_.TopicsListBox->ItemIndex(), row);
            checkTopic(lesson);
        }
    }

    // After a video failed to open: nothing is on show, nothing plays, and Play reports the
    // closed device (when a topic from before is still current) instead of crashing.
    void checkClosed(const char* when)
    {
        EXPECT_EQ(f_.MediaPlayer1->Mode(), TMPModes::mpNotReady) << when;
        EXPECT_EQ(PlayerInspection::displayedFrame(*f_.MediaPlayer1), -1) << when;
        const bool topic = f_.currentTopic() != nullptr;
        click(f_.PlayStopButton);
        if (topic)
            expectBoxes({kNoDevice}, when);
        else
            expectNoBoxes(when);
        EXPECT_EQ(PlayerInspection::displayedFrame(*f_.MediaPlayer1), -1) << when;
    }

    // A section: its screen, its topics; each topic shows and plays; or the open error.
    void visitSection(Screen screen, const LessonSpec& lesson, const QString& openError = {})
    {
        click(screen == Screen::QuickTour ? f_.QuickTourButton : f_.TechniquesButton);
        expectScreen(screen);
        const tTopicRecord* list
            = screen == Screen::QuickTour ? f_.catalogue().quickTourList() : f_.catalogue().techniquesList();
        EXPECT_EQ(listLines(f_.TopicsListBox), titlesOf(list));
        if (!openError.isEmpty()) {
            expectBoxes({openError.contains(QLatin1String("%1")) ? openError.arg(f_.MediaPlayer1->FileName())
                                                                 : openError},
                        screenName(screen));
            expectScreen(screen);
            checkClosed(screenName(screen));
            return;
        }
        expectNoBoxes(screenName(screen));
        if (!list) {
            // No topics: nothing opens, and the transport does nothing.
            EXPECT_EQ(f_.MediaPlayer1->Mode(), TMPModes::mpNotReady);
            for (QWidget* b : {static_cast<QWidget*>(f_.PlayStopButton), static_cast<QWidget*>(f_.NextButton),
                               static_cast<QWidget*>(f_.RewindButton)})
                click(b);
            expectNoBoxes("transport without topics");
            return;
        }
        checkTopics(lesson.id);
        expectScreen(screen);
    }

    // A pattern from the gallery: the lesson screen with its picture, steps and materials;
    // each step shows and plays in both hands; or the open error.
    void visitPattern(const QByteArray& name, const LessonSpec& lesson, const QStringList& materials,
                      const QString& openError = {})
    {
        click(f_.PatternsButton);
        expectScreen(Screen::Gallery);
        expectNoBoxes("gallery");
        const int row = galleryRowOf(f_, name);
        ASSERT_GE(row, 0) << name.left(40).toStdString() << " is not in the gallery";
        clickGalleryItem(f_, row);
        expectScreen(Screen::Lesson);
        ASSERT_NE(f_.currentFly(), nullptr);
        EXPECT_EQ(f_.currentFly()->displayName, name);
        EXPECT_EQ(listLines(f_.TopicsListBox), titlesOf(f_.currentFly()->topics));
        if (!openError.isEmpty()) {
            expectBoxes({openError}, name.left(40).constData());
            // The handler ended at the open: the materials never arrive.
            EXPECT_EQ(f_.MaterialsAndInstructionsListBox->Count(), 0);
            checkClosed(name.left(40).constData());
            return;
        }
        expectNoBoxes(name.left(40).constData());
        EXPECT_EQ(listLines(f_.MaterialsAndInstructionsListBox), materials);
        if (!f_.currentFly()->topics) {
            EXPECT_EQ(f_.MediaPlayer1->Mode(), TMPModes::mpNotReady);
            click(f_.PlayStopButton);
            click(f_.StepForwardButton);
            expectNoBoxes("lesson without steps");
            return;
        }
        for (int hand : {0, 1}) {
            if (hand != f_.handedness()) {
                // The hand changes once the first step's frame is on show: while the device
                // still plays that one frame, the change would count as one during playback.
                clickTopic(f_, 0);
                EXPECT_TRUE(waitFor([&] { return f_.MediaPlayer1->Mode() != TMPModes::mpPlaying; }));
                chooseHandByKeys(f_, hand);
                ASSERT_EQ(f_.handedness(), hand);
            }
            checkTopics(lesson.id);
        }
        EXPECT_TRUE(waitFor([&] { return f_.MediaPlayer1->Mode() != TMPModes::mpPlaying; }));
        chooseHandByKeys(f_, 0);
        expectScreen(Screen::Lesson);
        expectNoBoxes("after the hand change");
    }

private:
    TutorWindow& s_;
    TForm1& f_;
    int damagedLesson_ = -1;
    int damagedFrom_ = std::numeric_limits<int>::max();
};

const QStringList kAdamsMaterials
    = {QStringLiteral("Hook: Dry fly, size 14"), QStringLiteral("Thread: Gray 8/0")};
const QStringList kWulffMaterials
    = {QStringLiteral("Hook: Dry fly, size 12"), QStringLiteral("Body: Peacock herl and red floss")};
const QStringList kBothPatterns = {QStringLiteral("Parachute Adams"), QStringLiteral("Royal Wulff")};

// Starts on a case as the program starts: errors of the catalogue first, then the Quick
// Tour; then every section and pattern in turn.
struct CaseRun {
    explicit CaseRun(const char* name)
        : session(brokenCase(QString::fromLatin1(name)), TutorWindow::asProgramStarts())
        , walk(session)
    { }
    TutorWindow session;
    Walk walk;
};

} // namespace

TEST(BrokenContent, SoundLibraryPlaysEverywhere)
{
    CaseRun run("sound");
    run.walk.expectNoBoxes("start");
    EXPECT_EQ(galleryOf(run.session.form()), kBothPatterns);
    run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
    run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
    run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
}

TEST(BrokenContent, VideosThatCannotBeOpenedShowTheDevicesErrorAndTheTutorGoesOn)
{
    {
        SCOPED_TRACE("avi-zero-length");
        CaseRun run("avi-zero-length");
        run.walk.expectNoBoxes("start");
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials, kUnreadable);
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials, kUnreadable);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    }
    {
        SCOPED_TRACE("avi-truncated-header");
        CaseRun run("avi-truncated-header");
        // The very first screen fails: no topic was ever current, so Play does nothing.
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson, kUnreadable);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson, kUnreadable);
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
    }
    {
        SCOPED_TRACE("avi-not-video");
        CaseRun run("avi-not-video");
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
        // Adams' "Tail" is still the current topic; Wulff's own "Tail" finds it by title.
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials, kUnreadable);
        clickTopic(run.session.form(), 0);
        run.walk.expectBoxes({kNoDevice}, "a step of the pattern whose video failed");
        EXPECT_EQ(PlayerInspection::displayedFrame(*run.session->MediaPlayer1), -1);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    }
    {
        SCOPED_TRACE("avi-missing");
        CaseRun run("avi-missing");
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson, kNotFound);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
    }
}

TEST(BrokenContent, DamagedVideosPlayWhatTheyHold)
{
    {
        // The index is noise: the frames are found without it, each in its place.
        SCOPED_TRACE("avi-damaged-index");
        CaseRun run("avi-damaged-index");
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
        run.walk.expectNoBoxes("end");
    }
    {
        // Half the frames are gone: the topics inside the rest play, those beyond show
        // nothing of their own and no error.
        SCOPED_TRACE("avi-truncated-frames");
        CaseRun run("avi-truncated-frames");
        // 16 whole frames and the start of the 17th.
        run.walk.setDamagedFrom(kTechniquesLesson.id, 16);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
        EXPECT_EQ(run.session->MediaPlayer1->Length(), 17);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    }
    {
        SCOPED_TRACE("ini-frames-beyond-clip");
        CaseRun run("ini-frames-beyond-clip");
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
    }
}

TEST(BrokenContent, DamagedPicturesAreReportedOnceAtStartAndTheirPatternIsLeftOut)
{
    const std::vector<std::pair<const char*, QString>> cases = {
        {"bmp-not-a-bitmap", QStringLiteral("Bitmap image is not valid.")},
        {"bmp-short", QStringLiteral("Stream read error.")},
        {"bmp-damaged-header", QStringLiteral("Bitmap image is not valid.")},
        {"bmp-huge-dimensions", QStringLiteral("Bitmap image is not valid.")},
        {"bmp-pixels-missing", QStringLiteral("Stream read error.")},
        {"bmp-missing", QStringLiteral("Cannot open file Flies\\Adams.bmp.")},
    };
    for (const auto& [name, error] : cases) {
        SCOPED_TRACE(name);
        CaseRun run(name);
        run.walk.expectBoxes({error}, "start");
        EXPECT_EQ(galleryOf(run.session.form()), QStringList{QStringLiteral("Royal Wulff")});
        EXPECT_EQ(run.session->catalogue().findFly("Parachute Adams"), nullptr);
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    }
    {
        // An empty picture file is an empty picture, and no error.
        SCOPED_TRACE("bmp-zero-length");
        CaseRun run("bmp-zero-length");
        run.walk.expectNoBoxes("start");
        EXPECT_EQ(galleryOf(run.session.form()), kBothPatterns);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
        EXPECT_TRUE(run.session->LogoImage->Picture().isNull());
    }
}

TEST(BrokenContent, BrokenIniFilesGiveTheReadersDefaults)
{
    {
        // Noise holds no section: the pattern is "Unknown" without steps, the Quick Tour empty.
        SCOPED_TRACE("ini-binary-garbage");
        CaseRun run("ini-binary-garbage");
        run.walk.expectNoBoxes("start");
        EXPECT_EQ(galleryOf(run.session.form()),
                  (QStringList{QStringLiteral("Royal Wulff"), QStringLiteral("Unknown")}));
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        EXPECT_EQ(run.session->TopicsListBox->Count(), 0);
        run.walk.visitPattern("Unknown", kAdamsLesson, {});
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
        run.walk.visitPattern("Royal Wulff", kWulffLesson, kWulffMaterials);
    }
    {
        // Values are cut at 1023 characters; the materials to what 8192 bytes of names hold.
        SCOPED_TRACE("ini-long-lines");
        CaseRun run("ini-long-lines");
        run.walk.expectNoBoxes("start");
        const QByteArray name(1023, 'N');
        EXPECT_EQ(galleryOf(run.session.form()),
                  (QStringList{QString::fromLatin1(name), QStringLiteral("Royal Wulff")}));
        QStringList materials;
        qsizetype used = 0;
        for (int i = 0;; ++i) {
            used += QByteArray("Material" + QByteArray::number(i)).size() + 1;
            if (used > 8190)
                break; // this name and the rest do not fit whole
            materials << QStringLiteral("Line %1").arg(i);
        }
        run.walk.visitPattern(name, kAdamsLesson, materials);
        EXPECT_EQ(run.session->TopicsListBox->bytesAt(0), QByteArray(1023, 'T'));
    }
    {
        SCOPED_TRACE("ini-missing-sections");
        CaseRun run("ini-missing-sections");
        run.walk.expectNoBoxes("start");
        EXPECT_EQ(galleryOf(run.session.form()),
                  (QStringList{QStringLiteral("Parachute Adams"), QStringLiteral("Unknown")}));
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        EXPECT_EQ(listLines(run.session->TopicsListBox),
                  (QStringList{QStringLiteral("Welcome"), QStringLiteral("Unknown")}));
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
        EXPECT_EQ(run.session->TopicsListBox->Count(), 0);
        // Two steps without sections: both "Unknown" at frame 0.
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, {});
        EXPECT_EQ(listLines(run.session->TopicsListBox),
                  (QStringList{QStringLiteral("Unknown"), QStringLiteral("Unknown")}));
        run.walk.visitPattern("Unknown", kWulffLesson, kWulffMaterials);
    }
}

TEST(BrokenContent, BadIntegersAreReportedInTheReadersWords)
{
    {
        SCOPED_TRACE("ini-bad-integer-pattern");
        CaseRun run("ini-bad-integer-pattern");
        run.walk.expectBoxes({QStringLiteral("'2x' is not a valid integer value.")}, "start");
        EXPECT_EQ(galleryOf(run.session.form()), QStringList{QStringLiteral("Parachute Adams")});
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        run.walk.visitPattern("Parachute Adams", kAdamsLesson, kAdamsMaterials);
    }
    {
        // The Quick Tour keeps the topic read before the bad value.
        SCOPED_TRACE("ini-bad-integer-section");
        CaseRun run("ini-bad-integer-section");
        run.walk.expectBoxes({QStringLiteral("'1.5' is not a valid integer value.")}, "start");
        run.walk.visitSection(Screen::QuickTour, kQuickTourLesson);
        EXPECT_EQ(listLines(run.session->TopicsListBox), QStringList{QStringLiteral("Welcome")});
        run.walk.visitSection(Screen::Techniques, kTechniquesLesson);
    }
}
