#include "hw/media/LibavLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QLoggingCategory>

#include <cstdio>
#include <mutex>

Q_LOGGING_CATEGORY(lcLibav, "hw.media.libav", QtWarningMsg)

namespace hw::media {

namespace {
void forward(void* avcl, int level, const char* fmt, va_list args)
{
    if (level > av_log_get_level() || !lcLibav().isDebugEnabled())
        return;
    char line[1024];
    int prefix = 1;
    av_log_format_line2(avcl, level, fmt, args, line, sizeof line, &prefix);
    qCDebug(lcLibav, "%s", line);
}
} // namespace

void routeLibavLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(forward); });
}

} // namespace hw::media
