#include "hw/check/LibraryCheck.h"
#include "hw/Narrow.h"

#include "CaptionChecks.h"
#include "Findings.h"
#include "IniChecks.h"
#include "PictureChecks.h"
#include "TopicChecks.h"
#include "VideoProbe.h"
#include "hw/media/CaptionTrack.h"

#include "hw/AnsiText.h"
#include "hw/ContentPath.h"
#include "hw/Exception.h"
#include "hw/content/Bitmap.h"
#include "hw/content/Catalogue.h"
#include "hw/content/IniFile.h"
#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dirent.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

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
        , lookup_(root)
        , out_(report_)
    {
        report_.root = root.absolutePath();
    }

    CheckReport run()
    {
        const std::vector<CatalogueError> loadErrors = initResources(catalogue_, {}, root_);
        checkPatternFiles();
        checkSharedNames();
        checkSection(QStringLiteral("QuickTour"));
        checkSection(QStringLiteral("Techniques"));
        checkSplash();
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
                fileOrder.insert(f.file, f.file.isEmpty() ? INT_MAX : intSize(fileOrder));
        std::stable_sort(report_.findings.begin(), report_.findings.end(),
                         [&](const Finding& a, const Finding& b) {
                             const int fa = fileOrder.value(a.file), fb = fileOrder.value(b.file);
                             return fa != fb ? fa < fb : a.line < b.line;
                         });
        return std::move(report_);
    }

private:
    // Resolves a content path (each folder listed once for the whole check); notes when it
    // is found only by ignoring case.
    QString find(const QString& contentPath, const QString& reportingFile)
    {
        const QString found = lookup_.resolve(contentPath);
        if (found.isEmpty())
            return found;
        QString exact = contentPath;
        exact.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!QFileInfo::exists(root_.filePath(exact)))
            out_.note(QStringLiteral("name-case"), reportingFile, 0,
                      QStringLiteral("%1 is found only as %2: the names differ in case, which this system "
                                     "forgives but not every disc")
                          .arg(contentPath, spelledOnDisc(found, root_)));
        return found;
    }

    // Each pattern file whole: its lines and values, its picture and its video, whether or
    // not the tutor could load it (it skips a pattern at its first error).
    void checkPatternFiles()
    {
        warnUndecodableNames(find(QStringLiteral("Flies"), QString()));
        for (const QString& name :
             listContentFolder(QStringLiteral("Flies"), QStringLiteral("*.ini"), root_)) {
            const QString file = QStringLiteral("Flies\\") + name;
            if (const QString refusal = contentPathRefusal(name); !refusal.isEmpty()) {
                out_.error(QStringLiteral("name-refused"), file, 0, refusal);
                continue;
            }
            const QString path = find(file, QString());
            if (!QFileInfo(path).isFile())
                continue;
            ++report_.patterns;
            const std::optional<IniFile> ini_ = open(path, file);
            if (!ini_)
                continue;
            const IniFile& ini = *ini_;
            reportIniNotes(ini, file, out_);
            const ChainFile chain = readChainFile(ini, file, kPatternLayout.countKey, out_);
            reportUnread(ini, file, kPatternLayout, chain.count, out_);
            const int nameLine = ini.lineOf(QByteArrayLiteral("Info"), QByteArrayLiteral("name"));
            if (!nameLine)
                out_.warning(
                    QStringLiteral("name-missing"), file, 0,
                    QStringLiteral(
                        "there is no name= in [Info]: the gallery lists this pattern as \"Unknown\""));
            const QString base = name.chopped(4);
            patternFiles_.insert(base, {file, nameLine});
            checkPicture(QStringLiteral("Flies\\") + base + QStringLiteral(".bmp"), file);
            if (chain.count == 0) {
                out_.warning(
                    QStringLiteral("no-topics"), file,
                    ini.lineOf(QByteArrayLiteral("Info"), kPatternLayout.countKey),
                    QStringLiteral(
                        "the pattern has no steps (numsteps is %1): its lesson has nothing to show")
                        .arg(ansiToQString(ini.readString(QByteArrayLiteral("Info"), kPatternLayout.countKey,
                                                          QByteArrayLiteral("0")))));
                continue;
            }
            checkVideo(QStringLiteral("Flies\\") + base + QStringLiteral(".avi"), file, chain, true);
        }
    }

    // A pattern file whose name is not UTF-8 is left out of every listing the tutor makes:
    // its pattern would be missing without a word.
    void warnUndecodableNames(const QString& folder)
    {
        if (folder.isEmpty())
            return;
        DIR* dir = ::opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (!name.toLower().endsWith(".ini") || QFile::encodeName(QFile::decodeName(name)) == name)
                continue;
            QString shown;
            for (const char c : name)
                shown += static_cast<unsigned char>(c) < 0x80
                    ? QString(QLatin1Char(c))
                    : QStringLiteral("\\x%1").arg(uint(static_cast<unsigned char>(c)), 2, 16,
                                                  QLatin1Char('0'));
            out_.warning(QStringLiteral("name-undecodable"), QStringLiteral("Flies\\") + shown, 0,
                         QStringLiteral("the file name is not in the system's encoding (UTF-8): the tutor "
                                        "cannot see the file, and its pattern is left out"));
        }
        ::closedir(dir);
    }

    // A lesson file as the tutor reads it, or none when it is too large (reported).
    std::optional<IniFile> open(const QString& path, const QString& file)
    {
        try {
            return IniFile::open(path, file);
        } catch (const Exception& e) {
            out_.error(QStringLiteral("file-too-large"), file, 0, e.message());
            return std::nullopt;
        }
    }

    void checkPicture(const QString& picture, const QString& file)
    {
        const QString path = find(picture, file);
        if (path.isEmpty()) {
            // The tutor's own words for it, so that its load error is not listed again.
            out_.error(QStringLiteral("picture-missing"), picture, 0,
                       QStringLiteral("Cannot open file %1").arg(picture));
            return;
        }
        QImage image;
        try {
            image = loadBitmapFile(path, picture);
        } catch (const Exception& e) {
            out_.error(QStringLiteral("picture-unreadable"), picture, 0, e.message());
            return;
        }
        checkGalleryPicture(image, picture, out_);
        checkLessonPicture(image, picture, out_);
    }

    // Two patterns of one name: the gallery opens the first in the tutor's order.
    void checkSharedNames()
    {
        QHash<QByteArray, QString> firstByName;
        for (const tFlyRecord* fly = catalogue_.flyList(); fly; fly = fly->next) {
            const PatternFile pattern = patternFiles_.value(fly->listedBaseName);
            if (const auto first = firstByName.constFind(fly->displayName); first != firstByName.constEnd())
                out_.error(
                    QStringLiteral("name-shared"), pattern.file, pattern.nameLine,
                    QStringLiteral("the name \"%1\" is also that of %2, which comes first: this pattern "
                                   "can never be opened")
                        .arg(ansiToQString(fly->displayName), *first));
            else
                firstByName.insert(fly->displayName, pattern.file);
        }
    }

    void checkSection(const QString& name)
    {
        const QString contentPath = name + QLatin1Char('\\') + name + QStringLiteral(".ini");
        const QString path = find(contentPath, QString());
        if (path.isEmpty()) {
            out_.warning(QStringLiteral("section-missing"), contentPath, 0,
                         QStringLiteral("there is no %1 file: the section has no topics").arg(contentPath));
            return;
        }
        const QString file = spelledOnDisc(path, root_);
        const std::optional<IniFile> ini_ = open(path, file);
        if (!ini_)
            return;
        const IniFile& ini = *ini_;
        reportIniNotes(ini, file, out_);
        const ChainFile chain = readChainFile(ini, file, kSectionLayout.countKey, out_);
        reportUnread(ini, file, kSectionLayout, chain.count, out_);
        if (chain.count == 0) {
            out_.warning(QStringLiteral("no-topics"), file,
                         ini.lineOf(QByteArrayLiteral("Info"), kSectionLayout.countKey),
                         QStringLiteral("the section has no topics: its screen has nothing to show"));
            return;
        }
        checkVideo(name + QLatin1Char('\\') + name + QStringLiteral(".avi"), file, chain, false);
    }

    // The video the tutor plays before anything else.
    void checkSplash()
    {
        const QString video = QStringLiteral("SplashScreen\\SplashScreen.avi");
        const QString path = find(video, QString());
        if (path.isEmpty()) {
            out_.warning(QStringLiteral("splash-missing"), video, 0,
                         QStringLiteral("there is no %1: the tutor starts with the error \"Cannot find the "
                                        "specified file\" in place of the splash video")
                             .arg(video));
            return;
        }
        probe(path);
    }

    // Opens a video as the tutor does; its facts, or none with the error reported.
    std::optional<VideoFacts> probe(const QString& path)
    {
        const VideoProbe probe = probeVideo(path);
        if (!probe.opened) {
            out_.error(QStringLiteral("video-unopenable"), spelledOnDisc(path, root_), 0,
                       QStringLiteral("the video does not open: %1").arg(probe.error));
            return std::nullopt;
        }
        ++report_.videos;
        return probe.facts;
    }

    void checkVideo(const QString& video, const QString& file, const ChainFile& chain, bool isSteps)
    {
        const QString path = find(video, file);
        if (path.isEmpty()) {
            out_.error(QStringLiteral("video-missing"), file, 0,
                       QStringLiteral("the video %1 is missing").arg(video));
            return;
        }
        const std::optional<VideoFacts> facts = probe(path);
        if (!facts)
            return;
        checkChainRanges(chain, file, spelledOnDisc(path, root_), *facts, isSteps, out_);
        if (const QString captions = findCaptionFile(path); !captions.isEmpty())
            checkCaptions(captions, spelledOnDisc(captions, root_), chain, *facts, out_);
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
                    QStringLiteral("card-name-case"), patternFiles_.value(near->listedBaseName).file, 0,
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
        int nameLine = 0; // of name= in [Info]
    };

    QDir root_;
    ContentLookup lookup_;
    CheckReport report_;
    Findings out_;
    Catalogue catalogue_;
    QHash<QString, PatternFile> patternFiles_; // by the base name as listed
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
