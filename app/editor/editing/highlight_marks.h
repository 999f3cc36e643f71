#pragma once

#include "platform/richtext/rich_text_content.h"

// Background marks that earlier versions of a score may carry.
namespace tunvale::editor {

// Clears the background of every character and paragraph mark whose background colour has number 2
// or higher in the RTF colour table written for the content; the first colour stays. Returns the
// number of runs and marks cleared.
int ClearHighlightMarks(platform::RichContent& content);

} // namespace tunvale::editor
