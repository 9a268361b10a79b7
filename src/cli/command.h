#pragma once
// The subcommands of hollenby-level and the dispatch between them.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCommandLineParser;

namespace hollenby::cli {

// Exit statuses, as grep and linters use them.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitTrouble = 2;

struct Command
{
    QString name;     // "render"
    QString synopsis; // the arguments after the name, for the usage line
    QString summary;  // for the command list: one line beside the name, at most 66 characters
    // Adds the command's options and positional arguments to a fresh parser.
    std::function<void(QCommandLineParser&)> define;
    // Runs with the parsed command line and returns the exit status. Throws CliError when the
    // command cannot run; the dispatcher prints it and returns kExitTrouble.
    std::function<int(const QCommandLineParser&)> run;
};

// Every command, in the order the help lists them.
const std::vector<Command>& Commands();

// Adds -h/--help and the command's own options and arguments to a fresh parser.
void DefineParser(const Command& command, QCommandLineParser& parser);

// The whole program: `arguments` as QCoreApplication::arguments() gives them, program name first.
// Prints to stdout and stderr and returns the exit status.
int RunCommandLine(const QStringList& arguments);

} // namespace hollenby::cli
