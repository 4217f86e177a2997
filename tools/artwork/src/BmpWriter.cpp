#include "hw/artwork/BmpWriter.h"

#include "hw/Narrow.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace hw {
namespace {

void putU16(char* at, quint16 v)
{
    at[0] = static_cast<char>(v & 0xff);
    at[1] = static_cast<char>(v >> 8);
}

void putU32(char* at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

} // namespace

QByteArray encodeBmp24(const QImage& source, int pixelsPerMetre)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = (qsizetype{width} * 3 + 3) & ~qsizetype{3};
    const qsizetype pixelBytes = stride * height;
    constexpr qsizetype headerBytes = 14 + 40;
    // The file's size field has 32 bits: a picture too large for it makes no bitmap.
    const std::optional<quint32> fileBytes = fitting<quint32>(headerBytes + pixelBytes);
    if (!fileBytes)
        return {};

    QByteArray out(headerBytes + pixelBytes, '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, *fileBytes);
    putU32(p + 10, headerBytes);
    putU32(p + 14, 40);
    putU32(p + 18, static_cast<quint32>(width));
    putU32(p + 22, static_cast<quint32>(height)); // positive: rows stored bottom-up
    putU16(p + 26, 1);
    putU16(p + 28, 24);
    putU32(p + 30, 0);                                // BI_RGB, uncompressed
    putU32(p + 34, static_cast<quint32>(pixelBytes)); // less than fileBytes
    putU32(p + 38, static_cast<quint32>(pixelsPerMetre));
    putU32(p + 42, static_cast<quint32>(pixelsPerMetre));

    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - y));
        char* row = p + headerBytes + y * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<char>(qBlue(line[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(line[x]));
            row[3 * x + 2] = static_cast<char>(qRed(line[x]));
        }
    }
    return out;
}

bool writeBmp24(const QImage& image, const QString& path, int pixelsPerMetre, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = encodeBmp24(image, pixelsPerMetre);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: the picture is too large for a bitmap").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace hw
