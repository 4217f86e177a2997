#include "hw/media/TMediaPlayer.h"

#include "hw/media/PlayerInspection.h"

#include "ButtonBar.h"
#include "ClipDevice.h"
#include "DeviceError.h"
#include "DisplaySurface.h"
#include "NoticeEvent.h"
#include "PictureSink.h"

#include "hw/ContentPath.h"
#include "hw/media/CaptionTrack.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

Q_LOGGING_CATEGORY(lcCaptions, "hw.media.captions", QtWarningMsg)

namespace hw {

using media::NoticeEvent;

namespace {
struct Flags {
    bool wait;
    bool notify;
};

// The device's own mode and notices in the player's published terms.
TMPModes playerMode(media::DeviceMode mode)
{
    switch (mode) {
    case media::DeviceMode::Stopped:
        return TMPModes::mpStopped;
    case media::DeviceMode::Playing:
        return TMPModes::mpPlaying;
    case media::DeviceMode::Seeking:
        return TMPModes::mpSeeking;
    case media::DeviceMode::Paused:
        return TMPModes::mpPaused;
    }
    return TMPModes::mpNotReady;
}

TMPNotifyValues playerNotifyValue(media::Notice notice)
{
    switch (notice) {
    case media::Notice::Successful:
        return TMPNotifyValues::nvSuccessful;
    case media::Notice::Superseded:
        return TMPNotifyValues::nvSuperseded;
    case media::Notice::Aborted:
        return TMPNotifyValues::nvAborted;
    case media::Notice::Failure:
        return TMPNotifyValues::nvFailure;
    }
    return TMPNotifyValues::nvFailure;
}
} // namespace

struct TMediaPlayer::State {
    // Published properties.
    QString fileName;
    TMPDeviceTypes deviceType = TMPDeviceTypes::dtAutoSelect;
    QPointer<QWidget> display;
    bool autoOpen = false;
    bool autoRewind = true;
    bool autoEnable = true;
    bool shareable = false;
    bool visible = true;

    // One-shot settings: the stored values and their pending marks.
    bool wait = false;
    bool notify = false;
    bool waitPending = false;
    bool notifyPending = false;
    bool startPending = false;
    bool endPending = false;
    int32_t startPos = 0;
    int32_t endPos = 0;

    bool repeat = false;
    double speed = 1;
    int volume = 100;
    bool muted = false;

    uint32_t error = 0;
    TMPNotifyValues notifyValue = TMPNotifyValues::nvSuccessful;
    int32_t stepSize = 0;
    QSize pictureSize;

    std::unique_ptr<ClipDevice> device;
    // The open device; a command that needs one raises the not-open error without it.
    ClipDevice& openDevice() const;
    std::shared_ptr<media::PictureSink> sink = std::make_shared<media::PictureSink>();
    QPointer<media::DisplaySurface> surface;
    std::shared_ptr<PresentationClock> clock;
    std::function<std::unique_ptr<SoundOutput>()> makeSound = makePulseSoundOutput;

    // The button bar and what Open learns about the device for it.
    TButtonSet visibleButtons = TButtonSet::all();
    TButtonSet enabledButtons = TButtonSet::all();
    TButtonSet coloredButtons = TButtonSet::all();
    QRect barBounds{0, 0, 240, 30};
    bool loaded = false;
    QPointer<media::ButtonBar> bar;
    media::DeviceAbilities abilities;
    std::optional<QRect> displayRect; // where the picture lies, when set since Open

    std::shared_ptr<const CaptionTrack> captions; // of the open clip
    bool captionsShown = false;
    QTransform zoom;

    void makeSurface(QWidget* on)
    {
        surface = new media::DisplaySurface(on, sink);
        surface->setPlacement(displayRect);
        dressSurface();
    }
    void dressSurface()
    {
        if (!surface)
            return;
        surface->setCaptions(captionsShown ? captions : nullptr, device ? device->framesPerSecond() : 0);
        surface->setZoom(zoom);
    }

    void refreshBar()
    {
        if (bar) {
            bar->setGeometry(barBounds);
            bar->setButtons(visibleButtons, enabledButtons, coloredButtons);
        }
    }
    void autoEnableBar()
    {
        if (!autoEnable)
            return;
        enabledButtons = media::autoEnabledButtons(
            device != nullptr, abilities, device ? playerMode(device->mode()) : TMPModes::mpNotReady);
        refreshBar();
    }

    // Rule for every command but Play and resume: waits and sends no notice unless told.
    Flags takeCommandFlags() { return takeFlags({true, false}); }
    // Rule for Play: sends a notice and does not wait unless told.
    Flags takePlayFlags() { return takeFlags({false, true}); }
    // The command's own defaults unless Wait or Notify was set since the last command; a set
    // value serves one command only.
    Flags takeFlags(Flags f)
    {
        if (waitPending) {
            f.wait = wait;
            waitPending = false;
        }
        if (notifyPending) {
            f.notify = notify;
            notifyPending = false;
        }
        return f;
    }

    void removeSurface()
    {
        delete surface.data();
        surface = nullptr;
    }
};

TMediaPlayer::TMediaPlayer(QObject* owner)
    : QObject(owner)
    , d(std::make_unique<State>())
{ }

TMediaPlayer::~TMediaPlayer()
{
    // Closes without notice and ignores the result.
    d->device.reset();
    d->removeSurface();
    delete d->bar.data(); // it lives in the owner widget but calls back into this player
}

QString TMediaPlayer::FileName() const
{
    return d->fileName;
}
void TMediaPlayer::setFileName(const QString& fileName)
{
    d->fileName = fileName;
}
TMPDeviceTypes TMediaPlayer::DeviceType() const
{
    return d->deviceType;
}
void TMediaPlayer::setDeviceType(TMPDeviceTypes type)
{
    d->deviceType = type;
}
QWidget* TMediaPlayer::Display() const
{
    return d->display.data();
}
bool TMediaPlayer::AutoOpen() const
{
    return d->autoOpen;
}
void TMediaPlayer::setAutoOpen(bool value)
{
    d->autoOpen = value;
}
bool TMediaPlayer::AutoRewind() const
{
    return d->autoRewind;
}
void TMediaPlayer::setAutoRewind(bool value)
{
    d->autoRewind = value;
}
bool TMediaPlayer::AutoEnable() const
{
    return d->autoEnable;
}
void TMediaPlayer::setAutoEnable(bool value)
{
    d->autoEnable = value;
}
bool TMediaPlayer::Shareable() const
{
    return d->shareable;
}
void TMediaPlayer::setShareable(bool value)
{
    d->shareable = value;
}
bool TMediaPlayer::Visible() const
{
    return d->visible;
}
void TMediaPlayer::setVisible(bool value)
{
    d->visible = value;
    showBar();
}

void TMediaPlayer::setDisplay(QWidget* display)
{
    // Only an open device is told; otherwise the control is just remembered (and forgotten
    // again if it is destroyed first).
    if (d->device && d->abilities.hasVideo && display) {
        if (d->surface && d->surface->parentWidget() != display)
            d->removeSurface();
        if (!d->surface)
            d->makeSurface(display);
        d->error = media::kOk;
        d->device->showCurrent();
    }
    d->display = display;
}

namespace {
[[noreturn]] void raiseNotOpen()
{
    throw EMCIDeviceError(QStringLiteral("No MCI device open"));
}
} // namespace

ClipDevice& TMediaPlayer::State::openDevice() const
{
    if (!device)
        raiseNotOpen();
    return *device;
}

namespace {

bool deviceTypePlaysVideo(TMPDeviceTypes type)
{
    switch (type) {
    case TMPDeviceTypes::dtAutoSelect:
    case TMPDeviceTypes::dtAVIVideo:
    case TMPDeviceTypes::dtDigitalVideo:
    case TMPDeviceTypes::dtMMMovie:
        return true;
    default:
        return false;
    }
}
} // namespace

void TMediaPlayer::Open()
{
    if (d->device)
        Close(); // goes on whether or not that close succeeded
    const Flags flags = d->takeCommandFlags();

    uint32_t error = media::kOk;
    std::unique_ptr<ClipDevice> device;
    QString path;
    if (!deviceTypePlaysVideo(d->deviceType)) {
        error = media::kDeviceTypeUnavailable;
    } else if (d->fileName.isEmpty()) {
        error = media::kNoFileName;
    } else {
        path = resolveContentPath(d->fileName);
        if (path.isEmpty())
            error = media::kFileNotFound;
        else if (!QFileInfo(path).isFile()) // a folder, or a pipe or device that would block
            error = media::kUnreadable;
        else
            device = ClipDevice::open(path, d->sink, d->clock, this, error);
    }
    d->error = error;
    if (!device) {
        QString message = media::deviceErrorText(error, d->fileName);
        // The device's text names no file; the one not found follows on a line of its own,
        // quoted, so that an error box's closing full stop does not run into it.
        if (error == media::kFileNotFound)
            message += QStringLiteral("\n\"%1\"").arg(d->fileName);
        throw EMCIDeviceError(message);
    }

    d->device = std::move(device);
    d->device->setPlayOptions(d->repeat, d->speed);
    d->device->setSoundOutput(d->makeSound ? d->makeSound() : nullptr);
    d->device->setVolume(d->volume, d->muted);
    d->stepSize = d->device->length() / 10;
    d->pictureSize = d->device->frameSize();
    // A video clip plays and steps by frames; it has no door and cannot record.
    d->abilities = media::DeviceAbilities{true, true, false, false, true};
    d->displayRect.reset();
    d->sink->clear();
    d->captions.reset();
    if (const QString captionFile = findCaptionFile(path); !captionFile.isEmpty()) {
        try {
            d->captions = std::make_shared<const CaptionTrack>(CaptionTrack::read(captionFile));
        } catch (const Exception& e) {
            qCWarning(lcCaptions, "%s", qUtf8Printable(e.message()));
        }
    }
    if (d->display && d->abilities.hasVideo) {
        d->removeSurface();
        d->makeSurface(d->display);
        d->error = media::kOk;
    }
    d->device->showCurrent();
    d->autoEnableBar();
    if (flags.notify)
        NoticeEvent::post(this, media::Notice::Successful);
}

void TMediaPlayer::Close()
{
    if (!d->device)
        return;
    const Flags flags = d->takeCommandFlags();
    d->device->abortPendingNotice();
    d->device.reset(); // joins the worker: the close has finished when this returns
    d->removeSurface();
    d->captions.reset();
    d->sink->clear();
    d->error = media::kOk;
    d->autoEnableBar();
    if (flags.notify)
        NoticeEvent::post(this, media::Notice::Successful);
}

void TMediaPlayer::Play()
{
    ClipDevice& device = d->openDevice();
    if (d->autoRewind && !d->startPending && !d->endPending && device.position() == device.length())
        device.seek(0, false, true); // its result is not kept
    const Flags flags = d->takePlayFlags();
    const int32_t from = d->startPending ? d->startPos : device.position();
    const int32_t to = d->endPending ? d->endPos : device.length();
    d->startPending = false;
    d->endPending = false;
    d->error = device.play(from, to, flags.notify, flags.wait);
}

void TMediaPlayer::Stop()
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    d->error = device.stop(flags.notify, flags.wait);
}

void TMediaPlayer::Pause()
{
    ClipDevice& device = d->openDevice();
    const media::DeviceMode mode = device.mode();
    if (mode == media::DeviceMode::Playing) {
        const Flags flags = d->takeCommandFlags();
        d->error = device.pause(flags.notify, flags.wait);
    } else if (mode == media::DeviceMode::Paused) {
        // Resume: a notice unless refused outright, a wait only if asked for; the marks are
        // taken only when the device accepts.
        const bool notify = !(d->notifyPending && !d->notify);
        const bool wait = d->waitPending && d->wait;
        const uint32_t result = device.resume(notify, wait);
        if (result == media::kOk) {
            d->waitPending = false;
            d->notifyPending = false;
            d->error = result;
        } else {
            Play();
        }
    }
}

int32_t TMediaPlayer::Position() const
{
    return d->device ? d->device->position() : 0;
}

void TMediaPlayer::setPosition(int32_t frame)
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    d->error = device.seek(frame, flags.notify, flags.wait);
}

TMPModes TMediaPlayer::Mode() const
{
    return d->device ? playerMode(d->device->mode()) : TMPModes::mpNotReady;
}

int32_t TMediaPlayer::Length() const
{
    ClipDevice& device = d->openDevice();
    return device.length();
}

TMPTimeFormats TMediaPlayer::TimeFormat() const
{
    d->openDevice();
    return TMPTimeFormats::tfFrames;
}

void TMediaPlayer::setTimeFormat(TMPTimeFormats format)
{
    // With no device open this reaches nothing and is not remembered: a video clip always
    // opens counting in frames.
    if (!d->device)
        return;
    d->error = format == TMPTimeFormats::tfFrames ? media::kOk : media::kBadTimeFormat;
}

void TMediaPlayer::Next()
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    d->error = device.seek(device.length(), flags.notify, flags.wait);
}

void TMediaPlayer::Previous()
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    d->error = device.seek(0, flags.notify, flags.wait);
}

void TMediaPlayer::Step()
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    const int64_t to = std::clamp<int64_t>(int64_t{device.position()} + d->stepSize, 0, device.length());
    d->error = device.seek(static_cast<int32_t>(to), flags.notify, flags.wait);
}

void TMediaPlayer::Back()
{
    ClipDevice& device = d->openDevice();
    const Flags flags = d->takeCommandFlags();
    const int64_t to = std::clamp<int64_t>(int64_t{device.position()} - d->stepSize, 0, device.length());
    d->error = device.seek(static_cast<int32_t>(to), flags.notify, flags.wait);
}

void TMediaPlayer::StartRecording()
{
    d->openDevice();
    // Takes its marks as Play does, then is refused: nothing moves and no notice follows.
    d->takePlayFlags();
    d->startPending = false;
    d->endPending = false;
    d->error = d->abilities.canRecord ? media::kOk : media::kCannotRecord;
}

void TMediaPlayer::Eject()
{
    d->openDevice();
    d->takeCommandFlags();
    d->error = d->abilities.canEject ? media::kOk : media::kCannotEject;
}

int32_t TMediaPlayer::Frames() const
{
    return d->stepSize;
}
void TMediaPlayer::setFrames(int32_t frames)
{
    d->stepSize = frames;
}

int32_t TMediaPlayer::Tracks() const
{
    d->openDevice();
    return 1; // a video clip is one track
}

QRect TMediaPlayer::DisplayRect() const
{
    if (!d->device)
        return {};
    if (d->surface)
        return d->surface->geometry();
    return d->displayRect.value_or(QRect(QPoint(0, 0), d->pictureSize));
}

void TMediaPlayer::setDisplayRect(const QRect& rect)
{
    // Closed, there is no picture to place; the next Open starts from the whole Display.
    if (!d->device)
        return;
    d->displayRect = rect;
    if (d->surface) {
        d->surface->setPlacement(rect);
        d->device->showCurrent(); // again, at the new size
    }
    d->error = media::kOk;
}

TButtonSet TMediaPlayer::VisibleButtons() const
{
    return d->visibleButtons;
}
void TMediaPlayer::setVisibleButtons(TButtonSet buttons)
{
    d->visibleButtons = buttons;
    d->refreshBar();
}
TButtonSet TMediaPlayer::EnabledButtons() const
{
    return d->enabledButtons;
}
void TMediaPlayer::setEnabledButtons(TButtonSet buttons)
{
    d->enabledButtons = buttons;
    d->refreshBar();
}
TButtonSet TMediaPlayer::ColoredButtons() const
{
    return d->coloredButtons;
}
void TMediaPlayer::setColoredButtons(TButtonSet buttons)
{
    d->coloredButtons = buttons;
    d->refreshBar();
}
QRect TMediaPlayer::BoundsRect() const
{
    return d->barBounds;
}
void TMediaPlayer::setBoundsRect(const QRect& rect)
{
    d->barBounds = rect;
    d->refreshBar();
}
QWidget* TMediaPlayer::buttonBar() const
{
    return d->bar.data();
}

void TMediaPlayer::Loaded()
{
    d->loaded = true;
    d->autoEnableBar();
    showBar();
    if (d->autoOpen)
        Open();
}

void TMediaPlayer::showBar()
{
    auto* owner = qobject_cast<QWidget*>(parent());
    const bool wanted = d->visible && d->loaded && owner;
    if (!wanted) {
        delete d->bar.data();
        d->bar = nullptr;
        return;
    }
    if (!d->bar) {
        d->bar = new media::ButtonBar(owner, [this](TMPBtnType b) { clickBarButton(b); });
        d->refreshBar();
        d->bar->show();
    }
}

void TMediaPlayer::clickBarButton(TMPBtnType button)
{
    bool doDefault = true;
    if (OnClick)
        OnClick(this, button, doDefault);
    if (doDefault) {
        switch (button) {
        case TMPBtnType::btPlay:
            Play();
            break;
        case TMPBtnType::btPause:
            Pause();
            break;
        case TMPBtnType::btStop:
            Stop();
            break;
        case TMPBtnType::btNext:
            Next();
            break;
        case TMPBtnType::btPrev:
            Previous();
            break;
        case TMPBtnType::btStep:
            Step();
            break;
        case TMPBtnType::btBack:
            Back();
            break;
        case TMPBtnType::btRecord:
            StartRecording();
            break;
        case TMPBtnType::btEject:
            Eject();
            break;
        }
        d->autoEnableBar();
    }
    if (OnPostClick)
        OnPostClick(this, button);
}

int32_t TMediaPlayer::StartPos() const
{
    return d->startPos;
}
void TMediaPlayer::setStartPos(int32_t frame)
{
    d->startPos = frame;
    d->startPending = true;
}
int32_t TMediaPlayer::EndPos() const
{
    return d->endPos;
}
void TMediaPlayer::setEndPos(int32_t frame)
{
    d->endPos = frame;
    d->endPending = true;
}
bool TMediaPlayer::Wait() const
{
    return d->wait;
}
void TMediaPlayer::setWait(bool value)
{
    d->wait = value;
    d->waitPending = true;
}
bool TMediaPlayer::Notify() const
{
    return d->notify;
}
void TMediaPlayer::setNotify(bool value)
{
    d->notify = value;
    d->notifyPending = true;
}

void TMediaPlayer::setRepeat(bool on)
{
    d->repeat = on;
    if (d->device)
        d->device->setPlayOptions(d->repeat, d->speed);
}
bool TMediaPlayer::repeat() const
{
    return d->repeat;
}

void TMediaPlayer::setSpeed(double factor)
{
    // The device plays at the file's rate, half or a quarter of it: another factor is taken
    // as the nearest of these.
    d->speed = factor < 0.375 ? 0.25 : factor < 0.75 ? 0.5 : 1.0;
    if (d->device)
        d->device->setPlayOptions(d->repeat, d->speed);
}
double TMediaPlayer::speed() const
{
    return d->speed;
}

void TMediaPlayer::setVolume(int percent)
{
    d->volume = std::clamp(percent, 0, 100);
    if (d->device)
        d->device->setVolume(d->volume, d->muted);
}
int TMediaPlayer::volume() const
{
    return d->volume;
}
void TMediaPlayer::setMuted(bool on)
{
    d->muted = on;
    if (d->device)
        d->device->setVolume(d->volume, d->muted);
}
bool TMediaPlayer::muted() const
{
    return d->muted;
}

TMPNotifyValues TMediaPlayer::NotifyValue() const
{
    return d->notifyValue;
}
uint32_t TMediaPlayer::Error() const
{
    return d->error;
}
QString TMediaPlayer::ErrorMessage() const
{
    return media::deviceErrorText(d->error, d->fileName);
}

QImage TMediaPlayer::displayedPicture() const
{
    return d->sink->picture();
}
int32_t TMediaPlayer::displayedFrame() const
{
    return d->sink->frame();
}
QString TMediaPlayer::displayedCaption() const
{
    return d->surface ? d->surface->captionShown() : QString();
}

bool TMediaPlayer::hasCaptions() const
{
    return d->captions != nullptr;
}
void TMediaPlayer::setCaptionsShown(bool on)
{
    d->captionsShown = on;
    d->dressSurface();
}
bool TMediaPlayer::captionsShown() const
{
    return d->captionsShown;
}
void TMediaPlayer::setPictureZoom(const QTransform& zoom)
{
    d->zoom = zoom;
    d->dressSurface();
}
QTransform TMediaPlayer::pictureZoom() const
{
    return d->zoom;
}
QRectF TMediaPlayer::picturePlace() const
{
    return d->surface ? d->surface->picturePlace() : QRectF();
}
double TMediaPlayer::framesPerSecond() const
{
    return d->device ? d->device->framesPerSecond() : 0;
}

void TMediaPlayer::setPresentationClock(std::shared_ptr<PresentationClock> clock)
{
    d->clock = std::move(clock);
}

void TMediaPlayer::setSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make)
{
    d->makeSound = std::move(make);
}

void TMediaPlayer::waitUntilIdle()
{
    if (!d->device)
        return;
    d->device->waitIdle();
    d->device->waitForOrder();
    d->device->waitIdle();
}

void TMediaPlayer::dropCachedPictures()
{
    if (d->device)
        d->device->dropCachedPictures();
}

void TMediaPlayer::setPresentHook(std::function<void(const QImage&, int32_t)> presented)
{
    d->sink->setPresentHook(std::move(presented));
}

PlaybackStats TMediaPlayer::playbackStats() const
{
    return d->device ? d->device->stats() : PlaybackStats{};
}

bool TMediaPlayer::event(QEvent* e)
{
    if (e->type() == NoticeEvent::type()) {
        if (d->autoEnable && Mode() == TMPModes::mpStopped)
            d->autoEnableBar();
        d->notifyValue = playerNotifyValue(static_cast<NoticeEvent*>(e)->value);
        if (OnNotify)
            OnNotify(this);
        return true;
    }
    return QObject::event(e);
}

} // namespace hw
