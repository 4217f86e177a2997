#pragma once
// The splash window, the program's main window for the whole run: refuses displays of
// fewer than 16 bits per pixel, plays the splash video into its video area and, when the
// play has ended, hands over to the tutor window, whose Quick Tour it opens a second later.
//
// The hand-over also happens when the video cannot be opened (after its error has been
// reported), when the user clicks the splash or presses a key on it, and when the device
// has stopped without sending its completion notice: the splash has no border and no
// command of its own, so nothing else could move the program on.
#include "hw/app/SplashWatchdog.h"
#include "hw/media/TMediaPlayer.h"

#include <QFrame>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QSettings;

namespace hw {

// The parts of the hand-over that lie outside the splash window, in the order they run.
struct HandOverSteps {
    std::function<void()> createTutorWindow; // TForm1 (its creation loads the catalogue)
    std::function<void()> createRecipeCards; // the six cards, which stay hidden
    std::function<void()> showTutorWindow;   // visible and in front
    std::function<void()> clickQuickTour;    // the click action of the Quick Tour button
};

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    struct Options {
        HandOverSteps handOver;
        // The display's bits per pixel; empty: the depth of the splash window's screen.
        std::function<int()> colourDepth;
        // Shows the colour-depth refusal and returns once it is dismissed; empty: a modal
        // message box with OK and no icon.
        std::function<void(const QString& caption, const QString& text)> showRefusal;
        // How long a missing completion notice is waited for.
        SplashWatchdog::Limits noticeLimits;
        SplashWatchdog::Clock clock; // empty: the steady clock
        // The store of the learner's sound level, which the splash video plays at too;
        // empty: the user's settings.
        std::shared_ptr<QSettings> settings;
    };

    // Creates the window and runs its creation handler, which starts the splash video.
    TSplashForm();
    explicit TSplashForm(Options options);
    ~TSplashForm() override;

    // Components, named as in the window's form layout.
    QFrame* Panel1;
    QLabel* Label1;
    QFrame* OleContainer1;
    TMediaPlayer* MediaPlayer2;
    QTimer* StartTimer;

    // Handlers.
    void FormCreate();
    void MediaPlayer2Notify();
    void StartTimerTimer();

    // True once the hand-over to the tutor window has begun.
    bool handedOver() const { return handedOver_; }

    static QString colourDepthRefusal();

    static constexpr int kClientWidth = 382;
    static constexpr int kClientHeight = 282;
    static constexpr int kMinimumColourDepth = 16;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createComponents();
    void createNotice(); // the raised panel and its notice line
    void createVideo();  // the video area and the player that shows the splash video in it
    void createTimers(); // the hand-over's start timer and the play's watchdog
    int colourDepth() const;
    void showRefusal();
    void handOver();
    void watchPlay();

    Options options_;
    SplashWatchdog watchdog_;
    QTimer* watchdogTimer_ = nullptr;
    bool handedOver_ = false;
    bool centred_ = false;
};

// The one splash window, set before its creation handler runs.
extern TSplashForm* SplashForm;

} // namespace hw
