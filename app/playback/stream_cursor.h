#pragma once

#include <algorithm>
#include <optional>
#include <vector>

namespace tunvale::playback {

// Where a player stands in one stream of records (melody, accompaniment or one drum track): the next
// record and whether the stream is done. Record 0 goes out at once; record k is due once the clock
// reaches the end of record k - 1.
struct StreamCursor {
    int next = 0;
    bool finished = false;

    // After record `next` went out: the following one, or done after the last index.
    void advance(int lastIndex)
    {
        if (next < lastIndex)
            ++next;
        else
            finished = true;
    }

    template <typename Record> bool due(const std::vector<Record>& records, double clock) const
    {
        return next == 0 || clock >= records[size_t(next - 1)].EventTime;
    }

    // When the next record falls due; none for a finished stream.
    template <typename Record> std::optional<double> dueTime(const std::vector<Record>& records) const
    {
        if (finished)
            return std::nullopt;
        return next == 0 ? 0.0 : records[size_t(next - 1)].EventTime;
    }
};

inline void KeepEarliest(std::optional<double>& earliest, std::optional<double> due)
{
    if (due)
        earliest = earliest ? std::min(*earliest, *due) : *due;
}

} // namespace tunvale::playback
