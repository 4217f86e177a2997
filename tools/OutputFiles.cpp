#include "OutputFiles.h"

#include "hw/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <sys/stat.h>

namespace hw::tool {

QString commandLinePath(const QString& argument)
{
    QString normalized = argument;
    normalized.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!normalized.split(QLatin1Char('/')).contains(QStringLiteral("..")))
        return argument;
    return QDir::cleanPath(QDir::current().absoluteFilePath(normalized));
}

QString sameFileRefusal(const QString& input, const QString& out)
{
    const QString in = QFileInfo(input).canonicalFilePath();
    const QString target = QFileInfo(out).canonicalFilePath(); // empty when out does not exist yet
    struct stat a {
    }, b{};
    const bool sameInode = ::stat(QFile::encodeName(input).constData(), &a) == 0
        && ::stat(QFile::encodeName(out).constData(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
    if ((!in.isEmpty() && in == target) || sameInode)
        return QStringLiteral("%1 is the input %2 itself; choose another output file").arg(out, input);
    return {};
}

bool savePng(const QImage& image, const QString& out, QString& error)
{
    FileReplacement replacement(out);
    const QString partial = replacement.partialPath();
    if (partial.isEmpty()) {
        error = replacement.error();
        return false;
    }
    QImageWriter writer(partial, "png");
    if (!writer.write(image)) {
        error = QStringLiteral("cannot write %1: %2").arg(out, writer.errorString());
        return false;
    }
    if (!replacement.commit()) {
        error = replacement.error();
        return false;
    }
    return true;
}

} // namespace hw::tool
