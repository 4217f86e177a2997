#include "hw/FileSizeLimit.h"

#include <QFile>
#include <QFileInfo>

namespace hw {

QString fileTooLargeMessage(const QString& shownName, qint64 size, qint64 limit)
{
    return QStringLiteral("File %1 is too large (%2 bytes; at most %3 MB)")
        .arg(shownName)
        .arg(size)
        .arg(limit >> 20);
}

bool readWholeFile(const QString& path, const QString& shownName, qint64 limit, QByteArray& bytes,
                   QString& error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file %1").arg(shownName);
        return false;
    }
    if (file.size() > limit) {
        error = fileTooLargeMessage(shownName, file.size(), limit);
        return false;
    }
    bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        error = fileTooLargeMessage(shownName, qMax(file.size(), qint64{bytes.size()}), limit);
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace hw
