#include "SoundStretch.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

#include <cstring>
#include <string>

namespace hw::media {

SoundStretch::SoundStretch(const SoundFormat& format, double speed)
    : format_(format)
{
    graph_.reset(avfilter_graph_alloc());
    frame_.reset(av_frame_alloc());
    if (!graph_ || !frame_)
        return;
    graph_->nb_threads = 1;
    const std::string layout = format.channels == 1 ? "mono" : "stereo";
    const std::string args = "sample_rate=" + std::to_string(format.rate)
        + ":sample_fmt=s16:channel_layout=" + layout + ":time_base=1/" + std::to_string(format.rate);
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    if (avfilter_graph_create_filter(&source, avfilter_get_by_name("abuffer"), "in", args.c_str(), nullptr,
                                     graph_.get())
            < 0
        || avfilter_graph_create_filter(&sink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                        graph_.get())
            < 0)
        return;
    // atempo takes factors down to 0.5; a quarter is two halves.
    std::string chain = speed < 0.375 ? "atempo=0.5,atempo=0.5" : "atempo=0.5";
    chain += ",aformat=sample_fmts=s16:channel_layouts=" + layout;
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    if (!outputs || !inputs) {
        avfilter_inout_free(&inputs);
        avfilter_inout_free(&outputs);
        return;
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink;
    const bool ok = avfilter_graph_parse_ptr(graph_.get(), chain.c_str(), &inputs, &outputs, nullptr) >= 0
        && avfilter_graph_config(graph_.get(), nullptr) >= 0;
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (ok) {
        source_ = source;
        sink_ = sink;
    }
}

SoundStretch::~SoundStretch() = default;

void SoundStretch::push(const int16_t* frames, int count, std::vector<int16_t>& out)
{
    if (!usable() || count <= 0)
        return;
    const FramePtr frame(av_frame_alloc());
    if (!frame) {
        failed_ = true;
        return;
    }
    AVFrame* in = frame.get();
    in->format = AV_SAMPLE_FMT_S16;
    in->sample_rate = format_.rate;
    av_channel_layout_default(&in->ch_layout, format_.channels);
    in->nb_samples = count;
    in->pts = pts_;
    pts_ += count;
    if (av_frame_get_buffer(in, 0) >= 0) {
        std::memcpy(in->data[0], frames, format_.samples(count) * sizeof(int16_t));
        if (av_buffersrc_add_frame(source_, in) < 0) // takes the frame's buffers
            failed_ = true;
    }
    collect(out);
}

void SoundStretch::finish(std::vector<int16_t>& out)
{
    if (!usable())
        return;
    if (av_buffersrc_add_frame(source_, nullptr) < 0)
        failed_ = true;
    collect(out);
}

void SoundStretch::collect(std::vector<int16_t>& out)
{
    while (av_buffersink_get_frame(sink_, frame_.get()) >= 0) {
        const auto* samples = reinterpret_cast<const int16_t*>(frame_->data[0]);
        out.insert(out.end(), samples, samples + format_.samples(frame_->nb_samples));
        av_frame_unref(frame_.get());
    }
}

} // namespace hw::media
