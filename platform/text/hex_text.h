#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Hex texts of stored bytes and of bit patterns.
namespace tunvale::platform {

// Two upper-case hex digits per byte, in order: {0x0A, 0xFF} gives "0AFF".
QString BytesToHex(const QByteArray& bytes);

// A text of "0" and "1", left-padded with zeros to whole groups of four, one upper-case hex digit per
// group: "101" gives "5", "11111" gives "1F", "" gives "0". No value when a character is neither.
std::optional<QString> BinToHex(const QString& bits);

} // namespace tunvale::platform
