#include "tests/tools/command_registry.h"

#include "platform/settings/whole_file.h"

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

bool WriteOutputFile(const QString& path, const QByteArray& bytes)
{
    if (platform::CommitWholeFile(path, bytes))
        return true;
    err(QStringLiteral("cannot write %1").arg(path));
    return false;
}

QString onOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

QString hex8(std::int32_t value)
{
    return QStringLiteral("%1").arg(std::uint32_t(value), 8, 16, QChar(u'0')).toUpper();
}

} // namespace tunvale::scoretool
