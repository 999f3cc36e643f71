#pragma once

#include "platform/midi/time_source.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <stop_token>

namespace tunvale::playback {

// The play clock: seconds of play, read from the monotonic clock. Pausing freezes it, starting again
// resumes it, and no late timer tick can slow it down. Any thread reads it without a lock.
class PlayClock
{
public:
    explicit PlayClock(platform::TimeSource& time = platform::TimeSource::system());
    PlayClock(const PlayClock&) = delete;
    PlayClock& operator=(const PlayClock&) = delete;

    // Both are idempotent: there is never a second clock running.
    void StartClock();
    void StopClock();
    // Back to 0, running or not.
    void ResetClock();

    double seconds() const;
    bool running() const;

    // Sleeps until PlayClock reaches `seconds` and returns true; returns false as soon as `wake` is
    // requested (the thread is suspended or stopped). A stopped clock is waited for until it runs.
    bool WaitUntil(double seconds, std::stop_token wake);

private:
    using Clock = platform::TimeSource::Clock;

    // One word, so a reader never sees half an update: the low bit says whether the clock runs; the
    // rest is, in nanoseconds of the monotonic clock, the moment play time 0 was passed while
    // running, or the frozen play time while stopped.
    static std::int64_t encode(std::int64_t nanoseconds, bool running)
    {
        return nanoseconds * 2 + (running ? 1 : 0);
    }
    static std::int64_t value(std::int64_t state) { return state >> 1; }
    static bool isRunning(std::int64_t state) { return (state & 1) != 0; }

    std::int64_t nowNanoseconds() const;
    std::int64_t elapsedNanoseconds(std::int64_t state) const;
    void changeLocked(std::int64_t state);

    platform::TimeSource& time_;
    std::atomic<std::int64_t> state_ { 0 };
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::uint64_t generation_ = 0;
};
using 精确计时 = PlayClock;

} // namespace tunvale::playback
