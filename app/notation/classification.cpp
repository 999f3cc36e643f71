#include "app/notation/event_passes.h"

#include "app/notation/notation_chars.h"

namespace tunvale::notation {

void Classify(WorkingEvents& events, int scoreKey, int volume)
{
    // Lengths only ever grow here, so the nearest earlier element that takes time is the last one
    // classified with a length.
    CodeEvent* sounding = nullptr;
    for (CodeEvent& e : events) {
        const int c = e.CharCode;
        if (const auto note = NoteGlyph::decode(c)) {
            e.EventCode = PitchTable[size_t(note->OctaveRow * 7 + note->Degree - 1)] - 31 + scoreKey;
            e.EventTime = DurationTable[size_t(note->DurIndex + (note->isTriplet() ? 6 : 0))];
            e.Velocity = volume;
        } else if (const auto rap = RapGlyph::decode(c)) {
            e.EventCode = -2900;
            e.EventTime = DurationTable[size_t(rap->DurIndex)];
            e.Velocity = volume;
        } else if (const auto rest = RestGlyph::decode(c)) {
            e.EventCode = 1000;
            e.EventTime = DurationTable[size_t(rest->DurIndex + (rest->triplet ? 6 : 0))];
            e.Velocity = volume;
        } else if (IsBarLine(c)) {
            e.EventCode = 3000;
        } else if (DotGlyph::contains(c)) {
            if (sounding)
                sounding->EventTime *= 1.5;
        } else if (DashGlyph::contains(c)) {
            if (sounding)
                sounding->EventTime += 4;
        }
        if (e.EventTime > 0)
            sounding = &e;
    }
}

} // namespace tunvale::notation
