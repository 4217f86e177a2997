// The record of what the program played: placed on the steady clock by the output's own
// heard position, at the volume the server plays it, silent once cut.
#include "hw/listen/PlayedSound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace hw::test {

namespace {

int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// An output whose listener has heard what the test says.
class StagedOutput : public SoundOutput {
public:
    int64_t heard = 0;
    bool begin(const SoundFormat&, int, const std::function<bool()>&) override { return true; }
    size_t writable() override { return 1 << 20; }
    void write(const int16_t*, size_t) override { }
    void endOfData() override { }
    int64_t heardUs() override { return heard; }
    void setVolume(int) override { }
    void cut() override { }
};

double rms(const std::vector<int16_t>& s)
{
    double sum = 0;
    for (int16_t v : s)
        sum += double(v) * v;
    return std::sqrt(sum / double(s.size()));
}

} // namespace

TEST(PlayedSound, IsReadWhereTheListenerHeardItAtItsVolume)
{
    auto record = std::make_shared<PlayedSound>();
    auto inner = std::make_unique<StagedOutput>();
    StagedOutput& staged = *inner;
    const auto output = PlayedSound::tap(record, std::move(inner));
    ASSERT_TRUE(output->begin({44100, 2}, 100, [] { return false; }));
    // A second of silence, then a second of a 500 Hz tone at full height, stereo.
    std::vector<int16_t> frames(44100 * 2 * 2, 0);
    for (size_t i = 44100; i < 88200; ++i)
        frames[2 * i] = frames[2 * i + 1] = int16_t(10000 * std::sin(2 * M_PI * 500 * double(i) / 44100));
    output->write(frames.data(), 88200);
    staged.heard = 500'000; // half a second heard now
    output->heardUs();
    const int64_t start = nowUs() - 500'000; // when the listener heard the first frame

    std::vector<int16_t> read(8000);
    record->read(start + 200'000, read.data(), read.size()); // 0.2-0.7 s: silence
    EXPECT_LT(rms(read), 1);
    record->read(start + 1'200'000, read.data(), read.size()); // 1.2-1.7 s: the tone
    EXPECT_NEAR(rms(read), 10000 / std::sqrt(2), 300);
    record->read(start - 1'000'000, read.data(), read.size()); // before the play
    EXPECT_LT(rms(read), 1);

    output->setVolume(50); // the server's cubic scale: an eighth of the height
    record->read(start + 1'200'000, read.data(), 4000);
    EXPECT_NEAR(rms(std::vector<int16_t>(read.begin(), read.begin() + 4000)), 10000 / std::sqrt(2) / 8, 100);
    output->cut();
    record->read(start + 1'200'000, read.data(), 4000);
    EXPECT_LT(rms(std::vector<int16_t>(read.begin(), read.begin() + 4000)), 1);
}

} // namespace hw::test
