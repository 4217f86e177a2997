#pragma once
// Reads a PDF back with poppler's tools: the words with their boxes (points from the
// page's top-left corner) and the page rendered to an image.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QList>

namespace hw::test {

struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // points
};

inline bool popplerAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

inline QString runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QList<PdfWord> pdfWords(const QString& pdf)
{
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&")),
                      m.captured(1).toDouble(), m.captured(2).toDouble(),
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

// Distinct text lines (words grouped by their top edge).
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
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                                         QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), pdf, prefix});
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

constexpr double kPointsPerTenth = 72.0 / 254.0;

} // namespace hw::test
