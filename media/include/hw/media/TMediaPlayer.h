#pragma once
// The clip device: opens one video file at a time, shows its picture in a Display widget,
// plays frame ranges, stops, pauses, seeks, reports Mode and Position, and tells its owner
// through OnNotify that a command it asked to hear about has ended.
//
// Positions are frame numbers of the open video (frame 0 is the first). StartPos, EndPos,
// Wait and Notify are one-shot: assigning marks them pending for the next command that
// takes them. The completion notice is a queued event handled on the GUI thread.
#include "hw/Exception.h"
#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace hw {

enum class TMPModes : uint8_t { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum class TMPNotifyValues : uint8_t { nvSuccessful, nvSuperseded, nvAborted, nvFailure };
enum class TMPTimeFormats : uint8_t {
    tfMilliseconds, tfHMS, tfMSF, tfFrames, tfSMPTE24, tfSMPTE25, tfSMPTE30, tfSMPTE30Drop,
    tfBytes, tfSamples, tfTMSF
};
enum class TMPDeviceTypes : uint8_t {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

class ClipDevice; // the video library behind the player (private)

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
    bool repeat() const;         // a play starts over at StartPos after EndPos
    void setSpeed(double factor);
    double speed() const;        // 1.0, 0.5 or 0.25 of the file's rate
    void setVolume(int percent);
    int volume() const;          // 0..100
    void setMuted(bool on);
    bool muted() const;

    TMPNotifyValues NotifyValue() const;
    uint32_t Error() const;       // result code of the last device command, 0 for success
    QString ErrorMessage() const; // the device's text for Error()

    // For tests and tools: the picture the display surface shows now (null if none).
    QImage displayedPicture() const;
    // Frame number of the displayed picture, or -1.
    int32_t displayedFrame() const;

    // The clock that paces plays, from the next Open on (the steady clock by default).
    void setPresentationClock(std::shared_ptr<PresentationClock> clock);
    // Where plays send the clip's sound, from the next Open on (the desktop's sound server
    // by default; a factory that gives null, or makeNullSoundOutput, plays silently).
    void setSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make);
    // For tests, tools and benchmarks: returns when the open device has nothing left to
    // do (frame order learnt, pictures for stepping cached). Does nothing when closed.
    void waitUntilIdle();
    // Frames presented by plays since Open, and how many of them came later than one
    // frame period.
    struct PlaybackStats {
        int presented = 0;
        int late = 0;
        int64_t maxLateUs = 0;
        // For each frame presented (the latest ones), microseconds: the clock's time when it
        // was put on show minus its due time; for plays paced by their sound, the time the
        // listener heard then minus the time the frame's sound began.
        std::vector<int32_t> offsetsUs;
        int soundPaced = 0; // frames presented by plays paced by their sound
    };
    PlaybackStats playbackStats() const;
    // For benchmarks: forget the decoded pictures kept for stepping, so that the next
    // command has to decode.
    void dropCachedPictures();

protected:
    bool event(QEvent* e) override; // completion notices arrive here

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace hw
