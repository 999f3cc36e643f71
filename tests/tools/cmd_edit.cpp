#include "tests/tools/command_registry.h"
#include "tests/tools/key_presses.h"
#include "tests/tools/rtf_runs_printout.h"
#include "tests/tools/score_loading.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rtf_reader.h"

#include <QFile>

namespace {

using namespace tunvale;

int edit(const QStringList& args)
{
    const QString usage = QStringLiteral(
        "usage: scoretool edit IN --sel START LEN (--keys \"KEYS\" | --cmd NAME ARG) OUT.rtf");
    const bool keys = args.size() == 7 && args[4] == QStringLiteral("--keys");
    const bool command = args.size() == 8 && args[4] == QStringLiteral("--cmd");
    const auto start = keys || command ? scoretool::intArgument(args[2], 0) : std::nullopt;
    const auto length = keys || command ? scoretool::intArgument(args[3], 0) : std::nullopt;
    const auto argument = command ? scoretool::intArgument(args[6]) : std::optional<int>(0);
    if (!start || !length || !argument || args[1] != QStringLiteral("--sel")) {
        scoretool::err(usage);
        return 2;
    }
    platform::loadNotationFonts();
    editor::MainForm form;
    form.addPart<editor::MainFormEditing>();
    notation::DrumStore drums;
    QString error;
    if (!scoretool::LoadScore(args[0], form.editor(), frame::Process().ScoreHeader, drums, error)) {
        scoretool::err(error);
        return 1;
    }
    form.part<editor::MainFormEditing>().undo().Reset();
    form.editor().select(*start, *length);
    if (keys) {
        if (!scoretool::PressKeys(form, args[5]))
            return 2;
    } else {
        const QString& name = args[5];
        // Toolbar and menu commands run with the notation command flag set, as the toolbar runs them.
        form.state().NotationCmdBusy = true;
        const bool known = form.commands().run(name, *argument);
        form.state().NotationCmdBusy = false;
        if (!known) {
            scoretool::err(QStringLiteral("unknown command %1").arg(name));
            return 2;
        }
    }
    form.part<editor::MainFormEditing>().undo().FlushSnapshot();
    const QString rtf = form.editor().TextRTF();
    const QString& outFile = args.back();
    QFile out(outFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(rtf.toLatin1()) != rtf.size()) {
        scoretool::err(QStringLiteral("cannot write %1").arg(outFile));
        return 1;
    }
    scoretool::PrintRuns(*platform::ReadRtf(rtf, platform::DefaultTextFont()));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("edit",
    "IN --sel START LEN (--keys \"KEYS\" | --cmd NAME ARG) OUT.rtf   type keys or run a note command "
    "in the editor, write the result and print its runs",
    edit);
