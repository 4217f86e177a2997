#pragma once
// Finds the picture of any frame exactly, on the device's worker thread: decodes from the
// right keyframe, numbers the decoder's output in display order, keeps the decoder
// running for the next frame, and caches pictures at panel size for stepping back.
#include "FrameOrder.h"
#include "VideoInput.h"
#include "hw/Narrow.h"
#include "hw/media/LibavHandles.h"

#include <QImage>
#include <QSize>

#include <deque>
#include <functional>
#include <map>
#include <memory>

struct AVFrame;

namespace hw::media {

class FrameEngine {
public:
    enum class Result { Ok, Aborted, Failed };
    using AbortCheck = std::function<bool()>;

    FrameEngine(std::unique_ptr<VideoInput> input, std::shared_ptr<FrameOrder> order, QString path);

    int length() const { return order_->length(); }
    double framesPerSecond() const { return input_->framesPerSecond(); }
    // Size of the picture when fitted into a panel of the given size (device pixels),
    // keeping its aspect; the picture's own size when the panel is empty.
    QSize fittedSize(const QSize& panel) const;

    // The picture shown at frame (0 .. length-1), scaled to fit panel.
    Result picture(int frame, const QSize& panel, const AbortCheck& aborted, QImage& out);
    // Work for idle time: scales the frames decoded on the way to the last picture into the
    // cache, and decodes the frames before the cached ones so that stepping back stays
    // quick. Returns false when there is nothing left to do.
    bool idleWork(const QSize& panel, const AbortCheck& aborted);
    // Limits the cache of scaled pictures (bytes).
    void setCacheLimit(size_t bytes) { cacheLimit_ = bytes; }
    int cachedFrames() const { return intSize(cache_); }
    void dropCache();

private:
    struct Decoded {
        FramePtr frame;
        int first = -1; // frames this picture is shown at: first .. last
        int last = -1;
    };
    struct Cached {
        int last;
        QImage image;
    };

    bool cacheLookup(int frame, const QSize& size, QImage& out);
    void cacheStore(int first, int last, QImage image);
    QImage scale(const AVFrame* decoded, const QSize& size);
    int startGopFor(int frame) const;
    bool canContinueTo(int frame) const;
    bool startRun(int gop);
    // Decodes until the picture of frame is at the front of ahead_ (found points at it) or,
    // when it cannot be had, found is the nearest picture before it. Runs of the decoder
    // (runTo) start at the frame's keyframe; a run that passes the frame is retried from
    // an earlier keyframe (retryEarlier); a stream that keeps renumbering is given up on.
    Result decodeTo(int frame, const AbortCheck& aborted, const AVFrame*& found);
    // How one run of the decoder towards a frame ended: its picture is at the front of
    // ahead_, the run went past it, the numbering changed (the run is invalid), the
    // stream ended before it, or the command was aborted.
    enum class RunEnd { Found, Passed, Renumbered, Drained, Aborted };
    RunEnd runTo(int frame, const AbortCheck& aborted);
    // Where the next run for one frame starts and how often it has been tried.
    struct Attempt {
        int startGop = -1;   // -1: the frame's own keyframe
        int retries = 0;     // runs that passed the frame
        int freshStarts = 0; // runs the numbering sent back to the start
    };
    // Moves the next run one GOP earlier; false when the earliest or the last try is spent.
    bool retryEarlier(int frame, Attempt& attempt);
    // The stand-in when the frame cannot be had: the nearest picture decoded before it.
    Result nearestBefore(const AVFrame*& found) const;
    // Decodes until an output is available; false at the end of the stream or on errors.
    bool decodeMore(const AbortCheck& aborted, bool& abortedOut);
    bool numberOutput(AVFrame* decoded, Decoded& out);
    // The picture in this slot is shown, with its repeats, well before the frame the run
    // is heading for: if nothing refers to it, the decoder may leave it out.
    bool shownBeforeTarget(int slot) const;
    void keepBehind(Decoded d);
    void resetRun();

    std::unique_ptr<VideoInput> input_;
    std::shared_ptr<FrameOrder> order_;
    QString path_;
    LibavPtr<AVPacket> packet_;
    LibavPtr<SwsContext> sws_;

    // The decoder's current run.
    bool runValid_ = false;
    bool runDrained_ = false;
    bool inputEnded_ = false;
    bool firstPacket_ = false;
    bool seekRetried_ = false;
    int lastFedSlot_ = -1;
    int runStartGop_ = -1;
    int lastFrame_ = -1;         // last frame handed out of this run
    int runTarget_ = -1;         // the frame the run is heading for
    int lastSlotOut_ = -1;       // slot of the last output (to notice unexpected reordering)
    std::map<int, int> gopNext_; // fallback numbering: next frame per GOP of this run
    std::deque<Decoded> ahead_;  // decoded but not yet asked for
    std::deque<Decoded> behind_; // decoded on the way to the last target, newest last

    std::map<int, Cached> cache_; // by first frame
    QSize cacheSize_;
    size_t cacheBytes_ = 0;
    size_t cacheLimit_ = size_t{64} << 20;
    int lastTarget_ = -1;
    bool movingBack_ = false; // the last move went to an earlier frame
    int backfillFailedAt_ = -1;
};

} // namespace hw::media
