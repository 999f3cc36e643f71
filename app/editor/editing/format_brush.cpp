#include "app/editor/editing/format_brush.h"

namespace tunvale::editor {

BrushChange FormatBrush::use(int index)
{
    BrushChange change { kind_, kind_ };
    switch (index) {
    case 0:
        change.after = kind_ == BrushKind::Pitch ? BrushKind::None : BrushKind::Pitch;
        break;
    case 1:
        change.after = kind_ == BrushKind::Duration ? BrushKind::None : BrushKind::Duration;
        break;
    case 2:
        change.after = BrushKind::None;
        break;
    default:
        break;
    }
    kind_ = change.after;
    return change;
}

QString FormatBrush::stateText(BrushKind kind)
{
    switch (kind) {
    case BrushKind::Pitch:
        return QStringLiteral("音高格式刷打开");
    case BrushKind::Duration:
        return QStringLiteral("音长格式刷打开");
    case BrushKind::None:
        break;
    }
    return QStringLiteral("音长/音高格式刷关闭");
}

QString FormatBrush::hintText()
{
    return QStringLiteral("先按音高或音长格式按钮，后选中音符，逐类进行格式化。");
}

} // namespace tunvale::editor
