#pragma once
// The sound of a clip, decoded whole into memory from its start, without gaps (the time
// stamps AVI gives block-coded sound are not to be trusted), as interleaved signed 16-bit samples (one
// or two channels, the file's own rate), so that any frame range can be played from the
// sample it starts on.
#include "hw/media/SoundOutput.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace hw::media {

class SoundTrack {
public:
    // Null when the file has no sound or it cannot be decoded; why says which (empty when
    // there is simply no sound stream).
    static std::unique_ptr<SoundTrack> load(const QString& path, QString& why);

    const SoundFormat& format() const { return format_; }
    int64_t frames() const { return int64_t(samples_.size()) / format_.channels; }
    // Frame i (one sample per channel); silence past the end.
    const int16_t* frame(int64_t i) const;

private:
    SoundFormat format_;
    std::vector<int16_t> samples_;
    std::vector<int16_t> silence_ = std::vector<int16_t>(2, 0);
};

} // namespace hw::media
