#pragma once
// One open video file: the container, the video stream's decoder and its slot table.
// Each thread that decodes owns its own VideoInput.
#include "PictureTurn.h"
#include "SlotTable.h"
#include "hw/media/LibavHandles.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

struct AVFrame;
struct AVPacket;
struct AVRational;

namespace hw::media {

struct DecoderTuning {
    int threads = 0;             // 0: as many as the library likes
    bool fastButInexact = false; // skip the loop filter: for scans that only need the order
};

class VideoInput {
public:
    VideoInput(const VideoInput&) = delete;
    VideoInput& operator=(const VideoInput&) = delete;

    // Opens the file and its video decoder; on failure returns null with error set to a
    // DeviceError code. Reads only headers and the container's index; a slot table built
    // by an earlier open of the same file can be passed in to skip that step.
    static std::unique_ptr<VideoInput> open(const QString& path, const DecoderTuning& tuning, uint32_t& error,
                                            std::shared_ptr<const SlotTable> known = {});

    std::shared_ptr<const SlotTable> slotTable() const { return slots_; }

    double framesPerSecond() const { return fps_; }
    // The picture as it is shown: turned upright and with its pixels' true shape (wider or
    // narrower than the coded picture, never taller).
    QSize frameSize() const;
    // The picture as the decoder puts it out.
    QSize codedSize() const;
    // Width over height of one coded pixel.
    double pixelAspect() const { return pixelAspect_; }
    // What a decoded picture says of its own shape: its pixels' shape, heeded where the
    // container names none, and a display matrix of its own (an H.264 display orientation
    // message), which stands over the container's, as the ffmpeg program takes them. True
    // when that changed the shape of the pictures shown.
    bool learnShape(const AVFrame* picture);
    PictureTurn turn() const { return turn_; }
    // The codec can reorder frames (B-frames); whether this stream does is another matter.
    bool codecMayReorder() const { return mayReorder_; }
    // The decoder's reorder delay as it stands now.
    int decoderDelay() const;

    // Positions the demuxer so that the next packets start at the keyframe slot (or
    // earlier) and empties the decoder.
    bool seekToKeyframe(int slot);
    // Reads the next packet of the video stream, tagged with its slot in pts. Returns the
    // slot (>= 0), -1 for a packet whose slot is unknown, -2 at the end, -3 on a read error.
    int readPacket(AVPacket* packet);
    // Decoder interface: send (nullptr drains) and receive, as in libavcodec.
    int send(const AVPacket* packet);
    int receive(AVFrame* frame);
    // Whether the decoder can be told to leave out pictures no other picture refers to
    // (and still put out every other picture bit for bit as it would).
    bool canSkipNonReference() const { return canSkipNonRef_; }
    // Leave out such pictures in the packets sent from now on, or decode everything again.
    void skipNonReference(bool skip);

private:
    VideoInput() = default;
    bool buildSlots(uint32_t& error);
    bool notePixelAspect(AVRational sar);

    LibavPtr<AVFormatContext> fmt_;
    LibavPtr<AVCodecContext> dec_; // after fmt_: the decoder goes first
    int stream_ = -1;
    double fps_ = 15;
    double pixelAspect_ = 1;
    bool aspectFromContainer_ = false;
    PictureTurn turn_;
    bool mayReorder_ = false;
    bool canSkipNonRef_ = false;
    std::shared_ptr<const SlotTable> slots_;
};

} // namespace hw::media
