// The tests' make-broken DIR: writes a corpus of broken lesson content into DIR (new or empty), one
// complete content tree per fault, so that the tutor can be started on each and checked to
// show the right error and go on. CASES.txt in DIR says what each tree holds and what the
// tutor does with it.
//
// Every tree starts from the same sound library: the Quick Tour and Techniques sections and
// two patterns, each with a short video whose frames carry the frame stamp 1000 * lesson +
// frame (lesson: 0 Quick Tour, 1 Techniques, 2 Adams, 3 Wulff), so that a test can tell
// exactly which frame of which video is on screen. For a person, each lesson has a colour
// of its own and every frame is lettered with its number in the top left corner.
#include "hw/clips/ClipWriter.h"
#include "hw/clips/FrameStamp.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

struct Lesson {
    QString video; // relative path, '/' separated, as written to disc
    int id = 0;
    int frames = 0;
};

const Lesson kQuickTour{QStringLiteral("QuickTour/QuickTour.avi"), 0, 20};
const Lesson kTechniques{QStringLiteral("Techniques/Techniques.avi"), 1, 32};
const Lesson kAdams{QStringLiteral("Flies/Adams.avi"), 2, 24};
const Lesson kWulff{QStringLiteral("Flies/Wulff.avi"), 3, 20};

const QByteArray kQuickTourIni
    = "[Info]\r\nNumTopics=2\r\n\r\n"
      "[Topics 1]\r\nTitle=Welcome\r\nStartFrame=0\r\nStopFrame=9\r\nOffset=0\r\n\r\n"
      "[Topics 2]\r\nTitle=Getting Around\r\nStartFrame=10\r\nStopFrame=19\r\nOffset=0\r\n";
// Left-handed twins 16 frames later: 16..22 and 24..30.
const QByteArray kTechniquesIni
    = "[Info]\r\nNumTopics=2\r\n\r\n"
      "[Topics 1]\r\nTitle=Whip Finish\r\nStartFrame=0\r\nStopFrame=7\r\nOffset=16\r\n\r\n"
      "[Topics 2]\r\nTitle=Dubbing Loop\r\nStartFrame=8\r\nStopFrame=15\r\nOffset=16\r\n";
// Left-handed twins 12 frames later: 12..16 and 18..22.
const QByteArray kAdamsIni = "[Info]\r\nname=Parachute Adams\r\nnumsteps=2\r\n\r\n"
                             "[Topics 1]\r\ntitle=Tail\r\nStartFrame=0\r\nStopFrame=5\r\nOffset=12\r\n\r\n"
                             "[Topics 2]\r\ntitle=Hackle\r\nStartFrame=6\r\nStopFrame=11\r\nOffset=12\r\n\r\n"
                             "[Materials]\r\nHook=Hook: Dry fly, size 14\r\nThread=Thread: Gray 8/0\r\n";
// Left-handed twins 10 frames later: 10..13 and 15..18.
const QByteArray kWulffIni
    = "[Info]\r\nname=Royal Wulff\r\nnumsteps=2\r\n\r\n"
      "[Topics 1]\r\ntitle=Tail\r\nStartFrame=0\r\nStopFrame=4\r\nOffset=10\r\n\r\n"
      "[Topics 2]\r\ntitle=Body\r\nStartFrame=5\r\nStopFrame=9\r\nOffset=10\r\n\r\n"
      "[Materials]\r\nHook=Hook: Dry fly, size 12\r\nBody=Body: Peacock herl and red floss\r\n";

QImage lessonFrame(int lesson, int frame)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(90, 90, 24 + 42 * lesson));
    {
        QPainter p(&image);
        p.fillRect(0, 0, 40, 18, Qt::black);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 40, 18), Qt::AlignCenter, QString::number(frame));
    }
    hw::drawFrameStamp(image, 1000 * lesson + frame);
    return image;
}

QImage patternPicture(int lesson)
{
    QImage image(120, 80, QImage::Format_RGB888);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.setBrush(QColor(24 + 42 * lesson, 90, 40));
    p.drawEllipse(20, 20, 80, 40);
    return image;
}

// The picture as a file of the format ("BMP", "PNG") holds it.
QByteArray imageBytes(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A Windows bitmap header (file header and 40-byte info header) for a 24-bit picture,
// followed by `pixelBytes` bytes of pixels, whatever the header claims.
QByteArray bmpHeader(int32_t width, int32_t height, int headerSize, int pixelBytes)
{
    QByteArray b(14 + 40, '\0');
    auto put16 = [&](int at, uint16_t v) {
        b[at] = char(v & 0xFF);
        b[at + 1] = char(v >> 8);
    };
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, uint32_t(54 + pixelBytes));
    put32(10, 54);
    put32(14, uint32_t(headerSize));
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, uint32_t(int64_t(width) * 3 * height));
    b.append(QByteArray(pixelBytes, char(0x7F)));
    return b;
}

// Bytes that no INI reader can find a section in: binary noise with NULs and line ends,
// but never a "[".
QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray b(size, '\0');
    for (char& c : b) {
        c = char(random.bounded(256));
        if (c == '[')
            c = '\0';
    }
    return b;
}

class Corpus {
public:
    Corpus(QString dir)
        : dir_(std::move(dir))
    { }

    bool makeVideos(QString* error)
    {
        for (const Lesson* lesson : {&kQuickTour, &kTechniques, &kAdams, &kWulff}) {
            const QString path = scratch_.filePath(QString::number(lesson->id) + QStringLiteral(".avi"));
            hw::ClipWriter writer;
            hw::ClipFormat format;
            format.size = QSize(160, 120);
            if (!writer.open(path, format)) {
                *error = writer.errorText();
                return false;
            }
            for (int f = 0; f < lesson->frames; ++f)
                if (!writer.addFrame(lessonFrame(lesson->id, f))) {
                    *error = writer.errorText();
                    return false;
                }
            if (!writer.finish()) {
                *error = writer.errorText();
                return false;
            }
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("cannot read back ") + path;
                return false;
            }
            videos_[lesson->video] = file.readAll();
        }
        return true;
    }

    // The sound library, as a map from relative path to bytes.
    std::map<QString, QByteArray> soundTree() const
    {
        std::map<QString, QByteArray> tree = videos_;
        tree[QStringLiteral("QuickTour/QuickTour.ini")] = kQuickTourIni;
        tree[QStringLiteral("Techniques/Techniques.ini")] = kTechniquesIni;
        tree[QStringLiteral("Flies/Adams.ini")] = kAdamsIni;
        tree[QStringLiteral("Flies/Adams.bmp")] = imageBytes(patternPicture(kAdams.id), "BMP");
        tree[QStringLiteral("Flies/Wulff.ini")] = kWulffIni;
        tree[QStringLiteral("Flies/Wulff.bmp")] = imageBytes(patternPicture(kWulff.id), "BMP");
        return tree;
    }

    // Writes one case: the sound tree changed by `change`.
    bool write(const QString& name, const QString& description,
               const std::function<void(std::map<QString, QByteArray>&)>& change, QString* error)
    {
        std::map<QString, QByteArray> tree = soundTree();
        change(tree);
        for (const auto& [path, bytes] : tree) {
            const QString full = dir_ + QLatin1Char('/') + name + QLatin1Char('/') + path;
            QDir().mkpath(QFileInfo(full).absolutePath());
            QFile file(full);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
                *error = QStringLiteral("cannot write ") + full;
                return false;
            }
        }
        cases_ += name + QStringLiteral(": ") + description + QLatin1Char('\n');
        ++count_;
        return true;
    }

    bool finish(QString* error)
    {
        QFile file(dir_ + QStringLiteral("/CASES.txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *error = QStringLiteral("cannot write CASES.txt");
            return false;
        }
        file.write("Broken lesson content, one content tree per case. Start the tutor in a case's\n"
                   "folder: it shows the error named here in its error box (or the default named\n"
                   "here) and goes on. Video frames carry the frame stamp 1000 * lesson + frame\n"
                   "(read-stamp reads it; see make-broken's source) and are lettered with their number.\n\n");
        file.write(cases_.toUtf8());
        return true;
    }

    int count() const { return count_; }

private:
    QString dir_;
    QTemporaryDir scratch_;
    std::map<QString, QByteArray> videos_;
    QString cases_;
    int count_ = 0;
};

// Offset of a RIFF chunk with the given four-character code, or -1.
qsizetype findChunk(const QByteArray& avi, const char* fourcc)
{
    return avi.lastIndexOf(QByteArray(fourcc, 4));
}

// Offset of the n-th (from 0) video chunk of the movi list, or -1.
qsizetype frameChunk(const QByteArray& avi, int n)
{
    qsizetype at = avi.indexOf("movi");
    if (at < 0)
        return -1;
    at += 4;
    while (at + 8 <= avi.size()) {
        const QByteArray id = avi.mid(at, 4);
        const auto size = qsizetype(uint8_t(avi[at + 4]) | uint8_t(avi[at + 5]) << 8
                                    | uint8_t(avi[at + 6]) << 16 | uint32_t(uint8_t(avi[at + 7])) << 24);
        if (id.endsWith("dc") || id.endsWith("db")) {
            if (n-- == 0)
                return at;
        } else if (id == "LIST") {
            at += 12; // into a rec list
            continue;
        }
        at += 8 + size + (size & 1);
    }
    return -1;
}

bool writeCorpus(Corpus& corpus, QString* error)
{
    using Tree = std::map<QString, QByteArray>;
    const QString adamsAvi = kAdams.video, wulffAvi = kWulff.video;
    const QString tourAvi = kQuickTour.video, techAvi = kTechniques.video;
    const QString adamsBmp = QStringLiteral("Flies/Adams.bmp");
    struct Case {
        const char* name;
        const char* description;
        std::function<void(Tree&)> change;
    };
    const std::vector<Case> cases = {
        {"sound", "nothing is broken; every section and pattern plays", [](Tree&) {}},

        // Videos: Open raises the device's error; the screen is switched, no frame shown.
        {"avi-zero-length", "Flies/Adams.avi is empty: opening Parachute Adams shows the device's error",
         [&](Tree& t) { t[adamsAvi].clear(); }},
        {"avi-truncated-header",
         "QuickTour/QuickTour.avi ends inside its headers: Quick Tour shows the device's error",
         [&](Tree& t) { t[tourAvi].truncate(600); }},
        {"avi-truncated-frames",
         "Techniques/Techniques.avi ends inside its 17th frame (of 32), its index lost: the 16 whole "
         "frames play; a topic beyond them shows none of its own and no error",
         [&](Tree& t) {
             const qsizetype cut = frameChunk(t[techAvi], 16);
             if (cut > 0)
                 t[techAvi].truncate(cut + 8 + 40);
         }},
        {"avi-damaged-index",
         "the index of Flies/Adams.avi is overwritten with noise: the frames play all the same",
         [&](Tree& t) {
             QByteArray& avi = t[adamsAvi];
             const qsizetype idx1 = findChunk(avi, "idx1");
             if (idx1 >= 0) {
                 const QByteArray noise = garbage(int(avi.size() - idx1 - 8), 7);
                 avi.replace(idx1 + 8, noise.size(), noise);
             }
         }},
        {"avi-not-video", "Flies/Wulff.avi is a text file: opening Royal Wulff shows the device's error",
         [&](Tree& t) { t[wulffAvi] = "This is not a video. It is a note left on the disc.\r\n"; }},
        {"avi-missing", "Techniques/Techniques.avi is missing: Techniques shows the device's error",
         [&](Tree& t) { t.erase(techAvi); }},

        // Pictures: read at start-up; an error is shown once and the pattern is left out.
        {"bmp-zero-length", "Flies/Adams.bmp is empty: an empty picture, no error",
         [&](Tree& t) { t[adamsBmp].clear(); }},
        {"bmp-not-a-bitmap", "Flies/Adams.bmp holds a PNG picture: \"Bitmap image is not valid.\"",
         [&](Tree& t) { t[adamsBmp] = imageBytes(patternPicture(kAdams.id), "PNG"); }},
        {"bmp-short", "Flies/Adams.bmp is 10 bytes: \"Stream read error.\"",
         [&](Tree& t) { t[adamsBmp] = t[adamsBmp].left(10); }},
        {"bmp-damaged-header",
         "Flies/Adams.bmp has an info header of an unknown size: \"Bitmap image is not valid.\"",
         [&](Tree& t) { t[adamsBmp] = bmpHeader(120, 80, 77, 120 * 80 * 3); }},
        {"bmp-huge-dimensions",
         "Flies/Adams.bmp claims 50000 x 50000 pixels in a small file: \"Bitmap image is not valid.\"",
         [&](Tree& t) { t[adamsBmp] = bmpHeader(50000, 50000, 40, 4096); }},
        {"bmp-pixels-missing",
         "Flies/Adams.bmp claims 4000 x 3000 pixels and holds 4 KB: \"Stream read error.\"",
         [&](Tree& t) { t[adamsBmp] = bmpHeader(4000, 3000, 40, 4096); }},
        {"bmp-missing", "Flies/Adams.bmp is missing: \"Cannot open file Flies\\Adams.bmp.\"",
         [&](Tree& t) { t.erase(adamsBmp); }},

        // INI files: read at start-up with the reader's defaults.
        {"ini-binary-garbage",
         "Flies/Adams.ini and QuickTour/QuickTour.ini are binary noise: Adams is listed as \"Unknown\" with "
         "no "
         "steps, the Quick Tour has no topics; no error",
         [&](Tree& t) {
             t[QStringLiteral("Flies/Adams.ini")] = garbage(4096, 1);
             t[QStringLiteral("QuickTour/QuickTour.ini")] = garbage(2048, 2);
         }},
        {"ini-long-lines",
         "Flies/Adams.ini has a 200 000-character line, a name of 3000 characters, a step title of 2000 and "
         "3000 materials keys: values are cut to 1023 characters and the materials to what 8192 bytes of key "
         "names hold; no error",
         [&](Tree& t) {
             QByteArray ini = QByteArray(200000, 'x') + "\r\n[Info]\r\nname=" + QByteArray(3000, 'N')
                 + "\r\nnumsteps=2\r\n[Topics 1]\r\ntitle=" + QByteArray(2000, 'T')
                 + "\r\nStartFrame=0\r\nStopFrame=5\r\nOffset=12\r\n"
                   "[Topics "
                   "2]\r\ntitle=Hackle\r\nStartFrame=6\r\nStopFrame=11\r\nOffset=12\r\n[Materials]\r\n";
             for (int i = 0; i < 3000; ++i)
                 ini += "Material" + QByteArray::number(i) + "=Line " + QByteArray::number(i) + "\r\n";
             t[QStringLiteral("Flies/Adams.ini")] = ini;
         }},
        {"ini-missing-sections",
         "Flies/Adams.ini has numsteps 2 and no step sections (two steps \"Unknown\" at frame 0), "
         "Techniques/Techniques.ini has no [Info] (no topics), QuickTour/QuickTour.ini lacks [Topics 2] "
         "(an \"Unknown\" topic at frame 0), Flies/Wulff.ini has no [Info] (listed as \"Unknown\"); no error",
         [&](Tree& t) {
             t[QStringLiteral("Flies/Adams.ini")] = "[Info]\r\nname=Parachute Adams\r\nnumsteps=2\r\n";
             t[QStringLiteral("Techniques/Techniques.ini")]
                 = "[Topics 1]\r\nTitle=Orphan\r\nStartFrame=3\r\n";
             t[QStringLiteral("QuickTour/QuickTour.ini")]
                 = QByteArray(kQuickTourIni).replace("[Topics 2]", "[Topics 9]");
             t[QStringLiteral("Flies/Wulff.ini")] = QByteArray(kWulffIni).replace("[Info]", "[Inf0]");
         }},
        {"ini-bad-integer-pattern",
         "Flies/Wulff.ini has numsteps=2x: \"'2x' is not a valid integer value.\"; Royal Wulff is left out",
         [&](Tree& t) {
             t[QStringLiteral("Flies/Wulff.ini")]
                 = QByteArray(kWulffIni).replace("numsteps=2", "numsteps=2x");
         }},
        {"ini-bad-integer-section",
         "QuickTour/QuickTour.ini has StartFrame=1.5 in its second topic: \"'1.5' is not a valid integer "
         "value.\"; the Quick Tour keeps its first topic",
         [&](Tree& t) {
             t[QStringLiteral("QuickTour/QuickTour.ini")]
                 = QByteArray(kQuickTourIni).replace("StartFrame=10", "StartFrame=1.5");
         }},
        {"ini-frames-beyond-clip",
         "the second step of Flies/Wulff.ini lies at frames 500-510 of a 20-frame video: choosing it shows "
         "none of its frames and no error",
         [&](Tree& t) {
             t[QStringLiteral("Flies/Wulff.ini")] = QByteArray(kWulffIni)
                                                        .replace("StartFrame=5", "StartFrame=500")
                                                        .replace("StopFrame=9", "StopFrame=510");
         }},
    };
    for (const Case& c : cases)
        if (!corpus.write(QString::fromLatin1(c.name), QString::fromUtf8(c.description), c.change, error))
            return false;
    return corpus.finish(error);
}

int makeBroken(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: make-broken DIR\n";
        return 2;
    }
    const QString dir = QFileInfo(args.first()).absoluteFilePath();
    if (QFileInfo(dir).exists()
        && !QDir(dir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        err << "make-broken: " << dir << " is not empty\n";
        return 1;
    }
    QDir().mkpath(dir);
    Corpus corpus(dir);
    QString error;
    if (!corpus.makeVideos(&error) || !writeCorpus(corpus, &error)) {
        err << "make-broken: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "make-broken: wrote " << corpus.count() << " cases into " << dir << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The frames are lettered with Qt's fonts, which need a platform, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return makeBroken(app.arguments().mid(1));
}
