#include "TextLayout.h"

#include <QFontMetrics>

#include <cmath>

namespace hw {

QFont fontAtDpi(const QFont& font, double dpi)
{
    QFont f = font;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    return f;
}

double measuredScreenWidth(const QString& text, const QFont& font, double ppi, int zoom)
{
    const QFontMetrics metrics(fontAtDpi(font, ppi));
    return (metrics.horizontalAdvance(text) + 1) * zoom / 100.0;
}

QStringList wrapLines(const QStringList& lines, const QFont& font, double ppi, int zoom,
                      double boxWidthPixels)
{
    QStringList out;
    for (const QString& line : lines) {
        if (line.isEmpty()) {
            out.append(QString());
            continue;
        }
        // Splitting at every single blank keeps double blanks: they become empty words.
        const QStringList words = line.split(QLatin1Char(' '));
        QString current;
        bool started = false;
        for (const QString& word : words) {
            if (started) {
                const QString candidate = current + QLatin1Char(' ') + word + QLatin1Char(' ');
                if (measuredScreenWidth(candidate, font, ppi, zoom) > boxWidthPixels && !current.isEmpty()) {
                    out.append(current);
                    current = word;
                    continue;
                }
                current += QLatin1Char(' ') + word;
            } else {
                current = word;
                started = true;
            }
        }
        out.append(current);
    }
    return out;
}

double linePitch(const QFont& font, double dpiY)
{
    const QFontMetrics metrics(fontAtDpi(font, dpiY));
    // The text height of "W" is the font's full line height (ascent plus descent), the
    // same for every text.
    return metrics.height() * 254.0 / dpiY;
}

int linesThatFit(int lineCount, double pitch, double boxHeight)
{
    if (pitch <= 0.0)
        return lineCount;
    int n = 0;
    while (n < lineCount && (n + 1) * pitch <= boxHeight + 1.0)
        ++n;
    return n;
}

} // namespace hw
