#include "hint_balloon.h"

#include "components/hintballoon/color_value.h"
#include "components/hintballoon/tip_window.h"

#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tunvale::hintballoon {

namespace {

constexpr int kTitleLength = 80;

std::optional<int> delayValue(const std::optional<QVariant>& value)
{
    if (!value)
        return std::nullopt;
    bool ok = false;
    const double number = value->toDouble(&ok);
    if (!ok || !std::isfinite(number) || value->typeId() == QMetaType::Bool)
        return std::nullopt;
    return static_cast<int>(std::clamp(number, -1.0, 2147483647.0));
}

// A caller's enum value when it is one of the type's own; nothing for any other number.
std::optional<TooltipIcon> validIcon(TooltipIcon icon)
{
    return icon >= ttiNone && icon <= ttiError ? std::optional(icon) : std::nullopt;
}

std::optional<BalloonShowMode> validShowMode(BalloonShowMode mode)
{
    constexpr int kAllFlags
        = ttsmLeftToRight | ttsmRightToLeft | ttsmTopToBottom | ttsmBottomToTop | ttsmCenter;
    return (mode & ~kAllFlags) == 0 ? std::optional(mode) : std::nullopt;
}

std::optional<TooltipAlignment> validAlignment(TooltipAlignment alignment)
{
    return alignment >= ttaLeft && alignment <= ttaRight ? std::optional(alignment) : std::nullopt;
}

int margin(int pixels) { return std::clamp(pixels, 0, kMaxHintMargin); }

int wrapWidth(int pixels) { return std::clamp(pixels, 0, kMaxHintWidth); }

} // namespace

ClsHintballoon::ClsHintballoon()
    : tips_(&TipWindow::acquire())
{
}

ClsHintballoon::~ClsHintballoon()
{
    tips_->forgetOwner(this);
    TipWindow::release();
}

std::unique_ptr<ClsHintballoon> CreateHintballoon() { return std::make_unique<ClsHintballoon>(); }

ToolRecord* ClsHintballoon::find(const QWidget* widget)
{
    const auto found = std::find_if(
        tools_.begin(), tools_.end(), [widget](const ToolRecord& t) { return widget && t.tool == widget; });
    return found == tools_.end() ? nullptr : &*found;
}

const ToolRecord* ClsHintballoon::tool(const QWidget* widget) const
{
    return const_cast<ClsHintballoon*>(this)->find(widget);
}

int ClsHintballoon::toolCount() const
{
    return static_cast<int>(
        std::count_if(tools_.begin(), tools_.end(), [](const ToolRecord& t) { return t.tool; }));
}

bool ClsHintballoon::AddTool(const BalloonTool& tool)
{
    if (!tool.tool)
        return false;
    const QPalette colours = QToolTip::palette();
    const auto colour = [&colours](const std::optional<QVariant>& value, qint64 omitted) {
        return ColorFromValue(value.value_or(QVariant(omitted)), colours).value_or(QColor(Qt::black));
    };
    ToolRecord record;
    record.tool = tool.tool;
    record.text = tool.text;
    record.centered = tool.centered;
    HintLook& look = record.look;
    look.balloon = tool.balloon;
    look.foreColor = colour(tool.foreColor, kInfoTextColor);
    look.backColor = colour(tool.backColor, kInfoBackColor);
    look.title = tool.title.left(kTitleLength);
    look.icon = validIcon(tool.icon).value_or(ttiNone);
    look.showMode = validShowMode(tool.showMode).value_or(ttsmDefault);
    look.margin = margin(tool.margin);
    look.transparent = tool.transparent;
    look.alignment = validAlignment(tool.alignment).value_or(ttaLeft);
    look.width = wrapWidth(tool.width);
    if (ToolRecord* existing = find(tool.tool))
        *existing = record;
    else
        tools_.push_back(record);
    tips_->watch(tool.tool, this);
    return true;
}

bool ClsHintballoon::SetDelayTimes(const std::optional<QVariant>& Show,
    const std::optional<QVariant>& AutoHide, const std::optional<QVariant>& ReShow)
{
    const HintDelays automatic;
    if (!Show && !AutoHide && !ReShow) {
        tips_->setDelays(automatic);
        return true;
    }
    const std::optional<int> show = delayValue(Show), autoHide = delayValue(AutoHide),
                             reShow = delayValue(ReShow);
    if ((Show && !show) || (AutoHide && !autoHide) || (ReShow && !reShow))
        return false;
    // A negative delay takes its automatic value.
    const auto chosen = [](std::optional<int> given, int current, int fallback) {
        return !given ? current : (*given < 0 ? fallback : *given);
    };
    HintDelays delays = tips_->delays();
    delays.show = chosen(show, delays.show, automatic.show);
    delays.autoHide = chosen(autoHide, delays.autoHide, automatic.autoHide);
    delays.reShow = chosen(reShow, delays.reShow, automatic.reShow);
    tips_->setDelays(delays);
    return true;
}

bool ClsHintballoon::UpdateTool(QWidget* widget, const BalloonToolUpdate& update)
{
    ToolRecord* record = find(widget);
    if (!record)
        return false;
    if (update.text)
        record->text = update.text->isEmpty() ? std::nullopt : update.text;
    const QPalette colours = QToolTip::palette();
    HintLook& look = record->look;
    if (update.foreColor)
        look.foreColor = ColorFromValue(*update.foreColor, colours).value_or(look.foreColor);
    if (update.backColor)
        look.backColor = ColorFromValue(*update.backColor, colours).value_or(look.backColor);
    look.balloon = update.balloon.value_or(look.balloon);
    if (update.title)
        look.title = update.title->left(kTitleLength);
    if (update.icon)
        look.icon = validIcon(*update.icon).value_or(look.icon);
    if (update.showMode)
        look.showMode = validShowMode(*update.showMode).value_or(look.showMode);
    if (update.margin)
        look.margin = margin(*update.margin);
    record->centered = update.centered.value_or(record->centered);
    if (update.alignment)
        look.alignment = validAlignment(*update.alignment).value_or(look.alignment);
    if (update.width)
        look.width = wrapWidth(*update.width);
    if (record->shown)
        tips_->refresh(widget);
    return true;
}

void ClsHintballoon::RemoveTool(QWidget* widget)
{
    ToolRecord* record = find(widget);
    if (!record)
        return;
    record->shown = false;
    tips_->unwatch(widget, this);
}

} // namespace tunvale::hintballoon
