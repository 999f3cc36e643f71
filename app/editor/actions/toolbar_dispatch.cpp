#include "app/editor/actions/toolbar_dispatch.h"

#include "app/editor/actions/toolbar_table.h"

namespace tunvale::editor {

void ToolbarDispatch::clickButton(int index)
{
    if (brushIntercepts(index))
        return;
    if (const auto command = ButtonCommand(index))
        run(*command);
}

void ToolbarDispatch::clickMenuItem(const QString& text)
{
    if (const auto command = DropDownCommand(text))
        run(*command);
}

// While a format brush is on, the pitch and duration buttons choose the brush's value instead of
// running their commands.
bool ToolbarDispatch::brushIntercepts(int index)
{
    if (!InPitchGroup(index) && !InDurationGroup(index))
        return false;
    const bool pitch = host_.pitchBrushOn();
    if (!pitch && !host_.durationBrushOn())
        return false;
    for (int i = 22; i <= 33; ++i) {
        if (InPitchGroup(i) || InDurationGroup(i))
            host_.setButtonValue(i, 0);
    }
    if (pitch ? InPitchGroup(index) : InDurationGroup(index))
        host_.setButtonValue(index, 1);
    host_.refreshToolbar();
    return true;
}

void ToolbarDispatch::run(const ToolbarCommand& command)
{
    if (command.busy)
        state_.NotationCmdBusy = true;
    commands_.run(command.command, command.argument);
    if (command.busy)
        state_.NotationCmdBusy = false;
}

} // namespace tunvale::editor
