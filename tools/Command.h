#pragma once
// hacklewright-tool's subcommands register themselves here, one file each, so that a new
// command is one new file under commands/.
#include <QStringList>
#include <functional>

namespace hw::tool {

struct Command {
    const char* name;
    const char* usage;                               // one line, e.g. "catalog [DIR]"
    const char* summary;                             // one line
    std::function<int(const QStringList& args)> run; // args after the command name; returns exit code
};

// Returns true so that a file can register at static initialisation:
//   static const bool registered = hw::tool::registerCommand({...});
bool registerCommand(Command command);

} // namespace hw::tool
