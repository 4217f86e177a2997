// hacklewright-tool: programs for content authors and for making the demo library.
#include "Command.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
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
void listCommands(QTextStream& out)
{
    out << "usage: hacklewright-tool COMMAND [ARGS...]\n"
           "       hacklewright-tool COMMAND --help\n\ncommands:\n";
    for (const auto& [name, command] : hw::tool::registry())
        out << "  " << QString::fromUtf8(command.usage).leftJustified(36) << ' '
            << QString::fromUtf8(command.summary) << '\n';
}

void commandUsage(const hw::tool::Command& command, QTextStream& out)
{
    out << "usage: hacklewright-tool " << command.usage << "\n  " << command.summary << '\n';
}

bool isHelp(const QString& arg)
{
    return arg == QLatin1String("-h") || arg == QLatin1String("--help");
}

// The first argument that looks like an option the command does not take, or an empty
// string. The options a command takes are those its usage line names; a negative number
// is a value, not an option.
QString unknownOption(const hw::tool::Command& command, const QStringList& args)
{
    static const QRegularExpression named(QStringLiteral("--[a-z][a-z-]*"));
    QStringList known;
    for (const QRegularExpressionMatch& m : named.globalMatch(QString::fromUtf8(command.usage)))
        known << m.captured();
    for (const QString& arg : args) {
        bool number = false;
        arg.toDouble(&number);
        if (arg.size() > 1 && arg.startsWith(QLatin1Char('-')) && !number && !known.contains(arg))
            return arg;
    }
    return {};
}
} // namespace

int main(int argc, char** argv)
{
    // Drawing text into pictures needs a GUI application but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        listCommands(err);
        return 2;
    }
    // "help" alone lists the commands; "help COMMAND" is "COMMAND --help".
    if (args.first() == QLatin1String("help") && args.size() == 2)
        args = QStringList{args[1], QStringLiteral("--help")};
    if (isHelp(args.first()) || args.first() == QLatin1String("help")) {
        listCommands(out);
        return 0;
    }
    const auto found = hw::tool::registry().find(args.first().toStdString());
    if (found == hw::tool::registry().end()) {
        err << "hacklewright-tool: unknown command '" << args.first() << "'\n\n";
        listCommands(err);
        return 2;
    }
    const hw::tool::Command& command = found->second;
    args.removeFirst();
    // Asked for help anywhere, a command only answers it: it never takes "--help" for a
    // file or folder name.
    if (std::any_of(args.begin(), args.end(), isHelp)) {
        commandUsage(command, out);
        return 0;
    }
    if (const QString option = unknownOption(command, args); !option.isEmpty()) {
        err << "hacklewright-tool " << command.name << ": unknown option " << option << '\n';
        commandUsage(command, err);
        return 2;
    }
    return command.run(args);
}
