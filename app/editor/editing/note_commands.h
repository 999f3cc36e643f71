#pragma once

#include "app/editor/editing/undo_engine.h"
#include "app/notation/notation_chars.h"
#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The main window's notation commands that rewrite the selected notes in place: octave, duration,
// rhythm patterns, slurs, triplets, arc forms, repeat signs, accidentals, key changes and grace
// notes. Each command is one undo step; a command that changes nothing records none. Characters of
// the side fonts inside a rewritten stretch keep their whole format.
namespace tunvale::editor {

// What the grace-note dialog gives back.
struct GraceNoteChoice {
    bool YYAccepted = false;
    std::vector<int> YYCodes; // one to four grace-note characters
};
// Shows the grace-note dialog preset with the duration and arc of the note before the caret.
using GraceNoteDialog = std::function<GraceNoteChoice(int YYInitDur, int YYInitArc)>;

class NoteCommands
{
public:
    NoteCommands(platform::RichTextBox& editor, UndoEngine& undo);

    // Counts the notes and rests of the selection in the main notation font into NotePositions, its
    // dots into DotPositions; returns the number of notes.
    int ScanSelNotes();
    const std::vector<int>& NotePositions() const { return notePositions_; }
    const std::vector<int>& DotPositions() const { return dotPositions_; }

    void SetNoteOctave(int octave);
    void SetNoteDuration(int duration);
    void ApplyRhythmPattern(int Mode);
    void ApplySlur(int Mode);
    void MarkTriplet(int Kind);
    void DoNoteMark(int kind);
    void ConvertRepeatSign(QChar sign);
    // Rewrites the selection as a bracket: `first` in place of its first character, the arc forms of
    // the rest and, when given, `last` in place of its last character.
    void ConvertBracket(QChar first, std::optional<QChar> last = std::nullopt);
    void ResetNoteFont();
    void ConvertSelChars();
    void markAccidental(int index);
    void insertKeyChange(int index);
    // A repeat sign of the toolbar's drop-down, at the caret of a notation line.
    void InsertRepeatSign(QChar sign);
    // "前后反复N次记号...": asks for the count, then inserts its sign.
    void InsertRepeatCountSign();
    void ToggleLyricUnderline();

    // The duration of the previous SetNoteDuration, kept across selections.
    int LastDurationArg = 0;
    // The grace-note dialog; without one, grace notes cannot be inserted.
    GraceNoteDialog graceNoteDialog;

    // Inserts `text` in `font` in place of the selection as one undo step; the caret then types in
    // `fontAfter` when given. Refused, with a message, where the score would use too many fonts.
    void replaceSelection(const QString& text, const QString& font, const QString& fontAfter = {});
    // The descriptor of the character before the caret, read as a character of the main notation font.
    notation::GlyphDescriptor descriptorBeforeCaret() const;

private:
    // The selection with each character mapped: those in the main notation font by `main`, the
    // others by `side`.
    QString mapSelection(const std::function<int(int)>& main,
        const std::function<int(int code, const QString& font)>& side) const;
    // Rewrites the text from `start` as one undo step.
    void rewrite(int start, const QString& text);

    platform::RichTextBox& editor_;
    UndoEngine& undo_;
    std::vector<int> notePositions_;
    std::vector<int> dotPositions_;
};

// The first line (1-based) that holds the key marker; 0 when there is none.
int FindKeyLine(const platform::RichTextBox& box);
// The first line (1-based) that holds the header marker; 0 when there is none.
int FindHeaderLine(const platform::RichTextBox& box);

} // namespace tunvale::editor
