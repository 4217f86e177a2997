#include "EchoCanceller.h"

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>

#include <algorithm>

namespace hw::listen {

namespace {
constexpr int kRate = 16000;
// The longest echo the canceller models: the room's own reverberation, the lead at which the
// program's sound is read, and the uncertainty of the two clocks' placing. Measured on phrases
// said over narration that returns 60 ms late with a room's reverberation: 85 % heard with
// 200 ms, 97 % with 300 ms, 98 % with 500 ms; with the echo 100 ms late, 98 % at 500 ms, fewer
// at 300 ms. The canceller's share of the listener's time stays small.
constexpr int kTail = kRate / 2;
// A faint noise under what the canceller passes on (RMS in sample steps; about -55 dBFS). The
// recogniser is thrown far more by the faint remains of the narration in otherwise silent
// stretches than by steady noise, which hides them. Measured on two minutes of the demo
// lessons' narration, cancelled: at 30 and 45 the remains were spotted as possible phrases
// often enough to take a tenth of a core deciding that they were none; from 50 to 100 never
// (nor at 60 in all 22 minutes). Phrases said over narration were heard alike from 30 to 100.
constexpr double kNoiseFloor = 60;
} // namespace

EchoCanceller::EchoCanceller()
    : echo_(speex_echo_state_init(kFrame, kTail))
    , residual_(speex_preprocess_state_init(kFrame, kRate))
{
    int rate = kRate;
    speex_echo_ctl(echo_, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
    // The preprocessor suppresses what the canceller leaves of the echo. Its gains are applied
    // only with its noise suppression on, so that is on, but with a floor of 0 dB: the
    // recogniser removes steady noise itself. Its echo suppression is kept mild (-12 dB, -3 dB
    // while someone speaks): measured on phrases said over narration, the default -40 dB takes
    // so much of the phrases with the echo that a quarter fewer are heard.
    int on = 1, off = 0, noiseFloorDb = 0, echoFloorDb = -12, echoFloorSpeakingDb = -3;
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_DENOISE, &on);
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_NOISE_SUPPRESS, &noiseFloorDb);
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_ECHO_SUPPRESS, &echoFloorDb);
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_ECHO_SUPPRESS_ACTIVE, &echoFloorSpeakingDb);
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_AGC, &off);
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_ECHO_STATE, echo_);
}

EchoCanceller::~EchoCanceller()
{
    speex_preprocess_state_destroy(residual_);
    speex_echo_state_destroy(echo_);
}

void EchoCanceller::process(const int16_t* heard, const int16_t* played, int16_t* out)
{
    const bool playing = std::any_of(played, played + kFrame, [](int16_t s) { return s != 0; });
    quietFrames_ = playing ? 0 : quietFrames_ + 1;
    // Long after the program last played there is no echo to take out: the microphone is
    // passed on untouched, and the canceller keeps what it learnt of the room.
    if (quietFrames_ > kTail / kFrame) {
        std::copy(heard, heard + kFrame, out);
        return;
    }
    speex_echo_cancellation(echo_, heard, played, out);
    speex_preprocess_run(residual_, out);
    addNoiseFloor(out);
}

void EchoCanceller::addNoiseFloor(int16_t* samples)
{
    for (int i = 0; i < kFrame; ++i) {
        // A sum of four uniform draws on [-0.5, 0.5) (standard deviation 1/sqrt(3)), near enough
        // to Gaussian, from a generator of our own: the same sound is always heard alike.
        double sum = 0;
        for (int k = 0; k < 4; ++k) {
            noiseState_ = noiseState_ * 1664525u + 1013904223u;
            sum += static_cast<double>(noiseState_ >> 8) / 16777216.0 - 0.5;
        }
        const double sample = samples[i] + sum * kNoiseFloor * 1.7320508;
        samples[i] = static_cast<int16_t>(std::clamp(sample, -32768.0, 32767.0));
    }
}

} // namespace hw::listen
