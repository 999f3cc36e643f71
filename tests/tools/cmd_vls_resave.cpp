#include "tests/tools/command_registry.h"

#include "app/frame/editor_score_file.h"
#include "app/frame/read_vls.h"
#include "app/frame/score_file_commands.h"
#include "app/notation/play_order.h"

using namespace tunvale;

namespace {

// Reads IN as opening a score does at file level, loads its body into a rich-text box and saves it
// as OUT.
int vlsResave(const QStringList& args)
{
    if (args.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool vls-resave IN OUT"));
        return 2;
    }
    const frame::VlsDocument document = frame::ReadVls(args[0], {}, {});
    if (document.status == frame::VlsReadStatus::TooLarge
        || document.status == frame::VlsReadStatus::Damaged) {
        const bool tooLarge = document.status == frame::VlsReadStatus::TooLarge;
        scoretool::err(QStringLiteral("%1: %2").arg(
            args[0], tooLarge ? frame::kTooLargeMessage : frame::kDamagedReason));
        return 1;
    }
    if (document.status != frame::VlsReadStatus::Ok) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[0]));
        return 1;
    }
    const notation::DrumStore drums = document.sections.drums.value_or(notation::DrumStore {});
    platform::RichTextBox editor;
    if (!editor.setTextRTF(QString::fromLatin1(document.body))) {
        scoretool::err(QStringLiteral("%1: the body is not rich text").arg(args[0]));
        return 1;
    }
    notation::ScoreHeader header = document.header;
    const frame::EditorPlayOrderScore score(editor, header);
    notation::PlayOrder order;
    order.setScore(&score);
    order.LoadPlayOrder(document.sections);
    header.CurrentFile = args[1];
    if (!frame::WriteVls(header, document.colors, editor, drums, order)) {
        scoretool::err(QStringLiteral("%1 was not written").arg(args[1]));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("vls-resave", "IN OUT  read a score file as opening does and save it again", vlsResave);
