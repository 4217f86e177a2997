#pragma once
// The library checker's findings as failure messages show them.
#include "hw/check/LibraryCheck.h"

#include <string>

namespace hw::test {

// Every finding: its code, file, line and message, one a line.
inline std::string findingCodes(const check::CheckReport& report)
{
    std::string out;
    for (const auto& f : report.findings)
        out += f.code.toStdString() + " (" + f.file.toStdString() + ":" + std::to_string(f.line) + " "
            + f.message.toStdString() + ")\n";
    return out;
}

} // namespace hw::test
