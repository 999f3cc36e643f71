#include "app/playback/gui_message.h"

#include <QCoreApplication>

namespace tunvale::playback {

void postMessage(platform::PromptRequest request)
{
    auto show = [request = std::move(request)] { platform::Prompts::current().ask(request); };
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, show, Qt::QueuedConnection);
    else
        show();
}

} // namespace tunvale::playback
