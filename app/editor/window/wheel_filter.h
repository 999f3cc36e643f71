#pragma once

class QWidget;

// Makes the mouse wheel over one widget always scroll it vertically: Shift, Ctrl and Alt are taken off
// wheel events, so the wheel never zooms or scrolls sideways. One widget at a time is hooked.
namespace tunvale::editor {

// Hooks `widget` (a scroll area's viewport), unhooking any other first; nullptr does nothing.
void HookWheel(QWidget* widget);
void UnhookWheel();
// The widget hooked now; nullptr for none.
QWidget* HookedWheelWidget();

} // namespace tunvale::editor
