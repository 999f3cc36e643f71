#include "app/playback/gui_message.h"

#include <QCoreApplication>

#include <deque>
#include <mutex>
#include <optional>

namespace tunvale::playback {

namespace {

// The messages on their way to the GUI thread. They go through a queue of their own, under a lock the
// thread sanitizer sees, rather than inside the posted call: the lock of Qt's event queue is not one it
// sees, so a message read on the GUI thread would look to it like a race with the thread that wrote it.
struct PendingMessages {
    std::mutex lock;
    std::deque<platform::PromptRequest> requests;

    void push(platform::PromptRequest request)
    {
        const std::lock_guard guard(lock);
        requests.push_back(std::move(request));
    }
    std::optional<platform::PromptRequest> pop()
    {
        const std::lock_guard guard(lock);
        if (requests.empty())
            return std::nullopt;
        platform::PromptRequest request = std::move(requests.front());
        requests.pop_front();
        return request;
    }
};

PendingMessages& pendingMessages()
{
    static PendingMessages pending;
    return pending;
}

} // namespace

void postMessage(platform::PromptRequest request)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        platform::Prompts::current().ask(request);
        return;
    }
    pendingMessages().push(std::move(request));
    QMetaObject::invokeMethod(
        app,
        [] {
            if (const std::optional<platform::PromptRequest> next = pendingMessages().pop())
                platform::Prompts::current().ask(*next);
        },
        Qt::QueuedConnection);
}

} // namespace tunvale::playback
