#include "app/editor/parts/main_form_ornaments.h"

#include "app/dialogs/grace_notes_dialog.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "platform/richtext/rich_text_edit.h"

namespace tunvale::editor {

MainFormOrnaments::MainFormOrnaments(MainForm& form)
    : MainFormPart(form)
    , ornaments_(form.editor(), form.mirror(), form.part<MainFormEditing>().undo(),
          form.part<MainFormEditing>().noteCommands())
    , runGraceDialog_([](dialogs::GraceNotesDialog& dialog) { dialog.exec(); })
{
    form.defineMenuCommand(QStringLiteral("KillFormat"), [this](int) { ornaments_.removeOrnaments(); });
    form.defineMenuCommand(QStringLiteral("YYY"), [this](int) { ornaments_.insertFermata(); });
    form.defineMenuCommand(QStringLiteral("instrBY"), [this](int i) { ornaments_.insertMordent(i); });
    form.defineMenuCommand(QStringLiteral("instrDY"), [this](int i) { ornaments_.insertStaccato(i); });
    form.defineMenuCommand(QStringLiteral("instrZy"), [this](int) { ornaments_.insertTrill(); });
    form.defineMenuCommand(QStringLiteral("instrCy"), [this](int) { ornaments_.insertAccent(); });
    form.defineMenuCommand(QStringLiteral("instrHY"), [this](int i) { ornaments_.insertTurn(i); });
    form.defineMenuCommand(QStringLiteral("InstrHQF"), [this](int) { ornaments_.insertBreathMark(); });
    form.defineMenuCommand(QStringLiteral("huayin"), [this](int i) { ornaments_.insertGlide(i); });
    form.defineMenuCommand(QStringLiteral("InstrSpace"), [this](int i) { ornaments_.insertNarrowSpace(i); });
    form.defineMenuCommand(QStringLiteral("instrZJX"), [this](int i) { ornaments_.insertNarrowBarLine(i); });
    form.defineMenuCommand(QStringLiteral("jph"), [this](int i) { ornaments_.insertTimeSignature(i); });
    form.connectItem(
        QStringLiteral("JPyy"), [&form] { form.commands().run(QStringLiteral("DoNoteMark"), 0); });
    form.part<MainFormEditing>().noteCommands().graceNoteDialog
        = [this](int YYInitDur, int YYInitArc) { return chooseGraceNotes(YYInitDur, YYInitArc); };
}

GraceNoteChoice MainFormOrnaments::chooseGraceNotes(int YYInitDur, int YYInitArc)
{
    dialogs::GraceNotesDialog dialog(YYInitDur, YYInitArc, &form_);
    runGraceDialog_(dialog);
    form_.editorView()->setFocus();
    return { dialog.YYAccepted(), dialog.YYCodes() };
}

} // namespace tunvale::editor
