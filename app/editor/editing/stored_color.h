#pragma once

#include <QColor>

#include <cstdint>

namespace tunvale::editor {

// A colour of the score's colour scheme, stored as &H00BBGGRR.
inline QColor StoredColor(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The stored form of a colour.
inline std::int32_t StoredValue(const QColor& color)
{
    return std::int32_t(color.red() | color.green() << 8 | color.blue() << 16);
}

} // namespace tunvale::editor
