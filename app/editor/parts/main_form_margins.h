#pragma once

#include "app/editor/parts/main_form_part.h"

// The margin ruler's events on the main window: a margin gesture (a drag, clicks or held keys on the
// ruler's scale) re-lays every paragraph when it ends, as one undo step that carries the margins; each
// step of the line-spacing spinner spaces the chosen lines as one undo step; the corner menu's help
// entry opens the page on margins and line spacing.
namespace tunvale::editor {

class MainFormMargins final : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormMargins(MainForm& form);

    // A margin gesture starts: what was typed before it becomes a step of its own, and the margins as
    // they are now are the step's margins before. A start while a gesture is open (a held key repeats)
    // changes nothing.
    void beginMarginGesture();
    // The ruler moved a pin: the score's margins follow, and the score is modified when one changed.
    void changeMargins(int left, int right);
    // The gesture ends: every paragraph takes the new indents as one undo step. A second end does
    // nothing.
    void endMarginGesture();
    bool marginGestureOpen() const { return gestureOpen_; }
    // A spinner step: kind 0 spaces the notation lines, 1 the other lines, 2 the caret's line; any other
    // kind changes nothing.
    void spaceLines(int kind, int spacing);
    void showMarginHelp();

private:
    bool gestureOpen_ = false;
};

} // namespace tunvale::editor
