#pragma once
// Reads clips back with plain libavformat/libavcodec calls, independent of the player: a
// clip's format, its packets, chosen frames as pictures and its sound track.
#include <QImage>
#include <QList>
#include <QMap>
#include <QSet>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace hw::test {

struct ClipFacts {
    bool opened = false;
    QString codec; // FFmpeg's codec name, e.g. "mjpeg"
    QSize size;
    double framesPerSecond = 0;
    int frameCount = 0; // packets with data, counted one by one, not taken from the header
    int frameSlots = 0; // an AVI's timestamps count its slots, empty chunks included
    int emptySlots = 0; // slots without a packet (the demuxer drops empty chunks)
    int keyframes = 0;
    std::vector<int32_t> displayMatrix; // the video stream's, as FFmpeg lays it out; empty if none
    double containerPixelAspect = 0;    // a pixel's width over height as the container says; 0: not said
};

ClipFacts probeClip(const QString& path);
// Every picture a straightforward decode from the start outputs, in order.
std::vector<QImage> decodeAll(const QString& path);
// Decodes the whole clip and keeps the frames whose numbers are in wanted.
QMap<int, QImage> decodeFrames(const QString& path, const QSet<int>& wanted);

struct ClipSound {
    int sampleRate = 0; // 0: no sound track, or one that is not 16-bit mono
    QList<int16_t> samples;
};
// Decodes the whole sound track.
ClipSound decodeSound(const QString& path);

} // namespace hw::test
