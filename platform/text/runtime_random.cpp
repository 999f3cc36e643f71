#include "platform/text/runtime_random.h"

#include <bit>

namespace tunvale::platform {

float RuntimeRandom::Rnd(double x)
{
    const auto f = float(x);
    if (f < 0) {
        const auto bits = std::bit_cast<std::uint32_t>(f);
        state_ = (bits + (bits >> 24)) & 0xFFFFFFu;
    } else if (f == 0) {
        return value();
    }
    step();
    return value();
}

float RuntimeRandom::Rnd()
{
    step();
    return value();
}

void RuntimeRandom::xorKeystream(char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(std::uint8_t(data[i]) ^ nextByte());
}

} // namespace tunvale::platform
