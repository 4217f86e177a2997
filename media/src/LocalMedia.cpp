#include "hw/media/LocalMedia.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

#include "Mp4SampleTables.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMediaFile, "hw.media.file", QtInfoMsg)

namespace hw::media {

// AVI; the MOV/MP4 family; Matroska and WebM; MPEG program and transport streams; WAV,
// MP3, AAC (ADTS), FLAC and Ogg.
const char* const kLessonContainers = "avi,mov,mp4,matroska,webm,mpeg,mpegts,wav,mp3,aac,flac,ogg";

namespace {

// As avformat_open_input: a context that fails to open is freed and *context set to null.
LocalOpen openInPlace(AVFormatContext** context, const QString& path, const char* containers)
{
    {
        QFile file(path);
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) && sampleTablesExceedFile(file)) {
            qCWarning(lcMediaFile, "%s: its sample tables claim more than the file holds; not opened",
                      qUtf8Printable(path));
            avformat_free_context(*context);
            *context = nullptr;
            return LocalOpen::Unreadable;
        }
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", containers, 0);
    const int rc = avformat_open_input(context, QFile::encodeName(path).constData(), nullptr, &options);
    av_dict_free(&options);
    if (rc >= 0)
        return LocalOpen::Opened;
    // Both whitelists refuse with EINVAL; a file that no demuxer recognises, or one that is
    // damaged, gives another code.
    return rc == AVERROR(EINVAL) ? LocalOpen::NotLocalMedia : LocalOpen::Unreadable;
}

} // namespace

LocalOpen openLocalMedia(LibavPtr<AVFormatContext>& context, const QString& path, const char* containers)
{
    AVFormatContext* opening = context.release();
    const LocalOpen opened = openInPlace(&opening, path, containers);
    context.reset(opening);
    return opened;
}

} // namespace hw::media
