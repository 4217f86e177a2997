#include "hw/check/LibraryCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hw::check {

QString formatText(const CheckReport& report)
{
    QString out;
    for (const Finding& f : report.findings) {
        QString where = f.file.isEmpty() ? QStringLiteral("library") : f.file;
        if (f.line > 0)
            where += QLatin1Char(':') + QString::number(f.line);
        out += QStringLiteral("%1: %2: %3\n")
                   .arg(where,
                        f.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"),
                        f.message);
    }
    const int errors = report.count(Severity::Error);
    const int warnings = report.count(Severity::Warning);
    auto counted = [](int n, const char* what) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(what)
            + (n == 1 ? QString() : QStringLiteral("s"));
    };
    out += QStringLiteral("%1, %2 in %3 and %4 checked\n")
               .arg(counted(errors, "error"), counted(warnings, "warning"),
                    counted(report.patterns, "pattern"), counted(report.videos, "video"));
    return out;
}

QByteArray formatJson(const CheckReport& report)
{
    QJsonArray findings;
    for (const Finding& f : report.findings) {
        QJsonObject o;
        o[QStringLiteral("severity")]
            = f.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
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
    top[QStringLiteral("findings")] = findings;
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

} // namespace hw::check
