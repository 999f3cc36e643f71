#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_file_command.h"
#include "tests/tools/rtf_runs_printout.h"

namespace {

using namespace tunvale;

int rtfRuns(const QStringList& args)
{
    return scoretool::WithRtfFile(args, 1, QStringLiteral("usage: scoretool rtf-runs IN.rtf"),
        [](const platform::RichContent& content) {
            scoretool::PrintRuns(content);
            return 0;
        });
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-runs", "IN.rtf   print the runs of equal format: font, half points, RRGGBB, U+XXXX...", rtfRuns);
