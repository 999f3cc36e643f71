#pragma once

#include <QString>

// What the modal dialogs hand back to the main window, read after they close. The window owns the one
// instance; each dialog says when it sets its fields.
namespace tunvale::dialogs {

struct DialogResults {
    // The font-size dialog. FontSetApplied is false from the dialog's opening until its OK. The three
    // texts are emptied by each OK, which then fills the one of the chosen way when it accepts; they
    // are kept until the next OK, for the repeat command.
    bool FontSetApplied = false;
    QString FontScalePercent;
    QString FontScaleStep;
    QString FontScaleSize;
    // The key picker. The key command presets it with the selected text; the picker then sets the key
    // text after OK or a double-click, "" after Cancel or its close box, and the last key stays for the
    // next use.
    QString KeyPickText;
};

} // namespace tunvale::dialogs
