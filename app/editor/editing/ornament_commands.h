#pragma once

#include "app/editor/editing/note_commands.h"
#include "app/editor/editing/undo_engine.h"
#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <optional>

// Ornaments and the marks that sit beside a note. Ornament letters, in the symbol font, stand
// directly before the note they decorate; a new ornament replaces the run of letters the note had,
// and the caret ends before the ornament. Breath marks, narrow spaces, narrow bar lines, glides and
// time signatures go in at the caret, shaped after the note before it. Each command is one undo step;
// a refused one records none, and one that would leave the score in too many fonts is refused.
namespace tunvale::editor {

// What the ornament items write before the note.
namespace ornaments {
// "单上波音", "单下波音", "复上波音", "复下波音".
std::optional<QString> Mordent(int index);
// "1/2时值", "1/4时值".
std::optional<QString> Staccato(int index);
// "顺回音", "逆回音".
std::optional<QString> Turn(int index);
inline const QString Accent = QStringLiteral("9");
inline const QString Fermata = QString(QChar(char16_t(0x5FEB)));
// The trill for a note of duration index `durIndex`; none below an eighth.
std::optional<QString> Trill(int durIndex);
} // namespace ornaments

class OrnamentCommands
{
public:
    // `probe` is a second caret over the editor's document, so a run is counted without moving the
    // selection.
    OrnamentCommands(
        platform::RichTextBox& editor, platform::RichTextBox& probe, UndoEngine& undo, NoteCommands& notes);

    // Narrows the selection to its last character, the note, and removes the ornament run before it;
    // the caret then stands before the note. False (with a message) when nothing is selected. The
    // caller makes it part of its undo step.
    bool StripOrnaments();

    // "取消装饰音": the note's ornament run removed.
    void removeOrnaments();
    // The fermata, mordents, staccato marks, accent and turns, in place of the note's run.
    void insertFermata();
    void insertMordent(int index);
    void insertStaccato(int index);
    void insertAccent();
    void insertTurn(int index);
    // A trill, for an eighth note or longer; a shorter note is refused and keeps its run.
    void insertTrill();

    // "换气符号": after the note before the caret, in the font at the caret.
    void insertBreathMark();
    // "插半角空格" (0) and "插1/4空格" (1).
    void insertNarrowSpace(int index);
    // "插1/2间距小节线" (0) and "插1/4间距小节线" (1).
    void insertNarrowBarLine(int index);
    // "上滑音" (0) and "下滑音" (1): only on a notation line.
    void insertGlide(int index);
    // "1/4" .. "12/8" (0 to 7): on the key line in 18 points, on a notation line as it is; elsewhere
    // nothing.
    void insertTimeSignature(int index);

private:
    // The note's run replaced by `ornament`, the caret before it, as one step.
    void replaceOrnament(const QString& ornament);
    // Where the run of ornament letters before the note at `note` starts.
    int runStart(int note);
    // The format that text typed at `start` takes once the run from there to the note is gone.
    platform::RunFormat formatAt(int start, int note);
    notation::GlyphDescriptor descriptorAt(int position);
    // A character after the note before the caret, in `font` (the font at the caret when empty).
    void insertAfterNote(const QString& text, const QString& font);

    platform::RichTextBox& editor_;
    UndoEngine& undo_;
    NoteCommands& notes_;
    platform::RichTextBox& probe_;
};

} // namespace tunvale::editor
