#include "app/editor/parts/main_form_notation_marks.h"

#include "app/dialogs/key_picker_dialog.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QMenu>

namespace tunvale::editor {

MainFormNotationMarks::MainFormNotationMarks(MainForm& form)
    : MainFormPart(form)
    , voltas_(form.editor(), form.part<MainFormEditing>().noteCommands(), form.state().NotationCmdBusy)
    , marks_(form.editor(), form.part<MainFormEditing>().undo(), form.part<MainFormEditing>().noteCommands())
    , runKeyPicker_([](dialogs::KeyPickerDialog& dialog) { dialog.exec(); })
{
    form.defineMenuCommand(QStringLiteral("TYJH"), [this](int i) { voltas_.applyItem(i); });
    form.defineMenuCommand(QStringLiteral("ShuoDu"), [this](int i) { marks_.insertTempoTerm(i); });
    form.defineMenuCommand(QStringLiteral("QiangRuo"), [this](int i) { marks_.insertDynamics(i); });
    form.defineMenuCommand(QStringLiteral("SB"), [this](int i) { marks_.insertVoiceMark(i); });
    form.defineMenuCommand(QStringLiteral("M_YD"), [this](int) { chooseKey(); });
    connect(form.menu(QStringLiteral("TYZK")), &QMenu::aboutToShow, this,
        &MainFormNotationMarks::enableVoltaItems);
}

void MainFormNotationMarks::enableVoltaItems()
{
    const bool enabled = voltas_.itemsEnabled();
    for (const int index : VoltaCommands::itemIndices())
        form_.action(QStringLiteral("TYJH"), index)->setEnabled(enabled);
}

void MainFormNotationMarks::chooseKey()
{
    QString& KeyPickText = form_.dialogResults().KeyPickText;
    marks_.insertKey(KeyPickText, [this, &KeyPickText] {
        dialogs::KeyPickerDialog picker(KeyPickText, &form_);
        runKeyPicker_(picker);
        form_.editorView()->setFocus();
    });
}

} // namespace tunvale::editor
