#pragma once

#include <Qt>

// Key codes as the editor's handlers expect them: the virtual key codes of the classic desktop
// (letters 65 to 90, digits 48 to 57, keypad digits 96 to 105, F1 112 ...), and the shift mask
// 1 Shift, 2 Ctrl, 4 Alt.
namespace tunvale::platform {

struct KeyCode {
    int code = 0; // 0 for a key that has no code
    int shift = 0;
};

KeyCode TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers);
int ShiftMask(Qt::KeyboardModifiers modifiers);
// 1 left, 2 right, 4 middle.
int MouseButtonCode(Qt::MouseButtons buttons);

} // namespace tunvale::platform
