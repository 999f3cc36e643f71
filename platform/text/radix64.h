#pragma once

#include <QString>

#include <optional>

// Radix-64 numbers of play-order keys: digits "0-9a-zA-Z+/", most significant first.
namespace tunvale::platform {

inline const QString kRadix64Digits
    = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+/");

// The 16-bit value of a digit text; "" gives 0 and a character that is no digit counts as -1. No value
// when the sum does not fit in a signed 16-bit integer.
std::optional<int> Radix64ToInt(const QString& digits);

// The digit text of n ("0" for 0). No value for a negative n. The value is passed by reference and is
// 0 afterwards, as callers that loop over it expect.
std::optional<QString> IntToRadix64(long long& n);

} // namespace tunvale::platform
