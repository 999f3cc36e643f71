#pragma once

#include "app/notation/code_event.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

#include <vector>

namespace tunvale::notation {

// What the scan of a score's notation lines finds: one event per character in text order, the
// segments between segment marks, and the text of the notation lines as the play-order key reads it.
struct NotationScan {
    std::vector<CodeEvent> events;
    std::vector<ScoreSegment> segments;
    QString notationText;
};

NotationScan ScanNotation(const platform::RichTextSnapshot& score);

} // namespace tunvale::notation
