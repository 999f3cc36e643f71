#pragma once

#include "platform/richtext/rich_text_content.h"

// Prints rich text as runs of equal format: font, half points, RRGGBB, U+XXXX..., and "PAR font" for
// each paragraph break with the font of its mark.
namespace tunvale::scoretool {

void PrintRuns(const platform::RichContent& content);

} // namespace tunvale::scoretool
