#pragma once

#include <cstdint>

// The key of body scrambling: a constant of the program that every score file depends on.
namespace tunvale::notation {

class VlsKey
{
public:
    static constexpr char kText[] = "wq5806142";

    // The negated key sum: for the i-th character c (1-based), c * 256 as a 16-bit product times i.
    // It restarts the generator before a body is scrambled or unscrambled.
    static constexpr std::int32_t seedArgument()
    {
        std::int32_t sum = 0;
        for (int i = 1; i < int(sizeof kText); ++i)
            sum += std::int16_t(kText[i - 1] * 256) * i;
        return -sum;
    }
};

static_assert(VlsKey::seedArgument() == -640256);

} // namespace tunvale::notation
