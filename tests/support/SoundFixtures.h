#pragma once
// Clips with sound made at test time, a private null sink of the test's own whose monitor
// records what a listener would hear, and measures of the recorded sound.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace hw::test {

constexpr int kSoundRate = 44100; // stereo, as the null sink plays: recorded samples stay exact
constexpr int kSamplesPerFrame = kSoundRate / 15;

// The marked sound of frame k: a square wave whose height tells k, so that a recording says
// which frames' sound was heard and how much of each.
std::vector<int16_t> markedSound(int frames);
// A steady sine tone.
std::vector<int16_t> toneSound(int frames, double hz);
// A stamped 320x240 15 fps clip carrying the given stereo sound, encoded with audioCodec
// (ffmpeg's name, e.g. "pcm_s16le"). False when ffmpeg is missing or fails.
bool writeSoundClip(const QString& path, int frames, const std::vector<int16_t>& sound,
                    const QString& audioCodec = QStringLiteral("pcm_s16le"));

// A stamped 320x240 15 fps clip (MJPEG) with a sound the ffmpeg program makes or copies:
// soundInput are its arguments for the sound's input (a file, or a lavfi source with "-f
// lavfi"), soundCodec those that code it ({"-c:a", "copy"}, {"-c:a", "aac"}); the container
// is path's. False when ffmpeg is missing or fails.
bool muxSoundClip(const QString& path, int frames, const QStringList& soundInput,
                  const QStringList& soundCodec);
// Runs the ffmpeg program quietly with args; false when it fails.
bool ffmpeg(const QStringList& args);

// A null sink of this test's own that the player's streams go to (PULSE_SINK), and a
// recording of its monitor. usable() is false, with why(), when there is no server.
class RecordedSink {
public:
    RecordedSink();
    ~RecordedSink();
    bool usable() const { return !name_.isEmpty(); }
    QString why() const { return why_; }
    // Stereo frames recorded so far; waits (processing events) until at least n more than
    // now have come in.
    int64_t recorded() const;
    bool waitForMore(int64_t frames);
    // The left channel recorded since frame from.
    std::vector<int16_t> left(int64_t from = 0) const;

private:
    struct Recorder;
    QString name_;
    QString module_;
    QString why_;
    std::unique_ptr<Recorder> rec_;
};

// The sound server (PULSE_SERVER) that outputs made while this lives connect to.
class ServerNamed {
public:
    explicit ServerNamed(const QString& address)
        : had_(qEnvironmentVariableIsSet("PULSE_SERVER"))
        , previous_(qgetenv("PULSE_SERVER"))
    {
        qputenv("PULSE_SERVER", address.toUtf8());
    }
    ~ServerNamed()
    {
        if (had_)
            qputenv("PULSE_SERVER", previous_);
        else
            qunsetenv("PULSE_SERVER");
    }
    ServerNamed(const ServerNamed&) = delete;
    ServerNamed& operator=(const ServerNamed&) = delete;

private:
    bool had_;
    QByteArray previous_;
};

// A sound server's socket that takes connections and never answers.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    QString address() const; // for PULSE_SERVER; empty when the socket could not be made

private:
    QTemporaryDir dir_;
    int fd_ = -1;
};

// A sound server of the test's own with a null sink, which the test may stop dead and
// start again at the same address.
class PrivateServer {
public:
    PrivateServer();
    ~PrivateServer();
    bool start(); // true once it answers
    void kill();
    QString address() const;

private:
    QTemporaryDir dir_;
    QProcess daemon_;
};

// This process's streams on the server the environment names that play (are not corked);
// -1 when the server cannot be asked.
int playingStreams();

// Samples heard of each frame's marked sound.
std::map<int, int> heardFrames(const std::vector<int16_t>& left);
// Frames marked, in the order heard, each run of one frame counted once.
std::vector<int> heardOrder(const std::vector<int16_t>& left);
// Samples from the first to the last one that is not silent, and the tone's frequency there
// from its zero crossings.
int64_t soundingSpan(const std::vector<int16_t>& left);
double toneFrequency(const std::vector<int16_t>& left);

} // namespace hw::test
