#pragma once

#include "platform/richtext/rich_text_content.h"

// Prints "para N LEFT RIGHT SPACING CHARS" for each paragraph: N from 1, indents and exact spacing in
// twips (0 for single spacing), and the number of characters without the break.
namespace tunvale::scoretool {

void PrintParagraphs(const platform::RichContent& content);

} // namespace tunvale::scoretool
