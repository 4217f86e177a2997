#pragma once
// The default microphone of the desktop's sound server (PULSE_SOURCE and the like honoured,
// as its clients do), as 16 kHz mono. Runs its own main loop on the caller's thread: open()
// and read() wait for the server at most as long as they are told, and interrupt() from any
// thread ends a wait at once.
#include <atomic>
#include <cstdint>
#include <vector>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace hw::listen {

class PulseSoundInput {
public:
    PulseSoundInput();
    ~PulseSoundInput();
    PulseSoundInput(const PulseSoundInput&) = delete;
    PulseSoundInput& operator=(const PulseSoundInput&) = delete;

    // Connects and starts capturing; false when there is no server or no source, the server
    // refuses, or it does not answer within two seconds.
    bool open();
    // Appends what has been captured to out, waiting up to 100 ms for it; heardUs is the
    // steady-clock time (microseconds) at which the first appended sample reached the
    // microphone. False once the server or the source has gone (or interrupted).
    bool read(std::vector<int16_t>& out, int64_t& heardUs);
    void interrupt();

private:
    bool iterate(int timeoutMs);
    pa_mainloop* loop_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::atomic<bool> interrupted_{false};
};

} // namespace hw::listen
