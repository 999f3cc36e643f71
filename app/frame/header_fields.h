#pragma once

#include <QByteArray>

#include <cstdint>

// Big-endian fields of score file headers. Positions are 1-based, as the file format counts them;
// bytes past the end of the data read as zero.
namespace tunvale::frame {

inline std::uint32_t FieldValue(const QByteArray& bytes, qsizetype firstByte, int width)
{
    std::uint32_t value = 0;
    for (qsizetype i = firstByte - 1; i < firstByte - 1 + width; ++i)
        value = (value << 8) | (i < bytes.size() ? std::uint8_t(bytes[i]) : 0u);
    return value;
}

// Stores the low `width` bytes of `value`; `bytes` must already reach the field's last byte.
inline void PutField(QByteArray& bytes, qsizetype firstByte, int width, std::uint32_t value)
{
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        bytes[firstByte - 1 + i] = char(value & 0xFF);
}

} // namespace tunvale::frame
