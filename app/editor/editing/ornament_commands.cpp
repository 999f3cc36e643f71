#include "app/editor/editing/ornament_commands.h"

#include "app/editor/editing/font_limit.h"
#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"

namespace tunvale::editor {

using notation::DecodeNoteGlyph;
using notation::GlyphDescriptor;
using notation::NoteFontFamily;
using notation::SymbolFontFamily;

namespace {

void inform(const QString& text) { platform::Prompts::current().information(text); }

std::optional<QString> pick(const QStringList& texts, int index)
{
    if (index < 0 || index >= texts.size())
        return std::nullopt;
    return texts[index];
}

// The fonts of the narrow spaces and bar lines: half (0) and a quarter (1) of the usual width.
const QString& narrowFont(int index) { return notation::GraceFontFamilies[std::size_t(index)]; }

// Beside the key a time signature has a size of its own, in points.
constexpr int kKeyLineTimeSignatureSize = 18;

} // namespace

namespace ornaments {

std::optional<QString> Mordent(int index)
{
    return pick(
        { QStringLiteral("BF"), QStringLiteral("CF"), QStringLiteral("DFFF"), QStringLiteral("EFFF") },
        index);
}

std::optional<QString> Staccato(int index)
{
    return pick({ QStringLiteral("G"), QStringLiteral("H") }, index);
}

std::optional<QString> Turn(int index)
{
    return pick({ QStringLiteral("JFF"), QStringLiteral("KFF") }, index);
}

std::optional<QString> Trill(int durIndex)
{
    // A quarter or longer gives the trill five more notes, an eighth two.
    return pick({ QStringLiteral("IFFFFF"), QStringLiteral("IFF") }, durIndex);
}

} // namespace ornaments

OrnamentCommands::OrnamentCommands(
    platform::RichTextBox& editor, platform::RichTextBox& probe, UndoEngine& undo, NoteCommands& notes)
    : editor_(editor)
    , undo_(undo)
    , notes_(notes)
    , probe_(probe)
{
}

bool OrnamentCommands::StripOrnaments()
{
    const int length = editor_.SelLength();
    if (length == 0) {
        inform(QStringLiteral("请选择需要格式的字符！"));
        return false;
    }
    const int note = editor_.SelStart() + length - 1;
    if (length > 1)
        editor_.select(note, 1);
    const int start = runStart(note);
    editor_.select(start, note - start);
    editor_.setSelFontName(NoteFontFamily);
    undo_.Get_SelJPFormBegin_and_SelJPToEnd();
    editor_.setSelText(QString());
    return true;
}

int OrnamentCommands::runStart(int note)
{
    int start = note;
    for (; start > 0; --start) {
        probe_.select(start - 1, 1);
        // A line break ends the run whatever its format.
        if (probe_.SelLength() != 1 || probe_.SelFontName() != SymbolFontFamily)
            break;
    }
    return start;
}

platform::RunFormat OrnamentCommands::formatAt(int start, int note)
{
    // Typing once the run is gone: the character before, or at a paragraph's start the note.
    if (start > 0)
        probe_.select(start - 1, 1);
    if (start == 0 || probe_.SelLength() != 1)
        probe_.select(note, 1);
    return probe_.insertionFormat();
}

void OrnamentCommands::removeOrnaments()
{
    undo_.RecordStep([this] { StripOrnaments(); });
}

void OrnamentCommands::replaceOrnament(const QString& ornament)
{
    if (const int length = editor_.SelLength(); length > 0) {
        const int note = editor_.SelStart() + length - 1;
        const int start = runStart(note);
        platform::RunFormat format = formatAt(start, note);
        format.font = SymbolFontFamily;
        if (!FontsAllowed(editor_, start, note - start, { format }))
            return;
    }
    undo_.RecordStep([&] {
        if (!StripOrnaments())
            return;
        editor_.setSelFontName(SymbolFontFamily);
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        editor_.setSelText(ornament);
        editor_.setSelStart(editor_.SelStart() - int(ornament.size()));
    });
}

void OrnamentCommands::insertFermata() { replaceOrnament(ornaments::Fermata); }

void OrnamentCommands::insertMordent(int index)
{
    if (const auto text = ornaments::Mordent(index))
        replaceOrnament(*text);
}

void OrnamentCommands::insertStaccato(int index)
{
    if (const auto text = ornaments::Staccato(index))
        replaceOrnament(*text);
}

void OrnamentCommands::insertAccent() { replaceOrnament(ornaments::Accent); }

void OrnamentCommands::insertTurn(int index)
{
    if (const auto text = ornaments::Turn(index))
        replaceOrnament(*text);
}

void OrnamentCommands::insertTrill()
{
    const int length = editor_.SelLength();
    if (length == 0) {
        StripOrnaments(); // tells the user to select the note
        return;
    }
    // The note is tested before its run goes, so a refused trill costs the note nothing.
    const auto trill = ornaments::Trill(descriptorAt(editor_.SelStart() + length - 1).DurIndex);
    if (!trill) {
        inform(QStringLiteral("颤音请用于格式八分、四分及以上时长的音符！"));
        return;
    }
    replaceOrnament(*trill);
}

GlyphDescriptor OrnamentCommands::descriptorAt(int position)
{
    probe_.select(position, 1);
    const QString text = probe_.SelText();
    if (text.size() != 1)
        return {};
    return DecodeNoteGlyph(text.front().unicode(), probe_.SelFontName() == NoteFontFamily);
}

void OrnamentCommands::insertAfterNote(const QString& text, const QString& font)
{
    platform::RunFormat format = editor_.insertionFormat();
    if (!font.isEmpty())
        format.font = font;
    if (!FontsAllowed(editor_, editor_.SelStart(), editor_.SelLength(), { format }))
        return;
    undo_.RecordStep([&] {
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        if (!font.isEmpty())
            editor_.setSelFontName(font);
        editor_.setSelText(text);
    });
}

void OrnamentCommands::insertBreathMark()
{
    const GlyphDescriptor d = notes_.descriptorBeforeCaret();
    insertAfterNote(QString(QChar(char16_t(0x6300 + 5 * d.DurIndex + 30 * d.ArcRight))), QString());
}

void OrnamentCommands::insertNarrowSpace(int index)
{
    if (index < 0 || index > 1)
        return;
    const bool underArc = notes_.descriptorBeforeCaret().ArcRight != 0;
    insertAfterNote(underArc ? QStringLiteral(")") : QStringLiteral("("), narrowFont(index));
}

void OrnamentCommands::insertNarrowBarLine(int index)
{
    if (index < 0 || index > 1)
        return;
    const bool underArc = notes_.descriptorBeforeCaret().ArcRight != 0;
    insertAfterNote(underArc ? QStringLiteral("%") : QStringLiteral("$"), narrowFont(index));
}

void OrnamentCommands::insertGlide(int index)
{
    if (index < 0 || index > 1)
        return;
    if (!undo_.CaretOnNotationLine()) {
        inform(QStringLiteral("必须插入到简谱行!"));
        return;
    }
    insertAfterNote(QString(QChar(char16_t(notation::GlideGlyph::First + index))), QString());
}

void OrnamentCommands::insertTimeSignature(int index)
{
    if (index < 0 || index > 7)
        return;
    const bool keyLine = editor_.LineFromChar(editor_.SelStart()) + 1 == FindKeyLine(editor_);
    if (!keyLine && !undo_.CaretOnNotationLine())
        return;
    platform::RunFormat format = editor_.insertionFormat();
    format.font = NoteFontFamily;
    if (keyLine)
        format.halfPoints = kKeyLineTimeSignatureSize * 2;
    if (!FontsAllowed(editor_, editor_.SelStart(), editor_.SelLength(), { format }))
        return;
    undo_.RecordStep([&] {
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        editor_.setSelFontName(NoteFontFamily);
        if (keyLine)
            editor_.setSelFontSize(kKeyLineTimeSignatureSize);
        editor_.setSelText(QString(QChar(char16_t((keyLine ? 0x62BA : 0x62AA) + index))));
    });
}

} // namespace tunvale::editor
