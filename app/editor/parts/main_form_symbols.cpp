#include "app/editor/parts/main_form_symbols.h"

#include "app/editor/editing/font_limit.h"
#include "app/editor/editing/font_scaling.h"
#include "app/editor/editing/note_commands.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "get_symbol.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"

namespace tunvale::editor {

MainFormSymbols::MainFormSymbols(MainForm& form)
    : MainFormPart(form)
{
    form_.connectItem(QStringLiteral("D_word"), [this] { openPalette(); });
}

MainFormSymbols::~MainFormSymbols() = default;

void MainFormSymbols::openPalette()
{
    const int caretLine = form_.state().CaretLine;
    if (!form_.part<MainFormEditing>().undo().CaretOnNotationLine()
        && caretLine != FindKeyLine(form_.editor()) && caretLine != 6) {
        platform::Prompts::current().information(QStringLiteral("必须插入到简谱行或“1=”行!"));
        return;
    }
    form_.editorView()->setFocus();
    // A new object brings an open palette up again; the one before has nothing more to do.
    delete SymbolPicker;
    SymbolPicker = symbolpick::CreateGetSymbol(&form_).release();
    SymbolPicker->setParent(this);
    connect(SymbolPicker, &symbolpick::GetSymbol::symbolPicked, this, &MainFormSymbols::insertPick);
    connect(SymbolPicker, &symbolpick::GetSymbol::paletteClosed, this, &MainFormSymbols::paletteClosed);
    symbolPickerOpen_ = true;
    followCaretSize(form_.editor().SelFontSize());
}

void MainFormSymbols::followCaretSize(double points)
{
    // A selection of mixed sizes has no size to show.
    if (symbolPickerOpen_ && SymbolPicker && points > 0)
        SymbolPicker->BeginFontSize(float(points));
}

void MainFormSymbols::insertPick()
{
    if (!SymbolPicker || !SymbolPicker->aInstr())
        return;
    const QString code = SymbolPicker->SymbolCode();
    SymbolPicker->setAInstr(false);
    if (code.isEmpty())
        return;
    platform::RichTextBox& editor = form_.editor();
    UndoEngine& undo = form_.part<MainFormEditing>().undo();
    const platform::RunFormat typing = editor.insertionFormat();
    if (!FontsAllowed(editor, editor.SelStart(), editor.SelLength(), pickFormats(typing)))
        return;
    undo.RecordStep([&] {
        undo.Get_SelJPFormBegin_and_SelJPToEnd();
        editor.setSelFontName(SymbolPicker->SymbolFont());
        editor.setSelText(code);
        const int behind = editor.SelStart();
        editor.select(behind - int(code.size()), int(code.size()));
        editor.setSelBold(SymbolPicker->InstrFontBold());
        if (const float size = SymbolPicker->GetFontSize(); size > 0)
            editor.setSelFontSize(size);
        if (SymbolPicker->UpWord())
            SetScoreFontScale(editor, editor.SelStart() + 1, editor.SelLength(), RaisePoints);
        // The next pick lands behind this one, and typing goes on in the format from before the pick.
        editor.select(behind, 0);
        editor.setSelFontName(typing.font);
        editor.setSelFontSize(typing.halfPoints / 2.0);
        editor.setSelBold(typing.bold);
        editor.setSelCharOffset(typing.offset * 10);
    });
}

std::vector<platform::RunFormat> MainFormSymbols::pickFormats(const platform::RunFormat& typing) const
{
    // The sign goes in in its kind's font, which an empty line's mark keeps, then takes its bold, size
    // and raise; typing goes on as before.
    platform::RunFormat entered = typing;
    entered.font = SymbolPicker->SymbolFont();
    platform::RunFormat sign = entered;
    sign.bold = SymbolPicker->InstrFontBold();
    const double size = SymbolPicker->GetFontSize();
    if (size >= platform::RichTextBox::kMinFontSize && size <= platform::RichTextBox::kMaxFontSize)
        ScaleFormat(sign, { FontScaling::Way::Size, size });
    if (SymbolPicker->UpWord())
        ScaleFormat(sign, { FontScaling::Way::Size, ScoreFontScaleSize(RaisePoints) });
    return { entered, sign, typing };
}

void MainFormSymbols::paletteClosed()
{
    symbolPickerOpen_ = false;
    if (SymbolPicker)
        SymbolPicker->deleteLater();
    SymbolPicker = nullptr;
}

} // namespace tunvale::editor
