#pragma once

#include "app/editor/editing/line_table.h"
#include "platform/richtext/rich_text_content.h"

#include <vector>

namespace tunvale::platform {
class RichTextBox;
}

// Exact line spacing by kind of line.
namespace tunvale::editor {

// Gives the paragraph of each line of `lines` an exact spacing in twips: with `caretLineSpacing` -1,
// `notationSpacing` to notation lines and `textSpacing` to every other line (an empty one too);
// otherwise `caretLineSpacing` to line `caretLine` (1-based) alone. A spacing of -1 leaves those lines
// as they are, and a caret line outside `lines` changes nothing. The box's selection moves.
void SetLineSpacing(platform::RichTextBox& box, const std::vector<LineInfo>& lines, int notationSpacing,
    int textSpacing, int caretLineSpacing, int caretLine);

// The whole text of `box` as SetLineSpacing with the same values would leave it.
platform::RichContent SpacedText(const platform::RichTextBox& box, const std::vector<LineInfo>& lines,
    int notationSpacing, int textSpacing, int caretLineSpacing, int caretLine);

} // namespace tunvale::editor
