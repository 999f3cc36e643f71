#include "tests/tools/command_registry.h"

#include <cstdio>

namespace tunvale::scoretool {

std::map<QString, Command>& commands()
{
    static std::map<QString, Command> all;
    return all;
}

bool registerCommand(const QString& name, const QString& usage, CommandFunction run)
{
    commands()[name] = Command { usage, std::move(run) };
    return true;
}

void out(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

std::optional<int> intArgument(const QString& text, int min, int max)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return int(value);
}

} // namespace tunvale::scoretool
