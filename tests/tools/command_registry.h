#pragma once

#include <QStringList>

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>

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

// The whole number an argument spells, when it lies in [min, max]; nothing for any other text.
std::optional<int> intArgument(const QString& text, int min = std::numeric_limits<int>::min(),
    int max = std::numeric_limits<int>::max());

// The longest a timing command runs: a day, in whole seconds.
constexpr int kLongestRunSeconds = 24 * 60 * 60;

// Replaces the file `path` with `bytes` whole; else prints "cannot write PATH" and gives false.
bool WriteOutputFile(const QString& path, const QByteArray& bytes);

// Printed forms: "on"/"off", a colour as 8 upper-case hex digits, numbers (each plus `offset`) joined
// by ",".
QString onOff(bool on);
QString hex8(std::int32_t value);
template <typename Numbers> QString joined(const Numbers& values, int offset = 0)
{
    QStringList parts;
    for (const auto value : values)
        parts << QString::number(value + offset);
    return parts.join(QChar(u','));
}

} // namespace tunvale::scoretool

#define SCORETOOL_CONCAT_INNER(a, b) a##b
#define SCORETOOL_CONCAT(a, b) SCORETOOL_CONCAT_INNER(a, b)
#define SCORETOOL_COMMAND(name, usage, function)                                                             \
    static const bool SCORETOOL_CONCAT(scoretoolRegistered, __LINE__)                                        \
        = ::tunvale::scoretool::registerCommand(QStringLiteral(name), QStringLiteral(usage), function)
