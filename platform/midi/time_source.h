#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>

namespace tunvale::platform {

// The monotonic clock that paces sound and play time. Tests put a clock of their own in its place,
// so waiting on it goes through here too.
class TimeSource
{
public:
    using Clock = std::chrono::steady_clock;

    virtual ~TimeSource() = default;

    virtual Clock::time_point now() const = 0;

    // Sleeps on `cv` (its mutex held by `lock`) until `deadline` has passed on this clock, `wake`
    // holds, or `stop` is requested; returns `wake()`. A caller re-checks its own state afterwards.
    virtual bool sleepUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock,
        std::stop_token stop, Clock::time_point deadline, const std::function<bool()>& wake)
        = 0;

    // The machine's steady clock; lives for the whole run.
    static TimeSource& system();
};

} // namespace tunvale::platform
