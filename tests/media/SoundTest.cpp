// What a listener hears of the clip device's plays, recorded from a null sink's monitor.
#include "MediaFixtures.h"
#include "SoundFixtures.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/SoundOutput.h"
#include "hw/media/TMediaPlayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>

using hw::PlayerInspection;
using hw::SoundFormat;
using hw::SoundOutput;
using hw::TMediaPlayer;
using hw::TMPModes;
using hw::TMPNotifyValues;
using namespace hw::test;

namespace {

constexpr int kFrames = 60;

// Counts the lines the clip device's sound writes to the log while it lives.
class SoundLogLines {
public:
    SoundLogLines()
        : previous_(qInstallMessageHandler(&SoundLogLines::take))
    {
        lines_ = 0;
    }
    ~SoundLogLines() { qInstallMessageHandler(previous_); }
    SoundLogLines(const SoundLogLines&) = delete;
    SoundLogLines& operator=(const SoundLogLines&) = delete;
    int count() const { return lines_; }

private:
    static void take(QtMsgType, const QMessageLogContext& c, const QString&)
    {
        if (c.category && QByteArray(c.category) == "hw.media.sound")
            ++lines_;
    }
    static inline std::atomic<int> lines_{0};
    QtMessageHandler previous_;
};

class Sound : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(writeSoundClip(marked(), kFrames, markedSound(kFrames)));
        ASSERT_TRUE(writeSoundClip(tone(), 30, toneSound(30, 440)));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override
    {
        sink_ = std::make_unique<RecordedSink>();
        if (!sink_->usable())
            GTEST_SKIP() << sink_->why().toStdString();
        panel_.resize(320, 240);
        player_.setDisplay(&panel_);
        log_.attach(player_);
    }
    void TearDown() override { player_.Close(); }

    static QString marked() { return dir_->filePath(QStringLiteral("Marked.avi")); }
    static QString tone() { return dir_->filePath(QStringLiteral("Tone.avi")); }
    void open(const QString& file)
    {
        player_.setFileName(file);
        player_.Open();
    }
    // Plays from..to and waits for its notice.
    void play(int from, int to)
    {
        const int notices = log_.count();
        player_.setStartPos(from);
        player_.setEndPos(to);
        player_.Play();
        EXPECT_TRUE(waitFor([&] { return log_.count() == notices + 1; }));
    }
    // Plays from..to, waits for its notice and for a fifth of a second of recording more,
    // and returns the left channel recorded meanwhile.
    std::vector<int16_t> hear(int from, int to, RecordedSink* sink = nullptr)
    {
        sink = sink ? sink : sink_.get();
        const int64_t mark = sink->recorded();
        play(from, to);
        EXPECT_TRUE(sink->waitForMore(kSoundRate / 5));
        return sink->left(mark);
    }
    // Plays from..to until what is heard passes `steady`, at most three times, and returns the
    // last hearing: on a loaded machine the sound server itself may now and then starve and
    // break a play, where a fault of placing breaks every one.
    std::vector<int16_t> hearSteadily(int from, int to,
                                      const std::function<bool(const std::vector<int16_t>&)>& steady)
    {
        std::vector<int16_t> heard;
        for (int attempt = 0; attempt < 3; ++attempt)
            if (steady(heard = hear(from, to)))
                break;
        return heard;
    }
    // After a failure of the server: plays until one is heard (the first ones may be silent
    // while the output connects again in the background).
    bool heardAgain(RecordedSink* sink = nullptr)
    {
        for (int attempt = 0; attempt < 20; ++attempt)
            if (!heardFrames(hear(10, 14, sink)).empty())
                return true;
        return false;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordedSink> sink_;
    QFrame panel_;
    TMediaPlayer player_;
    NoticeLog log_;
};

// Whether a hearing's sounding span is within tolerance of span samples.
std::function<bool(const std::vector<int16_t>&)> spanNear(double span, double tolerance)
{
    return [=](const std::vector<int16_t>& heard) {
        return std::abs(double(soundingSpan(heard)) - span) <= tolerance;
    };
}

QStringList lavfi(const QString& source)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), source};
}

// Overwrites the payload of the n-th sound chunk of an AVI with zeros: a packet no decoder
// takes.
bool damageSoundChunk(const QString& path, int n)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray data = f.readAll();
    qsizetype at = -1;
    for (int i = 0; i <= n; ++i)
        if ((at = data.indexOf("01wb", at + 1)) < 0 || at > data.indexOf("idx1"))
            return false;
    const qsizetype size = qFromLittleEndian<quint32>(data.constData() + at + 4);
    data.replace(at + 8, size, QByteArray(size, 0));
    return f.seek(0) && f.write(data) == data.size();
}

// The desktop's output, with the streams begun on it counted.
class CountedOutput : public SoundOutput {
public:
    explicit CountedOutput(int& begins)
        : begins_(begins)
    { }
    bool begin(const SoundFormat& format, int volume, const std::function<bool()>& overtaken) override
    {
        ++begins_;
        return out_->begin(format, volume, overtaken);
    }
    size_t writable() override { return out_->writable(); }
    void write(const int16_t* frames, size_t count) override { out_->write(frames, count); }
    void endOfData() override { out_->endOfData(); }
    int64_t heardUs() override { return out_->heardUs(); }
    void setVolume(int percent) override { out_->setVolume(percent); }
    void cut() override { out_->cut(); }
    void finish() override { out_->finish(); }

private:
    int& begins_;
    std::unique_ptr<SoundOutput> out_ = hw::makePulseSoundOutput();
};

} // namespace

TEST_F(Sound, PlaysGiveTheSoundOfTheirFramesOnlyAndCommandsCutIt)
{
    open(marked());
    // A range, a mid-clip start: that range's sound, all of each frame's, nothing else.
    const std::vector<int16_t> rec = hear(10, 14);
    std::map<int, int> heard = heardFrames(rec);
    ASSERT_EQ(heard.size(), 5u);
    for (int k = 10; k <= 14; ++k)
        EXPECT_NEAR(heard[k], kSamplesPerFrame, kSamplesPerFrame / 50) << k;
    EXPECT_EQ(player_.Position(), 14);

    // A one-frame play: at most that frame's sound.
    heard = heardFrames(hear(30, 30));
    EXPECT_LE(heard.size(), 1u);
    EXPECT_LE(heard[30], kSamplesPerFrame + kSamplesPerFrame / 50);

    // A stop cuts the sound at once; a seek is silent.
    int64_t mark = sink_->recorded();
    player_.setStartPos(40);
    player_.setEndPos(59);
    player_.Play();
    ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(player_) >= 44; }));
    player_.Stop();
    const int stoppedAt = player_.Position();
    player_.setPosition(20);
    ASSERT_TRUE(sink_->waitForMore(kSoundRate / 5));
    heard = heardFrames(sink_->left(mark));
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.begin()->first, 40);
    EXPECT_LE(heard.rbegin()->first, stoppedAt + 1) << "sound went on after the stop";
    EXPECT_EQ(heard.count(20), 0u);

    // A repeating play starts its sound over with its pictures, until stopped.
    player_.setRepeat(true);
    mark = sink_->recorded();
    player_.setStartPos(50);
    player_.setEndPos(51);
    player_.Play();
    ASSERT_TRUE(sink_->waitForMore(kSamplesPerFrame * 7));
    player_.Stop();
    ASSERT_TRUE(sink_->waitForMore(kSoundRate / 5));
    const std::vector<int> order = heardOrder(sink_->left(mark));
    ASSERT_GE(order.size(), 4u);
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], i % 2 ? 51 : 50) << i;
    player_.setRepeat(false);

    // Muted: silence, and the play still runs its course.
    player_.setMuted(true);
    EXPECT_TRUE(heardFrames(hear(10, 14)).empty());
    EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvSuccessful);
}

TEST_F(Sound, SlowPlaysKeepThePitchAndLastLonger)
{
    open(tone());
    const std::vector<int16_t> normal = hear(5, 10);
    EXPECT_NEAR(double(soundingSpan(normal)), 6.0 * kSamplesPerFrame, kSamplesPerFrame / 4.0);
    EXPECT_NEAR(toneFrequency(normal), 440, 440 * 0.02);
    for (const double speed : {0.5, 0.25}) {
        player_.setSpeed(speed);
        const std::vector<int16_t> slow = hear(5, 10);
        // The filter fades in and out over a few hundredths of a second.
        EXPECT_NEAR(double(soundingSpan(slow)), 6.0 * kSamplesPerFrame / speed,
                    0.05 * 6.0 * kSamplesPerFrame / speed)
            << speed;
        EXPECT_NEAR(toneFrequency(slow), 440, 440 * 0.02) << speed;
    }
}

TEST_F(Sound, TheFormsAuthorsUsedAllPlay)
{
    for (const char* codec : {"pcm_u8", "adpcm_ima_wav", "adpcm_ms", "libmp3lame"}) {
        const QString file = dir_->filePath(QString::fromLatin1(codec) + QStringLiteral(".avi"));
        ASSERT_TRUE(writeSoundClip(file, 30, toneSound(30, 440), QString::fromLatin1(codec))) << codec;
        open(file);
        const std::vector<int16_t> heard = hear(5, 14);
        EXPECT_NEAR(double(soundingSpan(heard)), 10.0 * kSamplesPerFrame, kSamplesPerFrame) << codec;
        EXPECT_NEAR(toneFrequency(heard), 440, 440 * 0.02) << codec;
    }
}

TEST_F(Sound, WithoutAServerThePicturesPlayOnWithOneLogLine)
{
    const SoundLogLines lines;
    const int64_t mark = sink_->recorded();
    {
        const ServerNamed named(QStringLiteral("unix:/nonexistent/hacklewright/native"));
        open(marked());
        for (const int end : {5, 8}) {
            player_.setStartPos(end - 3);
            player_.setEndPos(end);
            player_.Play();
            ASSERT_TRUE(waitFor([&] {
                return player_.Mode() == TMPModes::mpStopped
                    && PlayerInspection::displayedFrame(player_) == end;
            }));
        }
    }
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));
    EXPECT_EQ(lines.count(), 1);
    EXPECT_TRUE(sink_->waitForMore(kSoundRate / 10));
    EXPECT_TRUE(heardFrames(sink_->left(mark)).empty());
}

TEST_F(Sound, AServerThatNeverAnswersCostsOnePlayItsSoundAndIsTriedAgain)
{
    const SoundLogLines lines;
    const SilentServer silent;
    ASSERT_FALSE(silent.address().isEmpty());
    {
        const ServerNamed named(silent.address());
        open(marked()); // connecting starts here
        // A 2-s play runs its course silently; the next one does not wait for that server.
        QElapsedTimer clock;
        clock.start();
        play(0, 29);
        const qint64 firstMs = clock.restart();
        play(30, 32);
        std::printf("A server that never answers: a 2-s play took %lld ms, the next 3 frames %lld ms\n",
                    static_cast<long long>(firstMs), static_cast<long long>(clock.elapsed()));
        EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvSuccessful);
        EXPECT_EQ(PlayerInspection::displayedFrame(player_), 32);
    }
    EXPECT_TRUE(heardAgain());
    EXPECT_EQ(lines.count(), 1);
}

TEST_F(Sound, AServerThatGoesAwayMidPlayLeavesThePlaySilentAndIsTriedAgain)
{
    PrivateServer server;
    if (!server.start())
        GTEST_SKIP() << "cannot start a sound server of the test's own";
    const SoundLogLines lines;
    const ServerNamed named(server.address());
    auto sink = std::make_unique<RecordedSink>();
    ASSERT_TRUE(sink->usable()) << sink->why().toStdString();
    open(marked());
    const int notices = log_.count();
    player_.setStartPos(0);
    player_.setEndPos(kFrames - 1);
    player_.Play();
    ASSERT_TRUE(waitFor([&] { return heardFrames(sink->left()).size() >= 3; }));
    server.kill();
    ASSERT_TRUE(waitFor([&] { return log_.count() == notices + 1; }));
    EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(PlayerInspection::displayedFrame(player_), kFrames - 1);

    sink.reset();
    ASSERT_TRUE(server.start());
    sink = std::make_unique<RecordedSink>();
    ASSERT_TRUE(sink->usable()) << sink->why().toStdString();
    EXPECT_TRUE(heardAgain(sink.get()));
    EXPECT_EQ(lines.count(), 1);
}

TEST_F(Sound, PlaysEndCorkedAndAVolumeChangeIsHeardWithinTheFrameShown)
{
    // Told that the play is over, the output corks its stream.
    const auto output = hw::makePulseSoundOutput();
    ASSERT_TRUE(output->begin(hw::SoundFormat{}, 100, [] { return false; }));
    const std::vector<int16_t> tone = toneSound(3, 440);
    output->write(tone.data(), std::min(output->writable(), tone.size() / 2));
    EXPECT_TRUE(waitFor([] { return playingStreams() == 1; }));
    output->finish();
    EXPECT_TRUE(waitFor([] { return playingStreams() == 0; }));

    // A play's stream corks itself once heard to its end.
    open(marked());
    hear(10, 14);
    EXPECT_TRUE(waitFor([] { return playingStreams() == 0; }));

    // Muted mid-play: the sound stops with the frame on show or the next.
    const int64_t mark = sink_->recorded();
    int mutedAt = -1;
    player_.setStartPos(0);
    player_.setEndPos(kFrames - 1);
    player_.Play();
    ASSERT_TRUE(waitFor([&] {
        const int shown = PlayerInspection::displayedFrame(player_);
        if (shown < 20)
            return false;
        player_.setMuted(true);
        mutedAt = shown;
        return true;
    }));
    ASSERT_TRUE(waitFor([&] { return player_.Mode() == TMPModes::mpStopped; }));
    ASSERT_TRUE(sink_->waitForMore(kSoundRate / 5));
    const std::map<int, int> heard = heardFrames(sink_->left(mark));
    ASSERT_FALSE(heard.empty());
    EXPECT_GE(heard.rbegin()->first, 19);
    EXPECT_LE(heard.rbegin()->first, mutedAt + 1);
}

TEST_F(Sound, TracksArePlacedByTheirTimestamps)
{
    // A track that starts 0.3 s after the pictures: the first second's play sounds for its
    // last 0.7 s.
    const QString late = dir_->filePath(QStringLiteral("Late.mkv"));
    ASSERT_TRUE(muxSoundClip(
        late, 30,
        QStringList{QStringLiteral("-itsoffset"), QStringLiteral("0.3")}
            + lavfi(QStringLiteral("aevalsrc=0.4*sin(2*PI*440*t):s=44100:d=1.7")),
        {QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), QStringLiteral("-ac"), QStringLiteral("2")}));
    open(late);
    std::vector<int16_t> heard = hearSteadily(0, 14, spanNear(0.7 * kSoundRate, kSamplesPerFrame / 4.0));
    EXPECT_NEAR(double(soundingSpan(heard)), 0.7 * kSoundRate, kSamplesPerFrame / 4.0);
    EXPECT_NEAR(toneFrequency(heard), 440, 440 * 0.02);

    // AAC in MP4 begins with its encoder's priming, which the decoder leaves out: a tone
    // that fades in at 0.5 s is heard from 0.5 s.
    const QString primed = dir_->filePath(QStringLiteral("Primed.mp4"));
    ASSERT_TRUE(muxSoundClip(
        primed, 30,
        lavfi(QStringLiteral(
            "aevalsrc=0.4*sin(2*PI*440*t)*if(lt(t\\,0.5)\\,0\\,min(1\\,(t-0.5)*50)):s=44100:d=2")),
        {QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-ac"), QStringLiteral("2")}));
    open(primed);
    EXPECT_NEAR(double(soundingSpan(hearSteadily(0, 14, spanNear(0.5 * kSoundRate, kSamplesPerFrame / 4.0)))),
                0.5 * kSoundRate, kSamplesPerFrame / 4.0);

    // A stereo 44.1 kHz MP3 followed by a mono 22.05 kHz one: the play goes on into the
    // second part's sound.
    const QString first = dir_->filePath(QStringLiteral("a.mp3"));
    const QString second = dir_->filePath(QStringLiteral("b.mp3"));
    const QString joined = dir_->filePath(QStringLiteral("ab.mp3"));
    ASSERT_TRUE(ffmpeg(lavfi(QStringLiteral("sine=f=440:r=44100:d=2"))
                       + QStringList{QStringLiteral("-ac"), QStringLiteral("2"), first}));
    ASSERT_TRUE(ffmpeg(lavfi(QStringLiteral("sine=f=660:r=22050:d=2"))
                       + QStringList{QStringLiteral("-ac"), QStringLiteral("1"), second}));
    {
        QFile a(first), b(second), ab(joined);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)
                    && ab.open(QIODevice::WriteOnly));
        ab.write(a.readAll() + b.readAll());
    }
    const QString changing = dir_->filePath(QStringLiteral("Changing.avi"));
    ASSERT_TRUE(muxSoundClip(changing, 60, {QStringLiteral("-i"), joined},
                             {QStringLiteral("-c:a"), QStringLiteral("copy")}));
    open(changing);
    heard = hearSteadily(20, 39, spanNear(20.0 * kSamplesPerFrame, kSamplesPerFrame));
    EXPECT_NEAR(double(soundingSpan(heard)), 20.0 * kSamplesPerFrame, kSamplesPerFrame);
    heard = hearSteadily(32, 57, [](const std::vector<int16_t>& h) {
        return spanNear(26.0 * kSamplesPerFrame, kSamplesPerFrame)(h)
            && std::abs(toneFrequency(h) - 660) <= 660 * 0.02;
    });
    EXPECT_NEAR(double(soundingSpan(heard)), 26.0 * kSamplesPerFrame, kSamplesPerFrame);
    EXPECT_NEAR(toneFrequency(heard), 660, 660 * 0.02);

    // A packet no decoder takes costs its own span: the sound after it keeps its time, and
    // the tone still ends 1.5 s in.
    const QString intact = dir_->filePath(QStringLiteral("Intact.avi"));
    const QString damaged = dir_->filePath(QStringLiteral("Damaged.avi"));
    ASSERT_TRUE(muxSoundClip(
        intact, 30, lavfi(QStringLiteral("sine=f=440:r=44100:d=1.5")),
        {QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-ac"), QStringLiteral("2")}));
    ASSERT_TRUE(QFile::copy(intact, damaged));
    ASSERT_TRUE(damageSoundChunk(damaged, 20));
    open(intact);
    const int64_t whole = soundingSpan(hearSteadily(0, 29, spanNear(1.5 * kSoundRate, kSamplesPerFrame)));
    EXPECT_NEAR(double(whole), 1.5 * kSoundRate, kSamplesPerFrame);
    open(damaged);
    EXPECT_NEAR(double(soundingSpan(hearSteadily(0, 29, spanNear(double(whole), kSamplesPerFrame / 4.0)))),
                double(whole), kSamplesPerFrame / 4.0);
}

TEST_F(Sound, MutedPlaysUnmuteAtOnceStepsAreSilentAndLongClipsHoldLittle)
{
    int begins = 0;
    player_.setSoundOutput([&] { return std::make_unique<CountedOutput>(begins); });
    open(marked());

    // Unmuted half-way, a play is heard from then on.
    player_.setMuted(true);
    const int64_t mark = sink_->recorded();
    const int notices = log_.count();
    player_.setStartPos(0);
    player_.setEndPos(59);
    player_.Play();
    ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(player_) >= 20; }));
    player_.setMuted(false);
    ASSERT_TRUE(waitFor([&] { return log_.count() == notices + 1; }));
    ASSERT_TRUE(sink_->waitForMore(kSoundRate / 5));
    std::map<int, int> heard = heardFrames(sink_->left(mark));
    EXPECT_EQ(heard.count(10), 0u) << "heard while muted";
    for (const int k : {45, 50, 55})
        EXPECT_NEAR(heard[k], kSamplesPerFrame, kSamplesPerFrame / 50) << k;

    // A step neither sounds nor starts a stream.
    const int before = begins;
    EXPECT_TRUE(heardFrames(hear(30, 30)).empty());
    EXPECT_EQ(begins, before);

    // Two seconds of a ten-minute clip: the sound held ahead of the listener stays within
    // the window, not the clip's length.
    const QString longClip = dir_->filePath(QStringLiteral("Long.avi"));
    ASSERT_TRUE(ffmpeg(lavfi(QStringLiteral("testsrc=size=64x48:rate=15:duration=600"))
                       + lavfi(QStringLiteral("sine=f=440:r=44100:d=600"))
                       + QStringList{QStringLiteral("-c:v"), QStringLiteral("mjpeg"), QStringLiteral("-c:a"),
                                     QStringLiteral("adpcm_ima_wav"), QStringLiteral("-ac"),
                                     QStringLiteral("2"), longClip}));
    open(longClip);
    EXPECT_NEAR(double(soundingSpan(hear(4500, 4529))), 30.0 * kSamplesPerFrame, kSamplesPerFrame / 4.0);
    const int64_t held = PlayerInspection::playbackStats(player_).soundHeldPeak;
    EXPECT_GT(held, 0);
    EXPECT_LE(held, 2 * kSoundRate);
}
