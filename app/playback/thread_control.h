#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace tunvale::playback {

class ThreadControl;

// What a worker's handler sees of its thread control.
class ThreadPass
{
public:
    // Called between two passes of the handler's loop: waits while the thread is suspended and
    // returns false once the thread is to stop.
    bool PassGate();
    // Requested when the thread is suspended or stopped, so that a wait on the play clock gives way
    // and the handler comes back to its gate. Valid from one PassGate to the next.
    std::stop_token interruption() const { return interruption_; }

private:
    friend class ThreadControl;
    explicit ThreadPass(ThreadControl& control)
        : control_(control)
    {
    }

    ThreadControl& control_;
    std::stop_token interruption_;
};

// A worker thread of the main window: it runs a handler with the play mode, can be held at the
// handler's gate and let go again, and is stopped and joined rather than left behind.
class ThreadControl
{
public:
    using RunThread = std::function<void(int mode, ThreadPass& pass)>;

    ThreadControl() = default;
    ~ThreadControl();
    ThreadControl(const ThreadControl&) = delete;
    ThreadControl& operator=(const ThreadControl&) = delete;

    // Starts `handler` on a new thread; a thread still running is stopped first. An exception that
    // escapes the handler is shown to the user from the GUI thread.
    void CreateThread(int mode, RunThread handler);
    // Closes the gate and returns once the thread waits there or has ended (at once when the thread
    // suspends itself).
    void SuspendThread();
    void ResumeThread();
    // Asks the thread to stop, wakes every wait of it and joins it. Any thread may call it, the worker
    // itself included: its own thread is then joined by the next stop or start.
    void StopThread();
    // True from CreateThread until the handler has returned.
    bool running() const { return running_.load(); }

private:
    friend class ThreadPass;
    void run(int mode, const RunThread& handler);
    bool passGate(ThreadPass& pass);

    // Taken before mutex_ where both are held.
    std::mutex joinMutex_;
    std::thread thread_;
    std::atomic<bool> running_ { false };
    std::mutex mutex_;
    std::thread::id threadId_;
    std::condition_variable changed_;
    bool gateOpen_ = true;
    bool atGate_ = false;
    bool stopping_ = false;
    std::stop_source interruption_;
};
using mThreadControl = ThreadControl;

} // namespace tunvale::playback
