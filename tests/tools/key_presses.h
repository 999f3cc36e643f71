#pragma once

#include <QString>

namespace tunvale::editor {
class MainForm;
}

namespace tunvale::scoretool {

// Presses the keys of `keys` in the window's editor: key names as Qt writes them ("1", "Shift+P",
// "Ctrl+Z", "Num+5", "Left", "Return"), blank-separated; "|" is a pause after which the pending undo
// step is taken. False (and said why) at a name that is no key.
bool PressKeys(editor::MainForm& form, const QString& keys);

} // namespace tunvale::scoretool
