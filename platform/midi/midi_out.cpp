#include "platform/midi/midi_out.h"

namespace tunvale::platform {

ShortMessage ShortMessage::unpack(std::uint32_t packed)
{
    return ShortMessage { std::uint8_t(packed & 0xFF), std::uint8_t((packed >> 8) & 0xFF),
        std::uint8_t((packed >> 16) & 0xFF) };
}

std::uint32_t ShortMessage::packed() const
{
    return std::uint32_t(status) | std::uint32_t(data1) << 8 | std::uint32_t(data2) << 16;
}

bool ShortMessage::isValid() const { return status >= 0x80 && status < 0xF0 && data1 <= 127 && data2 <= 127; }

std::vector<unsigned char> ShortMessage::wireBytes() const
{
    if (kind() == 0xC0 || kind() == 0xD0)
        return { status, data1 };
    return { status, data1, data2 };
}

} // namespace tunvale::platform
