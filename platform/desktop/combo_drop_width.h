#pragma once

class QComboBox;

namespace tunvale::platform {

// Widens a combo box's drop-down list to its longest item (+ 8 pixels), at most `maxWidth` pixels (0 or
// less: the screen width - 16) and at least the box's own width. Measures with the box's font and
// changes no font.
void FitComboDropWidth(QComboBox& combo, int maxWidth);

// Sets the drop-down list's width to `width` + 10 pixels.
void SetComboDropWidth(QComboBox& combo, int width);

} // namespace tunvale::platform
