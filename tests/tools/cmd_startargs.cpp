#include "tests/tools/command_registry.h"

#include "app/frame/start_args.h"

using namespace tunvale;

namespace {

int startArgs(const QStringList& args)
{
    const frame::StartArgs start = frame::ParseStartArgs(args);
    scoretool::out(QStringLiteral("kind %1").arg(frame::StartKindName(start.kind)));
    scoretool::out(QStringLiteral("CurrentFile %1").arg(start.CurrentFile));
    scoretool::out(QStringLiteral("ShowStartProgress %1").arg(start.ShowStartProgress ? -1 : 0));
    scoretool::out(QStringLiteral("PrintStart %1").arg(start.PrintStart ? -1 : 0));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("startargs", "ARGS...  how the program would start with these arguments", startArgs);
