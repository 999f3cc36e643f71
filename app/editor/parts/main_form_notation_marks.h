#pragma once

#include "app/editor/editing/notation_marks.h"
#include "app/editor/editing/volta_commands.h"
#include "app/editor/parts/main_form_part.h"

#include <functional>

namespace tunvale::dialogs {
class KeyPickerDialog;
}

// The main window's marks of the Format and Insert menus that are not ornaments: the volta items of
// "跳跃记号" (also on the toolbar's volta button), tempo terms, dynamics, voice marks and the key after
// "1=" through the key picker.
namespace tunvale::editor {

class MainFormNotationMarks : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormNotationMarks(MainForm& form);

    VoltaCommands& voltas() { return voltas_; }
    NotationMarks& marks() { return marks_; }

    // "跳跃记号" opens: its items are enabled when something is selected.
    void enableVoltaItems();
    // "音调...": the key picker, on the key line only; its key replaces the selection.
    void chooseKey();

    // Runs the key picker modally; tests and the test tool answer it from a script.
    void setKeyPickerRunner(std::function<void(dialogs::KeyPickerDialog&)> runner)
    {
        runKeyPicker_ = std::move(runner);
    }

private:
    VoltaCommands voltas_;
    NotationMarks marks_;
    std::function<void(dialogs::KeyPickerDialog&)> runKeyPicker_;
};

} // namespace tunvale::editor
