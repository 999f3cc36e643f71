#include "app/playback/thread_control.h"

#include "tests/support/scripted_prompts.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace tunvale;
using playback::mThreadControl;
using playback::ThreadPass;

namespace {

TEST(ThreadControlTest, ASuspendedHandlerMakesNoPassUntilResumed)
{
    std::atomic<int> passes { 0 };
    std::atomic<int> mode { -1 };
    mThreadControl control;
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
    mThreadControl control;
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
    mThreadControl control;
    control.CreateThread(0, [](int, ThreadPass&) {});
    control.SuspendThread();
    control.StopThread();
    EXPECT_FALSE(control.running());
}

TEST(ThreadControlTest, AnEscapingExceptionIsReportedOnceOnTheGuiThread)
{
    tunvale::testing::ScopedPrompts prompts;
    mThreadControl control;
    control.CreateThread(0, [](int, ThreadPass&) { throw std::runtime_error("event table damaged"); });
    control.StopThread();
    EXPECT_TRUE(prompts->shown.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("播放线程出错：event table damaged") });
}

} // namespace
