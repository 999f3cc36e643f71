#include "app/editor/actions/build_gate.h"

#include <QAction>

namespace tunvale::editor {

namespace {
constexpr const char* kBuilt = "tunvaleBuilt";
constexpr const char* kDesignEnabled = "tunvaleDesignEnabled";
} // namespace

void GuardUnbuilt(QAction* action, bool designEnabled)
{
    action->setProperty(kBuilt, false);
    action->setProperty(kDesignEnabled, designEnabled);
    action->setEnabled(false);
    QObject::connect(action, &QAction::changed, action, [action] {
        if (action->isEnabled() && !IsBuilt(action))
            action->setEnabled(false);
    });
}

void MarkBuilt(QAction* action)
{
    if (IsBuilt(action))
        return;
    action->setProperty(kBuilt, true);
    const QVariant designEnabled = action->property(kDesignEnabled);
    action->setEnabled(!designEnabled.isValid() || designEnabled.toBool());
}

bool IsBuilt(const QAction* action)
{
    const QVariant built = action->property(kBuilt);
    return !built.isValid() || built.toBool();
}

} // namespace tunvale::editor
