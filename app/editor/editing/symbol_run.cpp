#include "app/editor/editing/symbol_run.h"

#include "app/notation/notation_chars.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tunvale::editor {

namespace {

bool atParagraphStart(const platform::RichTextBox& box, int position)
{
    const int at = box.toDocumentPosition(position);
    return box.document()->findBlock(at).position() == at;
}

} // namespace

void MoveCaretBeforeSymbolRun(platform::RichTextBox& editor)
{
    while (editor.SelFontName() == notation::SymbolFontFamily && !atParagraphStart(editor, editor.SelStart()))
        editor.setSelStart(editor.SelStart() - 1);
}

} // namespace tunvale::editor
