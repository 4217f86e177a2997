#include "hw/check/LibraryCheck.h"

#include "CaptionChecks.h"
#include "Findings.h"
#include "IniChecks.h"
#include "PictureChecks.h"
#include "TopicChecks.h"
#include "VideoProbe.h"
#include "hw/media/CaptionTrack.h"

#include "hw/AnsiText.h"
#include "hw/ContentPath.h"
#include "hw/content/Catalogue.h"
#include "hw/content/IniFile.h"
#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <climits>
#include <memory>

namespace hw::check {
namespace {

const IniLayout kPatternLayout{QByteArrayLiteral("numsteps"),
                               {QByteArrayLiteral("name"), QByteArrayLiteral("numsteps")},
                               {QByteArrayLiteral("title"), QByteArrayLiteral("StartFrame"),
                                QByteArrayLiteral("StopFrame"), QByteArrayLiteral("Offset")},
                               true};
const IniLayout kSectionLayout{QByteArrayLiteral("NumTopics"),
                               {QByteArrayLiteral("NumTopics")},
                               {QByteArrayLiteral("Title"), QByteArrayLiteral("StartFrame"),
                                QByteArrayLiteral("StopFrame"), QByteArrayLiteral("Offset")},
                               false};

// The content path of an existing file as the disc spells it, e.g. "Flies\adams.BMP".
QString spelledOnDisc(const QString& absolute, const QDir& root)
{
    return root.relativeFilePath(absolute).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

class LibraryChecker {
public:
    explicit LibraryChecker(const QDir& root)
        : root_(root)
        , out_(report_)
    {
        report_.root = root.absolutePath();
    }

    CheckReport run()
    {
        const std::vector<CatalogueError> loadErrors = initResources(catalogue_, {}, root_);
        checkPatternFiles();
        checkCataloguePatterns();
        checkSection(QStringLiteral("QuickTour"), catalogue_.quickTourList());
        checkSection(QStringLiteral("Techniques"), catalogue_.techniquesList());
        // Every error the tutor shows, where reading the files value by value has not
        // already named it with its line.
        for (const CatalogueError& e : loadErrors) {
            if (out_.contains(e.file, e.message))
                continue;
            QString code = QStringLiteral("load-error");
            if (e.file.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
                code = e.message.startsWith(QStringLiteral("Cannot open file"))
                    ? QStringLiteral("picture-missing")
                    : QStringLiteral("picture-unreadable");
            out_.error(code, e.file, 0, e.message);
        }
        checkRecipeCards();
        // File by file in the order first met, each file's findings by line.
        QHash<QString, int> fileOrder;
        for (const Finding& f : report_.findings)
            if (!fileOrder.contains(f.file))
                fileOrder.insert(f.file, f.file.isEmpty() ? INT_MAX : int(fileOrder.size()));
        std::stable_sort(report_.findings.begin(), report_.findings.end(),
                         [&](const Finding& a, const Finding& b) {
                             const int fa = fileOrder.value(a.file), fb = fileOrder.value(b.file);
                             return fa != fb ? fa < fb : a.line < b.line;
                         });
        return std::move(report_);
    }

private:
    // Resolves a content path; warns when it is found only by ignoring case.
    QString find(const QString& contentPath, const QString& reportingFile)
    {
        const QString found = resolveContentPath(contentPath, root_);
        if (found.isEmpty())
            return found;
        QString exact = contentPath;
        exact.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!QFileInfo::exists(root_.filePath(exact)))
            out_.warning(QStringLiteral("name-case"), reportingFile, 0,
                         QStringLiteral("%1 is found only as %2: the names differ in case")
                             .arg(contentPath, spelledOnDisc(found, root_)));
        return found;
    }

    void checkPatternFiles()
    {
        find(QStringLiteral("Flies"), QString());
        for (const QString& name :
             listContentFolder(QStringLiteral("Flies"), QStringLiteral("*.ini"), root_)) {
            const QString file = QStringLiteral("Flies\\") + name;
            const QString path = resolveContentPath(file, root_);
            if (path.isEmpty() || !QFileInfo(path).isFile())
                continue;
            ++report_.patterns;
            const IniFile ini(path);
            reportIniNotes(ini, file, out_);
            const ChainFile chain = readChainFile(ini, file, kPatternLayout.countKey, out_);
            reportUnread(ini, file, kPatternLayout, chain.count, out_);
            if (!ini.lineOf(QByteArrayLiteral("Info"), QByteArrayLiteral("name")))
                out_.warning(
                    QStringLiteral("name-missing"), file, 0,
                    QStringLiteral(
                        "there is no name= in [Info]: the gallery lists this pattern as \"Unknown\""));
            const QString base = name.chopped(4);
            patternFiles_.insert(qstringToAnsi(base),
                                 {file, chain,
                                  ini.lineOf(QByteArrayLiteral("Info"), QByteArrayLiteral("name")),
                                  ini.lineOf(QByteArrayLiteral("Info"), QByteArrayLiteral("numsteps"))});
            find(QStringLiteral("Flies\\") + base + QStringLiteral(".bmp"), file);
        }
    }

    void checkCataloguePatterns()
    {
        QHash<QByteArray, QString> firstByName;
        for (const tFlyRecord* fly = catalogue_.flyList(); fly; fly = fly->next) {
            const PatternFile pattern = patternFiles_.value(fly->baseName);
            const QString base = ansiToQString(fly->baseName);
            checkGalleryPicture(fly->picture, QStringLiteral("Flies\\") + base + QStringLiteral(".bmp"),
                                out_);
            if (const auto first = firstByName.constFind(fly->displayName); first != firstByName.constEnd())
                out_.error(
                    QStringLiteral("name-shared"), pattern.file, pattern.nameLine,
                    QStringLiteral("the name \"%1\" is also that of %2, which comes first: this pattern "
                                   "can never be opened")
                        .arg(ansiToQString(fly->displayName), *first));
            else
                firstByName.insert(fly->displayName, pattern.file);
            if (!fly->topics) {
                out_.warning(QStringLiteral("no-topics"), pattern.file, pattern.countLine,
                             QStringLiteral(
                                 "the pattern has no steps (numsteps is %1): its lesson has nothing to show")
                                 .arg(fly->numSteps));
                continue;
            }
            checkVideo(QStringLiteral("Flies\\") + base + QStringLiteral(".avi"), pattern.file, fly->topics,
                       pattern.chain, true);
        }
    }

    void checkSection(const QString& name, const tTopicRecord* topics)
    {
        const QString contentPath = name + QLatin1Char('\\') + name + QStringLiteral(".ini");
        const QString path = find(contentPath, QString());
        if (path.isEmpty()) {
            out_.warning(QStringLiteral("section-missing"), contentPath, 0,
                         QStringLiteral("there is no %1 file: the section has no topics").arg(contentPath));
            return;
        }
        const QString file = spelledOnDisc(path, root_);
        const IniFile ini(path);
        reportIniNotes(ini, file, out_);
        const ChainFile chain = readChainFile(ini, file, kSectionLayout.countKey, out_);
        reportUnread(ini, file, kSectionLayout, chain.count, out_);
        if (!topics) {
            out_.warning(QStringLiteral("no-topics"), file,
                         ini.lineOf(QByteArrayLiteral("Info"), kSectionLayout.countKey),
                         QStringLiteral("the section has no topics: its screen has nothing to show"));
            return;
        }
        checkVideo(name + QLatin1Char('\\') + name + QStringLiteral(".avi"), file, topics, chain, false);
    }

    void checkVideo(const QString& video, const QString& file, const tTopicRecord* topics,
                    const ChainFile& chain, bool isSteps)
    {
        const QString path = find(video, file);
        if (path.isEmpty()) {
            out_.error(QStringLiteral("video-missing"), file, 0,
                       QStringLiteral("the video %1 is missing").arg(video));
            return;
        }
        const VideoProbe probe = probeVideo(path);
        if (!probe.opened) {
            out_.error(QStringLiteral("video-unopenable"), spelledOnDisc(path, root_), 0,
                       QStringLiteral("the video does not open: %1").arg(probe.error));
            return;
        }
        ++report_.videos;
        checkChainRanges(topics, chain, file, spelledOnDisc(path, root_), probe.facts, isSteps, out_);
        if (const QString captions = findCaptionFile(path); !captions.isEmpty())
            checkCaptions(captions, spelledOnDisc(captions, root_), topics, probe.facts, out_);
    }

    void checkRecipeCards()
    {
        std::unique_ptr<QObject> owner;
        if (!recipeCards()[0]) {
            owner = std::make_unique<QObject>();
            createRecipeCards(owner.get());
        }
        for (const RecipeCard* card : recipeCards()) {
            if (!card || catalogue_.findFly(card->displayName()))
                continue;
            const QString name = ansiToQString(card->displayName());
            const tFlyRecord* near = nullptr;
            for (const tFlyRecord* fly = catalogue_.flyList(); fly && !near; fly = fly->next)
                if (ansiToQString(fly->displayName).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                    near = fly;
            if (near)
                out_.error(
                    QStringLiteral("card-name-case"), patternFiles_.value(near->baseName).file, 0,
                    QStringLiteral("the recipe card \"%1\" needs a pattern named exactly so; \"%2\" differs "
                                   "in case or blanks, so Print Recipe shows nothing")
                        .arg(name, ansiToQString(near->displayName)));
            else
                out_.warning(
                    QStringLiteral("card-without-pattern"), QString(), 0,
                    QStringLiteral("the recipe card \"%1\" has no pattern of that name in this library")
                        .arg(name));
        }
    }

    struct PatternFile {
        QString file;
        ChainFile chain;
        int nameLine = 0;  // of name= in [Info]
        int countLine = 0; // of numsteps= in [Info]
    };

    QDir root_;
    CheckReport report_;
    Findings out_;
    Catalogue catalogue_;
    QHash<QByteArray, PatternFile> patternFiles_;
};

} // namespace

int CheckReport::count(Severity severity) const
{
    int n = 0;
    for (const Finding& f : findings)
        n += f.severity == severity ? 1 : 0;
    return n;
}

bool CheckReport::has(const QString& code) const
{
    for (const Finding& f : findings)
        if (f.code == code)
            return true;
    return false;
}

CheckReport checkLibrary(const QDir& root)
{
    return LibraryChecker(root).run();
}

} // namespace hw::check
