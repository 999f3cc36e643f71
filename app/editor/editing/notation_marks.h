#pragma once

#include "app/editor/editing/note_commands.h"
#include "app/editor/editing/undo_engine.h"
#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <functional>
#include <optional>

// Single marks put in at the caret: tempo terms, dynamics and voice marks, any text in the main
// notation font, and the key after the key marker "1=". Each insertion replaces the selection as one
// undo step, except the key, which goes in as typing does.
namespace tunvale::editor {

// The character of "速度记号" item `index` (0 to 13 a tempo term, 15 back to the score's tempo).
std::optional<QChar> TempoTermChar(int index);
// The character of "力度记号" item `index` (0 to 9 pppp to ffff, 11 cresc., 12 dim., 14 to 16 sfz, fp,
// sfp).
std::optional<QChar> DynamicsChar(int index);
// The character of "声部记号" item `index` (0 to 2).
std::optional<QChar> VoiceMarkChar(int index);

class NotationMarks
{
public:
    NotationMarks(platform::RichTextBox& editor, UndoEngine& undo, NoteCommands& notes);

    // On any line, in the symbol font; typing goes on in the main notation font.
    void insertTempoTerm(int index);
    // Only on a notation line, in the symbol font; typing goes on in the main notation font.
    void insertDynamics(int index);
    // Only on a notation line, in the main notation font.
    void insertVoiceMark(int index);
    // Inserts `str` at the caret in the main notation font; a selection is not replaced.
    void Addstr(const QString& str);
    // The key command: only with the caret on the key line. A non-empty selection presets KeyPickText;
    // `pickKey` shows the key picker, which leaves its answer in KeyPickText; a non-empty answer
    // replaces the selection.
    void insertKey(QString& KeyPickText, const std::function<void()>& pickKey);

private:
    bool refusedOffNotationLine();

    platform::RichTextBox& editor_;
    UndoEngine& undo_;
    NoteCommands& notes_;
};

} // namespace tunvale::editor
