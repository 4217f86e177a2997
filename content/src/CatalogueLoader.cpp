#include "hw/content/Catalogue.h"

#include "FolderIndex.h"
#include "Materials.h"
#include "hw/AnsiText.h"
#include "hw/ContentPath.h"
#include "hw/Exception.h"
#include "hw/content/Bitmap.h"
#include "hw/content/IniFile.h"
#include "hw/content/IntegerText.h"

#include <QFileInfo>

namespace hw {

// Far more steps than any lesson has; a count beyond it is a typing error that would
// otherwise create topics until memory runs out.
constexpr int32_t kMaxTopicsPerChain = 10000;

class CatalogueLoader {
public:
    CatalogueLoader(Catalogue& catalogue, const DisplayNameSink& sink, const QDir& root)
        : catalogue_(catalogue)
        , sink_(sink)
        , root_(root)
    { }

    std::vector<CatalogueError> run()
    {
        loadPatterns();
        loadSection(QStringLiteral("QuickTour"), catalogue_.quickTourList_);
        loadSection(QStringLiteral("Techniques"), catalogue_.techniquesList_);
        return std::move(errors_);
    }

private:
    static int32_t topicCount(const QByteArray& text)
    {
        const int32_t count = strToInt(text);
        if (count > kMaxTopicsPerChain)
            throw EContentError(QStringLiteral("'%1' is too many topics (at most %2)")
                                    .arg(ansiToQString(text))
                                    .arg(kMaxTopicsPerChain));
        return count;
    }

    // Topic N of a pattern or section file, its values read in the order title, start,
    // stop, offset.
    static std::unique_ptr<tTopicRecord> readTopic(const IniFile& ini, int32_t n, const QByteArray& titleKey)
    {
        const QByteArray section = QByteArrayLiteral("Topics ") + QByteArray::number(n);
        auto topic = std::make_unique<tTopicRecord>();
        topic->title = ini.readString(section, titleKey, QByteArrayLiteral("Unknown"));
        topic->startFrame
            = strToInt(ini.readString(section, QByteArrayLiteral("StartFrame"), QByteArrayLiteral("0")));
        topic->stopFrame
            = strToInt(ini.readString(section, QByteArrayLiteral("StopFrame"), QByteArrayLiteral("0")));
        topic->offset
            = strToInt(ini.readString(section, QByteArrayLiteral("Offset"), QByteArrayLiteral("0")));
        return topic;
    }

    void loadPatterns()
    {
        const QString folder = QStringLiteral("Flies");
        const FolderIndex flies(folder, root_);
        if (!flies.exists())
            return;
        tFlyRecord* head = nullptr;
        tFlyRecord* tail = nullptr;
        for (const QString& name : listContentFolder(folder, QStringLiteral("*.ini"), root_)) {
            QString file = QStringLiteral("Flies\\") + name;
            try {
                // A listed name is looked up as it is spelt, yet the lesson's other files
                // follow from it: one that would lead out of the library is refused.
                if (const QString refusal = contentPathRefusal(name); !refusal.isEmpty())
                    throw EContentError(refusal);
                const IniFile ini = IniFile::open(flies.resolve(name), file);
                auto fly = std::make_unique<tFlyRecord>();
                const QString baseName = name.chopped(4);
                fly->baseName = qstringToAnsi(baseName);
                fly->listedBaseName = baseName;
                file = QStringLiteral("Flies\\") + baseName + QStringLiteral(".bmp");
                fly->picture = loadBitmapFile(flies.resolve(baseName + QStringLiteral(".bmp")), file);
                file = QStringLiteral("Flies\\") + name;
                fly->displayName = ini.readString(QByteArrayLiteral("Info"), QByteArrayLiteral("name"),
                                                  QByteArrayLiteral("Unknown"));
                fly->numSteps = topicCount(ini.readString(
                    QByteArrayLiteral("Info"), QByteArrayLiteral("numsteps"), QByteArrayLiteral("0")));
                std::vector<std::unique_ptr<tTopicRecord>> steps;
                if (fly->numSteps > 0)
                    steps.reserve(static_cast<size_t>(fly->numSteps));
                for (int32_t n = 1; n <= fly->numSteps; ++n)
                    steps.push_back(readTopic(ini, n, QByteArrayLiteral("title")));
                fly->materials = readMaterials(ini, QByteArrayLiteral("Materials"));

                // The pattern is complete: only now does it join the catalogue and the
                // gallery, so that a failing file leaves neither a record nor a name.
                for (size_t i = 0; i + 1 < steps.size(); ++i)
                    steps[i]->next = steps[i + 1].get();
                if (!steps.empty())
                    fly->topics = steps.front().get();
                for (auto& step : steps)
                    catalogue_.topics_.push_back(std::move(step));
                fly->previous = tail;
                if (tail)
                    tail->next = fly.get();
                else
                    head = fly.get();
                tail = fly.get();
                catalogue_.flies_.push_back(std::move(fly));
                if (sink_)
                    sink_(tail->displayName);
            } catch (const Exception& e) {
                errors_.push_back({e.message(), file});
            }
        }
        catalogue_.flyList_ = head; // published whole, once every pattern has been read
    }

    // Each topic joins the list as soon as its four values are read, so a failing file
    // keeps the topics before the failure.
    void loadSection(const QString& name, tTopicRecord*& list)
    {
        list = nullptr;
        const QString path
            = resolveContentPath(name + QLatin1Char('\\') + name + QStringLiteral(".ini"), root_);
        if (path.isEmpty())
            return;
        const QString file = name + QLatin1Char('\\') + QFileInfo(path).fileName();
        try {
            const IniFile ini = IniFile::open(path, file);
            const int32_t count = topicCount(ini.readString(
                QByteArrayLiteral("Info"), QByteArrayLiteral("NumTopics"), QByteArrayLiteral("0")));
            tTopicRecord* tail = nullptr;
            for (int32_t n = 1; n <= count; ++n) {
                auto topic = readTopic(ini, n, QByteArrayLiteral("Title"));
                tTopicRecord* added = topic.get();
                catalogue_.topics_.push_back(std::move(topic));
                if (tail)
                    tail->next = added;
                else
                    list = added;
                tail = added;
            }
        } catch (const Exception& e) {
            errors_.push_back({e.message(), file});
        }
    }

    Catalogue& catalogue_;
    const DisplayNameSink& sink_;
    QDir root_;
    std::vector<CatalogueError> errors_;
};

std::vector<CatalogueError> initResources(Catalogue& catalogue, const DisplayNameSink& sink, const QDir& root)
{
    Q_ASSERT_X(!catalogue.flyList() && !catalogue.quickTourList() && !catalogue.techniquesList(),
               "initResources", "the catalogue is loaded once");
    return CatalogueLoader(catalogue, sink, root).run();
}

} // namespace hw
