#include "app/playback/follower_core.h"

#include <algorithm>

namespace tunvale::playback {

namespace {

constexpr int DrumsOnlyMode = 8;

bool followsMelody(int mode) { return mode >= 0 && mode < DrumsOnlyMode; }

} // namespace

FollowerCore::FollowerCore(const notation::Performance& performance, int mode)
    : performance_(performance)
    , mode_(mode)
{
}

std::optional<FollowUpdate> FollowerCore::melodyUpdate(bool inLoop)
{
    const int k = melody_.next;
    const notation::PlayEvent& record = performance_.PlayEvents()[size_t(k)];
    melody_.advance(performance_.PlayEventCount());
    if (record.CharPos < 0)
        return std::nullopt;
    return FollowUpdate { k, std::max(k - 1, 0), inLoop && record.LineEnd != 0, record.BarNo };
}

std::optional<FollowUpdate> FollowerCore::drumBars(double clock, bool atStart)
{
    std::optional<FollowUpdate> last;
    for (int t = 0; t < notation::DrumTrackCount; ++t) {
        StreamCursor& track = drums_[size_t(t)];
        const auto& hits = performance_.DrumPlayEvents(t);
        if (track.finished || (!atStart && !track.due(hits, clock)))
            continue;
        last = FollowUpdate { -1, 0, false, hits[size_t(track.next)].BarNo };
        track.advance(performance_.DrumEventCount(t));
    }
    return last;
}

std::vector<FollowUpdate> FollowerCore::start()
{
    std::optional<FollowUpdate> update;
    if (followsMelody(mode_))
        update = melodyUpdate(false);
    else if (mode_ == DrumsOnlyMode)
        update = drumBars(0, true);
    return update ? std::vector<FollowUpdate> { *update } : std::vector<FollowUpdate> {};
}

std::vector<FollowUpdate> FollowerCore::pass(double clock)
{
    std::optional<FollowUpdate> update;
    if (followsMelody(mode_)) {
        if (!melody_.finished && melody_.due(performance_.PlayEvents(), clock))
            update = melodyUpdate(true);
    } else if (mode_ == DrumsOnlyMode) {
        update = drumBars(clock, false);
    }
    return update ? std::vector<FollowUpdate> { *update } : std::vector<FollowUpdate> {};
}

std::optional<double> FollowerCore::nextDue() const
{
    std::optional<double> earliest;
    if (followsMelody(mode_)) {
        KeepEarliest(earliest, melody_.dueTime(performance_.PlayEvents()));
    } else if (mode_ == DrumsOnlyMode) {
        for (int t = 0; t < notation::DrumTrackCount; ++t)
            KeepEarliest(earliest, drums_[size_t(t)].dueTime(performance_.DrumPlayEvents(t)));
    }
    return earliest;
}

} // namespace tunvale::playback
