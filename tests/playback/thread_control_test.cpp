#include "app/playback/thread_control.h"

#include "tests/support/scripted_prompts.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace tunvale;
using playback::ThreadControl;
using playback::ThreadPass;

namespace {

TEST(ThreadControlTest, ASuspendedHandlerMakesNoPassUntilResumed)
{
    std::atomic<int> passes { 0 };
    std::atomic<int> mode { -1 };
    ThreadControl control;
    control.CreateThread(7, [&](int m, ThreadPass& pass) {
        mode = m;
        while (pass.PassGate())
            ++passes;
    });
    while (passes < 10)
        std::this_thread::yield();
    EXPECT_TRUE(control.running());

    control.SuspendThread();
    const int held = passes;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(passes, held);

    control.ResumeThread();
    while (passes < held + 10)
        std::this_thread::yield();
    control.StopThread();
    EXPECT_EQ(mode, 7);
    EXPECT_FALSE(control.running());
}

TEST(ThreadControlTest, SuspendingInterruptsAWaitAndReturnsOnceTheThreadIsHeld)
{
    std::atomic<int> waits { 0 };
    std::atomic<int> interrupted { 0 };
    ThreadControl control;
    control.CreateThread(0, [&](int, ThreadPass& pass) {
        while (pass.PassGate()) {
            ++waits;
            std::mutex m;
            std::condition_variable_any cv;
            std::unique_lock lock(m);
            if (!cv.wait(lock, pass.interruption(), [] { return false; }))
                ++interrupted;
        }
    });
    while (waits < 1)
        std::this_thread::yield();
    control.SuspendThread();
    EXPECT_EQ(interrupted, 1);
    control.ResumeThread();
    while (waits < 2)
        std::this_thread::yield();
    control.SuspendThread();
    EXPECT_EQ(interrupted, 2);
    control.StopThread();
}

TEST(ThreadControlTest, SuspendingAnEndedThreadReturnsAtOnce)
{
    ThreadControl control;
    control.CreateThread(0, [](int, ThreadPass&) {});
    control.SuspendThread();
    control.StopThread();
    EXPECT_FALSE(control.running());
}

// The sending thread stops the play itself at the end of a piece, so it suspends its own control; the
// GUI thread may do the same at once.
TEST(ThreadControlTest, AHandlerThatSuspendsItsOwnThreadIsHeldAtItsNextGate)
{
    for (int run = 0; run < 50; ++run) {
        std::atomic<int> passes { 0 };
        std::atomic<bool> suspendedItself { false };
        ThreadControl control;
        control.CreateThread(0, [&](int, ThreadPass& pass) {
            control.SuspendThread();
            suspendedItself = true;
            while (pass.PassGate())
                ++passes;
        });
        control.SuspendThread();
        EXPECT_TRUE(suspendedItself) << run;
        EXPECT_EQ(passes, 0) << run;
        control.ResumeThread();
        while (passes < 1)
            std::this_thread::yield();
        control.StopThread();
    }
}

// At the end of a piece the sending thread stops the highlighting thread while the user may press stop.
TEST(ThreadControlTest, TwoThreadsMayStopTheSameControlAtOnce)
{
    for (int run = 0; run < 50; ++run) {
        ThreadControl other;
        other.CreateThread(0, [](int, ThreadPass& pass) {
            while (pass.PassGate())
                std::this_thread::yield();
        });
        ThreadControl sender;
        sender.CreateThread(0, [&](int, ThreadPass&) { other.StopThread(); });
        other.StopThread();
        sender.StopThread();
        EXPECT_FALSE(other.running()) << run;
    }
}

TEST(ThreadControlTest, AnEscapingExceptionIsReportedOnceOnTheGuiThread)
{
    tunvale::testing::ScopedPrompts prompts;
    ThreadControl control;
    control.CreateThread(0, [](int, ThreadPass&) { throw std::runtime_error("event table damaged"); });
    control.StopThread();
    EXPECT_TRUE(prompts->shown.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("播放线程出错：event table damaged") });
}

} // namespace
