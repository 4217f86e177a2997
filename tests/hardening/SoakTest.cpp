// The soak: the real tutor window on the demo library, driven by thousands of random clicks
// and keys (sections, gallery, topics, transport, hand changes, Print Recipe and closing its
// previews), also while clips play. Between events the window must show one column of the
// screen table, the panel a frame of the open lesson's video inside the current topic's
// range in the current hand, and the live heap must stay bounded.
//
//   HW_SOAK_EVENTS  number of events (default 3000: the test command's short soak)
//   HW_SOAK_SEED    seed of the random choices (default 1)
#include "BuiltOnce.h"
#include "TutorDriver.h"

#include "hw/clips/FrameStamp.h"
#include "hw/content/CatalogueText.h"
#include "hw/media/PlayerInspection.h"
#include "hw/report/TReportPreviewWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define HW_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HW_SOAK_ASAN 1
#endif
#endif
#ifdef HW_SOAK_ASAN
// The sanitizer's own count of live heap bytes (its header is not shipped with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace hw;
using namespace hw::test;

namespace {

// Bytes of heap in use now (not counting memory the allocator holds in reserve).
qint64 liveHeapBytes()
{
#ifdef HW_SOAK_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

int envInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

QList<TReportPreviewWindow*> openPreviews()
{
    QList<TReportPreviewWindow*> previews;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TReportPreviewWindow*>(w); p && p->isVisible())
            previews << p;
    return previews;
}

class Soak {
public:
    Soak(TutorWindow& session, int events, unsigned seed)
        : f_(session.form())
        , events_(events)
        , random_(seed)
    { }

    void run()
    {
        elapsed_.start();
        click(f_.QuickTourButton); // as the program starts
        check();
        schedule(0);
        // Generous: a loaded machine and the sanitizers slow every event down.
        const bool finished = waitFor([&] { return finished_; }, 60 * 60 * 1000);
        EXPECT_TRUE(finished) << "the soak did not finish";
    }

    int survived() const { return done_; }
    const QStringList& violations() const { return violations_; }
    int violationCount() const { return violationCount_; }
    qint64 heapGrowth() const { return std::max(heapMax_, heapEnd_) - heapBaseline_; }
    qint64 heapBaseline() const { return heapBaseline_; }
    qint64 heapEnd() const { return heapEnd_; }
    const std::map<Screen, int>& screens() const { return screens_; }
    int previewsOpened() const { return previewsOpened_; }
    int frameChecks() const { return frameChecks_; }
    int playingChecks() const { return playingChecks_; }
    int stampChecks() const { return stampChecks_; }
    int widgetsAtEnd() const { return widgetsEnd_; }
    int widgetsAtStart() const { return widgetsStart_; }

private:
    void schedule(int ms)
    {
        QTimer::singleShot(ms, [this] { step(); });
    }

    int pick(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random_)); }

    void violation(const QString& what)
    {
        ++violationCount_;
        if (violations_.size() < 20)
            violations_ << QStringLiteral("event %1: %2").arg(done_).arg(what);
    }

    // The invariants, checked between events (never inside a handler).
    void check()
    {
        const std::optional<Screen> screen = screenOf(f_);
        if (!screen) {
            QStringList why;
            for (Screen c : {Screen::QuickTour, Screen::Techniques, Screen::Gallery, Screen::Lesson})
                why << QString::fromLatin1(screenName(c)) + QStringLiteral(": ") + screenMismatch(f_, c);
            violation(QStringLiteral("no column of the screen table (") + why.join(QStringLiteral("; "))
                      + u')');
            return;
        }
        ++screens_[*screen];
        if (*screen == Screen::Gallery)
            return;
        const tTopicRecord* topic = f_.currentTopic();
        if (!topic) {
            violation(QStringLiteral("no current topic on the ") + QString::fromLatin1(screenName(*screen)));
            return;
        }
        // The open video is the lesson's on screen.
        QString video;
        if (*screen == Screen::QuickTour)
            video = QStringLiteral("QuickTour\\QuickTour.avi");
        else if (*screen == Screen::Techniques)
            video = QStringLiteral("Techniques\\Techniques.avi");
        else if (f_.currentFly())
            video = QStringLiteral("Flies\\") + QString::fromLatin1(f_.currentFly()->baseName)
                + QStringLiteral(".avi");
        if (!f_.MediaPlayer1->FileName().endsWith(video))
            violation(QStringLiteral("%1 open on the %2")
                          .arg(f_.MediaPlayer1->FileName(), QLatin1String(screenName(*screen))));

        // The panel settles on a frame inside the topic's range in the current hand.
        const FrameRange range = topicFrames(*topic, f_.handedness());
        auto inRange = [&] {
            const int32_t frame = PlayerInspection::displayedFrame(*f_.MediaPlayer1);
            return frame >= range.start && frame <= range.stop;
        };
        ++frameChecks_;
        if (f_.MediaPlayer1->Mode() == TMPModes::mpPlaying)
            ++playingChecks_;
        if (!waitFor(inRange, 15000)) {
            violation(QStringLiteral("frame %1 on show, topic %2 is %3..%4 in hand %5 (mode %6)")
                          .arg(PlayerInspection::displayedFrame(*f_.MediaPlayer1))
                          .arg(QString::fromLatin1(topic->title))
                          .arg(range.start)
                          .arg(range.stop)
                          .arg(f_.handedness())
                          .arg(int(f_.MediaPlayer1->Mode())));
            return;
        }
        // The picture on show is that frame.
        if (f_.MediaPlayer1->Mode() == TMPModes::mpStopped) {
            PlayerInspection::waitUntilIdle(*f_.MediaPlayer1);
            ++stampChecks_;
            const std::optional<int32_t> stamp
                = readFrameStamp(PlayerInspection::displayedPicture(*f_.MediaPlayer1));
            if (stamp != PlayerInspection::displayedFrame(*f_.MediaPlayer1))
                violation(QStringLiteral("frame %1 on show carries the stamp %2")
                              .arg(PlayerInspection::displayedFrame(*f_.MediaPlayer1))
                              .arg(stamp ? *stamp : -1));
        }
    }

    void sampleHeap()
    {
        const qint64 now = liveHeapBytes();
        // The first tenth warms caches (pictures, fonts, decoders) up; growth counts after it.
        if (done_ < events_ / 10)
            return;
        if (!baselineTaken_) {
            baselineTaken_ = true;
            heapBaseline_ = now;
            heapMax_ = now;
            widgetsStart_ = int(QApplication::allWidgets().size());
        }
        heapMax_ = std::max(heapMax_, now);
    }

    void step()
    {
        if (done_ >= events_) {
            // Close what is still open, so that every waiting Print Recipe returns.
            const auto previews = openPreviews();
            if (!previews.isEmpty()) {
                previews.front()->close();
                schedule(0);
                return;
            }
            if (waiting_ > 0) {
                schedule(10); // a preview on its way
                return;
            }
            PlayerInspection::waitUntilIdle(*f_.MediaPlayer1);
            heapEnd_ = liveHeapBytes();
            widgetsEnd_ = int(QApplication::allWidgets().size());
            finished_ = true;
            return;
        }
        check();
        if (done_ % 25 == 0)
            sampleHeap();
        ++done_;
        act();
    }

    enum class Kind { Act, PrintRecipe, LetPlay };
    struct Choice {
        int weight;
        Kind kind;
        std::function<void()> action;
    };

    void act()
    {
        auto visible = [&](QWidget* w) { return w->isVisibleTo(&f_); };
        const auto previews = openPreviews();
        // Choices with weights; only what the user can reach now.
        std::vector<Choice> choices;
        auto offer = [&](int weight, std::function<void()> action) {
            choices.push_back({weight, Kind::Act, std::move(action)});
        };
        offer(3, [&] { click(f_.QuickTourButton); });
        offer(3, [&] { click(f_.TechniquesButton); });
        offer(4, [&] { click(f_.PatternsButton); });
        if (visible(f_.PatternsListBox) && f_.PatternsListBox->Count() > 0)
            offer(12, [&] { clickGalleryItem(f_, pick(f_.PatternsListBox->Count())); });
        if (visible(f_.TopicsListBox) && f_.TopicsListBox->Count() > 0) {
            offer(10, [&] { clickTopic(f_, pick(f_.TopicsListBox->Count())); });
            offer(3, [&] {
                f_.TopicsListBox->setFocus();
                QTest::keyClick(f_.TopicsListBox, pick(2) ? Qt::Key_Down : Qt::Key_Up);
            });
        }
        for (PictureButton* b : {f_.PlayStopButton, f_.PlayStopButton, f_.PlayStopButton, f_.RewindButton,
                                 f_.PreviousButton, f_.NextButton, f_.StepBackButton, f_.StepForwardButton})
            if (visible(b))
                offer(4, [&, b] { click(b); });
        if (visible(f_.RightLeftComboBox))
            offer(6, [&] { chooseHandByKeys(f_, 1 - f_.handedness()); });
        offer(8, [&] {
            static const Qt::Key keys[]
                = {Qt::Key_Space,    Qt::Key_Left, Qt::Key_Right,  Qt::Key_Home, Qt::Key_PageUp,
                   Qt::Key_PageDown, Qt::Key_Tab,  Qt::Key_Return, Qt::Key_A,    Qt::Key_Escape};
            QWidget* focus = QApplication::focusWidget();
            QWidget* target = focus && focus->window() == &f_ ? focus : static_cast<QWidget*>(&f_);
            const Qt::Key key = keys[pick(int(std::size(keys)))];
            // The exit button would end the program: the soak goes on instead.
            if (target == f_.GoinFishinButton && key != Qt::Key_Tab)
                return;
            QTest::keyClick(target, key);
        });
        if (!previews.isEmpty())
            offer(10, [&] {
                TReportPreviewWindow* p = previews[pick(int(previews.size()))];
                if (pick(2))
                    QTest::keyClick(p, Qt::Key_Escape);
                else
                    p->close();
            });
        if (visible(f_.PrintRecipeButton) && waiting_ < 2)
            choices.push_back({2, Kind::PrintRecipe, {}});
        choices.push_back({8, Kind::LetPlay, {}});

        int total = 0;
        for (const Choice& c : choices)
            total += c.weight;
        int roll = pick(total);
        size_t chosen = 0;
        while (roll >= choices[chosen].weight)
            roll -= choices[chosen++].weight;

        switch (choices[chosen].kind) {
        case Kind::Act:
            choices[chosen].action();
            schedule(0);
            return;
        case Kind::PrintRecipe:
            // The click returns when its preview closes; meanwhile the events go on inside
            // the preview's wait, as the user's would.
            ++previewsOpened_;
            ++waiting_;
            schedule(0);
            click(f_.PrintRecipeButton);
            --waiting_;
            return;
        case Kind::LetPlay: {
            // Let a running play go on to its next frame (or its end).
            const int32_t shown = PlayerInspection::displayedFrame(*f_.MediaPlayer1);
            const bool moved = waitFor(
                [&] {
                    return f_.MediaPlayer1->Mode() != TMPModes::mpPlaying
                        || PlayerInspection::displayedFrame(*f_.MediaPlayer1) != shown;
                },
                2000);
            (void)moved; // a clip that does not play has nothing to wait for
            schedule(0);
            return;
        }
        }
    }

    TForm1& f_;
    int events_;
    std::mt19937 random_;
    QElapsedTimer elapsed_;
    int done_ = 0;
    int waiting_ = 0;
    bool finished_ = false;
    QStringList violations_;
    int violationCount_ = 0;
    std::map<Screen, int> screens_;
    int previewsOpened_ = 0;
    int frameChecks_ = 0;
    int playingChecks_ = 0;
    int stampChecks_ = 0;
    bool baselineTaken_ = false;
    qint64 heapBaseline_ = 0;
    qint64 heapMax_ = 0;
    qint64 heapEnd_ = 0;
    int widgetsStart_ = 0;
    int widgetsEnd_ = 0;
};

} // namespace

TEST(Soak, RandomEventsOnTheDemoLibrary)
{
    const QDir library(demoTree());
    const int events = envInt("HW_SOAK_EVENTS", 3000);
    const unsigned seed = unsigned(envInt("HW_SOAK_SEED", 1));
    TutorWindow session(library, TutorWindow::asProgramStarts(true));
    ASSERT_TRUE(session.takeBoxes().empty());
    ASSERT_GT(session->PatternsListBox->Count(), 0);

    QElapsedTimer clock;
    clock.start();
    Soak soak(session, events, seed);
    soak.run();

    const auto& screens = soak.screens();
    auto seen = [&](Screen s) { return screens.count(s) ? screens.at(s) : 0; };
    std::printf(
        "soak: seed %u, %d events survived in %.1f s; screens QT %d, Techniques %d, gallery %d, lesson %d; "
        "frames checked %d (%d during playback, %d stamps read); %d previews; heap %.1f MB after warm-up, "
        "at most +%.1f MB, %.1f MB at the end; widgets %d -> %d\n",
        seed, soak.survived(), clock.elapsed() / 1000.0, seen(Screen::QuickTour), seen(Screen::Techniques),
        seen(Screen::Gallery), seen(Screen::Lesson), soak.frameChecks(), soak.playingChecks(),
        soak.stampChecks(), soak.previewsOpened(), soak.heapBaseline() / 1048576.0,
        soak.heapGrowth() / 1048576.0, soak.heapEnd() / 1048576.0, soak.widgetsAtStart(),
        soak.widgetsAtEnd());

    EXPECT_EQ(soak.survived(), events);
    EXPECT_EQ(soak.violationCount(), 0) << soak.violations().join(QLatin1Char('\n')).toStdString();
    // Every kind of screen was reached, and the error box never came up.
    for (Screen screen : {Screen::QuickTour, Screen::Techniques, Screen::Gallery, Screen::Lesson})
        EXPECT_GT(seen(screen), 0) << screenName(screen) << " never reached";
    EXPECT_TRUE(session.takeBoxes().empty());
    // Memory stays bounded: caches fill during the warm-up, nothing grows without end.
    EXPECT_LT(soak.heapGrowth(), qint64(64) << 20);
    EXPECT_LE(soak.widgetsAtEnd(), soak.widgetsAtStart() + 8);
}
