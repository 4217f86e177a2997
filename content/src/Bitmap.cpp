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
    if (absolutePath.isEmpty() || QFileInfo(absolutePath).isDir() || !file.open(QIODevice::ReadOnly))
        throw EContentError(QStringLiteral("Cannot open file %1").arg(displayPath));
    // Mapping reads only the pages the headers lead to, whatever the file's size.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar* mapped = file.map(0, size)) {
            QImage image = decode(QByteArrayView(mapped, size));
            file.unmap(mapped);
            return image;
        }
    }
    return decode(file.readAll()); // not mappable (empty, or not a plain file)
}

} // namespace hw
