#pragma once

#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_content.h"

// Prints rich text as runs of equal format: font, half points, RRGGBB, U+XXXX..., and "PAR font" for
// each paragraph break with the font of its mark.
namespace tunvale::scoretool {

void PrintRuns(const platform::RichContent& content);

// The box's text as its RTF reads back, of any size (a text the reader would refuse as too large too).
platform::RichContent WrittenContent(const platform::RichTextBox& box);

} // namespace tunvale::scoretool
