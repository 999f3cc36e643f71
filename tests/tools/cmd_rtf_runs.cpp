#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_runs_printout.h"

#include "platform/richtext/rtf_reader.h"

#include <QFile>

namespace {

using namespace tunvale;

int rtfRuns(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-runs IN.rtf"));
        return 2;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    const std::optional<platform::RichContent> content
        = platform::ReadRtf(file.readAll(), platform::DefaultTextFont());
    if (!content) {
        scoretool::err(QStringLiteral("%1 is not RTF").arg(args[0]));
        return 1;
    }
    scoretool::PrintRuns(*content);
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-runs", "IN.rtf   print the runs of equal format: font, half points, RRGGBB, U+XXXX...", rtfRuns);
