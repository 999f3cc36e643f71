#pragma once

#include "app/editor/editing/font_limit.h"
#include "app/editor/editing/font_scaling.h"
#include "app/editor/editing/format_brush.h"
#include "app/editor/parts/main_form_part.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace tunvale::dialogs {
class FontSetDialog;
}

// The main window's format brush and font scaling: the brush items of the tools menu with their
// toolbar groups, pointer and status texts, and the font-size dialog with its repeat (Ctrl+D).
namespace tunvale::editor {

// Said when a size is refused: one the editor does not take, or one that would make the score too tall
// to show.
inline const QString kSizeRefused = QStringLiteral("字号设置过大或过小！");
// What a font change the window could not show says.
const QString& FontChangeRefusal(platform::Unshowable why);

class MainFormFonts : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormFonts(MainForm& form);

    // Brush menu item `index`: 0 the pitch brush on or off, 1 the duration brush on or off, 2 off.
    void useBrushMenu(int index);
    BrushKind brush() const { return brush_.kind(); }
    // Gives the selection the value of the brush that is on: the command of its pressed button.
    void applyBrush();

    // "缩放字号...": the font-size dialog, then its answer on the selection.
    void scaleSelection();
    // "承前缩放": the last answer the dialog accepted, on the selection, without the dialog.
    void repeatScaling();
    // Characters nBegin to nEnd (both included) each from its own size, by a factor or by a step in
    // points; then they are selected. A size the editor refuses stops the scaling at that character,
    // says so and leaves the caret there; sizes that would make the score too tall to show change
    // nothing.
    void scaleRangeByRatio(double ratio, int nBegin, int nEnd);
    void scaleRangeByStep(double step, int nBegin, int nEnd);
    // SetScoreFontScale on the selection, as one undo step; points outside its range are refused with
    // the size message and change nothing.
    void raiseSelection(double points);

    // Puts the screen pointer at a point (nothing on Wayland); tests record instead.
    void setPointerMover(std::function<void(const QPoint&)> mover) { movePointer_ = std::move(mover); }
    // Runs the font-size dialog modally; tests and the test tool answer it from a script.
    void setFontSetRunner(std::function<void(dialogs::FontSetDialog&)> runner)
    {
        runFontSet_ = std::move(runner);
    }

private:
    void resetGroup(BrushKind kind, const BrushChange& change);
    void applyResults();
    void scaleRange(const FontScaling& scaling, int nBegin, int nEnd);
    void setSelectionSize(double size);

    FormatBrush brush_;
    std::function<void(const QPoint&)> movePointer_;
    std::function<void(dialogs::FontSetDialog&)> runFontSet_;
};

} // namespace tunvale::editor
