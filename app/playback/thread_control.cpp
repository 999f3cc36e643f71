#include "app/playback/thread_control.h"

#include "app/playback/gui_message.h"

#include <exception>

namespace tunvale::playback {

bool ThreadPass::PassGate() { return control_.passGate(*this); }

ThreadControl::~ThreadControl() { StopThread(); }

void ThreadControl::CreateThread(int mode, RunThread handler)
{
    StopThread();
    std::lock_guard join(joinMutex_);
    std::lock_guard lock(mutex_);
    gateOpen_ = true;
    atGate_ = false;
    stopping_ = false;
    interruption_ = std::stop_source();
    running_ = true;
    // Under the lock: the new thread takes it before anything else, so a handler that suspends its
    // own control already finds its id.
    thread_ = std::thread([this, mode, handler = std::move(handler)] { run(mode, handler); });
    threadId_ = thread_.get_id();
}

void ThreadControl::run(int mode, const RunThread& handler)
{
    ThreadPass pass(*this);
    {
        std::lock_guard lock(mutex_);
        pass.interruption_ = interruption_.get_token();
    }
    QString failure;
    try {
        handler(mode, pass);
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("未知错误");
    }
    if (!failure.isNull())
        postMessage(platform::PromptRequest { QStringLiteral("播放线程出错：") + failure });
    std::lock_guard lock(mutex_);
    running_ = false;
    changed_.notify_all();
}

bool ThreadControl::passGate(ThreadPass& pass)
{
    std::unique_lock lock(mutex_);
    atGate_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return gateOpen_ || stopping_; });
    atGate_ = false;
    pass.interruption_ = interruption_.get_token();
    return !stopping_;
}

void ThreadControl::SuspendThread()
{
    std::unique_lock lock(mutex_);
    gateOpen_ = false;
    interruption_.request_stop();
    // The thread itself cannot wait for its own arrival at the gate.
    if (threadId_ == std::this_thread::get_id())
        return;
    changed_.wait(lock, [this] { return atGate_ || !running_; });
}

void ThreadControl::ResumeThread()
{
    std::lock_guard lock(mutex_);
    if (gateOpen_ || stopping_)
        return;
    interruption_ = std::stop_source();
    gateOpen_ = true;
    changed_.notify_all();
}

void ThreadControl::StopThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        interruption_.request_stop();
        changed_.notify_all();
        // The thread itself cannot join itself; whoever stops or recreates it later does.
        if (threadId_ == std::this_thread::get_id())
            return;
    }
    // The sending thread may stop another control while the GUI thread stops it too: one joins, the
    // other waits for that.
    std::lock_guard join(joinMutex_);
    if (thread_.joinable())
        thread_.join();
}

} // namespace tunvale::playback
