#include "tests/tools/command_registry.h"
#include "tests/tools/paragraph_printout.h"
#include "tests/tools/rtf_file_command.h"

namespace {

using namespace tunvale;

int rtfParas(const QStringList& args)
{
    return scoretool::WithRtfFile(args, 1, QStringLiteral("usage: scoretool rtf-paras IN.rtf"),
        [](const platform::RichContent& content) {
            scoretool::PrintParagraphs(content);
            return 0;
        });
}

} // namespace

SCORETOOL_COMMAND("rtf-paras", "IN.rtf   print each paragraph: para N LEFT RIGHT SPACING CHARS", rtfParas);
