#pragma once
#include "hw/check/LibraryCheck.h"

namespace hw::check {

// Collects findings as the checks go.
class Findings {
public:
    explicit Findings(CheckReport& report)
        : report_(report)
    { }
    void error(const QString& code, const QString& file, int line, const QString& message)
    {
        report_.findings.push_back({Severity::Error, code, file, line, message});
    }
    void warning(const QString& code, const QString& file, int line, const QString& message)
    {
        report_.findings.push_back({Severity::Warning, code, file, line, message});
    }
    bool contains(const QString& file, const QString& message) const
    {
        for (const Finding& f : report_.findings)
            if (f.file == file && f.message == message)
                return true;
        return false;
    }

private:
    CheckReport& report_;
};

} // namespace hw::check
