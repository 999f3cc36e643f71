#pragma once

#include "app/editor/editing/note_commands.h"
#include "app/editor/editing/undo_engine.h"
#include "tests/editing/score_builder.h"

#include <memory>

namespace tunvale::testing {

// A note of degree 1..7 with its block, octave row and duration index.
constexpr int N(int degree, int block = 0, int row = 0, int dur = 0)
{
    return 0x4E00 + block * 294 + row * 42 + dur * 7 + degree - 1;
}

// A score with the undo engine and the note commands over it, as the window has them.
struct EditorFixture {
    platform::RichTextBox editor;
    notation::ScoreHeader header;
    bool layoutBusy = false;
    bool cmdBusy = false;
    std::unique_ptr<editor::UndoEngine> undo;
    std::unique_ptr<editor::NoteCommands> commands;

    explicit EditorFixture(std::initializer_list<ScoreLine> lines);
    // The text of a line without its break.
    QString line(int index = 0) const;
    // The format of one character; the selection stays.
    platform::RunFormat formatAt(int position);
};

} // namespace tunvale::testing
