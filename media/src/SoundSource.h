#pragma once
// The sound of a clip read as a stream, on the device's sound thread: from any point of the
// clip's time line (the origin its pictures use: frame k is at k / fps from the video's
// first picture), as interleaved signed 16-bit samples in one format fixed when the source
// opens. Each decoded frame goes where its timestamp puts it: silence fills a gap (a track
// that starts late, a damaged packet), an overlap is trimmed, and a frame without a
// timestamp follows on from the one before. A change of rate or channels mid-stream is
// converted into the fixed format. No more than one decoded frame is held at a time.
#include "hw/media/LibavHandles.h"
#include "hw/media/SoundOutput.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct AVFrame;

namespace hw::media {

class SoundSource {
public:
    using Abandoned = std::function<bool()>;

    // Null when the file has no sound (why empty) or its sound cannot be decoded (why says
    // so). abandoned() is asked while the file is read: true gives up at once (why empty).
    static std::unique_ptr<SoundSource> open(const QString& path, Abandoned abandoned, QString& why);
    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;

    const SoundFormat& format() const { return format_; }
    // The next read starts at frame at of the time line (at the format's rate).
    void seek(int64_t at);
    // Reads count frames on from the last read (silence before and after the sound); false
    // when abandoned, out then holds silence where nothing was read.
    bool read(int16_t* out, int count);
    // Frames decoded and converted but not yet read.
    int64_t buffered() const;

private:
    SoundSource() = default;
    void reposition(int64_t at);
    bool findOrigin(int video);
    // Decodes the next frame into carry_; false at the end of the sound or when abandoned.
    bool decodeNext();
    bool convert(AVFrame* frame);
    bool readPacket();

    // Freed from the last up: the decoder before the file it reads, and the file before the
    // check its interrupt callback calls.
    Abandoned abandoned_;
    LibavPtr<AVFormatContext> fmt_;
    LibavPtr<AVCodecContext> dec_;
    LibavPtr<SwrContext> swr_;
    LibavPtr<AVPacket> packet_;
    LibavPtr<AVFrame> frame_;
    int stream_ = -1;
    double timeBase_ = 0;      // seconds per timestamp unit of the sound stream
    double originSeconds_ = 0; // the time of the video's first picture
    SoundFormat format_;

    // What the converter takes now; a frame that differs sets it up again.
    int inRate_ = 0;
    int inChannels_ = 0;
    uint64_t inLayoutMask_ = 0;
    int inSampleFormat_ = -1;

    int64_t position_ = 0;  // next frame of the time line a read gives
    int64_t carryAt_ = 0;   // time-line frame of carry_'s first frame
    int64_t followOn_ = -1; // where the next frame goes when it has no timestamp; -1 unknown
    int64_t tolerance_ = 0; // a timestamp this close to followOn_ is taken as following on
    std::vector<int16_t> carry_;
    bool ended_ = false;   // no more frames to decode
    bool drained_ = false; // the decoder was told the end
};

} // namespace hw::media
