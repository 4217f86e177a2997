// Bitmap decoding of arbitrary bytes: either a picture within the size limits, or one of
// the two errors of a damaged bitmap, never anything else. The same bytes read from a file
// decode alike.
#include "FuzzTargets.h"

#include "hw/Exception.h"
#include "hw/content/Bitmap.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace hw::fuzz {
namespace {

constexpr int kMaxSide = 32768;
constexpr qint64 kMaxPixels = qint64(1) << 24;

struct Outcome {
    QImage image;
    QString error;
};

Outcome decodeBytes(const QByteArray& bytes)
{
    Outcome o;
    try {
        o.image = decodeBitmap(bytes);
    } catch (const EContentError& e) {
        o.error = e.message();
    }
    return o;
}

Outcome decodeFile(const QString& path)
{
    Outcome o;
    try {
        o.image = loadBitmapFile(path, QStringLiteral("Flies\\fuzz.bmp"));
    } catch (const EContentError& e) {
        o.error = e.message();
    }
    return o;
}

} // namespace

int bitmap(const uint8_t* data, size_t size)
{
    initialize();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Outcome fromMemory = decodeBytes(bytes);
    if (!fromMemory.error.isEmpty()) {
        check(fromMemory.error == QLatin1String("Stream read error")
                  || fromMemory.error == QLatin1String("Bitmap image is not valid"),
              "unexpected error: " + fromMemory.error.toStdString());
        check(bytes.size() >= 14 || fromMemory.error == QLatin1String("Stream read error"),
              "a file shorter than the file header must be a stream read error");
    } else if (bytes.isEmpty()) {
        check(fromMemory.image.isNull(), "an empty file gives an empty picture");
    } else {
        const QImage& image = fromMemory.image;
        check(!image.isNull(), "a decoded picture without pixels");
        check(bytes.startsWith("BM"), "decoded a file without the BM signature");
        check(image.width() > 0 && image.height() > 0 && image.width() <= kMaxSide
                  && image.height() <= kMaxSide && qint64(image.width()) * image.height() <= kMaxPixels,
              "picture outside the size limits");
    }

    // Every so often through a file as the loader reads it (a small share, files are slow).
    if (size % 8 == 0) {
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fuzz.bmp"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(bytes);
            file.close();
            const Outcome fromFile = decodeFile(path);
            check(fromFile.error == fromMemory.error && fromFile.image == fromMemory.image,
                  "the file and the bytes decode differently");
        }
    }
    return 0;
}

} // namespace hw::fuzz
