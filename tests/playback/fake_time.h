#pragma once

#include "platform/midi/time_source.h"

#include <utility>
#include <vector>

namespace tunvale::testing {

// A monotonic clock that moves only when the test says so, and wakes whoever sleeps on it then.
class FakeTime final : public platform::TimeSource
{
public:
    Clock::time_point now() const override;
    bool sleepUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock, std::stop_token stop,
        Clock::time_point deadline, const std::function<bool()>& wake) override;

    void advance(std::chrono::nanoseconds step);
    void advanceSeconds(double seconds);
    // How many threads sleep on this clock right now.
    int sleepers() const;

private:
    using Sleeper = std::pair<std::condition_variable_any*, std::mutex*>;

    mutable std::mutex mutex_;
    Clock::time_point now_ { std::chrono::hours(1) };
    std::vector<Sleeper> sleepers_;
};

} // namespace tunvale::testing
