#include "hint_balloon.h"

#include <algorithm>

namespace tunvale::hintballoon {

std::unique_ptr<ClsHintballoon> CreateHintballoon() { return std::make_unique<ClsHintballoon>(); }

BalloonTool* ClsHintballoon::find(QWidget* widget)
{
    const auto found = std::find_if(
        tools_.begin(), tools_.end(), [widget](const BalloonTool& t) { return t.tool == widget; });
    return found == tools_.end() ? nullptr : &*found;
}

const BalloonTool* ClsHintballoon::tool(QWidget* widget) const
{
    return const_cast<ClsHintballoon*>(this)->find(widget);
}

int ClsHintballoon::toolCount() const
{
    return static_cast<int>(
        std::count_if(tools_.begin(), tools_.end(), [](const BalloonTool& t) { return t.tool; }));
}

bool ClsHintballoon::AddTool(const BalloonTool& tool)
{
    if (!tool.tool)
        return false;
    if (BalloonTool* existing = find(tool.tool))
        *existing = tool;
    else
        tools_.push_back(tool);
    return true;
}

bool ClsHintballoon::UpdateTool(QWidget* widget, const BalloonToolUpdate& update)
{
    BalloonTool* tool = widget ? find(widget) : nullptr;
    if (!tool)
        return false;
    if (update.text)
        tool->text = update.text;
    tool->foreColor = update.foreColor.value_or(tool->foreColor);
    tool->backColor = update.backColor.value_or(tool->backColor);
    tool->balloon = update.balloon.value_or(tool->balloon);
    tool->title = update.title.value_or(tool->title);
    tool->icon = update.icon.value_or(tool->icon);
    tool->showMode = update.showMode.value_or(tool->showMode);
    tool->margin = update.margin.value_or(tool->margin);
    tool->centered = update.centered.value_or(tool->centered);
    tool->alignment = update.alignment.value_or(tool->alignment);
    tool->width = update.width.value_or(tool->width);
    return true;
}

} // namespace tunvale::hintballoon
