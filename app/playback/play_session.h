#pragma once

#include "app/notation/performance.h"
#include "app/playback/follower_core.h"
#include "app/playback/play_clock.h"
#include "app/playback/play_note.h"
#include "app/playback/sender_core.h"
#include "app/playback/thread_control.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace tunvale::playback {

// One play as its two threads see it: a performance that no one changes while they run, the mode,
// and the number that tells its updates from those of an earlier play.
struct PlaySession {
    std::shared_ptr<const notation::Performance> performance;
    int mode = 0;
    std::uint64_t generation = 0;
};

// The sending thread: the start sends, then one pass whenever a record falls due, until the clock
// reaches the end time. Returns true at the end time, false when stopped first.
bool RunSender(const PlaySession& session, PlayClock& clock, PlayNote& output, ThreadPass& pass);

// The following thread: the same passes, each update handed to `show` (which posts it to the GUI
// thread). Returns like RunSender.
bool RunFollower(const PlaySession& session, PlayClock& clock,
    const std::function<void(const FollowUpdate&)>& show, ThreadPass& pass);

// The MIDI output calls of one sender pass.
void Deliver(PlayNote& output, const std::vector<SendCall>& calls);

} // namespace tunvale::playback
