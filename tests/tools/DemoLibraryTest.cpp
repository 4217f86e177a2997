// The demo lesson library, read back the way the program reads it: through the catalogue
// loader, the case-insensitive content paths and an FFmpeg decoder.
#include "BuiltOnce.h"
#include "ClipReader.h"
#include "LoadedCatalogue.h"

#include "hw/ContentPath.h"
#include "hw/clips/FrameStamp.h"
#include "hw/content/Catalogue.h"
#include "hw/content/CatalogueText.h"
#include "hw/demo/DemoLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using hw::demo::demoPlan;
using hw::test::loadCatalogue;

QList<hw::tTopicRecord*> chain(hw::tTopicRecord* head)
{
    QList<hw::tTopicRecord*> out;
    for (; head; head = head->next)
        out.append(head);
    return out;
}

QList<hw::tFlyRecord*> flies(const hw::Catalogue& c)
{
    QList<hw::tFlyRecord*> out;
    for (hw::tFlyRecord* f = c.flyList(); f; f = f->next)
        out.append(f);
    return out;
}

const hw::demo::PlannedLesson* plannedPattern(const QByteArray& displayName)
{
    for (const hw::demo::PlannedLesson& p : demoPlan().patterns)
        if (p.displayName == displayName)
            return &p;
    return nullptr;
}

void expectTopicsAsPlanned(const QList<hw::tTopicRecord*>& topics, const hw::demo::PlannedLesson& lesson)
{
    ASSERT_EQ(topics.size(), lesson.topics.size());
    for (int i = 0; i < topics.size(); ++i) {
        EXPECT_EQ(topics[i]->title, lesson.topics[i].title);
        EXPECT_EQ(topics[i]->startFrame, lesson.topics[i].startFrame);
        EXPECT_EQ(topics[i]->stopFrame, lesson.topics[i].stopFrame);
        EXPECT_EQ(topics[i]->offset, lesson.topics[i].offset);
    }
}

QString videoOf(const QString& root, const hw::tFlyRecord& fly)
{
    return hw::resolveContentPath(
        QStringLiteral("Flies\\") + QString::fromLatin1(fly.baseName) + QStringLiteral(".avi"), QDir(root));
}

struct Clip {
    QString path;
    QList<hw::tTopicRecord*> topics;
};

// Every lesson's clip with its topics: the patterns', then the Quick Tour's and the Techniques'.
QList<Clip> lessonClips(const QString& root, const hw::Catalogue& catalogue)
{
    QList<Clip> clips;
    for (const hw::tFlyRecord* fly : flies(catalogue))
        clips.append({videoOf(root, *fly), chain(fly->topics)});
    clips.append({hw::resolveContentPath(QStringLiteral("QuickTour\\QuickTour.avi"), QDir(root)),
                  chain(catalogue.quickTourList())});
    clips.append({hw::resolveContentPath(QStringLiteral("Techniques\\Techniques.avi"), QDir(root)),
                  chain(catalogue.techniquesList())});
    return clips;
}

} // namespace

TEST(DemoLibrary, LoadsThroughTheCatalogueAsPlanned)
{
    const QString root = hw::test::demoTree();
    const auto loaded = loadCatalogue(QDir(root));
    EXPECT_TRUE(loaded->errors.empty()) << hw::describeErrors(loaded->errors).toStdString();

    const QList<hw::tFlyRecord*> list = flies(loaded->catalogue);
    ASSERT_GE(list.size(), 10);
    EXPECT_EQ(list.size(), demoPlan().patterns.size());
    QList<QByteArray> listed;
    for (const hw::tFlyRecord* f : list)
        listed.append(f->displayName);
    EXPECT_EQ(loaded->gallery, listed); // one gallery entry per pattern, as it is read

    for (const char* name : {"Bullet Head Hopper", "Deer Hair Cricket", "Parachute Adams",
                             "Gold Ribbed Hare's Ear Nymph", "Parachute Hopper", "Deer Hair Ant"})
        EXPECT_NE(loaded->catalogue.findFly(name), nullptr) << name;

    // The gallery sorts its entries; the fly list keeps the folder's order. They must differ,
    // so that a lookup by position instead of by name shows up as a wrong lesson.
    QList<QByteArray> sorted = listed;
    std::sort(sorted.begin(), sorted.end(), [](const QByteArray& a, const QByteArray& b) {
        return qstricmp(a.constData(), b.constData()) < 0;
    });
    EXPECT_NE(sorted, listed);

    bool valueWithEquals = false;
    for (const hw::tFlyRecord* fly : list) {
        SCOPED_TRACE(fly->displayName.toStdString());
        const hw::demo::PlannedLesson* plan = plannedPattern(fly->displayName);
        ASSERT_NE(plan, nullptr);
        EXPECT_EQ(QString::fromLatin1(fly->baseName), QFileInfo(plan->iniPath).completeBaseName());
        EXPECT_EQ(fly->picture.size(), QSize(120, 80));
        EXPECT_EQ(fly->numSteps, plan->topics.size());
        expectTopicsAsPlanned(chain(fly->topics), *plan);
        EXPECT_EQ(fly->materials, plan->materials);
        EXPECT_GE(fly->materials.size(), 3);
        for (const QByteArray& line : fly->materials)
            valueWithEquals |= line.contains('=');
    }
    EXPECT_TRUE(valueWithEquals);

    const QList<hw::tTopicRecord*> tour = chain(loaded->catalogue.quickTourList());
    const QList<hw::tTopicRecord*> techniques = chain(loaded->catalogue.techniquesList());
    EXPECT_GE(tour.size(), 5);
    EXPECT_GE(techniques.size(), 8);
    expectTopicsAsPlanned(tour, demoPlan().quickTour);
    expectTopicsAsPlanned(techniques, demoPlan().techniques);
    for (const char* technique : {"Whip Finish", "Dubbing", "Hackle"})
        EXPECT_TRUE(std::any_of(techniques.begin(), techniques.end(), [&](const hw::tTopicRecord* t) {
            return t->title.contains(technique);
        })) << technique;
}

// Real content spells file and key names in any case; the demo does too, so that every
// run of the program exercises the case-insensitive lookups.
TEST(DemoLibrary, SpellsNamesInMixedCase)
{
    const QDir root(hw::test::demoTree());
    const QStringList fliesFolder = QDir(root.filePath(QStringLiteral("Flies"))).entryList(QDir::Files);
    EXPECT_TRUE(fliesFolder.contains(QStringLiteral("DHCRICKET.INI")));
    EXPECT_TRUE(std::any_of(fliesFolder.begin(), fliesFolder.end(),
                            [](const QString& n) { return n.endsWith(QLatin1String(".AVI")); }));
    // A picture whose name is spelt differently from its pattern file's base name.
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("Flies/Beetle.bmp"))));
    EXPECT_FALSE(hw::resolveContentPath(QStringLiteral("Flies\\Beetle.bmp"), root).isEmpty());

    bool lowerTitle = false;
    bool upperKeys = false;
    for (const QString& name : fliesFolder) {
        if (!name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            continue;
        QFile f(root.filePath(QStringLiteral("Flies/") + name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        EXPECT_TRUE(text.contains("\r\n")) << name.toStdString();
        lowerTitle |= text.contains("\r\ntitle=");
        upperKeys |= text.contains("[INFO]") && text.contains("\r\nTITLE=");
    }
    EXPECT_TRUE(lowerTitle);
    EXPECT_TRUE(upperKeys);
    for (const char* section : {"QuickTour/QuickTour.ini", "Techniques/Techniques.ini"}) {
        QFile f(root.filePath(QString::fromLatin1(section)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        EXPECT_TRUE(text.contains("\r\nTitle=")) << section;
        EXPECT_TRUE(text.contains("\r\nNumTopics=")) << section;
    }
}

TEST(DemoLibrary, EveryRangeLiesInsideItsVideo)
{
    const QString root = hw::test::demoTree();
    const auto loaded = loadCatalogue(QDir(root));
    const QList<Clip> clips = lessonClips(root, loaded->catalogue);
    ASSERT_EQ(clips.size(), demoPlan().patterns.size() + 2);

    for (const Clip& clip : clips) {
        SCOPED_TRACE(clip.path.toStdString());
        ASSERT_FALSE(clip.path.isEmpty());
        const hw::test::ClipFacts facts = hw::test::probeClip(clip.path);
        ASSERT_TRUE(facts.opened);
        EXPECT_EQ(facts.codec, QStringLiteral("mjpeg"));
        EXPECT_EQ(facts.size, QSize(320, 240));
        EXPECT_DOUBLE_EQ(facts.framesPerSecond, 15.0);
        for (const hw::tTopicRecord* t : clip.topics)
            for (int hand = 0; hand < 2; ++hand) {
                const hw::FrameRange r = hw::topicFrames(*t, hand);
                EXPECT_GE(r.start, 0) << t->title.toStdString() << " hand " << hand;
                EXPECT_LT(r.start, r.stop) << t->title.toStdString() << " hand " << hand;
                EXPECT_LT(r.stop, facts.frameCount) << t->title.toStdString() << " hand " << hand;
                // Every step lasts two to twelve seconds: long enough for its narration.
                EXPECT_GE(r.stop - r.start + 1, 2 * 15 - hand);
                EXPECT_LE(r.stop - r.start + 1, 12 * 15);
            }
    }

    const hw::test::ClipFacts splash
        = hw::test::probeClip(root + QStringLiteral("/SplashScreen/SplashScreen.avi"));
    ASSERT_TRUE(splash.opened);
    EXPECT_EQ(splash.codec, QStringLiteral("mjpeg"));
    EXPECT_EQ(splash.size, QSize(320, 240));
    EXPECT_GE(splash.frameCount, 3 * 15);
    EXPECT_LE(splash.frameCount, 5 * 15);
}

// The frame stamp of a frame from the middle of every range, right- and left-handed, reads
// back as that frame's number (and the picture above it as none): the ranges in the INI files point at the
// frames drawn for them, and a player that shows a frame can be checked against its position.
TEST(DemoLibrary, StampsReadBackAsFrameNumbers)
{
    const QString root = hw::test::demoTree();
    const auto loaded = loadCatalogue(QDir(root));
    const QList<Clip> clips = lessonClips(root, loaded->catalogue);

    for (const auto& [path, topics] : clips) {
        SCOPED_TRACE(path.toStdString());
        QSet<int> wanted;
        for (const hw::tTopicRecord* t : topics)
            for (int hand = 0; hand < 2; ++hand) {
                const hw::FrameRange r = hw::topicFrames(*t, hand);
                wanted.insert(int((r.start + r.stop) / 2));
                wanted.insert(int(r.start));
            }
        const QMap<int, QImage> frames = hw::test::decodeFrames(path, wanted);
        ASSERT_EQ(frames.size(), wanted.size());
        for (auto it = frames.begin(); it != frames.end(); ++it) {
            EXPECT_EQ(hw::readFrameStamp(it.value()), std::optional<int32_t>(it.key()));
            // The artwork above the stamp is never taken for one.
            const QImage artwork
                = it.value().copy(0, 0, it.value().width(), hw::frameStampRect(it.value().size()).top());
            EXPECT_FALSE(hw::readFrameStamp(artwork)) << it.key();
        }
    }

    const QString splash = root + QStringLiteral("/SplashScreen/SplashScreen.avi");
    const int last = hw::test::probeClip(splash).frameCount - 1;
    const QMap<int, QImage> ends = hw::test::decodeFrames(splash, {0, last});
    ASSERT_EQ(ends.size(), 2);
    EXPECT_EQ(hw::readFrameStamp(ends.value(0)), std::optional<int32_t>(0));
    EXPECT_EQ(hw::readFrameStamp(ends.value(last)), std::optional<int32_t>(last));
}

// Every clip speaks: a sound track beside the pictures, each step's narration heard within
// the step's own frames (in either hand), and silence where one step gives way to the next,
// so that playing a step never lets a word of its neighbour through.
TEST(DemoLibrary, NarrationLiesWithinEachStep)
{
    const QString root = hw::test::demoTree();
    const auto loaded = loadCatalogue(QDir(root));
    QList<Clip> clips = lessonClips(root, loaded->catalogue);
    clips.append({root + QStringLiteral("/SplashScreen/SplashScreen.avi"), {}});

    for (const auto& [path, topics] : clips) {
        SCOPED_TRACE(path.toStdString());
        const hw::test::ClipSound sound = hw::test::decodeSound(path);
        ASSERT_EQ(sound.sampleRate, 22050);
        const qsizetype perFrame = sound.sampleRate / 15;
        ASSERT_EQ(sound.samples.size(), hw::test::probeClip(path).frameCount * perFrame);
        // Root mean square of frames [first, last].
        auto level = [&](int64_t first, int64_t last) {
            double sum = 0;
            for (qsizetype i = qsizetype(first) * perFrame; i < qsizetype(last + 1) * perFrame; ++i)
                sum += double(sound.samples[i]) * sound.samples[i];
            return std::sqrt(sum / double((last - first + 1) * perFrame));
        };
        if (topics.isEmpty()) {
            EXPECT_GT(level(0, sound.samples.size() / perFrame - 1), 300.0); // the splash's chime
        }
        for (const hw::tTopicRecord* t : topics)
            for (int hand = 0; hand < 2; ++hand) {
                const hw::FrameRange r = hw::topicFrames(*t, hand);
                SCOPED_TRACE(t->title.toStdString() + (hand ? " left" : " right"));
                EXPECT_GT(level(r.start, r.stop), 300.0);
                EXPECT_EQ(level(r.start, r.start), 0.0);
                EXPECT_EQ(level(r.stop - 1, r.stop), 0.0);
            }
    }
}

// Beside every narrated clip lie its captions (NAME.srt): one cue for each line said, in
// order, each within one step in either hand; every pattern step ends with what to watch for.
TEST(DemoLibrary, CaptionsFollowTheNarration)
{
    const QString root = hw::test::demoTree();
    const auto loaded = loadCatalogue(QDir(root));
    const QRegularExpression cue(QStringLiteral("(\\d+)\n(\\d\\d):(\\d\\d):(\\d\\d),(\\d{3}) --> "
                                                "(\\d\\d):(\\d\\d):(\\d\\d),(\\d{3})\n([^\n]+)\n\n"));
    const QList<Clip> clips = lessonClips(root, loaded->catalogue);
    for (qsizetype k = 0; k < clips.size(); ++k) {
        const auto& [path, topics] = clips[k];
        SCOPED_TRACE(path.toStdString());
        QFile file(QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).completeBaseName()
                   + QStringLiteral(".srt"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QList<int> cuesPerStep(topics.size() * 2);
        QList<bool> watched(topics.size() * 2);
        double lastEnd = 0;
        qsizetype at = 0;
        int number = 0;
        for (auto m = cue.match(text); m.hasMatch() && m.capturedStart() == at; m = cue.match(text, at)) {
            at = m.capturedEnd();
            auto seconds = [&](int first) {
                return m.captured(first).toInt() * 3600 + m.captured(first + 1).toInt() * 60
                    + m.captured(first + 2).toInt() + m.captured(first + 3).toInt() / 1000.0;
            };
            EXPECT_EQ(m.captured(1).toInt(), ++number);
            const double from = seconds(2), to = seconds(6);
            EXPECT_LT(from, to);
            EXPECT_GE(from, lastEnd);
            lastEnd = to;
            qsizetype step = -1;
            for (qsizetype i = 0; i < topics.size() && step < 0; ++i)
                for (int hand = 0; hand < 2 && step < 0; ++hand) {
                    const hw::FrameRange r = hw::topicFrames(*topics[i], hand);
                    if (from >= r.start / 15.0 && to <= (r.stop + 1) / 15.0)
                        step = 2 * i + hand;
                }
            ASSERT_GE(step, 0) << m.captured(10).toStdString() << " lies within no step";
            ++cuesPerStep[step];
            watched[step] = m.captured(10).startsWith(QLatin1String("Watch for "));
        }
        EXPECT_EQ(at, text.size()) << "not a caption: " << text.mid(at, 80).toStdString();
        for (qsizetype i = 0; i < cuesPerStep.size(); ++i) {
            if (i % 2 == 1 && topics[i / 2]->offset == 0)
                continue; // no left-handed twin
            EXPECT_GE(cuesPerStep[i], 1) << topics[i / 2]->title.toStdString();
            if (k < demoPlan().patterns.size()) {
                EXPECT_TRUE(watched[i]) << topics[i / 2]->title.toStdString();
            }
        }
    }
}

TEST(DemoLibrary, RefusesAFolderThatHoldsFiles)
{
    QTemporaryDir dir;
    QFile keep(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    QString error;
    EXPECT_FALSE(hw::demo::makeDemoLibrary(dir.path(), nullptr, &error));
    EXPECT_TRUE(error.contains(QLatin1String("not empty"))) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("notes.txt")});
}
