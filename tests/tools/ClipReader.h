#pragma once
// Reads back what the demo library wrote: a clip's format and frame count, chosen frames
// as pictures and its sound track, straight through libavformat/libavcodec.
#include <QImage>
#include <QList>
#include <QMap>
#include <QSet>
#include <QSize>
#include <QString>

namespace hw::test {

struct ClipFacts {
    bool opened = false;
    QString codec;      // FFmpeg's codec name, e.g. "mjpeg"
    QSize size;
    double framesPerSecond = 0;
    int frameCount = 0; // counted packet by packet, not taken from the header
};

ClipFacts probeClip(const QString& path);
// Decodes the whole clip and keeps the frames whose numbers are in wanted.
QMap<int, QImage> decodeFrames(const QString& path, const QSet<int>& wanted);

struct ClipSound {
    int sampleRate = 0; // 0: no sound track, or one that is not 16-bit mono
    QList<int16_t> samples;
};
// Decodes the whole sound track.
ClipSound decodeSound(const QString& path);

} // namespace hw::test
