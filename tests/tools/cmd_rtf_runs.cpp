#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_runs_printout.h"
#include "tests/tools/score_loading.h"

namespace {

using namespace tunvale;

int rtfRuns(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-runs IN.rtf"));
        return 2;
    }
    QString error;
    const std::optional<platform::RichContent> content = scoretool::ReadRtfFile(args[0], error);
    if (!content) {
        scoretool::err(error);
        return 1;
    }
    scoretool::PrintRuns(*content);
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-runs", "IN.rtf   print the runs of equal format: font, half points, RRGGBB, U+XXXX...", rtfRuns);
