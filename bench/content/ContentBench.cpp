// Loads a generated library of 1,000 patterns (20 steps, 10 materials lines and a
// 120 x 80 24-bit picture each) and, in the same run, reads every byte of the same files.
// Both are timed warm (the files are in the page cache); the figures are medians.
//
//   content_bench [--patterns N] [--runs N] [--keep DIR]
#include "hw/content/Catalogue.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray bitmapBytes(int w, int h, int seed)
{
    QByteArray b("BM");
    const int stride = (w * 3 + 3) & ~3;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](uint32_t v) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    };
    u32(uint32_t(54 + stride * h));
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(h));
    u16(1);
    u16(24);
    u32(0);
    u32(uint32_t(stride * h));
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < h; ++y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            row[3 * x] = char(x + seed);
            row[3 * x + 1] = char(y * 2 + seed);
            row[3 * x + 2] = char(x ^ y);
        }
        b += row;
    }
    return b;
}

QByteArray patternIni(int i, int steps, int materials)
{
    QByteArray s = "[Info]\r\nname=Pattern " + QByteArray::number(i)
        + "\r\nnumsteps=" + QByteArray::number(steps) + "\r\n";
    for (int n = 1; n <= steps; ++n) {
        s += "[Topics " + QByteArray::number(n) + "]\r\ntitle=Step " + QByteArray::number(n)
            + ": tie in the next material and wrap it forward\r\n" + "StartFrame="
            + QByteArray::number(n * 100) + "\r\nStopFrame=" + QByteArray::number(n * 100 + 90)
            + "\r\nOffset=" + QByteArray::number(steps * 100 + 50) + "\r\n";
    }
    s += "[Materials]\r\n";
    for (int m = 1; m <= materials; ++m)
        s += "Item" + QByteArray::number(m) + "=Material line " + QByteArray::number(m) + ", size "
            + QByteArray::number(10 + m) + "\r\n";
    return s;
}

QByteArray sectionIni(int topics)
{
    QByteArray s = "[Info]\r\nNumTopics=" + QByteArray::number(topics) + "\r\n";
    for (int n = 1; n <= topics; ++n)
        s += "[Topics " + QByteArray::number(n) + "]\r\nTitle=Topic " + QByteArray::number(n)
            + "\r\nStartFrame=" + QByteArray::number(n * 300)
            + "\r\nStopFrame=" + QByteArray::number(n * 300 + 250) + "\r\nOffset=0\r\n";
    return s;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int patterns = 1000;
    int runs = 9;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--patterns"))
            patterns = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--keep"))
            keep = args[i + 1];
    }

    QTemporaryDir temp;
    const QString root = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(root + QStringLiteral("/Flies"));
    QDir().mkpath(root + QStringLiteral("/QuickTour"));
    QDir().mkpath(root + QStringLiteral("/Techniques"));
    for (int i = 0; i < patterns; ++i) {
        const QString base = root + QStringLiteral("/Flies/Pattern%1").arg(i, 4, 10, QLatin1Char('0'));
        writeFile(base + QStringLiteral(".ini"), patternIni(i, 20, 10));
        writeFile(base + QStringLiteral(".bmp"), bitmapBytes(120, 80, i));
    }
    writeFile(root + QStringLiteral("/QuickTour/QuickTour.ini"), sectionIni(12));
    writeFile(root + QStringLiteral("/Techniques/Techniques.ini"), sectionIni(30));

    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    qint64 totalBytes = 0;

    auto rawRead = [&] {
        QElapsedTimer timer;
        timer.start();
        qint64 bytes = 0;
        for (const QString& path : files) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                bytes += f.readAll().size();
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        totalBytes = bytes;
        return ms;
    };
    auto load = [&] {
        auto catalogue = std::make_unique<hw::Catalogue>();
        int names = 0;
        QElapsedTimer timer;
        timer.start();
        const auto errors = hw::initResources(
            *catalogue, [&](const QByteArray&) { ++names; }, QDir(root));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!errors.empty() || names != patterns)
            qFatal("load failed: %d names, %d errors", names, int(errors.size()));
        return ms; // the catalogue lives for the whole run in the program; its teardown is not timed
    };

    rawRead(); // warm the page cache
    load();
    std::vector<double> raw;
    std::vector<double> loaded;
    for (int r = 0; r < runs; ++r) {
        raw.push_back(rawRead());
        loaded.push_back(load());
    }
    const double rawMs = median(raw);
    const double loadMs = median(loaded);
    QTextStream out(stdout);
    out << "| Measure | Median of " << runs << " runs |\n|---|---|\n";
    out << "| Files | " << files.size() << " (" << QString::number(double(totalBytes) / 1e6, 'f', 1)
        << " MB) |\n";
    out << "| Read every byte | " << QString::number(rawMs, 'f', 1) << " ms |\n";
    out << "| Load the catalogue (`initResources`) | " << QString::number(loadMs, 'f', 1) << " ms |\n";
    out << "| Ratio load / read | " << QString::number(loadMs / rawMs, 'f', 2) << " |\n";
    return 0;
}
