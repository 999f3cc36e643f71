#include "tests/tools/command_registry.h"

#include "app/frame/window_raiser.h"

using namespace tunvale;

namespace {

int raise(const QStringList& args)
{
    bool ok = false;
    const qint64 id = args.size() == 2 ? args[0].toLongLong(&ok) : 0;
    if (!ok) {
        scoretool::err(QStringLiteral("usage: scoretool raise ID PATH"));
        return 2;
    }
    switch (frame::WindowRaiser::AskToRaise(id, args[1])) {
    case frame::RaiseVerdict::Raised:
        scoretool::out(QStringLiteral("OK"));
        break;
    case frame::RaiseVerdict::Gone:
        scoretool::out(QStringLiteral("gone"));
        break;
    case frame::RaiseVerdict::Busy:
        scoretool::out(QStringLiteral("busy"));
        break;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("raise", "ID PATH  ask the window of process ID to come up if it shows PATH", raise);
