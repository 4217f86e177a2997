#include "Mp4SampleTables.h"

#include "hw/Narrow.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

namespace hw::media {
namespace {

// The sample tables sit in moov/trak/mdia/minf/stbl; a moov larger than this is not a
// lesson clip's (an hour of video has a few megabytes of them).
constexpr int64_t kLargestMoov = 64 << 20;

uint32_t be32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t{u[0]} << 24 | uint32_t{u[1]} << 16 | uint32_t{u[2]} << 8 | uint32_t{u[3]};
}

uint64_t be64(const char* p)
{
    return uint64_t{be32(p)} << 32 | be32(p + 4);
}

bool isContainer(const QByteArray& type)
{
    return type == "trak" || type == "mdia" || type == "minf" || type == "stbl";
}

// Walks the boxes in data[from, to); true when an stsz there claims more than fileBytes.
bool boxesExceed(const QByteArray& data, int64_t from, int64_t to, int64_t fileBytes, int depth)
{
    while (from + 8 <= to) {
        const char* box = data.constData() + from;
        int64_t size = be32(box);
        int64_t header = 8;
        if (size == 1 && from + 16 <= to) {
            size = clamped<int64_t>(be64(box + 8));
            header = 16;
        } else if (size == 0) {
            size = to - from;
        }
        if (size < header || size > to - from)
            return false; // damaged: libavformat's own reading takes it from here
        const QByteArray type(box + 4, 4);
        if (type == "stsz" && size >= header + 12) {
            const int64_t sampleSize = be32(box + header + 4);
            const int64_t count = be32(box + header + 8);
            if (sampleSize > 0 && count * sampleSize > fileBytes)
                return true;
        } else if (isContainer(type) && depth < 8
                   && boxesExceed(data, from + header, from + size, fileBytes, depth + 1)) {
            return true;
        }
        from += size;
    }
    return false;
}

} // namespace

bool sampleTablesExceedFile(QIODevice& file)
{
    const int64_t fileBytes = file.size();
    int64_t at = 0;
    while (at + 8 <= fileBytes && file.seek(at)) {
        const QByteArray head = file.read(16);
        if (head.size() < 8)
            return false;
        int64_t size = be32(head.constData());
        int64_t header = 8;
        if (size == 1 && head.size() == 16) {
            size = clamped<int64_t>(be64(head.constData() + 8));
            header = 16;
        } else if (size == 0) {
            size = fileBytes - at;
        }
        const QByteArray type = head.mid(4, 4);
        if (size < header
            || std::any_of(type.begin(), type.end(), [](char c) { return c < 0x20 || c > 0x7e; }))
            return false; // not a box: not an MP4
        if (type == "moov") {
            const int64_t bytes = std::min(size, fileBytes - at);
            if (bytes > kLargestMoov)
                return true;
            if (!file.seek(at))
                return false;
            const QByteArray moov = file.read(bytes);
            return boxesExceed(moov, header, moov.size(), fileBytes, 0);
        }
        if (size > fileBytes - at)
            return false;
        at += size;
    }
    return false;
}

} // namespace hw::media
