#include "app/editor/editing/input_method_filter.h"

#include "app/editor/editing/notation_keys.h"
#include "platform/desktop/prompts.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>

namespace tunvale::editor {

InputMethodFilter::InputMethodFilter(std::function<bool()> onNotationLine, QObject* parent)
    : QObject(parent)
    , onNotationLine_(std::move(onNotationLine))
{
}

bool InputMethodFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::InputMethod)
        return QObject::eventFilter(watched, event);
    const auto* input = static_cast<QInputMethodEvent*>(event);
    if ((input->preeditString().isEmpty() && input->commitString().isEmpty()) || !onNotationLine_())
        return false;
    // The composition ends here: nothing of it reaches the score.
    QGuiApplication::inputMethod()->reset();
    platform::Prompts::current().information(kInputMethodMessage);
    return true;
}

} // namespace tunvale::editor
