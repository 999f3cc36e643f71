#pragma once

#include "app/notation/performance.h"
#include "app/playback/stream_cursor.h"

#include <array>
#include <optional>
#include <vector>

namespace tunvale::playback {

// One update of the playback view: highlight a melody record (moving the play colours off the
// previous one) and pass its bar to the bar strip, or, without a record, pass a bar alone.
struct FollowUpdate {
    int record = -1; // the record to highlight; -1: the bar alone
    int previous = 0; // the record whose character gets its own colours back
    bool scroll = false; // the record ends a line: the view follows it
    int bar = 0;

    friend bool operator==(const FollowUpdate&, const FollowUpdate&) = default;
};

// The following thread's decisions, free of threads and clocks: modes 0 to 7 follow the melody
// records (at most one per pass), mode 8 follows the bars of the drum tracks (the last track moved
// in a pass wins); other modes follow nothing. A record no character stands for is passed over.
class FollowerCore
{
public:
    FollowerCore(const notation::Performance& performance, int mode);

    std::vector<FollowUpdate> start();
    std::vector<FollowUpdate> pass(double clock);
    std::optional<double> nextDue() const;

private:
    std::optional<FollowUpdate> melodyUpdate(bool inLoop);
    std::optional<FollowUpdate> drumBars(double clock, bool atStart);

    const notation::Performance& performance_;
    int mode_;
    StreamCursor melody_;
    std::array<StreamCursor, notation::DrumTrackCount> drums_ {};
};

} // namespace tunvale::playback
