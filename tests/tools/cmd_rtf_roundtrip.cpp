#include "tests/tools/command_registry.h"
#include "tests/tools/rtf_file_command.h"

#include "platform/richtext/rtf_writer.h"

#include <QSaveFile>

namespace {

using namespace tunvale;

int rtfRoundtrip(const QStringList& args)
{
    return scoretool::WithRtfFile(args, 2, QStringLiteral("usage: scoretool rtf-roundtrip IN.rtf OUT.rtf"),
        [&args](const platform::RichContent& content) {
            QSaveFile out(args[1]);
            if (!out.open(QIODevice::WriteOnly) || out.write(platform::WriteRtf(content).toLatin1()) < 0
                || !out.commit()) {
                scoretool::err(QStringLiteral("cannot write %1").arg(args[1]));
                return 1;
            }
            return 0;
        });
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-roundtrip", "IN.rtf OUT.rtf   read RTF and write it back in our dialect", rtfRoundtrip);
