#pragma once
#include "hw/check/LibraryCheck.h"

#include <QSet>

namespace hw::check {

// Collects findings as the checks go.
class Findings {
public:
    explicit Findings(CheckReport& report)
        : report_(report)
    { }
    void error(const QString& code, const QString& file, int line, const QString& message)
    {
        add(Severity::Error, code, file, line, message);
    }
    void warning(const QString& code, const QString& file, int line, const QString& message)
    {
        add(Severity::Warning, code, file, line, message);
    }
    void note(const QString& code, const QString& file, int line, const QString& message)
    {
        add(Severity::Note, code, file, line, message);
    }
    // Whether a finding with this message was made about file.
    bool contains(const QString& file, const QString& message) const
    {
        return said_.contains(file + QLatin1Char('\n') + message);
    }

private:
    void add(Severity severity, const QString& code, const QString& file, int line, const QString& message)
    {
        report_.findings.push_back({severity, code, file, line, message});
        said_.insert(file + QLatin1Char('\n') + message);
    }

    CheckReport& report_;
    QSet<QString> said_;
};

} // namespace hw::check
