#include "tests/tools/rtf_file_command.h"

#include "tests/tools/command_registry.h"
#include "tests/tools/score_loading.h"

namespace tunvale::scoretool {

int WithRtfFile(const QStringList& args, qsizetype argCount, const QString& usage,
    const std::function<int(const platform::RichContent&)>& use)
{
    if (args.size() != argCount) {
        err(usage);
        return 2;
    }
    QString error;
    const std::optional<platform::RichContent> content = ReadRtfFile(args[0], error);
    if (!content) {
        err(error);
        return 1;
    }
    return use(*content);
}

} // namespace tunvale::scoretool
