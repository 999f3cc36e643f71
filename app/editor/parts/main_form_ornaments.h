#pragma once

#include "app/editor/editing/ornament_commands.h"
#include "app/editor/parts/main_form_part.h"

#include <functional>

namespace tunvale::dialogs {
class GraceNotesDialog;
}

// The main window's ornaments and the marks beside a note: the ornament items of the Format menu and
// of the toolbar's ornament button, breath marks, glides and time signatures of the Insert menu,
// narrow spaces and bar lines of the Edit menu, and the grace-note dialog behind "倚音..." and the
// toolbar's grace-note button.
namespace tunvale::editor {

class MainFormOrnaments : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormOrnaments(MainForm& form);

    OrnamentCommands& ornaments() { return ornaments_; }

    // Runs the grace-note dialog modally; tests and the test tool answer it from a script.
    void setGraceDialogRunner(std::function<void(dialogs::GraceNotesDialog&)> runner)
    {
        runGraceDialog_ = std::move(runner);
    }

private:
    GraceNoteChoice chooseGraceNotes(int YYInitDur, int YYInitArc);

    OrnamentCommands ornaments_;
    std::function<void(dialogs::GraceNotesDialog&)> runGraceDialog_;
};

} // namespace tunvale::editor
