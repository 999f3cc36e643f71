#include "app/notation/event_passes.h"

#include "app/notation/notation_chars.h"

namespace tunvale::notation {

namespace {

bool isTieEnd(const CodeEvent& e)
{
    const auto note = NoteGlyph::decode(e.CharCode);
    return note && note->isTieEnd();
}

bool isPitched(const CodeEvent& e) { return e.EventCode > 0 && e.EventCode < 1000; }

// Gives the run events from `first` on the codes N + offsets, each `length` long and with `velocity`.
void writeRun(WorkingEvents& events, int first, std::initializer_list<int> offsets, int note, double length,
    int velocity)
{
    for (int offset : offsets) {
        CodeEvent& e = events[size_t(first++)];
        e.EventCode = note + offset;
        e.EventTime = length;
        e.Velocity = velocity;
    }
}

} // namespace

void ApplyTies(WorkingEvents& events)
{
    // Only velocities change here, so the nearest earlier pitched note of every event is known in one
    // forward walk.
    const CodeEvent* previousPitched = nullptr;
    for (CodeEvent& e : events) {
        if (e.FontClass == 0 && isTieEnd(e) && previousPitched && previousPitched->FontClass == 0
            && previousPitched->EventCode == e.EventCode)
            e.Velocity = 0;
        if (isPitched(e))
            previousPitched = &e;
    }
}

void SpellMordents(WorkingEvents& events)
{
    const int count = int(events.size());
    for (int i = 0; i < count; ++i) {
        const int letter = events[size_t(i)].CharCode;
        if (letter < 'B' || letter > 'E')
            continue;
        // The mordent's notes take the characters from the letter up to its note.
        const int k = ReachOfOrnament(letter, 0)->distance;
        const int notePosition = i + k;
        if (notePosition >= count)
            continue; // the note lies past the end: the letter stays silent
        CodeEvent& note = events[size_t(notePosition)];
        const int n = note.EventCode;
        const double d = note.EventTime;
        const int step = letter == 'B' || letter == 'D' ? 2 : -2;
        const double length = d >= 4 ? 0.125 : d / 8;
        if (k == 2)
            writeRun(events, i, { 0, step }, n, length, note.Velocity);
        else
            writeRun(events, i, { 0, step, 0, step }, n, length, note.Velocity);
        note.EventTime = d >= 4 ? d - 0.125 * k : d * (8 - k) / 8;
    }
}

void SpellOtherOrnaments(WorkingEvents& events, int volume)
{
    const int count = int(events.size());
    auto at = [&](int index) -> CodeEvent* { return index < count ? &events[size_t(index)] : nullptr; };
    for (int i = 0; i < count; ++i) {
        const int code = events[size_t(i)].CharCode;
        if (code == 'G' || code == 'H') {
            CodeEvent* note = at(i + ReachOfOrnament(code, 0)->distance);
            if (!note)
                continue;
            const double d = note->EventTime;
            const double share = code == 'G' ? 0.5 : 0.25;
            writeRun(events, i, { 0 }, note->EventCode, d * share, volume);
            note->EventCode = 1000;
            note->EventTime = d * (1 - share);
            note->Velocity = volume;
        } else if (code == 'I') {
            // Six fillers are already too many for a trill: counting stops there.
            int extenders = 0;
            while (extenders < 6 && at(i + 1 + extenders)
                && OrnamentExtender::contains(at(i + 1 + extenders)->CharCode))
                ++extenders;
            const std::optional<OrnamentReach> reach = ReachOfOrnament(code, extenders);
            CodeEvent* note = reach ? at(i + reach->distance) : nullptr;
            if (!note)
                continue;
            const int n = note->EventCode;
            const double d = note->EventTime;
            if (reach->distance == 6)
                writeRun(events, i, { 0, 2, 0, 2, 0, 2 }, n, d / 8, note->Velocity);
            else
                writeRun(events, i, { 2, 0, 2 }, n, d / 4, note->Velocity);
            note->EventTime = d / 4;
        } else if (code == 'J' || code == 'K') {
            CodeEvent* note = at(i + ReachOfOrnament(code, 0)->distance);
            if (!note)
                continue;
            const double d = note->EventTime;
            if (code == 'J')
                writeRun(events, i, { 2, 0, -2 }, note->EventCode, d / 4, note->Velocity);
            else
                writeRun(events, i, { -2, 0, 2 }, note->EventCode, d / 4, note->Velocity);
            note->EventTime = d / 4;
        } else if (FermataGlyph::contains(code)) {
            if (CodeEvent* next = at(i + 1))
                next->EventTime *= 2;
        }
    }
}

} // namespace tunvale::notation
