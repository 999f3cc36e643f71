#include "app/editor/window/wheel_filter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

namespace tunvale::editor {

namespace {

class WheelFilter final : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        constexpr Qt::KeyboardModifiers kTaken = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        if (!(wheel->modifiers() & kTaken))
            return false;
        // Alt turns a vertical turn into a horizontal one on some platforms: take the larger turn.
        const QPoint turn = wheel->angleDelta();
        const int steps = std::abs(turn.y()) >= std::abs(turn.x()) ? turn.y() : turn.x();
        const QPoint pixels = wheel->pixelDelta();
        const int pixelSteps = std::abs(pixels.y()) >= std::abs(pixels.x()) ? pixels.y() : pixels.x();
        QWheelEvent plain(wheel->position(), wheel->globalPosition(), QPoint(0, pixelSteps), QPoint(0, steps),
            wheel->buttons(), wheel->modifiers() & ~kTaken, wheel->phase(), wheel->inverted(),
            wheel->source());
        QCoreApplication::sendEvent(watched, &plain);
        return true;
    }
};

struct Hook {
    QPointer<QWidget> widget;
    WheelFilter filter;
};

Hook& hook()
{
    static Hook instance;
    return instance;
}

} // namespace

void HookWheel(QWidget* widget)
{
    if (!widget)
        return;
    UnhookWheel();
    hook().widget = widget;
    widget->installEventFilter(&hook().filter);
}

void UnhookWheel()
{
    if (hook().widget)
        hook().widget->removeEventFilter(&hook().filter);
    hook().widget = nullptr;
}

QWidget* HookedWheelWidget() { return hook().widget; }

} // namespace tunvale::editor
