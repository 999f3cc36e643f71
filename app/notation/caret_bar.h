#pragma once

#include "platform/richtext/rich_text_snapshot.h"

namespace tunvale::notation {

// The bar (0-based) that holds `caret`: the number of bar lines of the notation lines at or before
// it, less one, never below 0. The first notation line counts as starting with a bar line.
int CaretBar(const platform::RichTextSnapshot& score, int caret);

} // namespace tunvale::notation
