// The splash window: its form, the colour-depth refusal, the splash video and the
// hand-over to the tutor window, also when the video is missing, broken or silent.
#include "MediaFixtures.h"
#include "TempTree.h"
#include "hw/Exception.h"
#include "hw/Termination.h"
#include "hw/app/Application.h"
#include "hw/app/TSplashForm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QSettings>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace hw;

namespace {

const char* const kSplashClip = "SplashScreen/SplashScreen.avi";

class SplashFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetTerminateRequest();
        previousDir_ = QDir::currentPath();
        // The splash video's path is relative to the current directory, as on the disc.
        ASSERT_TRUE(QDir::setCurrent(tree_.root().path()));
        Application::setErrorBoxHook([this](const QString& caption, const QString& text) {
            log.push_back("error: " + text.toStdString());
            captions.push_back(caption);
        });
    }

    void TearDown() override
    {
        Application::setErrorBoxHook({});
        QDir::setCurrent(previousDir_);
        resetTerminateRequest();
    }

    void writeSplashClip(int frames, int framesPerSecond = 25)
    {
        tree_.mkdir(QStringLiteral("SplashScreen"));
        ClipFormat format;
        format.framesPerSecond = framesPerSecond;
        const auto picture = [](int i) {
            QImage frame(320, 240, QImage::Format_RGB32);
            frame.fill(QColor::fromHsv((i * 7) % 360, 160, 200));
            QPainter(&frame).drawText(frame.rect(), Qt::AlignCenter, QString::number(i));
            return frame;
        };
        ASSERT_EQ(test::writeClip(tree_.path(QLatin1String(kSplashClip)), format, frames, picture),
                  QString());
    }

    void writeSplashBytes(const QByteArray& bytes) { tree_.write(QLatin1String(kSplashClip), bytes); }

    // Options whose hand-over steps only record that they ran.
    TSplashForm::Options recordingOptions()
    {
        TSplashForm::Options options;
        options.colourDepth = [] { return 24; };
        options.showRefusal = [this](const QString& caption, const QString& text) {
            log.push_back("refusal: " + text.toStdString());
            captions.push_back(caption);
        };
        options.handOver.createTutorWindow = [this] { log.push_back("tutor"); };
        options.handOver.createRecipeCards = [this] { log.push_back("cards"); };
        options.handOver.showTutorWindow = [this] { log.push_back("show"); };
        options.handOver.clickQuickTour = [this] { log.push_back("quick tour"); };
        return options;
    }

    static std::vector<std::string> handOverLog() { return {"tutor", "cards", "show"}; }

    test::TempTree tree_;
    QString previousDir_;
    std::vector<std::string> log;
    std::vector<QString> captions;
};

bool isDeviceClosed(const TSplashForm& splash)
{
    return splash.MediaPlayer2->Mode() == TMPModes::mpNotReady;
}

} // namespace

TEST_F(SplashFormTest, ColourDepthBelowSixteenIsRefused)
{
    const QString title = programTitle(QCoreApplication::applicationFilePath());
    const std::string refusal
        = "refusal: Hacklewright requires that your computer display more than 256 colors in "
          "order to operate properly. Please refer to your computer's documentation to adjust "
          "your display settings to at least 16 bit, high-color, (65536 colors). Hacklewright "
          "will exit now.";

    {
        TSplashForm::Options options = recordingOptions();
        options.colourDepth = [] { return 16; };
        TSplashForm splash(options);
        EXPECT_FALSE(terminateRequested());
        ASSERT_EQ(log.size(), 1u); // only the missing video
    }

    for (const int depth : {15, 8}) {
        log.clear();
        captions.clear();
        resetTerminateRequest();
        TSplashForm::Options options = recordingOptions();
        options.colourDepth = [depth] { return depth; };
        TSplashForm splash(options);
        EXPECT_TRUE(terminateRequested()) << depth;
        // The refusal first; the creation handler goes on and meets the missing video.
        ASSERT_EQ(log.size(), 2u) << depth;
        EXPECT_EQ(log[0], refusal);
        EXPECT_EQ(log[1].rfind("error: ", 0), 0u) << log[1];
        EXPECT_EQ(captions[0], title);
        // The program is ending: no hand-over, whatever asks for it.
        QCoreApplication::sendPostedEvents();
        splash.MediaPlayer2Notify();
        EXPECT_FALSE(splash.handedOver());
        EXPECT_EQ(log.size(), 2u);
    }
}

TEST_F(SplashFormTest, TheEndOfTheVideoHandsOverInOrderAndTheQuickTourOpensOnceASecondLater)
{
    writeSplashClip(10); // 0.4 s
    QElapsedTimer clock;
    qint64 shownAt = -1;
    qint64 clickedAt = -1;
    bool splashShownWhileCreating = false;
    bool deviceClosedBeforeCreating = false;
    bool splashHiddenBeforeShow = false;
    bool timerIdleBeforeShow = false;

    TSplashForm::Options options = recordingOptions();
    // Only the notice may end this splash.
    options.noticeLimits = {120000, 120000};
    options.handOver.createTutorWindow = [&] {
        log.push_back("tutor");
        splashShownWhileCreating = SplashForm->isVisible();
        deviceClosedBeforeCreating = isDeviceClosed(*SplashForm);
    };
    options.handOver.showTutorWindow = [&] {
        log.push_back("show");
        splashHiddenBeforeShow = !SplashForm->isVisible();
        timerIdleBeforeShow = !SplashForm->StartTimer->isActive();
        shownAt = clock.elapsed();
    };
    options.handOver.clickQuickTour = [&] {
        log.push_back("quick tour");
        clickedAt = clock.elapsed();
    };
    clock.start();
    TSplashForm splash(options);
    splash.show();
    EXPECT_FALSE(splash.handedOver()); // the notice comes from the event loop only
    const QPoint screenCentre = splash.screen()->geometry().center();
    EXPECT_LE((splash.geometry().center() - screenCentre).manhattanLength(), 2);

    QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 20000);
    EXPECT_EQ(log, handOverLog());
    EXPECT_TRUE(splashShownWhileCreating);
    EXPECT_TRUE(deviceClosedBeforeCreating);
    EXPECT_TRUE(splashHiddenBeforeShow);
    EXPECT_TRUE(timerIdleBeforeShow);
    EXPECT_TRUE(splash.StartTimer->isActive());
    EXPECT_FALSE(splash.isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(log.size(), size_t(4), 20000);
    EXPECT_EQ(log.back(), "quick tour");
    EXPECT_FALSE(splash.StartTimer->isActive()); // once only
    EXPECT_GE(clickedAt - shownAt, 900);
    EXPECT_LT(clickedAt - shownAt, 15000);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(terminateRequested()); // hiding the main window ends nothing
}

TEST_F(SplashFormTest, AMissingOrBrokenVideoNeverKeepsTheSplash)
{
    // Missing: the device's error is reported at once and the hand-over follows.
    {
        TSplashForm splash(recordingOptions());
        ASSERT_EQ(log.size(), 1u);
        EXPECT_GT(log[0].size(), std::string("error: ").size());
        EXPECT_EQ(captions[0], programTitle(QCoreApplication::applicationFilePath()));
        splash.show();
        QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 10000);
        EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()), handOverLog());
        EXPECT_FALSE(splash.isVisible());
    }

    writeSplashClip(40);
    QFile clip(tree_.path(QLatin1String(kSplashClip)));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray whole = clip.readAll();
    clip.close();

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"not a video", QByteArray("RIFF\x10\0\0\0AVI LIST this is not a video at all", 40)},
        {"garbage", QByteArray(20000, '\x5a')},
        {"cut in half", whole.left(whole.size() / 2)},
        {"header only", whole.left(600)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        log.clear();
        writeSplashBytes(bytes);
        TSplashForm::Options options = recordingOptions();
        options.noticeLimits = {1000, 3000};
        TSplashForm splash(options);
        splash.show();
        QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 20000);
        EXPECT_FALSE(splash.isVisible());
        EXPECT_TRUE(isDeviceClosed(splash));
        // At most the device's own error came before the hand-over.
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()), handOverLog());
    }
}

TEST_F(SplashFormTest, ALostNoticeEndsTheSplashAfterItsVideoAndAGrace)
{
    writeSplashClip(10);
    TSplashForm::Options options = recordingOptions();
    options.noticeLimits = {500, 15000};
    TSplashForm splash(options);
    // The notice never reaches the splash.
    splash.MediaPlayer2->OnNotify = nullptr;
    splash.show();
    QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 20000);
    EXPECT_EQ(log, handOverLog());
    EXPECT_TRUE(isDeviceClosed(splash));
}

TEST_F(SplashFormTest, AClickOrAKeySkipsTheSplash)
{
    writeSplashClip(250); // ten seconds

    {
        TSplashForm splash(recordingOptions());
        splash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        ASSERT_EQ(splash.MediaPlayer2->Mode(), TMPModes::mpPlaying);
        // A click on the video area reaches the splash window.
        QTest::mouseClick(splash.windowHandle(), Qt::LeftButton, {}, QPoint(190, 140));
        QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 10000);
        EXPECT_EQ(log, handOverLog());
        EXPECT_TRUE(isDeviceClosed(splash));
        EXPECT_FALSE(splash.isVisible());
        // A late notice of the stopped play starts nothing new.
        splash.MediaPlayer2Notify();
        QTest::keyClick(&splash, Qt::Key_Space);
        EXPECT_EQ(log, handOverLog());
    }

    log.clear();
    {
        TSplashForm splash(recordingOptions());
        splash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(splash.handedOver(), 10000);
        EXPECT_EQ(log, handOverLog());
        EXPECT_TRUE(isDeviceClosed(splash));
    }
}

TEST_F(SplashFormTest, AnErrorInTheHandOverIsReportedAndTheRestGoesOn)
{
    TSplashForm::Options options = recordingOptions();
    int quickTourRuns = 0;
    options.handOver.createTutorWindow = [this] {
        log.push_back("tutor");
        throw EContentError(QStringLiteral("'4x' is not a valid integer value"));
    };
    options.handOver.clickQuickTour = [&] {
        ++quickTourRuns;
        throw EMCIDeviceError(QStringLiteral("The specified file cannot be found"));
    };
    TSplashForm splash(options); // no video: reported, then the hand-over
    splash.show();
    QTRY_COMPARE_WITH_TIMEOUT(quickTourRuns, 1, 20000);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[1], "tutor");
    EXPECT_EQ(log[2], "error: '4x' is not a valid integer value.");
    EXPECT_EQ(log[3], "cards");
    EXPECT_EQ(log[4], "show");
    EXPECT_EQ(log[5], "error: The specified file cannot be found.");
    EXPECT_FALSE(splash.StartTimer->isActive());
}

TEST_F(SplashFormTest, TheVideoPlaysAtTheStoredSoundLevel)
{
    writeSplashClip(10);
    auto settings
        = std::make_shared<QSettings>(tree_.path(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings->setValue(QStringLiteral("Sound/Volume"), 30);
    settings->setValue(QStringLiteral("Sound/Muted"), true);
    TSplashForm::Options options = recordingOptions();
    options.settings = settings;
    TSplashForm splash(options);
    EXPECT_EQ(splash.MediaPlayer2->volume(), 30);
    EXPECT_TRUE(splash.MediaPlayer2->muted());
}
