#pragma once

class QAction;

// Commands arrive issue by issue. An action whose command is not built yet shows its caption and
// shortcut but stays disabled whatever a handler or CtrlEnabled sets; once built it takes the state it
// was designed with and follows what is set on it.
namespace tunvale::editor {

// Puts the action under the gate, not built, remembering `designEnabled` for when it is built.
void GuardUnbuilt(QAction* action, bool designEnabled = true);

// Opens the gate: the action takes its designed enabled state.
void MarkBuilt(QAction* action);

bool IsBuilt(const QAction* action);

} // namespace tunvale::editor
