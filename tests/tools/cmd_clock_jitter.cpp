#include "tests/tools/command_registry.h"

#include "app/playback/play_clock.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

int clockJitter(const QStringList& args)
{
    using namespace tunvale;
    std::optional<int> given = 60;
    if (args.size() == 2 && args[0] == QStringLiteral("--seconds"))
        given = scoretool::intArgument(args[1], 1, scoretool::kLongestRunSeconds);
    else if (!args.isEmpty())
        given.reset();
    if (!given) {
        scoretool::err(QStringLiteral("usage: scoretool clock-jitter [--seconds N]  (N: 1 to %1)")
                           .arg(scoretool::kLongestRunSeconds));
        return 2;
    }
    const int seconds = *given;

    playback::PlayClock clock;
    std::stop_source never;
    const int deadlines = int(seconds * 100);
    std::vector<double> lateMs;
    lateMs.reserve(size_t(deadlines));
    const auto start = std::chrono::steady_clock::now();
    clock.StartClock();
    for (int k = 1; k <= deadlines; ++k) {
        clock.WaitUntil(k * 0.01, never.get_token());
        lateMs.push_back((clock.seconds() - k * 0.01) * 1000);
    }
    const double monotonic = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double drift = clock.seconds() - monotonic;

    std::sort(lateMs.begin(), lateMs.end());
    auto at
        = [&](double q) { return lateMs[std::min(lateMs.size() - 1, size_t(q * double(lateMs.size())))]; };
    scoretool::out(QStringLiteral("deadlines %1 over %2 s, 10 ms apart").arg(deadlines).arg(seconds));
    scoretool::out(QStringLiteral("wake lateness ms: median %1  p99 %2  max %3")
                       .arg(at(0.5), 0, 'f', 3)
                       .arg(at(0.99), 0, 'f', 3)
                       .arg(lateMs.back(), 0, 'f', 3));
    scoretool::out(
        QStringLiteral("drift of PlayClock against the monotonic clock: %1 ms").arg(drift * 1000, 0, 'f', 3));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("clock-jitter", "[--seconds 60]  (wake lateness and drift of the play clock)", clockJitter);
