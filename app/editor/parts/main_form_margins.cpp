#include "app/editor/parts/main_form_margins.h"

#include "app/editor/editing/line_spacing.h"
#include "app/editor/editing/paragraph_indents.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/desktop/help_window.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QTextDocument>

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
    const auto& header = frame::Process().ScoreHeader;
    before_ = { header.LeftSpace, header.RightSpace, header.ScoreSaved };
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
    auto& header = frame::Process().ScoreHeader;
    const bool moved = header.LeftSpace != before_.left || header.RightSpace != before_.right;
    const bool refused = moved && leavesScoreTooTall();
    if (refused) {
        header.LeftSpace = static_cast<std::int16_t>(before_.left);
        header.RightSpace = static_cast<std::int16_t>(before_.right);
        header.ScoreSaved = before_.saved;
        form_.setRulerLeftSpace(before_.left);
        form_.setRulerRightSpace(before_.right);
    }
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    undo.aMoveBJOver();
    const auto [left, right] = form_.layoutIndents(0);
    undo.RecordStep([&] { SetParagraphIndents(*form_.editorView()->document(), left, right); });
    // The playback view follows; the editor has its indents already.
    form_.JzRTB(0);
    if (refused)
        platform::Prompts::current().information(kMarginsRefused);
}

// Every paragraph with the indents of the margins as they are now.
bool MainFormMargins::leavesScoreTooTall() const
{
    const auto [left, right] = form_.layoutIndents(0);
    const QTextDocument& document = *form_.editorView()->document();
    platform::RichContent text = platform::ExtractContent(document);
    for (platform::RichParagraph& paragraph : text) {
        paragraph.format.leftIndent = left;
        paragraph.format.rightIndent = right;
        paragraph.format = platform::Clamped(paragraph.format);
    }
    return platform::TooTallToShow(text, { document.textWidth(), 0, 0 });
}

void MainFormMargins::spaceLines(int kind, int spacing)
{
    if (kind < 0 || kind > 2)
        return;
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    bool refused = false;
    undo.RecordStep([&] {
        // A scan of the text as it is now, with the typing just taken.
        undo.Get_SelJPFormBegin_and_SelJPToEnd();
        const int notation = kind == 0 ? spacing : -1;
        const int other = kind == 1 ? spacing : -1;
        const int caretLine = kind == 2 ? spacing : -1;
        const int line = form_.state().CaretLine;
        refused = form_.editor()
                      .whyUnshowable(
                          SpacedText(form_.mirror(), undo.LineTable(), notation, other, caretLine, line))
                      .has_value();
        if (!refused)
            SetLineSpacing(form_.mirror(), undo.LineTable(), notation, other, caretLine, line);
    });
    if (refused)
        platform::Prompts::current().information(kSpacingRefused);
}

void MainFormMargins::showMarginHelp() { platform::ShowHelpTopic(&form_, QStringLiteral("边距及行距.htm")); }

} // namespace tunvale::editor
