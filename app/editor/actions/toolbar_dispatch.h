#pragma once

#include "app/editor/actions/command_table.h"
#include "app/editor/actions/toolbar_table.h"
#include "app/editor/editing/editor_state.h"

#include <QString>

// The two toolbar handlers: a click on a button and a click on a drop-down item, both dispatched
// through the toolbar table.
namespace tunvale::editor {

// What the dispatch needs of the window beyond the commands.
class ToolbarHost
{
public:
    virtual ~ToolbarHost() = default;
    virtual bool pitchBrushOn() const = 0; // FormatTool(0) checked
    virtual bool durationBrushOn() const = 0; // FormatTool(1) checked
    virtual void setButtonValue(int index, int value) = 0; // 1 pressed, 0 not
    virtual void refreshToolbar() = 0;
};

class ToolbarDispatch
{
public:
    ToolbarDispatch(EditorState& state, const CommandTable& commands, ToolbarHost& host)
        : state_(state)
        , commands_(commands)
        , host_(host)
    {
    }

    void clickButton(int index);
    void clickMenuItem(const QString& text);

private:
    bool brushIntercepts(int index);
    void run(const ToolbarCommand& command);

    EditorState& state_;
    const CommandTable& commands_;
    ToolbarHost& host_;
};

} // namespace tunvale::editor
