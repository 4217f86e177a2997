#pragma once
// The one way this library opens a file with libavformat: a local file only (no network,
// no "subfile:" or other protocol named in the file name), read by one of the containers
// lessons use. A playlist or a script that names other files or addresses (HLS, ffconcat)
// is refused instead of followed.
#include "hw/media/LibavHandles.h"

#include <QLoggingCategory>
#include <QString>

// What was wrong with a media file that was opened all the same, or refused.
Q_DECLARE_LOGGING_CATEGORY(lcMediaFile)

namespace hw::media {

// Containers of lesson clips and the raw sound formats, as libavformat names its demuxers.
extern const char* const kLessonContainers;

enum class LocalOpen {
    Opened,
    NotLocalMedia, // not a local file, or a container outside the list
    Unreadable,    // damaged, not media at all, or abandoned by the interrupt callback
};

// Opens path as avformat_open_input does, into context (which may be allocated by the
// caller beforehand, e.g. to set an interrupt callback; it is freed on failure), accepting
// only the demuxers named in containers (a comma-separated list). An MP4 whose sample
// tables claim more than the file holds is refused (Unreadable) before libavformat reads them.
LocalOpen openLocalMedia(LibavPtr<AVFormatContext>& context, const QString& path,
                         const char* containers = kLessonContainers);

} // namespace hw::media
