#include "app/editor/parts/main_form_colors.h"

#include "app/editor/editing/stored_color.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>

#include <algorithm>

namespace tunvale::editor {

MainFormColors::MainFormColors(MainForm& form, std::unique_ptr<dialogs::ColorPicker> picker)
    : MainFormPart(form)
    , picker_(std::move(picker))
{
    form_.connectItem(QStringLiteral("MycolorSet"), [this] { chooseColors(); });
}

void MainFormColors::chooseColors()
{
    notation::ScoreHeader& header = frame::Process().ScoreHeader;
    const bool kept = header.ScoreSaved;
    platform::SetContent(
        *form_.playbackView()->document(), platform::ExtractContent(*form_.editorView()->document()));
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    opened_ = undo.checkpoint();
    undo.JPSelection();
    pieces_ = undo.JpSelPieces();
    const auto some = [this](bool notation) {
        return std::any_of(pieces_.begin(), pieces_.end(),
            [notation](const JpSelPiece& piece) { return piece.isNotation == notation && piece.length > 0; });
    };

    dialogs::ColorDialog dialog(*this, *picker_, &form_);
    dialog.enableSelectionChecks(some(false), some(true));
    dialog.exec();
    // A score shown in other colours is a changed score: closing it must ask to save them.
    header.ScoreSaved = kept && !dialog.colorsApplied();
    if (form_.action(QStringLiteral("Other"))->isChecked())
        form_.part<MainFormEditing>().ShowLineMarks();
}

void MainFormColors::recolourLines(bool notation) { form_.part<MainFormEditing>().recolourLines(notation); }

void MainFormColors::colourSelectedPieces(bool notation, std::int32_t color)
{
    platform::RichTextBox& editor = form_.editor();
    const int length = editor.SelLength();
    form_.part<MainFormEditing>().undo().RecordStep([&] {
        for (const JpSelPiece& piece : pieces_) {
            if (piece.isNotation != notation)
                continue;
            editor.select(piece.start, piece.length);
            editor.setSelColor(StoredColor(color));
        }
        if (!pieces_.empty())
            editor.select(pieces_.front().start, length);
    });
}

void MainFormColors::applyBackground()
{
    form_.showEditingBackground();
    startHighlightCleaner();
}

void MainFormColors::takeBackChanges()
{
    form_.part<MainFormEditing>().undo().rollBack(opened_);
    form_.showEditingBackground();
}

platform::RichTextBox& MainFormColors::playView() { return form_.playbackView()->box(); }

void MainFormColors::startHighlightCleaner() { form_.part<MainFormScoreFiles>().startHighlightCleaner(); }

} // namespace tunvale::editor
