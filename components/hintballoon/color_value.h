#pragma once

#include <QColor>
#include <QPalette>
#include <QVariant>

#include <optional>

namespace tunvale::hintballoon {

// The colour a caller's value stands for: 0x00BBGGRR, or with the top bit set a system colour index
// read from `palette` (an index without a counterpart gives black). Nothing for a value that is no
// number.
std::optional<QColor> ColorFromValue(const QVariant& value, const QPalette& palette);

// The system colour values a tool's colours take when omitted.
inline constexpr qint64 kInfoTextColor = 0x80000017;
inline constexpr qint64 kInfoBackColor = 0x80000018;

} // namespace tunvale::hintballoon
