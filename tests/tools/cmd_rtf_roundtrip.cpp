#include "tests/tools/command_registry.h"

#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"

#include <QFile>
#include <QSaveFile>

namespace {

using namespace tunvale;

int rtfRoundtrip(const QStringList& args)
{
    if (args.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool rtf-roundtrip IN.rtf OUT.rtf"));
        return 2;
    }
    QFile in(args[0]);
    if (!in.open(QIODevice::ReadOnly)) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    const std::optional<platform::RichContent> content
        = platform::ReadRtf(in.readAll(), platform::DefaultTextFont());
    if (!content) {
        scoretool::err(QStringLiteral("%1 is not RTF").arg(args[0]));
        return 1;
    }
    QSaveFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly) || out.write(platform::WriteRtf(*content).toLatin1()) < 0
        || !out.commit()) {
        scoretool::err(QStringLiteral("cannot write %1").arg(args[1]));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "rtf-roundtrip", "IN.rtf OUT.rtf   read RTF and write it back in our dialect", rtfRoundtrip);
