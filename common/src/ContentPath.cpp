#include "hw/ContentPath.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace hw {
namespace {

constexpr QDir::Filters kAllEntries = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// "C:" at the start of a component: a drive on the system the content was written for.
bool startsWithDrive(QStringView component)
{
    return component.size() >= 2 && component[1] == QLatin1Char(':') && component[0].unicode() < 0x80
        && component[0].isLetter();
}

QStringList components(const QString& path)
{
    QString normalized = path;
    normalized.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The rule for every component, whether the path is the program's own or content's.
QString componentRefusal(const QString& path)
{
    for (const QString& part : components(path)) {
        if (part == QLatin1String(".."))
            return QStringLiteral("The name %1 leads out of the library (\"..\")").arg(path);
        if (startsWithDrive(part))
            return QStringLiteral("The name %1 names a drive; names in a library are relative").arg(path);
    }
    return {};
}

} // namespace

QString contentPathRefusal(const QString& path)
{
    if (!path.isEmpty() && isSeparator(path.front()))
        return QStringLiteral("The name %1 is an absolute path; names in a library are relative").arg(path);
    return componentRefusal(path);
}

ContentLookup::ContentLookup(const QDir& root)
    : root_(root)
{ }

// Finds one component in dir: the exact name if present, else the first entry (in the
// file system's order) equal to it without regard to case.
QString ContentLookup::findComponent(const QString& dir, const QString& name) const
{
    const QString exact = dir + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact))
        return exact;
    auto listing = listings_.constFind(dir);
    if (listing == listings_.constEnd()) {
        QHash<QString, QString> names;
        QDirIterator it(dir, kAllEntries);
        while (it.hasNext()) {
            it.next();
            const QString folded = it.fileName().toCaseFolded();
            if (!names.contains(folded)) // the first of a kind in listing order
                names.insert(folded, it.fileName());
        }
        listing = listings_.insert(dir, names);
    }
    const auto found = listing->constFind(name.toCaseFolded());
    return found == listing->constEnd() ? QString() : dir + QLatin1Char('/') + *found;
}

QString ContentLookup::resolve(const QString& path) const
{
    if (path.isEmpty())
        return {};
    const bool absolute = path.startsWith(QLatin1Char('/'));
    if (!(absolute ? componentRefusal(path) : contentPathRefusal(path)).isEmpty())
        return {};
    // On this system a backslash can be part of a file's name: an absolute path that names
    // an existing entry as it is written is that entry.
    if (absolute && path.contains(QLatin1Char('\\')) && QFileInfo::exists(path))
        return QDir::cleanPath(path);
    QString current = absolute ? QString() : root_.absolutePath();
    for (const QString& part : components(path)) {
        if (part == QLatin1String("."))
            continue;
        current = findComponent(current.isEmpty() ? QStringLiteral("/") : current, part);
        if (current.isEmpty())
            return {};
        if (current.startsWith(QLatin1String("//")))
            current.remove(0, 1);
    }
    return current.isEmpty() ? QStringLiteral("/") : QDir::cleanPath(current);
}

QString resolveContentPath(const QString& path, const QDir& root)
{
    return ContentLookup(root).resolve(path);
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
