#include "hw/app/TSplashForm.h"

#include "RaisedPanel.h"
#include "hw/Termination.h"
#include "hw/app/Application.h"
#include "hw/tutor/SoundLevel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>

namespace hw {

TSplashForm* SplashForm = nullptr;

namespace {

// Our own publisher's notice, one line under the video.
const char* const kNotice = "\xC2\xA9 2026 Hacklewright Studio";

// How often the device is asked whether the splash play still moves.
constexpr int kWatchIntervalMs = 250;

QFont splashFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

} // namespace

QString TSplashForm::colourDepthRefusal()
{
    return QStringLiteral(
        "Hacklewright requires that your computer display more than 256 colors in order to "
        "operate properly. Please refer to your computer's documentation to adjust your "
        "display settings to at least 16 bit, high-color, (65536 colors). Hacklewright will "
        "exit now.");
}

TSplashForm::TSplashForm()
    : TSplashForm(Options{})
{ }

TSplashForm::TSplashForm(Options options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , options_(std::move(options))
    , watchdog_(options_.noticeLimits, options_.clock)
{
    SplashForm = this;
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(programTitle(QCoreApplication::applicationFilePath()));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(splashFont());
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);
    createComponents();
    // An error in the creation handler ends it and is reported; the window still exists.
    runReportingErrors([this] { FormCreate(); });
}

TSplashForm::~TSplashForm()
{
    // The device goes first: it may still be drawing into the video area.
    delete MediaPlayer2;
    MediaPlayer2 = nullptr;
    if (SplashForm == this)
        SplashForm = nullptr;
}

void TSplashForm::createComponents()
{
    createNotice();
    createVideo();
    createTimers();
}

void TSplashForm::createNotice()
{
    Panel1 = new RaisedPanel(this, 3);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(1, 1, 383, 281);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(88, 258, 204, 13);
    Label1->setText(QString::fromUtf8(kNotice));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void TSplashForm::createVideo()
{
    // Holds no object: only the window the splash video is drawn into. Clicks pass
    // through it to the splash window.
    OleContainer1 = new QFrame(this);
    OleContainer1->setObjectName(QStringLiteral("OleContainer1"));
    OleContainer1->setGeometry(32, 20, 320, 240);
    OleContainer1->setFrameStyle(QFrame::Box | QFrame::Plain);
    OleContainer1->setLineWidth(1);
    QPalette videoPalette = OleContainer1->palette();
    videoPalette.setColor(QPalette::Window, videoPalette.color(QPalette::Base));
    videoPalette.setColor(QPalette::WindowText, videoPalette.color(QPalette::Shadow));
    OleContainer1->setPalette(videoPalette);
    OleContainer1->setAutoFillBackground(true);
    OleContainer1->setAttribute(Qt::WA_TransparentForMouseEvents);
    OleContainer1->setFocusPolicy(Qt::NoFocus);

    MediaPlayer2 = new TMediaPlayer(this);
    MediaPlayer2->setObjectName(QStringLiteral("MediaPlayer2"));
    MediaPlayer2->setFileName(QStringLiteral("SplashScreen/SplashScreen.avi"));
    MediaPlayer2->setDisplay(OleContainer1);
    MediaPlayer2->setVisible(false);
    MediaPlayer2->OnNotify = [this](QObject*) { MediaPlayer2Notify(); };
    // The chime is heard at the level the learner chose in the tutor window.
    const std::shared_ptr<QSettings> settings = options_.settings ? options_.settings : userSettings();
    SoundLevel::load(*settings).applyTo(*MediaPlayer2);
}

void TSplashForm::createTimers()
{
    StartTimer = new QTimer(this);
    StartTimer->setObjectName(QStringLiteral("StartTimer"));
    StartTimer->setInterval(1000);
    StartTimer->setTimerType(Qt::PreciseTimer);
    connect(StartTimer, &QTimer::timeout, this, [this] { StartTimerTimer(); });

    watchdogTimer_ = new QTimer(this);
    watchdogTimer_->setInterval(kWatchIntervalMs);
    connect(watchdogTimer_, &QTimer::timeout, this, [this] { watchPlay(); });
}

int TSplashForm::colourDepth() const
{
    if (options_.colourDepth)
        return options_.colourDepth();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->depth() : 32;
}

void TSplashForm::showRefusal()
{
    const QString caption = programTitle(QCoreApplication::applicationFilePath());
    if (options_.showRefusal) {
        options_.showRefusal(caption, colourDepthRefusal());
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, colourDepthRefusal(), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void TSplashForm::FormCreate()
{
    if (colourDepth() < kMinimumColourDepth) {
        showRefusal();
        requestTerminate();
        // The video is started all the same; the terminate request ends the program as
        // soon as the message loop runs, and no hand-over follows.
    }

    const bool opened = runReportingErrors([this] {
        MediaPlayer2->setWait(true);
        MediaPlayer2->Open();
    });
    if (!opened) {
        // Nothing would ever end the splash: go on to the tutor window once the message
        // loop runs (the error has been reported by now).
        QMetaObject::invokeMethod(
            this, [this] { handOver(); }, Qt::QueuedConnection);
        return;
    }
    MediaPlayer2->setNotify(true);
    MediaPlayer2->Play();
    watchdog_.start();
    watchdogTimer_->start();
}

void TSplashForm::MediaPlayer2Notify()
{
    // Whatever the notice says (ended, cut short or failed), the splash is over.
    handOver();
}

void TSplashForm::watchPlay()
{
    if (!watchdog_.running() || !MediaPlayer2)
        return;
    if (watchdog_.overdue(MediaPlayer2->Mode() == TMPModes::mpPlaying, MediaPlayer2->Position()))
        handOver();
}

void TSplashForm::handOver()
{
    // Reached from the notice, a click or key, the watchdog or a failed open; only the
    // first runs. A terminate request (the colour-depth refusal) cancels it.
    if (handedOver_ || terminateRequested())
        return;
    handedOver_ = true;
    watchdog_.stop();
    watchdogTimer_->stop();

    // Asks for no notice, so that no second notice arrives.
    MediaPlayer2->setNotify(false);
    MediaPlayer2->Close();

    // An error in one window's creation is reported and the next window is created all
    // the same, so that the program always reaches the tutor window.
    const HandOverSteps& steps = options_.handOver;
    if (steps.createTutorWindow)
        runReportingErrors(steps.createTutorWindow);
    if (steps.createRecipeCards)
        runReportingErrors(steps.createRecipeCards);
    hide();
    if (steps.showTutorWindow)
        runReportingErrors(steps.showTutorWindow);
    StartTimer->start();
}

void TSplashForm::StartTimerTimer()
{
    StartTimer->stop(); // once only, also when the Quick Tour fails
    if (options_.handOver.clickQuickTour)
        options_.handOver.clickQuickTour();
}

void TSplashForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
            const QRect area = s->geometry();
            move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
        }
    }
    // Takes the keyboard, so that a key skips the splash.
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void TSplashForm::closeEvent(QCloseEvent* event)
{
    // The main window: closing it ends the program.
    requestTerminate();
    event->accept();
}

void TSplashForm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    handOver();
}

void TSplashForm::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    handOver();
}

} // namespace hw
