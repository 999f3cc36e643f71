#pragma once

#include "app/notation/performance.h"

#include <array>
#include <optional>
#include <vector>

namespace tunvale::notation {

using DrumCodeTracks = std::array<std::vector<DrumCodeEvent>, DrumTrackCount>;

// One bar's drum pattern as the track builder reads it.
struct BarPattern {
    int barNo = 0; // the bar's index in its record store
    int steps = 0; // sixteenth steps in the bar
    int speed = 0; // drum tempo of the bar; 0 ends the drumming
    bool haveDrum = false;
    std::array<bool, DrumTrackCount> channel {};
    std::array<std::uint32_t, DrumTrackCount> rhythm {}; // bit s set: the track hits on step s
    std::array<int, DrumTrackCount> sound {};
    std::array<int, DrumTrackCount> volume {};
    std::array<int, DrumTrackCount> pan {};

    bool hits(int track, int step) const
    {
        return channel[size_t(track)] && (rhythm[size_t(track)] >> step & 1u) != 0;
    }
};

struct DrumTimeline {
    bool SameSpeed = false; // follow the melody's tempo instead of each bar's own
    std::vector<TempoMark> TempoMarks; // the melody's tempo map, empty when there is none
    int Speed = 120; // the score's tempo, used when the map has no answer
};

struct DrumBuild {
    DrumTracks tracks;
    double TotalPlayTime = 0;
};

// Whether a play mode plays drum tracks at all.
bool ModeHasDrums(int playMode);
// Whether a play mode plays the drums together with the melody.
bool ModePlaysDrumsWithMelody(int playMode);

// The tempo in force at `start` seconds of the melody: the mark whose span holds it, the first mark
// for a time at or past the end mark, and Speed when there is no map.
int TimeAtStep(const std::vector<TempoMark>& TempoMarks, double start, int Speed);

// Lays the hits of the listed bars end to end on eight tracks. Nothing is built (nullopt) for a mode
// without drums. `JpMaxTimer` is the melody's length, which a play with the melody never falls short of.
std::optional<DrumBuild> BuildDrumTracks(
    const std::vector<BarPattern>& bars, int DatDrumType, double JpMaxTimer, const DrumTimeline& timeline);

// The played form of the working records, every record included (also past a track's count).
DrumTracks PackDrumEvents(
    const DrumCodeTracks& DrumCodeEvents, const std::array<int, DrumTrackCount>& counts);

} // namespace tunvale::notation
