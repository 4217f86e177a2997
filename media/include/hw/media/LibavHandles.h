#pragma once
// Owners of FFmpeg's handles: LibavPtr<T> frees its handle with FFmpeg's own function for
// that kind when it goes. An AVFormatContext there is one opened for reading; a file being
// written is held by OutputFormatPtr, which closes its I/O before freeing it. The header
// names FFmpeg's types without including FFmpeg.
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

// A muxer's context (avformat_alloc_output_context2), with the file it writes to if open.
struct OutputFormatFree {
    void operator()(AVFormatContext* handle) const;
};

using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatFree>;

} // namespace hw::media
