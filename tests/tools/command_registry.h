#pragma once

#include <QStringList>

#include <functional>
#include <map>

namespace tunvale::scoretool {

// A subcommand gets its arguments (without the program and command names) and returns the exit code.
using CommandFunction = std::function<int(const QStringList& args)>;

struct Command {
    QString usage;
    CommandFunction run;
};

std::map<QString, Command>& commands();

// Registers a command at static initialisation; use through SCORETOOL_COMMAND.
bool registerCommand(const QString& name, const QString& usage, CommandFunction run);

// Output helpers: UTF-8 to standard output and standard error.
void out(const QString& line);
void err(const QString& line);

} // namespace tunvale::scoretool

#define SCORETOOL_CONCAT_INNER(a, b) a##b
#define SCORETOOL_CONCAT(a, b) SCORETOOL_CONCAT_INNER(a, b)
#define SCORETOOL_COMMAND(name, usage, function)                                                             \
    static const bool SCORETOOL_CONCAT(scoretoolRegistered, __LINE__)                                        \
        = ::tunvale::scoretool::registerCommand(QStringLiteral(name), QStringLiteral(usage), function)
