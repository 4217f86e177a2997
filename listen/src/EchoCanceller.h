#pragma once
// Takes the program's own sound out of what the microphone hears (speexdsp's echo canceller
// with its residual-echo suppressor), 10 ms at a time at 16 kHz.
#include <cstdint>

struct SpeexEchoState_;
struct SpeexPreprocessState_;

namespace hw::listen {

class EchoCanceller {
public:
    static constexpr int kFrame = 160; // samples per call
    EchoCanceller();
    ~EchoCanceller();
    EchoCanceller(const EchoCanceller&) = delete;
    EchoCanceller& operator=(const EchoCanceller&) = delete;
    // heard: what the microphone took; played: what the program played over the same 10 ms,
    // read a little later than the microphone's time (the canceller models a delay, never an
    // advance); out: heard with the echo of played removed.
    void process(const int16_t* heard, const int16_t* played, int16_t* out);

private:
    void addNoiseFloor(int16_t* samples);

    SpeexEchoState_* echo_;
    SpeexPreprocessState_* residual_;
    int quietFrames_ = 0; // frames since the program last played
    uint32_t noiseState_ = 1;
};

} // namespace hw::listen
