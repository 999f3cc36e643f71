#include "tests/tools/command_registry.h"

#include "app/frame/read_vls.h"
#include "app/frame/score_file_commands.h"

#include <QStringList>

#include <cstdio>

using namespace tunvale;

namespace {

QString ruleName(frame::VlsMarkers::Rule rule)
{
    switch (rule) {
    case frame::VlsMarkers::Rule::Signature:
        return QStringLiteral("signature");
    case frame::VlsMarkers::Rule::LastMarker:
        return QStringLiteral("last-marker");
    case frame::VlsMarkers::Rule::Byte10:
        break;
    }
    return QStringLiteral("byte-10");
}

int vlsDump(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool vls-dump FILE"));
        return 2;
    }
    const frame::VlsDocument document = frame::ReadVls(args[0], {}, {});
    switch (document.status) {
    case frame::VlsReadStatus::Ok:
        break;
    case frame::VlsReadStatus::TooNew:
        scoretool::err(frame::kTooNewMessage);
        return 1;
    case frame::VlsReadStatus::TooLarge:
        scoretool::err(frame::kTooLargeMessage);
        return 1;
    case frame::VlsReadStatus::Damaged:
        scoretool::err(frame::kDamagedReason);
        return 1;
    case frame::VlsReadStatus::Missing:
    case frame::VlsReadStatus::Unreadable:
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    const notation::ScoreHeader& h = document.header;
    const notation::ColorScheme& c = document.colors;
    const auto field = [](const char* name, const QString& value) {
        scoretool::out(QStringLiteral("%1: %2").arg(QLatin1String(name), value));
    };
    field("ScreenDpi", QString::number(h.ScreenDpi));
    field("RapDrum", QString::number(h.RapDrum));
    field("Instrument", QString::number(h.Instrument));
    field("Speed", QString::number(h.Speed));
    field("Volume", QString::number(h.Volume));
    field("FileVer", QString::number(h.FileVer));
    field("DrumPZ", QString::number(h.DrumPZ ? -1 : 0));
    field("HeYing", QString::number(h.HeYing ? -1 : 0));
    field("SameSpeed", QString::number(h.SameSpeed ? -1 : 0));
    field("PZType", QString::number(h.PZType));
    field("CurrentFile", h.CurrentFile);
    field("BaseKey", QString::number(h.BaseKey));
    field("LeftSpace", QString::number(h.LeftSpace));
    field("RightSpace", QString::number(h.RightSpace));
    field("EditBackColor", scoretool::hex8(c.EditBackColor));
    field("PlayNoteColor", scoretool::hex8(c.PlayNoteColor));
    field("PlayNoteBackColor", scoretool::hex8(c.PlayNoteBackColor));
    field("JpLineColor", scoretool::hex8(c.JpLineColor));
    field("LyricLineColor", scoretool::hex8(c.LyricLineColor));
    field("BodyStart",
        QStringLiteral("%1 %2").arg(document.bodyStart.offset + 1).arg(ruleName(document.bodyStart.rule)));

    const notation::ScoreSections& sections = document.sections;
    field("DrumRecords", QString::number(sections.drums.value_or(notation::DrumStore {}).size()));
    const auto& key = sections.key;
    field("POrderStr", key ? QString::fromLatin1(*key) : QStringLiteral("(no section)"));
    const auto& order = sections.order;
    QStringList entries;
    for (const char entry : order.value_or(QByteArray()))
        entries << QString::number(std::uint8_t(entry));
    field("PlayOrder", order ? entries.join(u',') : QStringLiteral("(no section)"));
    field("BodyLength", QString::number(document.body.size()));
    std::fflush(stdout);
    std::fwrite(document.body.constData(), 1, size_t(document.body.size()), stdout);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("vls-dump", "FILE  print a score file's header, sections and body", vlsDump);
