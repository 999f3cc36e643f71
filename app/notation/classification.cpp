#include "app/notation/event_passes.h"

#include "app/notation/notation_seam.h"

namespace tunvale::notation {

void Classify(WorkingEvents& events, int scoreKey, int volume)
{
    using namespace seam;
    // Lengths only ever grow here, so the nearest earlier element that takes time is the last one
    // classified with a length.
    CodeEvent* sounding = nullptr;
    for (CodeEvent& e : events) {
        const auto c = char16_t(e.CharCode);
        if (e.CharCode >= kNoteFirst && e.CharCode <= kNoteLast) {
            e.EventCode = PitchTable[size_t(octaveRow(c) * 7 + degree(c) - 1)] - 31 + scoreKey;
            e.EventTime = DurationTable[size_t(durIndex(c) + (c >= kTripletNoteFirst ? 6 : 0))];
            e.Velocity = volume;
        } else if (e.CharCode >= kRapFirst && e.CharCode <= kRapLast) {
            e.EventCode = -2900;
            e.EventTime = DurationTable[size_t((c - kRapFirst) % 6)];
            e.Velocity = volume;
        } else if (e.CharCode >= kRestFirst && e.CharCode <= kTripletRestLast) {
            e.EventCode = 1000;
            e.EventTime = DurationTable[size_t((c - kRestFirst) % 6 + (c >= kTripletRestFirst ? 6 : 0))];
            e.Velocity = volume;
        } else if (isBarLine(c)) {
            e.EventCode = 3000;
        } else if (e.CharCode >= kDotFirst && e.CharCode <= kDotLast) {
            if (sounding)
                sounding->EventTime *= 1.5;
        } else if (e.CharCode == kDash || e.CharCode == kArcDash) {
            if (sounding)
                sounding->EventTime += 4;
        }
        if (e.EventTime > 0)
            sounding = &e;
    }
}

} // namespace tunvale::notation
