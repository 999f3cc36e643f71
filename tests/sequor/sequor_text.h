#pragma once

#include <QString>

#include <initializer_list>

// Spelling helpers for export texts in the sequor tests.
namespace tunvale::testing::sequor_text {

// A note: degree 1..7, duration index (0 quarter, 1 eighth ...), note block, octave row.
inline char16_t Note(int degree, int dur = 0, int block = 0, int row = 0)
{
    return char16_t(0x4E00 + block * 294 + row * 42 + dur * 7 + degree - 1);
}
inline char16_t Rest(int dur = 0) { return char16_t(0x62CE + dur); }
inline constexpr char16_t Bar = 0x6352;
inline constexpr char16_t Dot = 0x62C2;
inline constexpr char16_t Dash = 0x6353;
inline constexpr char16_t Fermata = 0x5FEB;
inline constexpr char16_t Sharp = 0x6226;
inline constexpr char16_t Natural = 0x622A;
inline constexpr char16_t SymbolRun = 0x638D;
// The run mark of a grace group of 1..4 notes.
inline char16_t GraceRun(int size) { return char16_t(0x6388 + size); }

inline QString Text(std::initializer_list<char16_t> chars)
{
    QString text;
    for (char16_t c : chars)
        text += QChar(c);
    return text;
}

} // namespace tunvale::testing::sequor_text
