#include "app/notation/breakpoint_cut.h"

#include "app/notation/drum_events.h"

#include <algorithm>

namespace tunvale::notation {

namespace {

// The closing record repeats the last one's time and place without sounding it. A melody closing copy
// keeps its harmony messages, as the players expect of every closing copy.
void silence(PlayEvent& e) { e.NoteOnMsg = 0; }

void silence(DrumPlayEvent& e)
{
    e.PanMsg = 0;
    e.HitMsg = 0;
}

// What is left of a store whose every record ends at or before the start: one record at time 0 that
// sounds and shows nothing.
PlayEvent nothingLeft(const PlayEvent&)
{
    PlayEvent e;
    e.CharPos = -1;
    return e;
}

DrumPlayEvent nothingLeft(const DrumPlayEvent&) { return {}; }

// Records startIndex + 1 .. last moved to the front and S earlier, closed by a silent copy of the last.
template <typename Record>
std::vector<Record> cutStore(const std::vector<Record>& store, int startIndex, double S)
{
    const size_t first = size_t(std::max(startIndex, 0)) + 1;
    if (first >= store.size())
        return { nothingLeft(Record {}) };
    std::vector<Record> cut(store.begin() + std::ptrdiff_t(first), store.end());
    for (Record& record : cut)
        record.EventTime -= S;
    Record closing = cut.back();
    silence(closing);
    cut.push_back(closing);
    return cut;
}

// A drum track keeps the record sounding at S (the first that ends after it) and all later hits.
void cutTrack(std::vector<DrumPlayEvent>& track, int& count, double S)
{
    int first = 0;
    while (first <= count && first < int(track.size()) && !(track[size_t(first)].EventTime > S))
        ++first;
    if (first > count || first >= int(track.size())) {
        track.assign(1, DrumPlayEvent {});
        count = 0;
        return;
    }
    track.erase(track.begin(), track.begin() + first);
    track.resize(size_t(count - first) + 1);
    for (DrumPlayEvent& record : track)
        record.EventTime -= S;
    count -= first;
}

} // namespace

Performance CutAtBreakpoint(const Performance& performance)
{
    const double S = performance.StartPlayTime();
    if (!(S > 0))
        return performance;

    PerformanceData data = performance.data();
    data.TotalPlayTime -= S;
    data.PlayEvents = cutStore(data.PlayEvents, data.PlayStartIndex, S);
    data.AccompPlayEvents = cutStore(data.AccompPlayEvents, data.AccompStartIndex, S);
    if (ModePlaysDrumsWithMelody(data.PlayMode)) {
        for (int t = 0; t < DrumTrackCount; ++t)
            cutTrack(data.Drums.DrumPlayEvents[size_t(t)], data.Drums.DrumEventCounts[size_t(t)], S);
    }
    return Performance(std::move(data));
}

} // namespace tunvale::notation
