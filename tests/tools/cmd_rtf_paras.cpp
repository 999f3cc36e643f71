#include "tests/tools/command_registry.h"
#include "tests/tools/paragraph_printout.h"
#include "tests/tools/score_loading.h"

namespace {

using namespace tunvale;

int rtfParas(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-paras IN.rtf"));
        return 2;
    }
    QString error;
    const std::optional<platform::RichContent> content = scoretool::ReadRtfFile(args[0], error);
    if (!content) {
        scoretool::err(error);
        return 1;
    }
    scoretool::PrintParagraphs(*content);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("rtf-paras", "IN.rtf   print each paragraph: para N LEFT RIGHT SPACING CHARS", rtfParas);
