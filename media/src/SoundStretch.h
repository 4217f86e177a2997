#pragma once
// Slows sound down with its pitch kept (libavfilter's atempo, twice for a quarter).
#include "hw/media/SoundOutput.h"

#include "hw/media/LibavHandles.h"

#include <cstdint>
#include <vector>

struct AVFilterGraph;
struct AVFilterContext;
struct AVFrame;

namespace hw::media {

class SoundStretch {
public:
    // speed: 0.5 or 0.25. usable() is false when the filter cannot be set up.
    SoundStretch(const SoundFormat& format, double speed);
    ~SoundStretch();
    SoundStretch(const SoundStretch&) = delete;
    SoundStretch& operator=(const SoundStretch&) = delete;

    bool usable() const { return sink_ != nullptr && !failed_; }
    // Takes frames in and appends what comes out (interleaved) to out.
    void push(const int16_t* frames, int count, std::vector<int16_t>& out);
    // No more input: appends the rest.
    void finish(std::vector<int16_t>& out);

private:
    void collect(std::vector<int16_t>& out);

    SoundFormat format_;
    LibavPtr<AVFilterGraph> graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    LibavPtr<AVFrame> frame_;
    int64_t pts_ = 0;
    bool failed_ = false;
};

} // namespace hw::media
