// hacklewright-tool: programs for content authors and for making the demo library.
#include "Command.h"

#include <QApplication>
#include <QTextStream>

#include <map>
#include <string>

namespace hw::tool {
namespace {
std::map<std::string, Command>& registry()
{
    static std::map<std::string, Command> commands;
    return commands;
}
} // namespace

bool registerCommand(Command command)
{
    registry().emplace(command.name, std::move(command));
    return true;
}

} // namespace hw::tool

namespace {
int usage(QTextStream& out)
{
    out << "usage: hacklewright-tool COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& [name, command] : hw::tool::registry())
        out << "  " << QString::fromUtf8(command.usage).leftJustified(36) << ' '
            << QString::fromUtf8(command.summary) << '\n';
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    // Drawing text into pictures needs a GUI application but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("help"))
        return usage(err);
    const auto found = hw::tool::registry().find(args.first().toStdString());
    if (found == hw::tool::registry().end()) {
        err << "hacklewright-tool: unknown command '" << args.first() << "'\n\n";
        return usage(err);
    }
    args.removeFirst();
    return found->second.run(args);
}
