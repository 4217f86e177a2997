#pragma once
// What a listener at the sound server hears, on a clock outside the program: a recording of
// a sink's monitor through libpulse's asynchronous API, each chunk stamped with
// CLOCK_MONOTONIC at the read less the source's latency as the server reports it (the way
// FFmpeg's pulse input stamps its packets). A monitor's latency is negative (it gets the
// sound before the sink plays it), so a stamp is the time the sink plays the chunk.
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace bench {

// Nanoseconds on CLOCK_MONOTONIC.
int64_t monotonicNs();

class MonitorRecorder {
public:
    static constexpr int kRate = 44100;

    // Records source (default: the monitor of the sink the server plays to) at kRate, stereo.
    explicit MonitorRecorder(const QString& source = QStringLiteral("@DEFAULT_MONITOR@"));
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // False, with why(), when there is no server or the source cannot be recorded.
    bool usable() const { return why_.isEmpty(); }
    QString why() const { return why_; }

    struct Chunk {
        int64_t firstSample = 0; // index in the recording
        int64_t stampNs = 0;     // when its first sample is played
    };
    struct Recording {
        std::vector<int16_t> left; // the left channel
        std::vector<Chunk> chunks; // the stamped ones, in order
        int64_t holes = 0;         // samples the server lost (recorded as silence)
    };
    Recording snapshot() const;

private:
    struct State;
    std::unique_ptr<State> d;
    QString why_;
};

// When sample s of the recording is played: the median of the chunks' stamps (less their
// position) within five seconds either side. The null sink plays by the system's clock, so
// these all tell the same time; the median keeps a late read or a late timing report out.
int64_t playedAtNs(const MonitorRecorder::Recording& rec, int64_t sample);

// How far the chunks' stamps stray from a straight line over the recording (the server's
// sample clock against CLOCK_MONOTONIC): the p99 of |stamp − fit|, in microseconds.
double stampJitterUs(const MonitorRecorder::Recording& rec);

} // namespace bench
