// Content path resolution on a fixed tree whose names differ in case, in letters beyond
// ASCII and in blanks: a path resolves to an existing entry or to nothing; a path that
// stays inside the tree resolves inside it, component by component equal to what was
// asked without regard to case, with an exact spelling winning. The folder index of the
// catalogue loader agrees with the resolver, and a folder listing returns only entries
// that match its pattern.
#include "FuzzTargets.h"

#include "FolderIndex.h"
#include "hw/ContentPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace hw::fuzz {
namespace {

const QDir& tree()
{
    static QTemporaryDir dir;
    static const QDir root = [] {
        const QDir top(dir.path() + QStringLiteral("/root"));
        const QStringList files = {
            QStringLiteral("Flies/Adams.ini"),
            QStringLiteral("Flies/ADAMS.BMP"),
            QStringLiteral("Flies/adams.avi"),
            QStringLiteral("Flies/Cr\u00e8me Caddis.ini"),
            QStringLiteral("Flies/CR\u00c8ME CADDIS.bmp"),
            QStringLiteral("Flies/stra\u00dfe.ini"),
            QStringLiteral("Flies/a b.ini"),
            QStringLiteral("Flies/back\\slash.ini"),
            QStringLiteral("Flies/.hidden.ini"),
            QStringLiteral("Flies/folder.ini/inner.txt"),
            QStringLiteral("QuickTour/QuickTour.INI"),
            QStringLiteral("QuickTour/quicktour.avi"),
            QStringLiteral("techniques/Techniques.ini"),
            QStringLiteral("Mixed/X"),
            QStringLiteral("Mixed/x"),
            QStringLiteral("Mixed/deep/er/File.TXT"),
        };
        for (const QString& f : files) {
            const QString full = top.filePath(f);
            QDir().mkpath(QFileInfo(full).absolutePath());
            QFile file(full);
            if (file.open(QIODevice::WriteOnly))
                file.write("x");
        }
        return top;
    }();
    return root;
}

// How many levels a path climbs above its start at its worst, or -1 when it is absolute.
int climb(const QString& normalized)
{
    if (normalized.startsWith(QLatin1Char('/')))
        return -1;
    int depth = 0;
    int worst = 0;
    for (const QString& part : normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        depth += part == QLatin1String("..") ? -1 : 1;
        worst = std::min(worst, depth);
    }
    return -worst;
}

// Case-insensitive wildcard match with * and ? only, over the whole name.
bool globMatch(const QString& pattern, const QString& name)
{
    const QString p = pattern.toCaseFolded();
    const QString n = name.toCaseFolded();
    std::vector<std::vector<char>> m(size_t(p.size()) + 1, std::vector<char>(size_t(n.size()) + 1, 0));
    m[0][0] = 1;
    for (qsizetype i = 1; i <= p.size(); ++i) {
        const QChar c = p[i - 1];
        for (qsizetype j = 0; j <= n.size(); ++j) {
            if (c == QLatin1Char('*'))
                m[i][j] = m[i - 1][j] || (j > 0 && m[i][j - 1]);
            else if (j > 0)
                m[i][j] = m[i - 1][j - 1] && (c == QLatin1Char('?') || c == n[j - 1]);
        }
    }
    return m[p.size()][n.size()];
}

} // namespace

int contentPath(const uint8_t* data, size_t size)
{
    initialize();
    Input in(data, size);
    const uint8_t op = in.byte();
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char*>(in.rest()), qsizetype(in.remaining()));
    const QDir& root = tree();
    const QString rootPath = root.absolutePath();

    QString normalized = text;
    normalized.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (normalized.contains(QChar(0)))
        return 0; // no file system name holds a NUL
    // Paths that leave the tree would wander the machine's own folders: not this tree's
    // business, and not deterministic.
    if (climb(normalized) != 0)
        return 0;

    switch (op % 3) {
    case 0: {
        const QString got = resolveContentPath(text, root);
        if (got.isEmpty())
            break;
        check(QFileInfo::exists(got), "resolved to a missing entry: " + got.toStdString());
        check(got == rootPath || got.startsWith(rootPath + QLatin1Char('/')),
              "resolved outside the tree: " + got.toStdString());
        check(got == QDir::cleanPath(got), "resolved path is not clean: " + got.toStdString());
        // Component by component the same names, without regard to case.
        const QString wanted = QDir::cleanPath(rootPath + QLatin1Char('/') + normalized);
        check(got.compare(wanted, Qt::CaseInsensitive) == 0,
              "resolved " + text.toStdString() + " to " + got.toStdString());
        // An exact spelling that exists is the answer.
        if (QFileInfo::exists(wanted) && QDir(wanted).canonicalPath() == QDir::cleanPath(wanted))
            check(got == wanted, "exact " + wanted.toStdString() + " lost to " + got.toStdString());
        break;
    }
    case 1: {
        // A name in the pattern folder: the loader's index and the resolver agree.
        if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) || text.isEmpty()
            || text == QLatin1String(".") || text == QLatin1String(".."))
            break;
        static const FolderIndex flies(QStringLiteral("Flies"), root);
        const QString viaIndex = flies.resolve(text);
        const QString viaPath = resolveContentPath(QStringLiteral("Flies\\") + text, root);
        check(viaIndex == viaPath,
              "index gives '" + viaIndex.toStdString() + "', resolver '" + viaPath.toStdString() + "' for "
                  + text.toStdString());
        break;
    }
    case 2: {
        // The listing: only entries that match, each of them existing.
        const qsizetype cut = text.indexOf(QLatin1Char('|'));
        const QString folder = cut < 0 ? QStringLiteral("Flies") : text.left(cut);
        const QString pattern = cut < 0 ? text : text.mid(cut + 1);
        if (climb(QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'))) != 0)
            break;
        const QStringList names = listContentFolder(folder, pattern, root);
        const QString dir = resolveContentPath(folder, root);
        // The loader lists with "*.ini" and "*"; patterns of many stars drive the regular
        // expression engine into its backtracking limit, where a match is not found.
        const bool plainPattern = !pattern.contains(QLatin1Char('[')) && !pattern.contains(QLatin1Char(']'))
            && !pattern.contains(QLatin1Char('\\')) && pattern.count(QLatin1Char('*')) <= 4;
        for (const QString& name : names) {
            check(!dir.isEmpty() && QFileInfo::exists(dir + QLatin1Char('/') + name),
                  "listed a missing entry: " + name.toStdString());
            if (plainPattern)
                check(globMatch(pattern, name),
                      "listed " + name.toStdString() + " for " + pattern.toStdString());
        }
        if (plainPattern && !dir.isEmpty()) {
            const QStringList all
                = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& name : all)
                check(names.contains(name) == globMatch(pattern, name),
                      "listing of " + pattern.toStdString() + " disagrees on " + name.toStdString());
        }
        break;
    }
    }
    return 0;
}

} // namespace hw::fuzz
