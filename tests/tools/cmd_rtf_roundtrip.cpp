#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_file_command.h"

#include "platform/richtext/rtf_writer.h"

namespace {

using namespace tunvale;

int rtfRoundtrip(const QStringList& args)
{
    return scoretool::WithRtfFile(args, 2, QStringLiteral("usage: scoretool rtf-roundtrip IN.rtf OUT.rtf"),
        [&args](const platform::RichContent& content) {
            return scoretool::WriteOutputFile(args[1], platform::WriteRtf(content).toLatin1()) ? 0 : 1;
        });
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-roundtrip", "IN.rtf OUT.rtf   read RTF and write it back in our dialect", rtfRoundtrip);
