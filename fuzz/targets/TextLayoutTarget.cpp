// Label and memo text layout on arbitrary text: word wrap only breaks at blanks and keeps
// every character, fills each line as far as the box allows, leaves an overwide word whole;
// the lines that fit follow the 1.0 cut-off; painting a memo of the text onto a page
// picture at any box size, zoom and alignment finishes.
#include "FuzzTargets.h"

#include "PagePainter.h"
#include "TextLayout.h"
#include "hw/report/TReport.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace hw::fuzz {
namespace {

std::string show(const QString& s)
{
    return s.toUtf8().toPercentEncoding(" ").toStdString();
}

} // namespace

int textLayout(const uint8_t* data, size_t size)
{
    initialize();
    Input in(data, size);
    const int zoom = 2 + in.u16() % 1999; // the preview's 2 .. 2000
    const double box = in.u16() % 2000;   // on-screen box width, pixels
    const int points = 1 + in.byte() % 48;
    const uint8_t flags = in.byte();
    const double boxHeight = in.u16() / 8.0; // tenths of a millimetre
    const double boxLeft = int16_t(in.u16()) / 4.0;
    const double boxTop = int16_t(in.u16()) / 4.0;
    // Content text is single-byte; report text may be any Unicode: take both.
    const QByteArray raw(reinterpret_cast<const char*>(in.rest()),
                         qsizetype(std::min<size_t>(in.remaining(), 2048)));
    const QString text = (flags & 1) ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
    const QStringList lines = text.split(QLatin1Char('\n'));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    if (flags & 2)
        font.setBold(true);

    const QStringList wrapped = wrapLines(lines, font, 96, zoom, box);
    // Each input line becomes consecutive output lines that join back into it at blanks.
    qsizetype at = 0;
    for (const QString& line : lines) {
        QString joined;
        bool first = true;
        while (at < wrapped.size()) {
            joined = first ? wrapped[at] : joined + QLatin1Char(' ') + wrapped[at];
            const bool lastOfLine = joined.size() >= line.size();
            if (!first) {
                // The break before this line was needed: the previous line and this line's
                // first word did not fit together.
                const QString previous = wrapped[at - 1];
                const QString firstWord = wrapped[at].section(QLatin1Char(' '), 0, 0);
                check(measuredScreenWidth(previous + QLatin1Char(' ') + firstWord + QLatin1Char(' '), font,
                                          96, zoom)
                          > box,
                      "a break where the next word would have fitted: " + show(previous));
            }
            // A line of several words fits, unless it only grew from an empty first word.
            const QString& out = wrapped[at];
            const qsizetype lastBlank = out.lastIndexOf(QLatin1Char(' '));
            if (lastBlank > 0)
                check(measuredScreenWidth(out + QLatin1Char(' '), font, 96, zoom) <= box,
                      "a wrapped line overruns its box: " + show(out));
            ++at;
            first = false;
            if (lastOfLine)
                break;
        }
        check(joined == line, "wrapping changed the text: " + show(line) + " became " + show(joined));
    }
    check(at == wrapped.size(), "wrapping made more lines than the text has");

    // The lines that fit: a line prints unless its bottom lies more than 1.0 below the box.
    const double pitch = linePitch(font, 96);
    check(pitch > 0 && std::isfinite(pitch), "line pitch not positive");
    const int count = int(wrapped.size());
    const int fit = linesThatFit(count, pitch, boxHeight);
    check(fit >= 0 && fit <= count, "lines that fit out of range");
    if (fit < count)
        check((fit + 1) * pitch > boxHeight + 1.0, "a line that fits was cut");
    if (fit > 0)
        check(fit * pitch <= boxHeight + 1.0, "a line below the box was printed");

    // Paint the text as a memo at 24 dpi (small pictures keep the fuzzer fast).
    TReport report;
    report.setZoom(zoom);
    TReportMemo* memo = report.AddMemo();
    memo->setSize(boxHeight, boxLeft, boxTop, box * 254.0 / 96.0);
    memo->setLines(lines);
    memo->setFont(font);
    memo->setWordWrap(flags & 4);
    memo->setAutoSize(flags & 8);
    memo->setAlignment(TAlignment((flags >> 4) % 3));
    memo->setTransparent(flags & 64);
    QImage page(205, 264, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        DeviceMapping mapping;
        mapping.dpiX = mapping.dpiY = 24;
        PagePainter(painter, mapping, report).paintElement(*memo, QPointF(0, 0));
    }
    return 0;
}

} // namespace hw::fuzz
