#include "app/notation/event_passes.h"

#include "app/notation/notation_chars.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tunvale::notation {

namespace {

// Semitones of the accidental kinds sharp, flat, double sharp, double flat and natural. A double flat
// lowers by two, as the MIDI export and the transposer read it.
constexpr std::array<int, 5> kAlteration = { 1, -1, 2, -2, 0 };

bool isSounding(const CodeEvent& e) { return e.Velocity > 0; }

int roundedToNearest(double x) { return int(platform::RoundHalfEven(x)); }
int roundedDown(double x) { return int(std::floor(x)); }

// The velocity a level mark ("*" to "3") or the accent ("9") gives the event after it.
int levelVelocity(int mark, int velocity)
{
    switch (mark) {
    case '*':
        return roundedToNearest(velocity * 0.2);
    case '+':
        return roundedToNearest(velocity * 0.4);
    case ',':
        return roundedToNearest(velocity * 0.6);
    case '-':
        return roundedToNearest(velocity * 0.8);
    case '.':
        return roundedToNearest(velocity * 0.9);
    case '/':
        return roundedDown(velocity * 1.1);
    case '0':
        return roundedDown(velocity * 1.2);
    case '1':
        return roundedDown(velocity * 1.4);
    case '2':
        return roundedDown(velocity * 1.6);
    case '3':
        return roundedDown(velocity * 1.8);
    default:
        return roundedToNearest(velocity * 1.2); // accent
    }
}

// For every index, the first sounding event at or after it (the event count when there is none), so
// that a mark finds the events it changes without walking over silent ones again. The pass never
// changes whether an event still ahead of it sounds: a level mark changes only the event right after
// it, and the marks below keep a sounding event's velocity above 0.
std::vector<size_t> NextSounding(const WorkingEvents& events)
{
    std::vector<size_t> next(events.size() + 1, events.size());
    for (size_t j = events.size(); j-- > 0;)
        next[j] = isSounding(events[j]) ? j : next[j + 1];
    return next;
}

// Applies `change(event, k)` to the next `limit` sounding events after `from`, k counting from 0.
template <typename Change>
void changeSounding(
    WorkingEvents& events, const std::vector<size_t>& next, size_t from, int limit, Change change)
{
    int k = 0;
    for (size_t j = next[std::min(from + 1, events.size())]; j < events.size() && k < limit; j = next[j + 1])
        change(events[j], k++);
}

} // namespace

void CodeTempoAndKeyMarks(WorkingEvents& events)
{
    for (CodeEvent& e : events) {
        if (e.CharCode == TempoGlyph::ScoreTempo) {
            e.EventCode = 2001;
            e.EventTime = 0;
        } else if (TempoGlyph::contains(e.CharCode)) {
            e.EventCode = 2000 + TempoGlyph::bpm(e.CharCode);
        } else if (KeyShiftGlyph::contains(e.CharCode)) {
            // 4000 + k for the change k semitones above C, 4012 back to the score's key.
            e.EventCode = 4000 + e.CharCode - KeyShiftGlyph::First;
        }
    }
}

void ApplyKeyChanges(WorkingEvents& events, int baseKey, int markKey)
{
    // Classification already put the notes into the key of the score's key mark; an in-text key change
    // names an absolute key, so the notes after it move from the mark's key to that one.
    int shift = baseKey - 31;
    for (CodeEvent& e : events) {
        if (e.EventCode >= 4000 && e.EventCode <= 4011)
            shift = e.EventCode - 3969 - markKey;
        else if (e.EventCode == 4012)
            shift = baseKey - 31;
        if (e.EventTime > 0 && e.EventCode < 1000 && e.EventCode != -2900)
            e.EventCode += shift;
        if (e.EventCode > 3999)
            e.EventCode = 0;
    }
}

void ApplyAccidentals(WorkingEvents& events)
{
    // The last event has no note after it to alter.
    for (size_t i = 0; i + 1 < events.size(); ++i) {
        const auto accidental = AccidentalGlyph::decode(events[i].CharCode);
        if (!accidental)
            continue;
        const int written = events[i + 1].EventCode;
        events[i].EventCode = 1000;
        events[i].EventTime = 0;
        events[i].Velocity = 0;
        const int delta = kAlteration[size_t(accidental->kind)];
        for (size_t j = i + 1; j < events.size(); ++j) {
            CodeEvent& e = events[j];
            if (e.EventCode == 3000)
                break;
            if (e.EventCode == written && written >= -7 && written <= 999)
                e.EventCode = written + delta;
            if (AccidentalGlyph::contains(e.CharCode))
                break;
        }
    }
}

void ApplyDynamics(WorkingEvents& events)
{
    const std::vector<size_t> next = NextSounding(events);
    for (size_t i = 0; i < events.size(); ++i) {
        const int mark = events[i].CharCode;
        if ((mark >= DynamicMark::First && mark <= '3') || AccentMark::contains(mark)) {
            if (i + 1 < events.size())
                events[i + 1].Velocity = levelVelocity(mark, events[i + 1].Velocity);
        } else if (mark == '4') { // cresc.
            changeSounding(events, next, i, 6, [](CodeEvent& e, int k) { e.Velocity += 5 * k; });
        } else if (mark == '5') { // dim., the mirror of cresc.
            changeSounding(events, next, i, 6,
                [](CodeEvent& e, int k) { e.Velocity = std::max(e.Velocity - 5 * k, 25); });
        } else if (mark == '6' || mark == '8') { // sfz, sfp
            changeSounding(events, next, i, 1, [](CodeEvent& e, int) { e.Velocity = 127; });
        } else if (mark == '7') { // fp
            changeSounding(events, next, i, 1,
                [](CodeEvent& e, int) { e.Velocity = roundedToNearest(e.Velocity * 1.2); });
        }
    }
}

} // namespace tunvale::notation
