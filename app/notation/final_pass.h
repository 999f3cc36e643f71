#pragma once

#include "app/notation/code_event.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <vector>

namespace tunvale::notation {

// The melody as it will be played: only the events that take time, each with its end time in
// seconds (summed unrounded, then rounded to 3 decimals) and its note-on message.
struct TimedMelody {
    std::vector<CodeEvent> CodeEvents { CodeEvent {} };
    double TotalPlayTime = 0;
    double StartPlayTime = 0; // end of the last event before the start position
    int PlayStartIndex = 0; // that event's index; 0 when nothing lies before the start
};

// Compacts the working array (lengths already in seconds) into the timed melody. Rests become note 120
// at velocity 2; a note outside 0..127 keeps its time but sounds nothing (the silent message 0x190),
// as a tied note does.
TimedMelody CompactAndTime(std::vector<CodeEvent> working, int PlaySelStart);

// Flags (LineEnd -1) every event after which the next display line starts: CharPos(i) < e <=
// CharPos(i + 1) for the start e of some line. The last event is never flagged.
void MarkLineEnds(std::vector<CodeEvent>& events, const platform::RichTextSnapshot& snapshot);

} // namespace tunvale::notation
