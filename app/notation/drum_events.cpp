#include "app/notation/drum_events.h"

#include "app/notation/short_message.h"

#include <algorithm>

namespace tunvale::notation {

bool ModeHasDrums(int playMode) { return playMode != 0 && playMode != 4 && playMode != 5 && playMode != 6; }

bool ModePlaysDrumsWithMelody(int playMode)
{
    return playMode == 1 || playMode == 2 || playMode == 3 || playMode == 7;
}

int TimeAtStep(const std::vector<TempoMark>& TempoMarks, double start, int Speed)
{
    if (TempoMarks.empty())
        return Speed;
    const double t = RoundSeconds(start);
    // The marks ascend, so the span holding t ends at the first mark that starts after it.
    const auto next = std::upper_bound(TempoMarks.begin(), TempoMarks.end(), t,
        [](double time, const TempoMark& mark) { return time < mark.TempoStart; });
    const int bpm = next == TempoMarks.begin() || next == TempoMarks.end() ? TempoMarks.front().TempoBpm
                                                                           : std::prev(next)->TempoBpm;
    return bpm > 0 ? bpm : Speed;
}

DrumTracks PackDrumEvents(const DrumCodeTracks& DrumCodeEvents, const std::array<int, DrumTrackCount>& counts)
{
    DrumTracks tracks;
    tracks.DrumEventCounts = counts;
    for (int t = 0; t < DrumTrackCount; ++t) {
        const auto& source = DrumCodeEvents[size_t(t)];
        auto& target = tracks.DrumPlayEvents[size_t(t)];
        target.reserve(source.size());
        for (const DrumCodeEvent& e : source)
            target.push_back(PlayedHit(e));
    }
    return tracks;
}

namespace {

std::array<int, DrumTrackCount> countHits(const std::vector<BarPattern>& bars)
{
    std::array<int, DrumTrackCount> counts {};
    for (const BarPattern& bar : bars)
        for (int t = 0; t < DrumTrackCount; ++t)
            for (int s = 0; s < bar.steps; ++s)
                counts[size_t(t)] += bar.hits(t, s) ? 1 : 0;
    return counts;
}

bool silencesBarsWithoutDrum(int mode) { return ModePlaysDrumsWithMelody(mode) || mode == 8; }

// Fills the records with span lengths, hit by hit, and returns the hits laid per track.
std::array<int, DrumTrackCount> layHits(
    const std::vector<BarPattern>& bars, int mode, const DrumTimeline& timeline, DrumCodeTracks& events)
{
    std::array<int, DrumTrackCount> counts {};
    // Start of each track's current record: the sum of the spans before it, added in record order.
    std::array<double, DrumTrackCount> recordStart {};
    for (const BarPattern& bar : bars) {
        if (bar.speed == 0)
            break;
        for (int t = 0; t < DrumTrackCount; ++t) {
            auto& track = events[size_t(t)];
            int& c = counts[size_t(t)];
            for (int s = 0; s < bar.steps; ++s) {
                const bool hit = bar.hits(t, s);
                if (hit) {
                    recordStart[size_t(t)] += track[size_t(c)].EventTime;
                    ++c;
                }
                const int tempo = timeline.SameSpeed
                    ? TimeAtStep(timeline.TempoMarks, recordStart[size_t(t)], timeline.Speed)
                    : bar.speed;
                const double stepLength = 60.0 / tempo / 4;
                DrumCodeEvent& record = track[size_t(c)];
                if (hit) {
                    record.EventTime = stepLength;
                    record.Sound = bar.sound[size_t(t)];
                    record.Velocity
                        = !bar.haveDrum && silencesBarsWithoutDrum(mode) ? 0 : bar.volume[size_t(t)];
                    record.Pan = bar.pan[size_t(t)];
                    record.BarNo = bar.barNo;
                } else {
                    record.EventTime += stepLength;
                }
            }
        }
    }
    return counts;
}

} // namespace

std::optional<DrumBuild> BuildDrumTracks(
    const std::vector<BarPattern>& bars, int DatDrumType, double JpMaxTimer, const DrumTimeline& timeline)
{
    if (!ModeHasDrums(DatDrumType))
        return std::nullopt;

    // Each track holds its lead-in and every hit counted in the listed bars; hits of bars after a
    // tempo-0 bar stay zeroed records past the track's count.
    const auto planned = countHits(bars);
    const int m = *std::max_element(planned.begin(), planned.end());
    DrumCodeTracks events;
    for (int t = 0; t < DrumTrackCount; ++t)
        events[size_t(t)].assign(size_t(planned[size_t(t)]) + 1, DrumCodeEvent {});

    const auto counts = layHits(bars, DatDrumType, timeline, events);

    double longest = 0;
    for (int t = 0; t < DrumTrackCount; ++t) {
        auto& track = events[size_t(t)];
        const int count = counts[size_t(t)];
        for (int k = 1; k <= count; ++k)
            track[size_t(k)].EventTime += track[size_t(k) - 1].EventTime;
        for (int k = 0; k <= count; ++k) {
            DrumCodeEvent& record = track[size_t(k)];
            record.EventTime = RoundSeconds(record.EventTime);
            record.PanMsg = DrumPanMessage(record.Pan);
            record.HitMsg = DrumHitMessage(record.Sound, record.Velocity);
        }
        for (const DrumCodeEvent& record : track)
            longest = std::max(longest, record.EventTime);
    }

    DrumBuild build;
    build.TotalPlayTime = ModePlaysDrumsWithMelody(DatDrumType) ? std::max(longest, JpMaxTimer) : longest;
    if (m == 0) {
        // Nothing to strike: every track is a silent span over the whole play.
        for (auto& track : events) {
            track.assign(2, DrumCodeEvent {});
            track[1].EventTime = build.TotalPlayTime;
        }
    }
    build.tracks = PackDrumEvents(events, counts);
    return build;
}

} // namespace tunvale::notation
