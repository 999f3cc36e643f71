#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// The 32-byte name field of a drum record, in code page 936.
namespace tunvale::platform {

using NameField = std::array<std::uint8_t, 32>;

// Bytes below 0x80 are characters of their own (NUL included); a byte of 0x80 or more starts a
// double-byte character with the next one (U+FFFD when GBK holds no such pair). A lead byte cut off at the
// end is dropped.
QString GbkBytesToText(const QByteArray& bytes);

// Text in code page 936, cut after the last whole character that fits in 32 bytes, padded with NULs.
void TextToNameBytes(const QString& text, NameField& field);

} // namespace tunvale::platform
