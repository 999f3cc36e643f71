#include "tests/playback/fake_time.h"

#include <algorithm>
#include <cmath>

namespace tunvale::testing {

FakeTime::Clock::time_point FakeTime::now() const
{
    std::lock_guard lock(mutex_);
    return now_;
}

bool FakeTime::sleepUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock,
    std::stop_token stop, Clock::time_point deadline, const std::function<bool()>& wake)
{
    const Sleeper sleeper { &cv, lock.mutex() };
    {
        std::lock_guard guard(mutex_);
        sleepers_.push_back(sleeper);
    }
    cv.wait(lock, stop, [&] { return wake() || now() >= deadline; });
    {
        std::lock_guard guard(mutex_);
        sleepers_.erase(std::find(sleepers_.begin(), sleepers_.end(), sleeper));
    }
    return wake();
}

void FakeTime::advance(std::chrono::nanoseconds step)
{
    std::vector<Sleeper> toWake;
    {
        std::lock_guard guard(mutex_);
        now_ += step;
        toWake = sleepers_;
    }
    // Taking the sleeper's own mutex closes the gap between its test of the time and its wait.
    for (const Sleeper& sleeper : toWake) {
        std::lock_guard guard(*sleeper.second);
        sleeper.first->notify_all();
    }
}

void FakeTime::advanceSeconds(double seconds)
{
    advance(std::chrono::nanoseconds(std::llround(seconds * 1e9)));
}

int FakeTime::sleepers() const
{
    std::lock_guard lock(mutex_);
    return int(sleepers_.size());
}

} // namespace tunvale::testing
