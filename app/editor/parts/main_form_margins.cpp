#include "app/editor/parts/main_form_margins.h"

#include "app/editor/editing/line_spacing.h"
#include "app/editor/editing/paragraph_indents.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/desktop/help_window.h"
#include "platform/richtext/rich_text_edit.h"

#include <margin_ruler.h>

namespace tunvale::editor {

MainFormMargins::MainFormMargins(MainForm& form)
    : MainFormPart(form)
{
    const margin::MarginRuler* ruler = &form.marginRuler();
    connect(ruler, &margin::MarginRuler::aChangBegin, this, &MainFormMargins::beginMarginGesture);
    connect(ruler, &margin::MarginRuler::LRValueChang, this, &MainFormMargins::changeMargins);
    connect(ruler, &margin::MarginRuler::aChangOver, this, &MainFormMargins::endMarginGesture);
    connect(ruler, &margin::MarginRuler::SetLineSpcing, this, &MainFormMargins::spaceLines);
    connect(ruler, &margin::MarginRuler::ShowMyHelp, this, &MainFormMargins::showMarginHelp);
}

void MainFormMargins::beginMarginGesture()
{
    if (gestureOpen_)
        return;
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    undo.FlushSnapshot();
    gestureOpen_ = true;
    // The editor keeps its text until the gesture ends; the guide line shows the margin meanwhile.
    form_.state().LayoutBusy = true;
    undo.aMoveBJBegin();
}

void MainFormMargins::changeMargins(int left, int right)
{
    auto& header = frame::Process().ScoreHeader;
    form_.marginRuler().raise();
    form_.barStripBox()->raise();
    if (header.LeftSpace == left && header.RightSpace == right)
        return;
    header.ScoreSaved = false;
    header.LeftSpace = static_cast<std::int16_t>(left);
    header.RightSpace = static_cast<std::int16_t>(right);
}

void MainFormMargins::endMarginGesture()
{
    if (!gestureOpen_)
        return;
    gestureOpen_ = false;
    form_.state().LayoutBusy = false;
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    undo.aMoveBJOver();
    const auto [left, right] = form_.layoutIndents(0);
    undo.RecordStep([&] { SetParagraphIndents(*form_.editorView()->document(), left, right); });
    // The playback view follows; the editor has its indents already.
    form_.JzRTB(0);
}

void MainFormMargins::spaceLines(int kind, int spacing)
{
    if (kind < 0 || kind > 2)
        return;
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    undo.RecordStep([&] {
        // A scan of the text as it is now, with the typing just taken.
        undo.Get_SelJPFormBegin_and_SelJPToEnd();
        SetLineSpacing(form_.mirror(), undo.LineTable(), kind == 0 ? spacing : -1, kind == 1 ? spacing : -1,
            kind == 2 ? spacing : -1, form_.state().CaretLine);
    });
}

void MainFormMargins::showMarginHelp() { platform::ShowHelpTopic(&form_, QStringLiteral("边距及行距.htm")); }

} // namespace tunvale::editor
