#include "hw/ContentPath.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace hw {
namespace {

constexpr QDir::Filters kAllEntries = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

// Finds one component in dir: the exact name if present, else the first entry (in the
// file system's order) equal to it without regard to case.
QString findComponent(const QString& dir, const QString& name)
{
    const QString exact = dir + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact))
        return exact;
    QDirIterator it(dir, kAllEntries);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return it.filePath();
    }
    return {};
}

} // namespace

QString resolveContentPath(const QString& path, const QDir& root)
{
    if (path.isEmpty())
        return {};
    // On this system a backslash can be part of a file's name: an absolute path that names
    // an existing entry as it is written is that entry.
    if (QDir::isAbsolutePath(path) && path.contains(QLatin1Char('\\')) && QFileInfo::exists(path))
        return QDir::cleanPath(path);
    QString normalized = path;
    normalized.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString current = normalized.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : root.absolutePath();
    const QStringList parts = normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            current = QFileInfo(current).absolutePath();
            continue;
        }
        if (current == QLatin1String("/"))
            current.clear();
        current = findComponent(current.isEmpty() ? QStringLiteral("/") : current, part);
        if (current.isEmpty())
            return {};
        if (current.startsWith(QLatin1String("//")))
            current.remove(0, 1);
    }
    return QDir::cleanPath(current);
}

QStringList listContentFolder(const QString& folder, const QString& pattern, const QDir& root)
{
    QStringList names;
    const QString dir = resolveContentPath(folder, root);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return names;
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(
                                       pattern, QRegularExpression::UnanchoredWildcardConversion),
                                   QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(match.pattern()),
                                      QRegularExpression::CaseInsensitiveOption);
    QDirIterator it(dir, kAllEntries);
    while (it.hasNext()) {
        it.next();
        if (anchored.match(it.fileName()).hasMatch())
            names << it.fileName();
    }
    return names;
}

} // namespace hw
