#include "hw/media/LibavHandles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace hw::media {

void LibavFree::operator()(AVFormatContext* handle) const
{
    avformat_close_input(&handle);
}

void LibavFree::operator()(AVCodecContext* handle) const
{
    avcodec_free_context(&handle);
}

void LibavFree::operator()(AVCodecParserContext* handle) const
{
    av_parser_close(handle);
}

void LibavFree::operator()(AVPacket* handle) const
{
    av_packet_free(&handle);
}

void LibavFree::operator()(AVFrame* handle) const
{
    av_frame_free(&handle);
}

void LibavFree::operator()(SwsContext* handle) const
{
    sws_freeContext(handle);
}

void LibavFree::operator()(SwrContext* handle) const
{
    swr_free(&handle);
}

void LibavFree::operator()(AVFilterGraph* handle) const
{
    avfilter_graph_free(&handle);
}

void OutputFormatFree::operator()(AVFormatContext* handle) const
{
    if (handle->pb)
        avio_closep(&handle->pb);
    avformat_free_context(handle);
}

} // namespace hw::media
