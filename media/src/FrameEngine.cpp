#include "FrameEngine.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace hw::media {

namespace {
// Decoded frames kept on the way to a target, for the cache: bounded in memory.
constexpr size_t kBehindBytes = size_t{64} << 20;
// How many frames before the shown one the idle work keeps cached for stepping back.
constexpr int kBackfillWindow = 12;

size_t frameBytes(const AVFrame* f)
{
    return static_cast<size_t>(std::max(1, f->width)) * static_cast<size_t>(std::max(1, f->height)) * 3 / 2;
}
} // namespace

FrameEngine::FrameEngine(std::unique_ptr<VideoInput> input, std::shared_ptr<FrameOrder> order, QString path)
    : input_(std::move(input))
    , order_(std::move(order))
    , path_(std::move(path))
    , packet_(av_packet_alloc())
{ }

QSize FrameEngine::fittedSize(const QSize& panel) const
{
    if (panel.width() <= 0 || panel.height() <= 0)
        return input_->frameSize();
    // The shown shape, unrounded: the coded pixels at their true width, then turned.
    const QSize coded = input_->codedSize();
    double w = coded.width() * input_->pixelAspect();
    double h = coded.height();
    if (input_->turn().swapsAxes)
        std::swap(w, h);
    const double s = std::min(panel.width() / w, panel.height() / h);
    // Within the panel's size, so the rounded sides fit an int.
    return QSize(std::max(1, static_cast<int>(std::lround(w * s))),
                 std::max(1, static_cast<int>(std::lround(h * s))));
}

QImage FrameEngine::scale(const AVFrame* f, const QSize& size)
{
    // Scaled first at the coded orientation, then turned: the turn then costs a pass over the
    // panel-sized picture, never over the decoded one.
    const PictureTurn turn = input_->turn();
    const QSize target = turn.turned(size);
    QImage img(target, QImage::Format_RGB32);
    // Same size: the library's fast colour conversion. Smaller: area averaging, smooth and
    // quick. Larger (high pixel ratios): bicubic.
    const bool same = target.width() == f->width && target.height() == f->height;
    const bool smaller = target.width() < f->width;
    const int flags = same ? SWS_BILINEAR : smaller ? SWS_AREA : SWS_BICUBIC;
    // The cached context is kept when it fits and freed when it does not.
    sws_.reset(sws_getCachedContext(sws_.release(), f->width, f->height, AVPixelFormat(f->format),
                                    target.width(), target.height(), AV_PIX_FMT_RGB32, flags, nullptr,
                                    nullptr, nullptr));
    if (!sws_) {
        QImage black(size, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
    uint8_t* dst[4] = {img.bits(), nullptr, nullptr, nullptr};
    // Qt refuses images whose lines do not fit an int.
    const int stride[4] = {static_cast<int>(img.bytesPerLine()), 0, 0, 0};
    sws_scale(sws_.get(), f->data, f->linesize, 0, f->height, dst, stride);
    return turn.upright() ? img : turn.apply(std::move(img));
}

void FrameEngine::dropCache()
{
    cache_.clear();
    cacheBytes_ = 0;
    behind_.clear();
}

bool FrameEngine::cacheLookup(int frame, const QSize& size, QImage& out)
{
    if (size != cacheSize_)
        return false;
    auto it = cache_.upper_bound(frame);
    if (it == cache_.begin())
        return false;
    --it;
    if (it->second.last < frame)
        return false;
    out = it->second.image;
    return true;
}

void FrameEngine::cacheStore(int first, int last, QImage image)
{
    if (cache_.count(first))
        return;
    const auto bytes = static_cast<size_t>(image.sizeInBytes());
    cache_[first] = Cached{last, std::move(image)};
    cacheBytes_ += bytes;
    // Evict the pictures farthest from the one last asked for.
    while (cacheBytes_ > cacheLimit_ && cache_.size() > 1) {
        auto lo = cache_.begin();
        auto hi = std::prev(cache_.end());
        auto victim = std::abs(lo->first - lastTarget_) > std::abs(hi->first - lastTarget_) ? lo : hi;
        cacheBytes_ -= static_cast<size_t>(victim->second.image.sizeInBytes());
        cache_.erase(victim);
    }
}

void FrameEngine::resetRun()
{
    runValid_ = false;
    runDrained_ = false;
    inputEnded_ = false;
    ahead_.clear();
    lastFrame_ = -1;
    lastSlotOut_ = -1;
    lastFedSlot_ = -1;
    gopNext_.clear();
}

int FrameEngine::startGopFor(int frame) const
{
    const SlotTable& t = order_->slotTable();
    frame = std::clamp(frame, 0, t.length - 1);
    if (!order_->reordering()) {
        int s = frame;
        while (s > 0 && t.empty(s))
            --s;
        return std::max(0, t.gopOf(s));
    }
    int r = frame;
    int s = order_->slotAt(r);
    while (r > 0 && s == FrameOrder::kRepeat)
        s = order_->slotAt(--r);
    if (s >= 0) {
        int g = std::max(0, t.gopOf(s));
        const int keyShownAt = order_->frameOf(t.keyframe(g));
        // A leading picture (shown before its keyframe) needs the GOP before.
        if (g > 0 && (keyShownAt < 0 || keyShownAt > r))
            --g;
        return g;
    }
    // Order not learnt this far yet: the frame lies in the GOP of the same slot number;
    // start one GOP earlier so that GOP's leading pictures come out too.
    return std::max(0, t.gopOf(frame) - 1);
}

bool FrameEngine::canContinueTo(int frame) const
{
    if (!runValid_ || frame <= lastFrame_)
        return false;
    if (!ahead_.empty() && ahead_.front().first > frame)
        return false;
    if (!ahead_.empty() && ahead_.front().first <= frame && ahead_.front().last >= frame)
        return true;
    if (runDrained_)
        return false;
    const int need = startGopFor(frame);
    if (runStartGop_ > need)
        return false;
    // Going on is cheaper than a new start only when the run is already past the keyframe
    // a new start would use.
    const SlotTable& t = order_->slotTable();
    return runStartGop_ == need || lastFedSlot_ >= t.keyframe(need);
}

bool FrameEngine::startRun(int gop)
{
    resetRun();
    const SlotTable& t = order_->slotTable();
    gop = std::clamp(gop, 0, t.gops() - 1);
    if (!input_->seekToKeyframe(t.keyframe(gop)))
        return false;
    runValid_ = true;
    runStartGop_ = gop;
    firstPacket_ = true;
    return true;
}

bool FrameEngine::numberOutput(AVFrame* decoded, Decoded& out)
{
    const SlotTable& t = order_->slotTable();
    const int slot = t.carriedSlot(decoded->pts);
    if (slot < 0 || slot >= t.length)
        return false;
    if (!order_->reordering()) {
        // A decoder that holds pictures back for reordering (B-frames), or output that comes
        // out of order after all: learn the order and number afresh.
        if ((input_->codecMayReorder() && input_->decoderDelay() > 0)
            || (lastSlotOut_ >= 0 && slot < lastSlotOut_)) {
            order_->startScan(path_);
            cache_.clear();
            cacheBytes_ = 0;
            behind_.clear();
            runValid_ = false;
            return false;
        }
        lastSlotOut_ = slot;
        out.first = out.last = slot;
        while (out.last + 1 < t.length && t.empty(out.last + 1))
            ++out.last;
        return true;
    }
    const int frame = order_->frameOf(slot);
    if (frame >= 0) {
        out.first = out.last = frame;
        while (out.last + 1 < t.length && order_->slotAt(out.last + 1) == FrameOrder::kRepeat)
            ++out.last;
        // Keep the fallback numbering in step for outputs the scan has not reached yet.
        if (const int g = t.gopOf(slot); g >= 0)
            gopNext_[g] = std::max(gopNext_[g], out.last + 1);
        return true;
    }
    // Not learnt yet: number the pictures of each GOP in the order they come out. The GOP
    // the run started in may have lost its leading pictures, so its numbers are unknown.
    const int g = t.gopOf(slot);
    if (g < 0 || (g == runStartGop_ && g > 0))
        return false;
    auto it = gopNext_.find(g);
    const int next = it == gopNext_.end() ? t.keyframe(g) : it->second;
    const int end = t.gopEnd(g);
    if (next >= end)
        return false;
    out.first = out.last = next;
    for (int s = slot + 1; s < end && t.empty(s) && out.last + 1 < end; ++s)
        ++out.last;
    gopNext_[g] = out.last + 1;
    return true;
}

bool FrameEngine::decodeMore(const AbortCheck& aborted, bool& abortedOut)
{
    for (;;) {
        if (aborted && aborted()) {
            abortedOut = true;
            return false;
        }
        FramePtr frame(av_frame_alloc());
        int rc = input_->receive(frame.get());
        if (rc >= 0) {
            // Pictures that tell a new shape make the cached ones the wrong shape.
            if (input_->learnShape(frame.get())) {
                cache_.clear();
                cacheBytes_ = 0;
            }
            Decoded d;
            if (numberOutput(frame.get(), d)) {
                d.frame = std::move(frame);
                ahead_.push_back(std::move(d));
                return true;
            }
            if (!runValid_)
                return false;
            continue;
        }
        if (rc == AVERROR_EOF || (rc != AVERROR(EAGAIN) && inputEnded_))
            return false;
        if (inputEnded_)
            return false;
        const int slot = input_->readPacket(packet_.get());
        if (slot == -2 || slot == -3) {
            input_->send(nullptr);
            inputEnded_ = true;
            continue;
        }
        if (firstPacket_) {
            firstPacket_ = false;
            // The container put us after the keyframe we asked for: start earlier.
            const SlotTable& t = order_->slotTable();
            if (slot > t.keyframe(runStartGop_) && runStartGop_ > 0 && !seekRetried_) {
                av_packet_unref(packet_.get());
                seekRetried_ = true;
                const int gop = runStartGop_ - 1;
                startRun(gop);
                continue;
            }
            seekRetried_ = false;
            if (slot >= 0)
                runStartGop_ = std::max(0, t.gopOf(slot));
        }
        if (slot >= 0)
            lastFedSlot_ = std::max(lastFedSlot_, slot);
        if (input_->canSkipNonReference())
            input_->skipNonReference(slot >= 0 && shownBeforeTarget(slot));
        input_->send(packet_.get()); // a damaged packet is skipped; the decoder carries on
        av_packet_unref(packet_.get());
    }
}

bool FrameEngine::shownBeforeTarget(int slot) const
{
    if (!order_->reordering() || runTarget_ < 0)
        return false;
    int last = order_->frameOf(slot);
    if (last < 0)
        return false;
    // The last few before the target are decoded all the same: kept behind, they make
    // stepping back from it cheap.
    const int keepFrom = runTarget_ - kBackfillWindow;
    while (last < keepFrom && order_->slotAt(last + 1) == FrameOrder::kRepeat)
        ++last;
    return last < keepFrom;
}

void FrameEngine::keepBehind(Decoded d)
{
    behind_.push_back(std::move(d));
    size_t bytes = 0;
    for (const auto& b : behind_)
        bytes += frameBytes(b.frame.get());
    while (behind_.size() > 2 && bytes > kBehindBytes) {
        bytes -= frameBytes(behind_.front().frame.get());
        behind_.pop_front();
    }
}

FrameEngine::RunEnd FrameEngine::runTo(int frame, const AbortCheck& aborted)
{
    runTarget_ = frame;
    for (;;) {
        while (!ahead_.empty()) {
            Decoded& d = ahead_.front();
            if (d.last >= frame)
                return d.first <= frame ? RunEnd::Found : RunEnd::Passed;
            lastFrame_ = d.last;
            keepBehind(std::move(d));
            ahead_.pop_front();
        }
        if (runDrained_)
            return RunEnd::Drained;
        bool wasAborted = false;
        if (!decodeMore(aborted, wasAborted)) {
            if (wasAborted)
                return RunEnd::Aborted;
            if (!runValid_)
                return RunEnd::Renumbered;
            runDrained_ = true;
        }
    }
}

bool FrameEngine::retryEarlier(int frame, Attempt& attempt)
{
    if (++attempt.retries > 2 || attempt.startGop == 0)
        return false;
    attempt.startGop = std::max(0, (attempt.startGop < 0 ? startGopFor(frame) : attempt.startGop) - 1);
    runValid_ = false;
    return true;
}

FrameEngine::Result FrameEngine::nearestBefore(const AVFrame*& found) const
{
    if (behind_.empty())
        return Result::Failed;
    found = behind_.back().frame.get();
    return Result::Ok;
}

FrameEngine::Result FrameEngine::decodeTo(int frame, const AbortCheck& aborted, const AVFrame*& found)
{
    found = nullptr;
    Attempt attempt;
    for (;;) {
        if (!canContinueTo(frame)) {
            if (attempt.startGop < 0)
                attempt.startGop = startGopFor(frame);
            if (!startRun(attempt.startGop))
                return Result::Failed;
        }
        switch (runTo(frame, aborted)) {
        case RunEnd::Found:
            found = ahead_.front().frame.get();
            return Result::Ok;
        case RunEnd::Aborted:
            return Result::Aborted;
        case RunEnd::Drained:
            // The stream ends before this frame (the decoder dropped some).
            return nearestBefore(found);
        case RunEnd::Renumbered:
            // A damaged stream can send the run back to a fresh start again and again (a
            // seek that fails leaves the run invalid just as a change of numbering does):
            // after a few, the nearest picture before the frame will do.
            if (++attempt.freshStarts > 3)
                return nearestBefore(found);
            attempt.startGop = -1;
            attempt.retries = 0;
            break;
        case RunEnd::Passed:
            // The decoder went past the frame without putting it out (a leading picture
            // whose references lie before the keyframe): start one GOP earlier.
            if (runValid_ && !retryEarlier(frame, attempt))
                return nearestBefore(found);
            break;
        }
    }
}

FrameEngine::Result FrameEngine::picture(int frame, const QSize& panel, const AbortCheck& aborted,
                                         QImage& out)
{
    frame = std::clamp(frame, 0, length() - 1);
    QSize size = fittedSize(panel);
    if (size != cacheSize_) {
        cache_.clear();
        cacheBytes_ = 0;
        cacheSize_ = size;
    }
    if (frame != lastTarget_)
        movingBack_ = frame < lastTarget_;
    lastTarget_ = frame;
    if (cacheLookup(frame, size, out))
        return Result::Ok;
    const AVFrame* found = nullptr;
    const Result r = decodeTo(frame, aborted, found);
    if (r != Result::Ok)
        return r;
    // The decoded pictures may have told their shape only now.
    size = fittedSize(panel);
    cacheSize_ = size;
    out = scale(found, size);
    // Only an exact picture goes into the cache; a stand-in (the stream could not give
    // this frame) is shown but not remembered.
    if (!ahead_.empty() && ahead_.front().frame.get() == found)
        cacheStore(ahead_.front().first, ahead_.front().last, out);
    return Result::Ok;
}

bool FrameEngine::idleWork(const QSize& panel, const AbortCheck& aborted)
{
    if (lastTarget_ < 0)
        return false;
    const QSize size = fittedSize(panel);
    if (size != cacheSize_)
        return false;
    // First the frames decoded on the way here, nearest first: they cost only a scaling.
    while (!behind_.empty()) {
        Decoded d = std::move(behind_.back());
        behind_.pop_back();
        if (!cache_.count(d.first) && d.first >= lastTarget_ - 4 * kBackfillWindow) {
            cacheStore(d.first, d.last, scale(d.frame.get(), size));
            return true;
        }
    }
    QImage unused;
    int missing = -1;
    // The next frame, for a step forward, when the decoder is on its way there anyway.
    if (lastTarget_ + 1 < length() && !cacheLookup(lastTarget_ + 1, size, unused)
        && (canContinueTo(lastTarget_ + 1) || !movingBack_))
        missing = lastTarget_ + 1;
    // Going backward: keep a window before the shown frame cached.
    if (missing < 0 && movingBack_) {
        for (int r = lastTarget_ - 1; r >= std::max(0, lastTarget_ - kBackfillWindow); --r) {
            if (!cacheLookup(r, size, unused)) {
                missing = r;
                break;
            }
        }
    }
    if (missing < 0 || missing == backfillFailedAt_)
        return false;
    const int keep = lastTarget_;
    const AVFrame* found = nullptr;
    const Result res = decodeTo(missing, aborted, found);
    lastTarget_ = keep;
    if (res == Result::Aborted)
        return true;
    if (res != Result::Ok || ahead_.empty() || ahead_.front().frame.get() != found) {
        backfillFailedAt_ = missing; // not to be had exactly
        return false;
    }
    cacheStore(ahead_.front().first, ahead_.front().last, scale(found, size));
    // In a damaged stream the same picture may be numbered differently by another run, so
    // that the store adds nothing for this frame: stop rather than decode it again forever.
    if (!cacheLookup(missing, size, unused)) {
        backfillFailedAt_ = missing;
        return false;
    }
    return true;
}

} // namespace hw::media
