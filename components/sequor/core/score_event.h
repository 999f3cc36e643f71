#pragma once

#include <cstdint>
#include <vector>

namespace tunvale::sequor {

// What one character of the export text plays. Codes: 0 nothing; 24..107 a MIDI note (29 also a rap
// beat); 1000 a rest; 2001 back to the caller's tempo; 2040..2208 a tempo of code - 2000; 3000 a bar
// mark; 3100 and 3200 glides; 4000..4011 transpose by code - 4000; 4012 back to the song's key.
struct ScoreEvent {
    int Code = 0;
    double Length = 0; // sixteenth-note units
    double VelocityFactor = 0; // multiplier of the export volume
    int CharCode = 0; // the UTF-16 character the record stands for
    std::int16_t GraceSize = 0; // 1..4 inside a grace group
};

inline constexpr int RestCode = 1000;
inline constexpr int ScoreTempoCode = 2001;
inline constexpr int BarMarkCode = 3000;
inline constexpr int GlideCodes[] = { 3100, 3200 };
inline constexpr int KeyShiftBase = 4000;
inline constexpr int ScoreKeyCode = 4012;

// The parser's result: one record per character of the text, and the length of every bar in whole
// sixteenth units.
struct ParsedScore {
    std::vector<ScoreEvent> ScoreEvents;
    std::vector<double> BarLengths;
};

} // namespace tunvale::sequor
