#include "components/sequor/core/positive_factors.h"

#include <bit>

namespace tunvale::sequor {

PositiveFactors::PositiveFactors(std::size_t size)
    : words_((size + 63) / 64)
    , summary_((words_.size() + 63) / 64)
{
}

void PositiveFactors::set(std::size_t index, bool positive)
{
    const std::size_t w = index / 64;
    const std::uint64_t bit = std::uint64_t(1) << (index % 64);
    words_[w] = positive ? words_[w] | bit : words_[w] & ~bit;
    const std::uint64_t summaryBit = std::uint64_t(1) << (w % 64);
    summary_[w / 64] = words_[w] ? summary_[w / 64] | summaryBit : summary_[w / 64] & ~summaryBit;
}

std::size_t PositiveFactors::next(std::size_t from) const
{
    std::size_t w = from / 64;
    if (w >= words_.size())
        return npos;
    if (const std::uint64_t bits = words_[w] & (~std::uint64_t(0) << (from % 64)))
        return w * 64 + std::countr_zero(bits);
    ++w;
    std::size_t s = w / 64;
    if (s >= summary_.size())
        return npos;
    for (std::uint64_t bits = summary_[s] & (~std::uint64_t(0) << (w % 64));; bits = summary_[s]) {
        if (bits) {
            const std::size_t word = s * 64 + std::countr_zero(bits);
            return word * 64 + std::countr_zero(words_[word]);
        }
        if (++s >= summary_.size())
            return npos;
    }
}

} // namespace tunvale::sequor
