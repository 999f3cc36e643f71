#include "app/playback/play_clock.h"

#include <algorithm>
#include <cmath>

namespace tunvale::playback {

PlayClock::PlayClock(platform::TimeSource& time)
    : time_(time)
{
}

std::int64_t PlayClock::nowNanoseconds() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time_.now().time_since_epoch()).count();
}

std::int64_t PlayClock::elapsedNanoseconds(std::int64_t state) const
{
    return isRunning(state) ? nowNanoseconds() - value(state) : value(state);
}

void PlayClock::changeLocked(std::int64_t state)
{
    state_.store(state);
    ++generation_;
    changed_.notify_all();
}

void PlayClock::StartClock()
{
    std::lock_guard lock(mutex_);
    const std::int64_t state = state_.load();
    if (!isRunning(state))
        changeLocked(encode(nowNanoseconds() - value(state), true));
}

void PlayClock::StopClock()
{
    std::lock_guard lock(mutex_);
    const std::int64_t state = state_.load();
    if (isRunning(state))
        changeLocked(encode(elapsedNanoseconds(state), false));
}

void PlayClock::ResetClock()
{
    std::lock_guard lock(mutex_);
    const bool running = isRunning(state_.load());
    changeLocked(encode(running ? nowNanoseconds() : 0, running));
}

double PlayClock::seconds() const { return double(elapsedNanoseconds(state_.load())) / 1e9; }

bool PlayClock::running() const { return isRunning(state_.load()); }

bool PlayClock::WaitUntil(double seconds, std::stop_token wake)
{
    // Ten years is as good as never and keeps the deadline arithmetic clear of overflow.
    constexpr double kNever = 10 * 365.25 * 86400 * 1e9;
    const double nanoseconds = seconds * 1e9;
    const auto target = std::int64_t(std::ceil(nanoseconds > 0 ? std::min(nanoseconds, kNever) : 0.0));
    std::unique_lock lock(mutex_);
    while (!wake.stop_requested()) {
        const std::int64_t state = state_.load();
        if (elapsedNanoseconds(state) >= target)
            return true;
        const std::uint64_t generation = generation_;
        const auto changed = [&] { return generation_ != generation; };
        // Start, stop and reset move the deadline, so each of them wakes the wait to work it out again.
        if (isRunning(state)) {
            const Clock::time_point deadline { std::chrono::duration_cast<Clock::duration>(
                std::chrono::nanoseconds(value(state) + target)) };
            time_.sleepUntil(changed_, lock, wake, deadline, changed);
        } else {
            changed_.wait(lock, wake, changed);
        }
    }
    return false;
}

} // namespace tunvale::playback
