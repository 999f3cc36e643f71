#include "app/editor/editing/notation_marks.h"

#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"

namespace tunvale::editor {

using notation::NoteFontFamily;
using notation::SymbolFontFamily;

std::optional<QChar> TempoTermChar(int index)
{
    if (index >= 0 && index <= 13)
        return QChar(char16_t(notation::TempoGlyph::First + index));
    if (index == 15)
        return QChar(char16_t(notation::TempoGlyph::ScoreTempo));
    return std::nullopt;
}

std::optional<QChar> DynamicsChar(int index)
{
    // The items run on past their two separators, 10 and 13.
    if (index >= 0 && index <= 9)
        return QChar(char16_t(42 + index));
    if (index == 11 || index == 12)
        return QChar(char16_t(41 + index));
    if (index >= 14 && index <= 16)
        return QChar(char16_t(40 + index));
    return std::nullopt;
}

std::optional<QChar> VoiceMarkChar(int index)
{
    if (index < 0 || index > 2)
        return std::nullopt;
    return QChar(char16_t(notation::VoiceGlyph::First + index));
}

NotationMarks::NotationMarks(platform::RichTextBox& editor, UndoEngine& undo, NoteCommands& notes)
    : editor_(editor)
    , undo_(undo)
    , notes_(notes)
{
}

bool NotationMarks::refusedOffNotationLine()
{
    if (undo_.CaretOnNotationLine())
        return false;
    platform::Prompts::current().information(QStringLiteral("请插入到简谱行!"));
    return true;
}

void NotationMarks::insertTempoTerm(int index)
{
    if (const auto c = TempoTermChar(index))
        notes_.replaceSelection(QString(*c), SymbolFontFamily, NoteFontFamily);
}

void NotationMarks::insertDynamics(int index)
{
    const auto c = DynamicsChar(index);
    if (!c || refusedOffNotationLine())
        return;
    notes_.replaceSelection(QString(*c), SymbolFontFamily, NoteFontFamily);
}

void NotationMarks::insertVoiceMark(int index)
{
    const auto c = VoiceMarkChar(index);
    if (!c || refusedOffNotationLine())
        return;
    notes_.replaceSelection(QString(*c), NoteFontFamily);
}

void NotationMarks::Addstr(const QString& str)
{
    editor_.setSelStart(editor_.SelStart());
    notes_.replaceSelection(str, NoteFontFamily);
}

void NotationMarks::insertKey(QString& KeyPickText, const std::function<void()>& pickKey)
{
    const int caretLine = editor_.LineFromChar(editor_.SelStart()) + 1;
    if (caretLine != FindKeyLine(editor_)) {
        platform::Prompts::current().information(QStringLiteral("音调请插入到 1= 后边，请定位好光标。"));
        return;
    }
    const QString selected = editor_.SelText();
    if (!selected.isEmpty())
        KeyPickText = selected;
    pickKey();
    // Written as typing is: the undo engine takes it with its next snapshot.
    if (!KeyPickText.isEmpty())
        editor_.setSelText(KeyPickText);
}

} // namespace tunvale::editor
