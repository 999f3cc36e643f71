#pragma once

#include <QString>

// The format brush: the pitch brush or the duration brush is on, or neither. While one is on, the
// pressed button of its toolbar group is the value that each left release in the editor gives the
// selected notes; switching a brush on or off starts that group afresh with no button pressed.
namespace tunvale::editor {

enum class BrushKind { None, Pitch, Duration };

// One use of the brush menu.
struct BrushChange {
    BrushKind before = BrushKind::None;
    BrushKind after = BrushKind::None;

    // The group of `kind` starts afresh: its brush went on or off.
    bool resets(BrushKind kind) const { return kind != BrushKind::None && (before == kind || after == kind); }
    // The brush that came on; None when none did.
    BrushKind switchedOn() const { return after != before ? after : BrushKind::None; }
};

class FormatBrush
{
public:
    BrushKind kind() const { return kind_; }

    // Menu item `index`: 0 the pitch brush on or off, 1 the duration brush on or off (either switches
    // the other one off), 2 whichever is on off. Any other index changes nothing.
    BrushChange use(int index);

    // What the status bar says of the brush after a use of the menu.
    static QString stateText(BrushKind kind);
    // The hint that every use of the menu shows.
    static QString hintText();

private:
    BrushKind kind_ = BrushKind::None;
};

} // namespace tunvale::editor
