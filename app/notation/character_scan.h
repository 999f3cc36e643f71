#pragma once

#include "app/notation/code_event.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <vector>

namespace tunvale::notation {

// What the scan of a score's notation lines finds: one event per character in text order and the
// segments between segment marks.
struct NotationScan {
    std::vector<CodeEvent> events;
    std::vector<ScoreSegment> segments;
};

NotationScan ScanNotation(const platform::RichTextSnapshot& score);

} // namespace tunvale::notation
