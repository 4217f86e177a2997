#pragma once
// Decides when the splash has waited long enough for the completion notice of its video.
// A play that keeps moving is left alone for as long as it lasts; once the device stops
// (or stalls) without having sent its notice, a short grace follows and then the splash
// goes on by itself, so a broken video or a lost notice cannot keep the program from
// starting.
#include <QtGlobal>

#include <cstdint>
#include <functional>

namespace hw {

class SplashWatchdog {
public:
    // Milliseconds on a monotonic clock.
    using Clock = std::function<qint64()>;

    struct Limits {
        qint64 graceMs = 4000;  // after the device has stopped playing
        qint64 stallMs = 15000; // while it says it plays but the picture does not move
    };

    SplashWatchdog();
    explicit SplashWatchdog(Limits limits, Clock clock = Clock{});

    // Starts watching a play that has just been started.
    void start();
    void stop();
    bool running() const { return running_; }

    // Called now and then with what the device reports; true once the notice is overdue.
    bool overdue(bool playing, int32_t position);

private:
    qint64 now() const;

    Limits limits_;
    Clock clock_;
    bool running_ = false;
    int32_t highestPosition_ = 0;
    bool seenPosition_ = false;
    qint64 lastProgress_ = 0;
    qint64 stoppedSince_ = -1;
};

} // namespace hw
