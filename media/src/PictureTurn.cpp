#include "PictureTurn.h"

#include <QTransform>

#include <cstdlib>

namespace hw::media {

PictureTurn PictureTurn::fromDisplayMatrix(const int32_t* m)
{
    PictureTurn turn;
    if (!m)
        return turn;
    // A point (p, q) of the coded picture is shown at (m0 p + m3 q, m1 p + m4 q), moved back
    // into view; rows and columns run down and to the right.
    const int64_t a = m[0], b = m[1], c = m[3], d = m[4];
    if (a == 0 && b == 0 && c == 0 && d == 0)
        return turn; // no matrix worth the name
    turn.swapsAxes = std::llabs(a) + std::llabs(d) < std::llabs(b) + std::llabs(c);
    if (turn.swapsAxes) {
        turn.mirrorX = c < 0;
        turn.mirrorY = b < 0;
    } else {
        turn.mirrorX = a < 0;
        turn.mirrorY = d < 0;
    }
    return turn;
}

QImage PictureTurn::apply(QImage picture) const
{
    bool mx = mirrorX, my = mirrorY;
    if (swapsAxes) {
        // Qt turns by quarters quickly, in tiles; a quarter turn clockwise is the transposed
        // picture mirrored left to right, anticlockwise mirrored top to bottom.
        const bool anticlockwise = my && !mx;
        picture = picture.transformed(QTransform().rotate(anticlockwise ? 270 : 90));
        if (anticlockwise)
            my = false;
        else
            mx = !mx;
    }
    if (mx || my)
        picture.mirror(mx, my);
    return picture;
}

} // namespace hw::media
