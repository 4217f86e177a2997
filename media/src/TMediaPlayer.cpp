#include "hw/media/TMediaPlayer.h"

#include "hw/media/PlayerInspection.h"

#include "ButtonBar.h"
#include "ClipDevice.h"
#include "DeviceError.h"
#include "DisplaySurface.h"
#include "NoticeEvent.h"
#include "PictureSink.h"

#include "hw/ContentPath.h"

#include <QFileInfo>
#include <QPointer>

#include <algorithm>

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
    if (d->device && display) {
        if (d->surface && d->surface->parentWidget() != display)
            d->removeSurface();
        if (!d->surface) {
            d->surface = new media::DisplaySurface(display, d->sink);
            d->surface->setPlacement(d->displayRect);
        }
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
    if (!deviceTypePlaysVideo(d->deviceType)) {
        error = media::kDeviceTypeUnavailable;
    } else if (d->fileName.isEmpty()) {
        error = media::kNoFileName;
    } else {
        const QString path = resolveContentPath(d->fileName);
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
    if (d->display) {
        d->removeSurface();
        d->surface = new media::DisplaySurface(d->display, d->sink);
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
    d->sink->clear();
    d->error = media::kOk;
    d->autoEnableBar();
    if (flags.notify)
        NoticeEvent::post(this, media::Notice::Successful);
}

void TMediaPlayer::Play()
{
    if (!d->device)
        raiseNotOpen();
    if (d->autoRewind && !d->startPending && !d->endPending && d->device->position() == d->device->length())
        d->device->seek(0, false, true); // its result is not kept
    const Flags flags = d->takePlayFlags();
    const int32_t from = d->startPending ? d->startPos : d->device->position();
    const int32_t to = d->endPending ? d->endPos : d->device->length();
    d->startPending = false;
    d->endPending = false;
    d->error = d->device->play(from, to, flags.notify, flags.wait);
}

void TMediaPlayer::Stop()
{
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    d->error = d->device->stop(flags.notify, flags.wait);
}

void TMediaPlayer::Pause()
{
    if (!d->device)
        raiseNotOpen();
    const media::DeviceMode mode = d->device->mode();
    if (mode == media::DeviceMode::Playing) {
        const Flags flags = d->takeCommandFlags();
        d->error = d->device->pause(flags.notify, flags.wait);
    } else if (mode == media::DeviceMode::Paused) {
        // Resume: a notice unless refused outright, a wait only if asked for; the marks are
        // taken only when the device accepts.
        const bool notify = !(d->notifyPending && !d->notify);
        const bool wait = d->waitPending && d->wait;
        const uint32_t result = d->device->resume(notify, wait);
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
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    d->error = d->device->seek(frame, flags.notify, flags.wait);
}

TMPModes TMediaPlayer::Mode() const
{
    return d->device ? playerMode(d->device->mode()) : TMPModes::mpNotReady;
}

int32_t TMediaPlayer::Length() const
{
    if (!d->device)
        raiseNotOpen();
    return d->device->length();
}

TMPTimeFormats TMediaPlayer::TimeFormat() const
{
    if (!d->device)
        raiseNotOpen();
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
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    d->error = d->device->seek(d->device->length(), flags.notify, flags.wait);
}

void TMediaPlayer::Previous()
{
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    d->error = d->device->seek(0, flags.notify, flags.wait);
}

void TMediaPlayer::Step()
{
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    const int64_t to
        = std::clamp<int64_t>(int64_t(d->device->position()) + d->stepSize, 0, d->device->length());
    d->error = d->device->seek(static_cast<int32_t>(to), flags.notify, flags.wait);
}

void TMediaPlayer::Back()
{
    if (!d->device)
        raiseNotOpen();
    const Flags flags = d->takeCommandFlags();
    const int64_t to
        = std::clamp<int64_t>(int64_t(d->device->position()) - d->stepSize, 0, d->device->length());
    d->error = d->device->seek(static_cast<int32_t>(to), flags.notify, flags.wait);
}

void TMediaPlayer::StartRecording()
{
    if (!d->device)
        raiseNotOpen();
    // Takes its marks as Play does, then is refused: nothing moves and no notice follows.
    d->takePlayFlags();
    d->startPending = false;
    d->endPending = false;
    d->error = d->abilities.canRecord ? media::kOk : media::kCannotRecord;
}

void TMediaPlayer::Eject()
{
    if (!d->device)
        raiseNotOpen();
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
    if (!d->device)
        raiseNotOpen();
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
