#include "app/notation/final_pass.h"

#include "app/notation/short_message.h"
#include "app/notation/tempo_map.h"

#include <algorithm>

namespace tunvale::notation {

namespace {

constexpr int RestCode = 1000;
constexpr int RapBeatCode = -2900;
constexpr int RestNote = 120;
constexpr int RestVelocity = 2;

std::uint32_t noteOnFor(const CodeEvent& event)
{
    if (event.EventCode == RapBeatCode)
        return 0; // the accompaniment gives RAP beats their message
    if (event.EventCode < 0 || event.EventCode > 127)
        return SilentNoteMessage;
    return NoteOnMessage(event.EventCode, event.Velocity);
}

} // namespace

TimedMelody CompactAndTime(std::vector<CodeEvent> working, int PlaySelStart)
{
    TimedMelody melody;
    auto& events = melody.CodeEvents;
    events.clear();
    for (CodeEvent& event : working) {
        if (!TakesTime(event))
            continue;
        event.Velocity = std::min(event.Velocity, 127);
        if (event.EventCode == RestCode) {
            event.EventCode = RestNote;
            event.Velocity = RestVelocity;
        }
        events.push_back(event);
    }
    if (events.empty()) {
        // Nothing to play: one silent record that no character stands for, so nothing is highlighted.
        events.emplace_back().CharPos = -1;
        return melody;
    }

    for (size_t p = 1; p < events.size(); ++p)
        events[p].EventTime += events[p - 1].EventTime;
    for (CodeEvent& event : events) {
        event.EventTime = RoundSeconds(event.EventTime);
        event.MidiMessage = int(noteOnFor(event));
    }
    melody.TotalPlayTime = events.back().EventTime;

    for (size_t p = 0; p < events.size() && events[p].CharPos < PlaySelStart; ++p) {
        melody.StartPlayTime = events[p].EventTime;
        melody.PlayStartIndex = int(p);
    }
    return melody;
}

void MarkLineEnds(std::vector<CodeEvent>& events, const platform::RichTextSnapshot& snapshot)
{
    std::vector<int> lineStarts; // where each line after the first starts
    lineStarts.reserve(snapshot.lines.size());
    int end = 0;
    for (const auto& line : snapshot.lines) {
        end += int(line.text.size());
        lineStarts.push_back(end);
    }
    for (size_t i = 0; i + 1 < events.size(); ++i) {
        const int here = events[i].CharPos;
        const auto next = std::upper_bound(lineStarts.begin(), lineStarts.end(), here);
        if (next != lineStarts.end() && *next <= events[i + 1].CharPos)
            events[i].LineEnd = -1;
    }
}

} // namespace tunvale::notation
