#pragma once
// Reads a PDF back with poppler's tools: the words with their boxes (points from the
// page's top-left corner), the text, the fonts, and page 1 rendered to an image.
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace hw::test {

inline constexpr double kPointsPerTenth = 72.0 / 254.0;

struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // points
};

inline bool popplerAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

// A tool's standard output; empty when it does not finish within a minute.
inline QString runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString unescapeXml(QString text)
{
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

inline QList<PdfWord> pdfWords(const QString& pdf)
{
    const QString xml
        = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        words.append({unescapeXml(m.captured(5)), m.captured(1).toDouble(), m.captured(2).toDouble(),
                      m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

inline const PdfWord* findWord(const QList<PdfWord>& words, const QString& text)
{
    for (const PdfWord& w : words) {
        if (w.text == text)
            return &w;
    }
    return nullptr;
}

// The words whose top lies within half a point of `top` and whose left edge lies in
// [xFrom, xTo), left to right.
inline QList<PdfWord> wordsAt(const QList<PdfWord>& words, double top, double xFrom, double xTo)
{
    QList<PdfWord> row;
    for (const PdfWord& w : words) {
        if (std::abs(w.yMin - top) < 0.5 && w.xMin >= xFrom - 0.5 && w.xMin < xTo)
            row.append(w);
    }
    std::sort(row.begin(), row.end(), [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    return row;
}

inline QString joined(const QList<PdfWord>& row)
{
    QStringList parts;
    for (const PdfWord& w : row)
        parts.append(w.text);
    return parts.join(QLatin1Char(' '));
}

// The words of the page grouped into text lines by their top edge, top to bottom.
inline QList<QList<PdfWord>> textLines(const QList<PdfWord>& words)
{
    QList<QList<PdfWord>> lines;
    QList<PdfWord> sorted = words;
    std::sort(sorted.begin(), sorted.end(), [](const PdfWord& a, const PdfWord& b) {
        return a.yMin < b.yMin - 0.5 || (std::abs(a.yMin - b.yMin) <= 0.5 && a.xMin < b.xMin);
    });
    for (const PdfWord& w : sorted) {
        if (lines.isEmpty() || std::abs(lines.last().first().yMin - w.yMin) > 0.5)
            lines.append(QList<PdfWord>());
        lines.last().append(w);
    }
    return lines;
}

// The tops of the distinct text lines (words within a point of each other share one), top
// to bottom.
inline QList<double> lineTops(const QList<PdfWord>& words)
{
    QList<double> tops;
    for (const PdfWord& w : words) {
        bool known = false;
        for (double t : tops)
            known = known || std::abs(t - w.yMin) < 1.0;
        if (!known)
            tops.append(w.yMin);
    }
    std::sort(tops.begin(), tops.end());
    return tops;
}

// Page 1 rendered at `dpi` (grey).
inline QImage pdfPageImage(const QString& pdf, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
             QStringLiteral("1"), QStringLiteral("-png"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// A part of page 1 rendered in grey at `dpi`; `area` is in pixels at that resolution.
inline QImage renderArea(const QString& pdf, int dpi, const QRect& area)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-x"), QString::number(area.x()),
             QStringLiteral("-y"), QString::number(area.y()), QStringLiteral("-W"),
             QString::number(area.width()), QStringLiteral("-H"), QString::number(area.height()),
             QStringLiteral("-png"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

inline QString pdfFonts(const QString& pdf)
{
    return runTool(QStringLiteral("pdffonts"), {pdf});
}

inline QString pdfText(const QString& pdf)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

} // namespace hw::test
