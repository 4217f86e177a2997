#pragma once
// The clip device: opens one video file at a time, shows its picture in a Display widget,
// plays frame ranges, stops, pauses, seeks, reports Mode and Position, and tells its owner
// through OnNotify that a command it asked to hear about has ended.
//
// Positions are frame numbers of the open video (frame 0 is the first). StartPos, EndPos,
// Wait and Notify are one-shot: assigning marks them pending for the next command that
// takes them. The completion notice is a queued event handled on the GUI thread.
#include "hw/Exception.h"
#include "hw/media/MediaButtons.h"
#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTransform>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace hw {

enum class TMPModes : uint8_t { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum class TMPNotifyValues : uint8_t { nvSuccessful, nvSuperseded, nvAborted, nvFailure };
enum class TMPTimeFormats : uint8_t {
    tfMilliseconds,
    tfHMS,
    tfMSF,
    tfFrames,
    tfSMPTE24,
    tfSMPTE25,
    tfSMPTE30,
    tfSMPTE30Drop,
    tfBytes,
    tfSamples,
    tfTMSF
};
enum class TMPDeviceTypes : uint8_t {
    dtAutoSelect,
    dtAVIVideo,
    dtCDAudio,
    dtDAT,
    dtDigitalVideo,
    dtMMMovie,
    dtOther,
    dtOverlay,
    dtScanner,
    dtSequencer,
    dtVCR,
    dtVideodisc,
    dtWaveAudio
};

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

class ClipDevice; // the video library behind the player (private)
struct PlaybackStats;

class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit TMediaPlayer(QObject* owner = nullptr);
    ~TMediaPlayer() override; // closes an open device, waiting, without notice

    // Published properties.
    QString FileName() const;
    void setFileName(const QString& fileName);
    TMPDeviceTypes DeviceType() const;
    void setDeviceType(TMPDeviceTypes type);
    QWidget* Display() const;
    void setDisplay(QWidget* display);
    bool AutoOpen() const;
    void setAutoOpen(bool value);
    bool AutoRewind() const;
    void setAutoRewind(bool value);
    bool AutoEnable() const;
    void setAutoEnable(bool value);
    bool Shareable() const;
    void setShareable(bool value);
    bool Visible() const;
    void setVisible(bool value);

    std::function<void(QObject* sender)> OnNotify;

    // The bar of buttons. It is shown in the owner widget while Visible is True, from the
    // moment the owner has finished setting the properties and called Loaded(). A click
    // goes to OnClick first, which may clear doDefault to keep the button's own command
    // from running; OnPostClick follows either way. With AutoEnable the player keeps
    // EnabledButtons in step with the device; without, the set stays as given.
    TButtonSet VisibleButtons() const;
    void setVisibleButtons(TButtonSet buttons);
    TButtonSet EnabledButtons() const;
    void setEnabledButtons(TButtonSet buttons);
    TButtonSet ColoredButtons() const;
    void setColoredButtons(TButtonSet buttons);
    QRect BoundsRect() const; // where the bar lies in the owner (240 x 30 at 0,0 by default)
    void setBoundsRect(const QRect& rect);
    QWidget* buttonBar() const; // null while the bar is not shown
    std::function<void(QObject* sender, TMPBtnType button, bool& doDefault)> OnClick;
    std::function<void(QObject* sender, TMPBtnType button)> OnPostClick;
    // The owner has set the properties: shows the bar if Visible, opens if AutoOpen.
    void Loaded();

    // Device commands.
    void Open();
    void Close();
    void Play();
    void Stop();
    void Pause();

    int32_t Position() const;
    void setPosition(int32_t frame);
    TMPModes Mode() const;
    int32_t Length() const;
    TMPTimeFormats TimeFormat() const;
    void setTimeFormat(TMPTimeFormats format);

    // The bar's commands, also callable directly. Next and Previous seek to the end and
    // the start of the clip; Step and Back move by Frames (Length div 10 after Open),
    // stopping at either end. A video clip cannot record or eject: the device refuses
    // both and says why in Error.
    void Next();
    void Previous();
    void Step();
    void Back();
    void StartRecording();
    void Eject();
    int32_t Frames() const;
    void setFrames(int32_t frames);
    int32_t Tracks() const;
    // Where the picture lies in the Display (empty while closed); an Open puts it back
    // over the whole Display.
    QRect DisplayRect() const;
    void setDisplayRect(const QRect& rect);

    // Pending settings.
    int32_t StartPos() const;
    void setStartPos(int32_t frame);
    int32_t EndPos() const;
    void setEndPos(int32_t frame);
    bool Wait() const;
    void setWait(bool value);
    bool Notify() const;
    void setNotify(bool value);

    // Practice and sound settings of our own. Repeat and speed apply from the next Play;
    // volume and mute at once.
    void setRepeat(bool on);
    bool repeat() const; // a play starts over at StartPos after EndPos
    void setSpeed(double factor);
    double speed() const; // 1.0, 0.5 or 0.25 of the file's rate
    void setVolume(int percent);
    int volume() const; // 0..100
    void setMuted(bool on);
    bool muted() const;

    // Captions: the clip's caption file (NAME.srt or NAME.vtt beside the video, any case) is
    // read at Open, and drawn over the picture's foot while shown (off by default). A caption
    // file that cannot be read leaves the clip without captions, with one log line.
    bool hasCaptions() const;
    void setCaptionsShown(bool on);
    bool captionsShown() const;
    // Zoom and pan: maps where the picture lies in the Display to where it is drawn
    // (identity by default); kept across Opens.
    void setPictureZoom(const QTransform& zoom);
    QTransform pictureZoom() const;
    // Where the picture on show lies in the Display before the zoom; empty without one.
    QRectF picturePlace() const;

    TMPNotifyValues NotifyValue() const;
    uint32_t Error() const;       // result code of the last device command, 0 for success
    QString ErrorMessage() const; // the device's text for Error()

    // For tools: the open video's frame rate (frames a second), 0 when closed.
    double framesPerSecond() const;

    // The clock that paces plays, from the next Open on (the steady clock by default).
    void setPresentationClock(std::shared_ptr<PresentationClock> clock);
    // Where plays send the clip's sound, from the next Open on (the desktop's sound server
    // by default; a factory that gives null, or makeNullSoundOutput, plays silently).
    void setSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make);

protected:
    bool event(QEvent* e) override; // completion notices arrive here

private:
    // Reached through PlayerInspection (tests, tools, benchmarks).
    friend struct PlayerInspection;
    QImage displayedPicture() const;
    int32_t displayedFrame() const;
    QString displayedCaption() const;
    void waitUntilIdle();
    PlaybackStats playbackStats() const;
    void dropCachedPictures();
    void setPresentHook(std::function<void(const QImage&, int32_t)> presented);

    void clickBarButton(TMPBtnType button);
    void showBar();

    struct State;
    std::unique_ptr<State> d;
};

} // namespace hw
