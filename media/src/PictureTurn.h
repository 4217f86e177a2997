#pragma once
// How a clip's decoded pictures are turned for showing, as the container's display matrix
// says (phones record sideways and note the turn there): one of the eight quarter turns and
// mirror images. The picture is first transposed when the turn swaps its axes, then mirrored.
#include <QImage>
#include <QSize>

#include <cstdint>

namespace hw::media {

struct PictureTurn {
    bool swapsAxes = false; // the coded rows are shown as columns
    bool mirrorX = false;   // then left and right exchanged
    bool mirrorY = false;   // and top and bottom

    // From FFmpeg's display matrix (nine 16.16 / 2.30 values, row by row); null: upright. A
    // turn by an odd angle is taken to the nearest quarter.
    static PictureTurn fromDisplayMatrix(const int32_t* matrix);

    bool upright() const { return !swapsAxes && !mirrorX && !mirrorY; }
    bool operator==(const PictureTurn&) const = default;
    // The size of a picture of this size once turned.
    QSize turned(QSize size) const { return swapsAxes ? size.transposed() : size; }
    // Turns a picture (in place when only mirrored).
    QImage apply(QImage picture) const;
};

} // namespace hw::media
