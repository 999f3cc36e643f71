#include "platform/midi/time_source.h"

namespace tunvale::platform {

namespace {

class SystemTime final : public TimeSource
{
public:
    Clock::time_point now() const override { return Clock::now(); }

    bool sleepUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock, std::stop_token stop,
        Clock::time_point deadline, const std::function<bool()>& wake) override
    {
        return cv.wait_until(lock, stop, deadline, wake);
    }
};

} // namespace

TimeSource& TimeSource::system()
{
    static SystemTime time;
    return time;
}

} // namespace tunvale::platform
