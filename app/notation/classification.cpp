#include "app/notation/event_passes.h"

#include "app/notation/notation_chars.h"

#include <algorithm>

namespace tunvale::notation {

void Classify(WorkingEvents& events, int scoreKey, int volume)
{
    // Lengths only ever grow here, so the nearest earlier element that takes time is the last one
    // classified with a length.
    CodeEvent* sounding = nullptr;
    for (CodeEvent& e : events) {
        const int c = e.CharCode;
        if (const auto note = NoteGlyph::decode(c)) {
            e.EventCode = PitchOf(note->OctaveRow, note->Degree) - 31 + scoreKey;
            e.EventTime = DurationOf(note->DurIndex, note->isTriplet());
            e.Velocity = volume;
        } else if (const auto rap = RapGlyph::decode(c)) {
            e.EventCode = -2900;
            e.EventTime = DurationOf(rap->DurIndex, false);
            e.Velocity = volume;
        } else if (const auto rest = RestGlyph::decode(c)) {
            e.EventCode = 1000;
            e.EventTime = DurationOf(rest->DurIndex, rest->triplet);
            e.Velocity = volume;
        } else if (IsBarLine(c)) {
            e.EventCode = 3000;
        } else if (DotGlyph::contains(c)) {
            if (sounding)
                sounding->EventTime = std::min(sounding->EventTime * 1.5, MaxNoteLength);
        } else if (DashGlyph::contains(c)) {
            if (sounding)
                sounding->EventTime = std::min(sounding->EventTime + 4, MaxNoteLength);
        }
        if (e.EventTime > 0)
            sounding = &e;
    }
}

} // namespace tunvale::notation
