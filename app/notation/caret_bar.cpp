#include "app/notation/caret_bar.h"

#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

namespace tunvale::notation {

int CaretBar(const platform::RichTextSnapshot& score, int caret)
{
    int before = 0;
    bool firstLine = true;
    for (const auto& line : score.lines) {
        if (!IsNotationLine(line.text, line.startFont))
            continue;
        for (int k = 1; k <= int(line.text.size()); ++k) {
            const bool barLine = IsBarLine(line.text[k - 1].unicode()) || (firstLine && k == 1);
            // A bar line counts once the caret stands behind it.
            if (barLine && caret >= line.start + k)
                ++before;
        }
        firstLine = false;
    }
    return before > 1 ? before - 1 : 0;
}

} // namespace tunvale::notation
