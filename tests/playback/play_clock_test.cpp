#include "app/playback/play_clock.h"

#include "app/playback/thread_control.h"
#include "tests/playback/fake_time.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace tunvale;
using playback::PlayClock;

namespace {

class PlayClockTest : public ::testing::Test
{
protected:
    tunvale::testing::FakeTime time_;
    PlayClock clock_ { time_ };
};

TEST_F(PlayClockTest, CountsOnlyWhileRunningAndResetsToZero)
{
    const struct {
        const char* step;
        std::function<void(PlayClock&)> action;
        double advance;
        double expected;
    } steps[] = {
        { "stopped at first", [](PlayClock&) {}, 3.0, 0.0 },
        { "start +1", [](PlayClock& c) { c.StartClock(); }, 1.0, 1.0 },
        { "stop +5", [](PlayClock& c) { c.StopClock(); }, 5.0, 1.0 },
        { "start +0.5", [](PlayClock& c) { c.StartClock(); }, 0.5, 1.5 },
        { "second start +1", [](PlayClock& c) { c.StartClock(); }, 1.0, 2.5 },
        { "reset while running +0.25", [](PlayClock& c) { c.ResetClock(); }, 0.25, 0.25 },
        { "stop twice", [](PlayClock& c) { c.StopClock(), c.StopClock(); }, 2.0, 0.25 },
        { "reset while stopped", [](PlayClock& c) { c.ResetClock(); }, 1.0, 0.0 },
        { "start after reset +0.75", [](PlayClock& c) { c.StartClock(); }, 0.75, 0.75 },
    };
    for (const auto& s : steps) {
        s.action(clock_);
        time_.advanceSeconds(s.advance);
        EXPECT_DOUBLE_EQ(clock_.seconds(), s.expected) << s.step;
    }
}

TEST_F(PlayClockTest, AWaitWakesWhenTheClockPassesItsTime)
{
    std::stop_source never;
    clock_.StartClock();
    auto woke = std::async(std::launch::async, [&] { return clock_.WaitUntil(2.0, never.get_token()); });
    time_.advanceSeconds(1.0);
    clock_.StopClock();
    time_.advanceSeconds(5.0);
    clock_.StartClock();
    time_.advanceSeconds(0.999);
    EXPECT_EQ(woke.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    time_.advanceSeconds(0.002);
    ASSERT_EQ(woke.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(woke.get());
    EXPECT_GE(clock_.seconds(), 2.0);
}

TEST_F(PlayClockTest, AResetMovesTheDeadlineBack)
{
    std::stop_source never;
    clock_.StartClock();
    time_.advanceSeconds(1.5);
    auto woke = std::async(std::launch::async, [&] { return clock_.WaitUntil(2.0, never.get_token()); });
    clock_.ResetClock();
    time_.advanceSeconds(1.0);
    EXPECT_EQ(woke.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    time_.advanceSeconds(1.0);
    ASSERT_EQ(woke.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(woke.get());
}

TEST_F(PlayClockTest, StoppingTheWaitingThreadWakesItAtOnce)
{
    std::promise<bool> reached;
    playback::ThreadControl control;
    control.CreateThread(0, [&](int, playback::ThreadPass& pass) {
        pass.PassGate();
        reached.set_value(clock_.WaitUntil(10.0, pass.interruption()));
    });
    auto result = reached.get_future();
    EXPECT_EQ(result.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    control.StopThread();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_FALSE(result.get());
    EXPECT_FALSE(control.running());
}

TEST(SystemPlayClockTest, FollowsTheMonotonicClock)
{
    PlayClock clock;
    const auto start = std::chrono::steady_clock::now();
    clock.StartClock();
    std::stop_source never;
    ASSERT_TRUE(clock.WaitUntil(0.05, never.get_token()));
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(clock.seconds(), 0.05);
    EXPECT_GE(waited, 0.05);
}

} // namespace
