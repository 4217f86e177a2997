#include "hw/check/LibraryCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hw::check {
namespace {

QString severityName(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error");
    case Severity::Warning:
        return QStringLiteral("warning");
    case Severity::Note:
        break;
    }
    return QStringLiteral("note");
}

// Control characters from names and values would reach a terminal raw (an escape sequence
// can rewrite the screen): they are shown as \xNN.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

QString formatText(const CheckReport& report)
{
    QString out;
    for (const Finding& f : report.findings) {
        QString where = f.file.isEmpty() ? QStringLiteral("library") : escaped(f.file);
        if (f.line > 0)
            where += QLatin1Char(':') + QString::number(f.line);
        out += QStringLiteral("%1: %2: %3\n").arg(where, severityName(f.severity), escaped(f.message));
    }
    const int errors = report.count(Severity::Error);
    const int warnings = report.count(Severity::Warning);
    auto counted = [](int n, const char* what) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(what)
            + (n == 1 ? QString() : QStringLiteral("s"));
    };
    const int notes = report.count(Severity::Note);
    out += QStringLiteral("%1, %2%3 in %4 and %5 checked\n")
               .arg(counted(errors, "error"), counted(warnings, "warning"),
                    notes ? QStringLiteral(", ") + counted(notes, "note") : QString(),
                    counted(report.patterns, "pattern"), counted(report.videos, "video"));
    return out;
}

QByteArray formatJson(const CheckReport& report)
{
    QJsonArray findings;
    for (const Finding& f : report.findings) {
        QJsonObject o;
        o[QStringLiteral("severity")] = severityName(f.severity);
        o[QStringLiteral("code")] = f.code;
        o[QStringLiteral("file")] = f.file;
        o[QStringLiteral("line")] = f.line;
        o[QStringLiteral("message")] = f.message;
        findings.append(o);
    }
    QJsonObject top;
    top[QStringLiteral("root")] = report.root;
    top[QStringLiteral("patterns")] = report.patterns;
    top[QStringLiteral("videos")] = report.videos;
    top[QStringLiteral("errors")] = report.count(Severity::Error);
    top[QStringLiteral("warnings")] = report.count(Severity::Warning);
    top[QStringLiteral("notes")] = report.count(Severity::Note);
    top[QStringLiteral("findings")] = findings;
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

} // namespace hw::check
