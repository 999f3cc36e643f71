#pragma once

#include "platform/richtext/rich_text_box.h"

namespace tunvale::editor {

// Moves the caret left until it no longer stands in a run of the symbol font, so that a click never
// leaves it among the characters of one symbol. At a paragraph start the caret reads the character
// after it, so the walk stops there.
void MoveCaretBeforeSymbolRun(platform::RichTextBox& editor);

} // namespace tunvale::editor
