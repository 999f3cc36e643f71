#pragma once

#include <QColor>

#include <cstdint>

namespace tunvale::editor {

// A colour of the score's colour scheme, stored as &H00BBGGRR.
inline QColor StoredColor(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace tunvale::editor
