#include "tests/tools/command_registry.h"

#include "platform/settings/ini_file.h"

using namespace tunvale;

namespace {

int iniRead(const QStringList& args)
{
    if (args.size() != 3) {
        scoretool::err(QStringLiteral("usage: scoretool ini-read FILE SECTION KEY"));
        return 2;
    }
    scoretool::out(platform::ReadIniValue(args[1], args[2], args[0]));
    return 0;
}

int iniWrite(const QStringList& args)
{
    if (args.size() != 3 && args.size() != 4) {
        scoretool::err(QStringLiteral("usage: scoretool ini-write FILE SECTION KEY [VALUE]"));
        return 2;
    }
    const std::optional<QString> value = args.size() == 4 ? std::optional<QString>(args[3]) : std::nullopt;
    if (!platform::WriteIniValue(args[1], args[2], value, args[0])) {
        scoretool::err(QStringLiteral("could not write %1").arg(args[0]));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("ini-read", "FILE SECTION KEY  print a value of an ini file", iniRead);
SCORETOOL_COMMAND(
    "ini-write", "FILE SECTION KEY [VALUE]  write a value (no VALUE removes the key)", iniWrite);
