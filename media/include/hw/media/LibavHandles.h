#pragma once
// Owners of FFmpeg's handles: LibavPtr<T> frees its handle with FFmpeg's own function for
// that kind when it goes. The header names FFmpeg's types without including FFmpeg.
#include <memory>

struct AVCodecContext;
struct AVCodecParserContext;
struct AVFilterGraph;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
struct SwsContext;

namespace hw::media {

struct LibavFree {
    void operator()(AVFormatContext* handle) const;
    void operator()(AVCodecContext* handle) const;
    void operator()(AVCodecParserContext* handle) const;
    void operator()(AVPacket* handle) const;
    void operator()(AVFrame* handle) const;
    void operator()(SwsContext* handle) const;
    void operator()(SwrContext* handle) const;
    void operator()(AVFilterGraph* handle) const;
};

template <typename Handle>
using LibavPtr = std::unique_ptr<Handle, LibavFree>;

using FramePtr = LibavPtr<AVFrame>;

} // namespace hw::media
