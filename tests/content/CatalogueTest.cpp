#include "hw/content/Catalogue.h"
#include "hw/content/CatalogueText.h"

#include "BmpBuilder.h"
#include "Deadline.h"
#include "LoadedCatalogue.h"
#include "TempTree.h"
#include "hw/ContentPath.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using hw::tFlyRecord;
using hw::tTopicRecord;
using hw::test::loadCatalogue;
using hw::test::TempTree;

namespace {

QByteArray picture(int w = 12, int h = 8)
{
    hw::test::BmpSpec s;
    s.width = w;
    s.height = h;
    s.pixels = hw::test::encodeRows(w, h, 24, false, [](int x, int y) { return uint32_t(x * 20 + y); });
    return hw::test::buildBmp(s);
}

// A pattern file and its picture.
void addPattern(const TempTree& t, const QString& base, const QByteArray& ini,
                const QByteArray& bmp = picture())
{
    t.write(QStringLiteral("Flies/") + base + QStringLiteral(".ini"), ini);
    t.write(QStringLiteral("Flies/") + base + QStringLiteral(".bmp"), bmp);
}

QList<QByteArray> titles(const tTopicRecord* chain)
{
    QList<QByteArray> out;
    for (; chain; chain = chain->next)
        out.append(chain->title);
    return out;
}

QList<QByteArray> flyNames(const hw::Catalogue& c)
{
    QList<QByteArray> out;
    for (const tFlyRecord* f = c.flyList(); f; f = f->next)
        out.append(f->displayName);
    return out;
}

QString messages(const std::vector<hw::CatalogueError>& errors)
{
    return hw::describeErrors(errors);
}

} // namespace

TEST(Catalogue, LoadsPatternsAndSectionsIntoLinkedChains)
{
    TempTree t;
    addPattern(t, QStringLiteral("Adams"),
               "[Info]\r\nname=Adams\r\nnumsteps=2\r\n"
               "[Topics 1]\r\ntitle=Tail\r\nStartFrame=10\r\nStopFrame=99\r\nOffset=200\r\n"
               "[Topics 2]\r\ntitle=Body\r\nStartFrame=$64\r\nStopFrame=150\r\nOffset=-5\r\n"
               "[Materials]\r\nHook=Dry fly hook, size 12\r\nTail=length = 1 x gap\r\n",
               picture(120, 80));
    addPattern(t, QStringLiteral("Hopper"), "[Info]\nname=Hopper\nnumsteps=1\n[Topics 1]\ntitle=Legs\n");
    t.write(QStringLiteral("Flies/readme.txt"), "not a pattern");
    t.write(QStringLiteral("QuickTour/QuickTour.ini"),
            "[Info]\nNumTopics=2\n[Topics 1]\nTitle=Welcome\nStartFrame=0\nStopFrame=50\n"
            "[Topics 2]\nTitle=Menus\nStartFrame=51\nStopFrame=40\nOffset=0\n");
    t.write(QStringLiteral("Techniques/Techniques.ini"),
            "[Info]\nNumTopics=1\n[Topics 1]\nTitle=Whip finish\nStartFrame=-3\nStopFrame=7\nOffset=12\n");

    const auto l = loadCatalogue(t.root());
    EXPECT_TRUE(l->errors.empty()) << messages(l->errors).toStdString();
    const hw::Catalogue& c = l->catalogue;

    // The fly list follows the directory listing, and so do the gallery names.
    QList<QByteArray> listed;
    for (const QString& n : hw::listContentFolder(QStringLiteral("Flies"), QStringLiteral("*.ini"), t.root()))
        listed.append(n.chopped(4).toLatin1());
    QList<QByteArray> bases;
    const tFlyRecord* last = nullptr;
    for (const tFlyRecord* f = c.flyList(); f; f = f->next) {
        EXPECT_EQ(f->previous, last);
        bases.append(f->baseName);
        last = f;
    }
    EXPECT_EQ(bases, listed);
    EXPECT_EQ(l->gallery, flyNames(c));

    const tFlyRecord* adams = c.findFly("Adams");
    ASSERT_TRUE(adams);
    EXPECT_EQ(adams->baseName, "Adams");
    EXPECT_EQ(adams->picture.size(), QSize(120, 80));
    EXPECT_EQ(adams->numSteps, 2);
    EXPECT_EQ(adams->materials, (QList<QByteArray>{"Dry fly hook, size 12", "length = 1 x gap"}));
    ASSERT_TRUE(adams->topics && adams->topics->next);
    const tTopicRecord& tail = *adams->topics;
    EXPECT_EQ(tail.title, "Tail");
    EXPECT_EQ(std::tie(tail.startFrame, tail.stopFrame, tail.offset), std::make_tuple(10, 99, 200));
    const tTopicRecord& body = *tail.next;
    EXPECT_EQ(std::tie(body.startFrame, body.stopFrame, body.offset), std::make_tuple(100, 150, -5));
    EXPECT_EQ(body.next, nullptr);

    const tFlyRecord* hopper = c.findFly("Hopper");
    ASSERT_TRUE(hopper);
    EXPECT_TRUE(hopper->materials.isEmpty());
    ASSERT_TRUE(hopper->topics);
    EXPECT_EQ(hopper->topics->startFrame, 0);
    EXPECT_EQ(c.findFly("hopper"), nullptr); // lookups are exact

    // Section topics, frames stored as written (a stop before its start, negative frames).
    ASSERT_EQ(titles(c.quickTourList()), (QList<QByteArray>{"Welcome", "Menus"}));
    EXPECT_EQ(c.quickTourList()->next->stopFrame, 40);
    ASSERT_EQ(titles(c.techniquesList()), QList<QByteArray>{"Whip finish"});
    EXPECT_EQ(c.techniquesList()->startFrame, -3);
    EXPECT_EQ(hw::Catalogue::findTopic(c.quickTourList(), "Menus"), c.quickTourList()->next);
    EXPECT_EQ(hw::Catalogue::findTopic(c.quickTourList(), "menus"), nullptr);
}

TEST(Catalogue, StepCountsAndSectionNumbering)
{
    TempTree t;
    addPattern(t, QStringLiteral("Missing"), "[Info]\nname=Missing\n[Topics 1]\ntitle=Never read\n");
    addPattern(t, QStringLiteral("Zero"), "[Info]\nname=Zero\nnumsteps=0\n[Topics 1]\ntitle=Never read\n");
    addPattern(t, QStringLiteral("Negative"),
               "[Info]\nname=Negative\nnumsteps=-3\n[Materials]\nHook=Size 10\n");
    addPattern(t, QStringLiteral("Larger"),
               "[Info]\nname=Larger\nnumsteps=3\n"
               "[Topics 01]\ntitle=Leading zero\nStartFrame=5\n"
               "[Topics 2]\ntitle=Second\nStartFrame=20\nStopFrame=30\nOffset=7\n"
               "[Topics 4]\ntitle=Beyond numsteps\n");
    addPattern(t, QStringLiteral("Nameless"), "[Info]\nnumsteps=1\n");
    const auto l = loadCatalogue(t.root());
    ASSERT_TRUE(l->errors.empty()) << messages(l->errors).toStdString();
    const hw::Catalogue& c = l->catalogue;

    for (const char* name : {"Missing", "Zero", "Negative"}) {
        const tFlyRecord* f = c.findFly(name);
        ASSERT_TRUE(f) << name;
        EXPECT_EQ(f->topics, nullptr) << name;
        EXPECT_EQ(f->picture.size(), QSize(12, 8)) << name;
    }
    EXPECT_EQ(c.findFly("Negative")->numSteps, -3);
    EXPECT_EQ(c.findFly("Negative")->materials, QList<QByteArray>{"Size 10"});

    const tFlyRecord* larger = c.findFly("Larger");
    ASSERT_TRUE(larger);
    ASSERT_EQ(titles(larger->topics), (QList<QByteArray>{"Unknown", "Second", "Unknown"}));
    EXPECT_EQ(larger->topics->startFrame, 0);
    EXPECT_EQ(larger->topics->next->offset, 7);
    const tTopicRecord* third = larger->topics->next->next;
    EXPECT_EQ(std::tie(third->startFrame, third->stopFrame, third->offset), std::make_tuple(0, 0, 0));

    const tFlyRecord* nameless = c.findFly("Unknown");
    ASSERT_TRUE(nameless);
    EXPECT_EQ(nameless->baseName, "Nameless");
    EXPECT_EQ(titles(nameless->topics), QList<QByteArray>{"Unknown"});
}

TEST(Catalogue, MaterialsKeepFirstOccurrencesInOrder)
{
    TempTree t;
    addPattern(t, QStringLiteral("M"),
               "[Info]\nname=M\n"
               "[Materials]\n"
               "Hook=Dry fly hook, size 12\n"
               "Empty=\n"
               "Thread=Black 8/0\n"
               "hook=Another hook\n"
               "Quoted=\"  Grizzly hackle  \"\n"
               "HOOK=Third hook\n"
               "Blank=   \n"
               "Tail=length = 1 x gap\n"
               "empty=Late value\n"
               "[Materials]\nWing=never read\n");
    const auto l = loadCatalogue(t.root());
    ASSERT_TRUE(l->errors.empty());
    ASSERT_TRUE(l->catalogue.flyList());
    EXPECT_EQ(
        l->catalogue.flyList()->materials,
        (QList<QByteArray>{"Dry fly hook, size 12", "Black 8/0", "  Grizzly hackle  ", "length = 1 x gap"}));
}

TEST(Catalogue, DuplicateDisplayNamesReachTheGalleryTwice)
{
    TempTree t;
    addPattern(t, QStringLiteral("One"), "[Info]\nname=Ant\nnumsteps=1\n[Topics 1]\ntitle=First\n");
    addPattern(t, QStringLiteral("Two"), "[Info]\nname=Ant\nnumsteps=1\n[Topics 1]\ntitle=Second\n");
    const auto l = loadCatalogue(t.root());
    EXPECT_EQ(l->gallery, (QList<QByteArray>{"Ant", "Ant"}));
    const tFlyRecord* first = l->catalogue.flyList();
    ASSERT_TRUE(first && first->next);
    EXPECT_EQ(l->catalogue.findFly("Ant"), first);
}

TEST(Catalogue, FileNamesMatchWithoutRegardToCase)
{
    TempTree t;
    t.write(
        QStringLiteral("flies/ADAMS.INI"),
        "[INFO]\nNAME=Adams\nNUMSTEPS=1\n[topics 1]\nTITLE=Tail\nstartframe=4\n[MATERIALS]\nhook=Size 14\n");
    t.write(QStringLiteral("flies/adams.Bmp"), picture(3, 2));
    t.write(QStringLiteral("QUICKTOUR/quicktour.INI"), "[info]\nnumtopics=1\n[TOPICS 1]\ntitle=Hello\n");
    t.write(QStringLiteral("techniques/TECHNIQUES.ini"), "[Info]\nNumTopics=1\n[Topics 1]\nTITLE=Dubbing\n");
    const auto l = loadCatalogue(t.root());
    ASSERT_TRUE(l->errors.empty()) << messages(l->errors).toStdString();
    const tFlyRecord* adams = l->catalogue.flyList();
    ASSERT_TRUE(adams);
    EXPECT_EQ(adams->baseName, "ADAMS"); // as listed
    EXPECT_EQ(adams->picture.size(), QSize(3, 2));
    ASSERT_TRUE(adams->topics);
    EXPECT_EQ(adams->topics->title, "Tail");
    EXPECT_EQ(adams->topics->startFrame, 4);
    EXPECT_EQ(adams->materials, QList<QByteArray>{"Size 14"});
    EXPECT_EQ(titles(l->catalogue.quickTourList()), QList<QByteArray>{"Hello"});
    EXPECT_EQ(titles(l->catalogue.techniquesList()), QList<QByteArray>{"Dubbing"});
}

TEST(Catalogue, AbsentContentIsSilentAndEmptyPicturesAreNoError)
{
    TempTree empty;
    const auto none = loadCatalogue(empty.root());
    EXPECT_TRUE(none->errors.empty());
    EXPECT_EQ(none->catalogue.flyList(), nullptr);
    EXPECT_EQ(none->catalogue.quickTourList(), nullptr);
    EXPECT_EQ(none->catalogue.techniquesList(), nullptr);
    EXPECT_TRUE(none->gallery.isEmpty());

    TempTree t;
    t.mkdir(QStringLiteral("Flies"));
    t.mkdir(QStringLiteral("QuickTour"));
    addPattern(t, QStringLiteral("Blank"), "[Info]\nname=Blank\n", QByteArray());
    const auto l = loadCatalogue(t.root());
    EXPECT_TRUE(l->errors.empty());
    ASSERT_TRUE(l->catalogue.flyList());
    EXPECT_TRUE(l->catalogue.flyList()->picture.isNull());
}

TEST(Catalogue, PipesAndDevicesAreNotOpened)
{
    TempTree t;
    t.write(QStringLiteral("Flies/Pipe.ini"), "[Info]\nname=Pipe\n");
    t.write(QStringLiteral("Flies/Null.ini"), "[Info]\nname=Null\n");
    t.mkdir(QStringLiteral("QuickTour"));
    const QStringList pipes{t.path(QStringLiteral("Flies/Pipe.bmp")),
                            t.path(QStringLiteral("QuickTour/QuickTour.ini"))};
    for (const QString& pipe : pipes)
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), t.path(QStringLiteral("Flies/Null.bmp"))));

    std::unique_ptr<hw::test::LoadedCatalogue> l;
    const bool inTime = hw::test::finishesWithin(
        std::chrono::seconds(30), [&] { l = loadCatalogue(t.root()); },
        [&] { // a writer that comes and goes lets a blocked reader see the end of the file
            for (const QString& pipe : pipes) {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        });
    ASSERT_TRUE(inTime) << "loading blocked on a named pipe";
    QStringList got;
    for (const hw::CatalogueError& e : l->errors)
        got << e.message;
    got.sort();
    EXPECT_EQ(got,
              (QStringList{QStringLiteral("Cannot open file Flies\\Null.bmp"),
                           QStringLiteral("Cannot open file Flies\\Pipe.bmp")}));
    EXPECT_EQ(l->catalogue.quickTourList(), nullptr);
}

TEST(Catalogue, AFailingPatternIsSkippedAndEverythingElseLoads)
{
    TempTree t;
    addPattern(t, QStringLiteral("Good"), "[Info]\nname=Good\nnumsteps=1\n[Topics 1]\ntitle=Tail\n");
    addPattern(
        t, QStringLiteral("BadStep"),
        "[Info]\nname=Bad step\nnumsteps=2\n[Topics 1]\ntitle=A\n[Topics 2]\ntitle=B\nStopFrame=12abc\n");
    addPattern(t, QStringLiteral("BadCount"), "[Info]\nname=Bad count\nnumsteps=\n");
    addPattern(t, QStringLiteral("Many"), "[Info]\nname=Many\nnumsteps=2147483647\n");
    t.write(QStringLiteral("Flies/NoPicture.ini"), "[Info]\nname=No picture\n");
    addPattern(t, QStringLiteral("BadPicture"), "[Info]\nname=Bad picture\n", "BM but nothing else");
    addPattern(t, QStringLiteral("ShortPicture"), "[Info]\nname=Short picture\n", "BM");
    addPattern(t, QStringLiteral("..\\..\\outside\\Secret"), "[Info]\nname=Secret\n");
    addPattern(t, QStringLiteral("Huge"), "[Info]\nname=Huge\n");
    QFile huge(t.path(QStringLiteral("Flies/Huge.ini")));
    ASSERT_TRUE(huge.resize(qint64(5) << 20));
    t.write(QStringLiteral("QuickTour/QuickTour.ini"),
            "[Info]\nNumTopics=4\n[Topics 1]\nTitle=One\n[Topics 2]\nTitle=Two\n"
            "[Topics 3]\nTitle=Three\nStartFrame=1\nStopFrame=2\nOffset=1.5\n[Topics 4]\nTitle=Four\n");
    t.write(QStringLiteral("Techniques/Techniques.ini"), "[Info]\nNumTopics=1\n[Topics 1]\nTitle=Dubbing\n");

    const auto l = loadCatalogue(t.root());
    ASSERT_EQ(flyNames(l->catalogue), QList<QByteArray>{"Good"});
    EXPECT_EQ(l->gallery, QList<QByteArray>{"Good"}); // no gallery entry without a record
    EXPECT_EQ(l->catalogue.flyList()->previous, nullptr);
    EXPECT_EQ(l->catalogue.flyList()->next, nullptr);
    EXPECT_EQ(titles(l->catalogue.quickTourList()), (QList<QByteArray>{"One", "Two"}));
    EXPECT_EQ(titles(l->catalogue.techniquesList()), QList<QByteArray>{"Dubbing"});

    // One error per failing file, in the order met, with the user's message.
    QStringList got;
    for (const hw::CatalogueError& e : l->errors)
        got << e.file + QStringLiteral(": ") + e.message;
    QStringList patternErrors = got.mid(0, got.size() - 1);
    patternErrors.sort();
    EXPECT_EQ(patternErrors,
              (QStringList{
                  QStringLiteral("Flies\\..\\..\\outside\\Secret.ini: The name ..\\..\\outside\\Secret.ini "
                                 "leads out of the library (\"..\")"),
                  QStringLiteral("Flies\\BadCount.ini: '' is not a valid integer value"),
                  QStringLiteral("Flies\\BadPicture.bmp: Bitmap image is not valid"),
                  QStringLiteral("Flies\\BadStep.ini: '12abc' is not a valid integer value"),
                  QStringLiteral("Flies\\Huge.ini: File Flies\\Huge.ini is too large (5242880 bytes; at "
                                 "most 4 MB)"),
                  QStringLiteral("Flies\\Many.ini: '2147483647' is too many topics (at most 10000)"),
                  QStringLiteral("Flies\\NoPicture.bmp: Cannot open file Flies\\NoPicture.bmp"),
                  QStringLiteral("Flies\\ShortPicture.bmp: Stream read error")}));
    EXPECT_EQ(got.last(), QStringLiteral("QuickTour\\QuickTour.ini: '1.5' is not a valid integer value"));
}

TEST(Catalogue, AFailingSectionFileLeavesTheOtherSection)
{
    TempTree t;
    t.write(QStringLiteral("QuickTour/QuickTour.ini"), "[Info]\nNumTopics=ten\n");
    t.write(QStringLiteral("Techniques/Techniques.ini"),
            "[Info]\nNumTopics=3\n[Topics 1]\nTitle=One\n[Topics 2]\nTitle=Two\nOffset=$\n");
    const auto l = loadCatalogue(t.root());
    EXPECT_EQ(l->catalogue.quickTourList(), nullptr);
    EXPECT_EQ(titles(l->catalogue.techniquesList()), QList<QByteArray>{"One"});
    ASSERT_EQ(l->errors.size(), 2u);
    EXPECT_EQ(l->errors[0].message, QStringLiteral("'ten' is not a valid integer value"));
    EXPECT_EQ(l->errors[1].file, QStringLiteral("Techniques\\Techniques.ini"));
    EXPECT_EQ(l->errors[1].message, QStringLiteral("'$' is not a valid integer value"));
}

TEST(Catalogue, DescribesFrameRangesOfBothHandsWithoutOverflow)
{
    tTopicRecord topic;
    topic.title = "Wide";
    topic.startFrame = INT32_MAX;
    topic.stopFrame = INT32_MAX;
    topic.offset = INT32_MAX;
    EXPECT_EQ(hw::topicFrames(topic, 0).start, INT32_MAX);
    EXPECT_EQ(hw::topicFrames(topic, 1).start, 2 * int64_t(INT32_MAX));
    EXPECT_EQ(hw::topicFrames(topic, 1).stop, 2 * int64_t(INT32_MAX) - 1);
    topic.offset = INT32_MIN;
    EXPECT_EQ(hw::topicFrames(topic, 1).stop, int64_t(INT32_MAX) + INT32_MIN - 1);

    TempTree t;
    addPattern(t, QStringLiteral("Adams"),
               "[Info]\nname=100% Adams\nnumsteps=1\n[Topics 1]\ntitle=Tail "
               "%1\nStartFrame=10\nStopFrame=20\nOffset=100\n"
               "[Materials]\nHook=Size \x96 12\n");
    t.write(QStringLiteral("QuickTour/QuickTour.ini"), "[Info]\nNumTopics=1\n");
    const auto l = loadCatalogue(t.root());
    const QString text = hw::describeCatalogue(l->catalogue);
    EXPECT_TRUE(text.contains(QStringLiteral("Pattern \"100% Adams\"  base Adams  picture 12x8  numsteps 1")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Step 1 \"Tail %1\"  right 10..20  left 110..119")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Material \"Size \u2013 12\""))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("Quick Tour (1)\n  Topic 1 \"Unknown\"  right 0..0  left 0..-1")))
        << text.toStdString();
}
