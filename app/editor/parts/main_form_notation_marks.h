#pragma once

#include "app/editor/editing/notation_marks.h"
#include "app/editor/editing/volta_commands.h"
#include "app/editor/parts/main_form_part.h"

// The main window's marks of the Format and Insert menus that are not ornaments: the volta items of
// "跳跃记号" (also on the toolbar's volta button), tempo terms, dynamics and voice marks.
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

private:
    VoltaCommands voltas_;
    NotationMarks marks_;
};

} // namespace tunvale::editor
