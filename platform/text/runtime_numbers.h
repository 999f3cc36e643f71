#pragma once

#include <QString>

#include <cstdint>

// Numbers as the runtime that our stored file values come from computes them. Use these only where a
// stored value or compatibility depends on it; ordinary C++ arithmetic everywhere else.
namespace tunvale::platform {

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double x);

// Rounds to `decimals` places, halves to the even neighbour, as x * 10^decimals rounded then divided.
double RoundHalfEven(double x, int decimals);

// The runtime's Int: the largest whole number not above x (Int(-1.5) is -2).
double Int(double x);

// The runtime's Val: the number at the start of a text. Leading blanks, tabs and line feeds are
// skipped, blanks inside the number are ignored, "&H" and "&O" prefixes read hex and octal; reading
// stops at the first character that cannot continue the number. A text without a number gives 0.
double Val(const QString& text);

// Truncation to the low 16 or 8 bits, as stored fields keep them.
std::int16_t ToInt16Bits(std::int64_t value);
std::uint16_t ToUInt16Bits(std::int64_t value);
std::uint8_t ToByteBits(std::int64_t value);

} // namespace tunvale::platform
