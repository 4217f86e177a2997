#include "EchoCanceller.h"

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>

#include <algorithm>

namespace hw::listen {

namespace {
constexpr int kRate = 16000;
// The longest echo the canceller models: the room's own reverberation and the uncertainty of
// the two clocks' placing.
constexpr int kTail = kRate / 5;
} // namespace

EchoCanceller::EchoCanceller()
    : echo_(speex_echo_state_init(kFrame, kTail))
    , residual_(speex_preprocess_state_init(kFrame, kRate))
{
    int rate = kRate;
    speex_echo_ctl(echo_, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
    // The recogniser removes steady noise itself; the preprocessor only suppresses what the
    // canceller leaves of the echo.
    int off = 0;
    speex_preprocess_ctl(residual_, SPEEX_PREPROCESS_SET_DENOISE, &off);
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
}

} // namespace hw::listen
