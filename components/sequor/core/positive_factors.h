#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tunvale::sequor {

// The set of records whose velocity factor is above 0, so that marks find "the next record that sounds"
// without walking over long runs of marks: a bit per record and a bit per 64 records.
class PositiveFactors
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit PositiveFactors(std::size_t size);

    void set(std::size_t index, bool positive);
    // The first index at or after `from` in the set, or npos.
    std::size_t next(std::size_t from) const;

private:
    std::vector<std::uint64_t> words_;
    std::vector<std::uint64_t> summary_; // bit w: words_[w] is not 0
};

} // namespace tunvale::sequor
