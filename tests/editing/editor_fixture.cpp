#include "tests/editing/editor_fixture.h"

namespace tunvale::testing {

EditorFixture::EditorFixture(std::initializer_list<ScoreLine> lines)
{
    FillScore(editor, lines);
    undo = std::make_unique<editor::UndoEngine>(
        editor, editor::UndoHost { &header, &layoutBusy, &cmdBusy, {}, {} });
    commands = std::make_unique<editor::NoteCommands>(editor, *undo);
}

QString EditorFixture::line(int index) const { return editor.LineText(index).remove(QStringLiteral("\r\n")); }

platform::RunFormat EditorFixture::formatAt(int position)
{
    const int start = editor.SelStart();
    const int length = editor.SelLength();
    editor.select(position, 1);
    platform::RunFormat f;
    f.font = editor.SelFontName();
    f.halfPoints = int(editor.SelFontSize() * 2);
    f.color = editor.SelColor().rgb();
    editor.select(start, length);
    return f;
}

} // namespace tunvale::testing
