#pragma once

#include <array>
#include <vector>

// The codes of scores written before version 5.2 and what they became. Notes were laid out in 40 rows
// of 28 codes (eight blocks of five octave rows); signs had codes of their own.
namespace tunvale::frame {

inline constexpr int kOldNoteRowCount = 40;
inline constexpr char16_t kFirstOldNote = 0x4E00;
inline constexpr char16_t kLastOldNote = 0x525F;

// What is added to every code of old note row k (U+4E00 + 28 k .. + 27) to give its current code.
const std::array<int, kOldNoteRowCount>& OldNoteRowOffsets();

struct OldCodePair {
    char16_t from;
    char16_t to;
};

// Every old sign code with its current code, sources rising; no target is also a source.
const std::vector<OldCodePair>& OldSignCodes();

} // namespace tunvale::frame
