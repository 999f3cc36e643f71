#pragma once

#include "app/notation/code_event.h"
#include "app/notation/performance.h"

#include <QString>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

// The rhythm accompaniment: one percussion hit per melody event, its instrument chosen by how long the
// event lasts, and the RAP beats of the score turned into hits of the score's RAP sound.
namespace tunvale::notation {

inline constexpr int AccompClassCount = 5;
inline constexpr int RandomStyle = 2; // PZType of the random style; 3 and up are the named styles

// The instruments of a named style, per length class, as drum-list indices.
using AccompKeys = std::array<int, AccompClassCount>;

// The instruments the random style picks from, per length class.
inline constexpr std::array<std::array<int, 6>, AccompClassCount> RandomKeyLists { {
    { 46, 49, 52, 57, 59, 66 },
    { 28, 38, 39, 40, 41, 43 },
    { 42, 54, 61, 68, 76, 77 },
    { 27, 31, 32, 33, 34, 35 },
    { 36, 37, 56, 62, 76, 80 },
} };

// Length class 0..4 of a melody event lasting `seconds`: 1.5 s and more, 1, 0.5, 0.25, shorter.
int AccompLengthClass(double seconds);

// A style key holds a General MIDI drum note 13..87; anything else counts as drum-list index 0.
int AccompKeyFromText(const QString& text);

// The instruments of style PZType - 2 from [伴奏类型] of "banzhou.ini" (user folder first); all 0 for a
// PZType below 3 or a missing file or key.
AccompKeys ReadAccompKeys(int PZType);

// Uniform draws in [0, 1) from one generator seeded once per compile.
class AccompRandom
{
public:
    explicit AccompRandom(std::uint32_t seed)
        : generator_(seed)
    {
    }
    double next() { return double(generator_()) / 4294967296.0; }
    int below(int n) { return int(next() * n); }

private:
    std::mt19937 generator_;
};

struct AccompInput {
    int PZType = 0;
    int Volume = 98;
    int RapDrum = 14;
    int PlayMode = 0;
    double StartPlayTime = 0;
    AccompKeys keys {};
};

struct Accompaniment {
    std::vector<DrumPlayEvent> AccompPlayEvents;
    int AccompStartIndex = 0; // last record ending at or before the start; 0 with no start position
};

// Builds one hit per event of the timed melody (end times in seconds) and turns the melody's RAP beats
// into near-silent notes whose hit sounds in every mode.
Accompaniment MakeAccompaniment(
    std::vector<CodeEvent>& CodeEvents, const AccompInput& input, AccompRandom& random);

// The played form of the working records.
std::vector<DrumPlayEvent> PackAccompEvents(const std::vector<DrumCodeEvent>& AccompCodeEvents);

} // namespace tunvale::notation
