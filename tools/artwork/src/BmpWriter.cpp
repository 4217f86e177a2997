#include "hw/artwork/BmpWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace hw {
namespace {

void putU16(char* at, quint16 v)
{
    at[0] = char(v & 0xff);
    at[1] = char(v >> 8);
}

void putU32(char* at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = char((v >> (8 * i)) & 0xff);
}

} // namespace

QByteArray encodeBmp24(const QImage& source, int pixelsPerMetre)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int stride = (width * 3 + 3) & ~3;
    const quint32 pixelBytes = quint32(stride) * quint32(height);
    const quint32 headerBytes = 14 + 40;

    QByteArray out(int(headerBytes + pixelBytes), '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, headerBytes + pixelBytes);
    putU32(p + 10, headerBytes);
    putU32(p + 14, 40);
    putU32(p + 18, quint32(width));
    putU32(p + 22, quint32(height)); // positive: rows stored bottom-up
    putU16(p + 26, 1);
    putU16(p + 28, 24);
    putU32(p + 30, 0); // BI_RGB, uncompressed
    putU32(p + 34, pixelBytes);
    putU32(p + 38, quint32(pixelsPerMetre));
    putU32(p + 42, quint32(pixelsPerMetre));

    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - y));
        char* row = p + headerBytes + quint32(y) * quint32(stride);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(line[x]));
            row[3 * x + 1] = char(qGreen(line[x]));
            row[3 * x + 2] = char(qRed(line[x]));
        }
    }
    return out;
}

bool writeBmp24(const QImage& image, const QString& path, int pixelsPerMetre, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodeBmp24(image, pixelsPerMetre)) < 0
        || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace hw
