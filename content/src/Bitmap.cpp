#include "hw/content/Bitmap.h"

#include "BitmapHeader.h"
#include "BitmapPixels.h"
#include "hw/Exception.h"

#include <QFile>
#include <QFileInfo>

namespace hw {
namespace {

QImage decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {}; // an empty file is an empty picture
    return decodeBitmapPixels(readBitmapLayout(bytes), bytes);
}

} // namespace

QImage decodeBitmap(const QByteArray& bytes)
{
    return decode(bytes);
}

QImage loadBitmapFile(const QString& absolutePath, const QString& displayPath)
{
    QFile file(absolutePath);
    // Only a regular file is opened: a folder fails, and a named pipe or a device would
    // block or never end.
    if (absolutePath.isEmpty() || !QFileInfo(absolutePath).isFile() || !file.open(QIODevice::ReadOnly))
        throw EContentError(QStringLiteral("Cannot open file %1").arg(displayPath));
    // A large file is mapped, so that only the pages the headers lead to are read and a
    // huge file costs no memory; a picture of ordinary size is cheaper to read whole.
    constexpr qint64 kReadWholeUpTo = qint64{1} << 20;
    const qint64 size = file.size();
    if (size > kReadWholeUpTo) {
        if (uchar* mapped = file.map(0, size)) {
            QImage image = decode(QByteArrayView(mapped, size));
            file.unmap(mapped);
            return image;
        }
    }
    return decode(file.readAll());
}

} // namespace hw
