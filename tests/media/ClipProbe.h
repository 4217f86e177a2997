#pragma once
// Reads clips back with plain libav calls, independent of the player: the reference the
// tests compare the player against.
#include <QImage>
#include <QString>

#include <vector>

namespace hw::test {

struct ClipPackets {
    int total = 0; // frame slots: an AVI's timestamps count them, empty chunks included
    int empty = 0; // slots without a packet (the demuxer drops empty chunks)
    int keyframes = 0;
};

ClipPackets probePackets(const QString& path);
// Every picture a straightforward decode from the start outputs, in order.
std::vector<QImage> decodeAll(const QString& path);

} // namespace hw::test
