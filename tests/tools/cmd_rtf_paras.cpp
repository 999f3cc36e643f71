#include "tests/tools/command_registry.h"
#include "tests/tools/paragraph_printout.h"
#include "tests/tools/score_loading.h"

#include "platform/richtext/rtf_reader.h"

namespace {

using namespace tunvale;

int rtfParas(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-paras IN.rtf"));
        return 2;
    }
    QString error;
    const auto rtf
        = scoretool::ReadInputFile(args[0], platform::kMaxRtfBytes, platform::kRtfTooLargeMessage, error);
    if (!rtf) {
        scoretool::err(error);
        return 1;
    }
    const std::optional<platform::RichContent> content = platform::ReadRtf(*rtf, platform::DefaultTextFont());
    if (!content) {
        scoretool::err(QStringLiteral("%1 is not RTF").arg(args[0]));
        return 1;
    }
    scoretool::PrintParagraphs(*content);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("rtf-paras", "IN.rtf   print each paragraph: para N LEFT RIGHT SPACING CHARS", rtfParas);
