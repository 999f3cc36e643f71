#pragma once

#include "app/editor/parts/main_form_part.h"
#include "platform/richtext/text_height.h"

#include <QString>

// The margin ruler's events on the main window: a margin gesture (a drag, clicks or held keys on the
// ruler's scale) re-lays every paragraph when it ends, as one undo step that carries the margins; each
// step of the line-spacing spinner spaces the chosen lines as one undo step; the corner menu's help
// entry opens the page on margins and line spacing.
namespace tunvale::editor {

// Said when a margin gesture would leave the lines so narrow that the score stands too tall to show.
inline const QString kMarginsRefused
    = QStringLiteral("页边距太宽，乐谱排开后的高度将超过 %1 像素，无法显示。页边距没有改变。")
          .arg(qint64(platform::kMaxTextHeight));

// Said when a line spacing would make the score too tall to show.
inline const QString kSpacingRefused
    = QStringLiteral("行距太大，乐谱排开后的高度将超过 %1 像素，无法显示。行距没有改变。")
          .arg(qint64(platform::kMaxTextHeight));

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
    // The gesture ends: every paragraph takes the new indents as one undo step. Margins that would
    // leave the score too tall to show are refused with a message: the margins, the ruler and the saved
    // flag go back to what they were when the gesture began. A second end does nothing.
    void endMarginGesture();
    bool marginGestureOpen() const { return gestureOpen_; }
    // A spinner step: kind 0 spaces the notation lines, 1 the other lines, 2 the caret's line; any other
    // kind changes nothing, nor does a spacing that would make the score too tall to show (a message
    // says so).
    void spaceLines(int kind, int spacing);
    void showMarginHelp();

private:
    bool leavesScoreTooTall() const;

    struct Margins {
        int left = 0;
        int right = 0;
        bool saved = true;
    };
    bool gestureOpen_ = false;
    Margins before_; // as the open gesture found them
};

} // namespace tunvale::editor
