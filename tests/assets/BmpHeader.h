#pragma once
// Reads the fields of a Windows bitmap header that the artwork promises.
#include <QByteArray>
#include <QtEndian>

namespace hw::test {

struct BmpHeader {
    bool signature = false;
    qint32 width = 0;
    qint32 height = 0;
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
    qint32 xPixelsPerMetre = 0;
    qint32 yPixelsPerMetre = 0;
    quint32 fileSize = 0;
};

inline BmpHeader readBmpHeader(const QByteArray& bytes)
{
    BmpHeader h;
    if (bytes.size() < 54)
        return h;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    h.signature = p[0] == 'B' && p[1] == 'M';
    h.fileSize = qFromLittleEndian<quint32>(p + 2);
    h.width = qFromLittleEndian<qint32>(p + 18);
    h.height = qFromLittleEndian<qint32>(p + 22);
    h.bitsPerPixel = qFromLittleEndian<quint16>(p + 28);
    h.compression = qFromLittleEndian<quint32>(p + 30);
    h.xPixelsPerMetre = qFromLittleEndian<qint32>(p + 38);
    h.yPixelsPerMetre = qFromLittleEndian<qint32>(p + 42);
    return h;
}

} // namespace hw::test
