#include "app/editor/editing/note_commands.h"

#include "app/editor/editing/font_limit.h"
#include "app/editor/editing/note_codes.h"
#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"
#include "platform/text/runtime_numbers.h"

#include <array>

namespace tunvale::editor {

using namespace notation;
using platform::Prompts;

namespace {

void inform(const QString& text) { Prompts::current().information(text); }

bool in(int code, int first, int last) { return code >= first && code <= last; }

} // namespace

namespace {

int findLineWith(const platform::RichTextBox& box, int marker)
{
    for (int i = 0; i < box.LineCount(); ++i) {
        if (box.LineText(i).contains(QChar(char16_t(marker))))
            return i + 1;
    }
    return 0;
}

} // namespace

int FindKeyLine(const platform::RichTextBox& box) { return findLineWith(box, KeyMarker::Code); }

int FindHeaderLine(const platform::RichTextBox& box) { return findLineWith(box, HeaderMarker::Code); }

NoteCommands::NoteCommands(platform::RichTextBox& editor, UndoEngine& undo)
    : editor_(editor)
    , undo_(undo)
{
}

QString NoteCommands::mapSelection(
    const std::function<int(int)>& main, const std::function<int(int, const QString&)>& side) const
{
    const platform::RichTextSnapshot snap = editor_.snapshot();
    const int start = editor_.SelStart();
    QString text = editor_.SelText();
    for (int i = 0; i < text.size(); ++i) {
        const QString font = snap.fontAt(start + i);
        const int c = text[i].unicode();
        text[i] = QChar(char16_t(font == NoteFontFamily ? main(c) : side(c, font)));
    }
    return text;
}

void NoteCommands::rewrite(int start, const QString& text)
{
    undo_.RecordStep([&] {
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        editor_.RewriteRange(start, text);
    });
}

void NoteCommands::replaceSelection(const QString& text, const QString& font, const QString& fontAfter)
{
    // The text takes the format of the selection's first character in `font`, and typing goes on in
    // that format in `fontAfter`.
    std::vector<platform::RunFormat> formats(fontAfter.isEmpty() ? 1 : 2, editor_.insertionFormat());
    formats.front().font = font;
    if (!fontAfter.isEmpty())
        formats.back().font = fontAfter;
    if (!FontsAllowed(editor_, editor_.SelStart(), editor_.SelLength(), formats))
        return;
    undo_.RecordStep([&] {
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        editor_.setSelFontName(font);
        editor_.setSelText(text);
        if (!fontAfter.isEmpty())
            editor_.setSelFontName(fontAfter);
    });
}

GlyphDescriptor NoteCommands::descriptorBeforeCaret() const
{
    const int start = editor_.SelStart();
    if (start == 0)
        return {};
    const QChar c = editor_.snapshot().text.at(start - 1);
    return DecodeNoteGlyph(c.unicode(), true);
}

int NoteCommands::ScanSelNotes()
{
    notePositions_.clear();
    dotPositions_.clear();
    const int start = editor_.SelStart();
    const int length = editor_.SelLength();
    if (length == 0)
        return 0;
    const platform::RichTextSnapshot snap = editor_.snapshot();
    for (int p = start; p < start + length; ++p) {
        if (snap.fontAt(p) != NoteFontFamily)
            continue;
        const int c = snap.text[p].unicode();
        if (in(c, 19968, 22319) || in(c, 25294, 25305))
            notePositions_.push_back(p);
        else if (in(c, 25282, 25293))
            dotPositions_.push_back(p);
    }
    return int(notePositions_.size());
}

void NoteCommands::SetNoteOctave(int octave)
{
    if (editor_.SelLength() == 0)
        return;
    const QString text = mapSelection(
        [octave](int c) { return WithOctave(c, octave); }, [](int c, const QString&) { return c; });
    rewrite(editor_.SelStart(), text);
}

void NoteCommands::SetNoteDuration(int duration)
{
    if (editor_.SelLength() == 0)
        return;
    const int graceDuration = duration == LastDurationArg ? -1 : duration;
    const QString text = mapSelection([duration](int c) { return WithDuration(c, duration); },
        [graceDuration](
            int c, const QString& font) { return SideChar(c, font, SideCharKind::Duration, graceDuration); });
    LastDurationArg = duration;
    rewrite(editor_.SelStart(), text);
}

void NoteCommands::ApplyRhythmPattern(int Mode)
{
    if (editor_.SelLength() == 0 || Mode < 0 || Mode > 5)
        return;
    ScanSelNotes();
    const auto& notes = notePositions_;
    const auto& dots = dotPositions_;
    if (Mode <= 3 && notes.size() != 3) {
        inform(QStringLiteral("选择3个简谱音符!"));
        return;
    }
    if (Mode >= 4) {
        if (notes.size() != 2 || dots.size() != 1) {
            inform(QStringLiteral("选择2个简谱、1个附点音符!"));
            return;
        }
        const bool placed = Mode == 4 ? notes[0] < dots[0] && dots[0] < notes[1] : notes[1] < dots[0];
        if (!placed) {
            inform(QStringLiteral("附点音符位置不对！"));
            return;
        }
    }
    struct Target {
        int position;
        int duration;
    };
    // 1 quarter, 2 eighth, 3 sixteenth.
    std::array<Target, 3> targets;
    switch (Mode) {
    case 0:
        targets = { { { notes[0], 2 }, { notes[1], 3 }, { notes[2], 3 } } };
        break;
    case 1:
        targets = { { { notes[0], 3 }, { notes[1], 3 }, { notes[2], 2 } } };
        break;
    case 2:
        targets = { { { notes[0], 3 }, { notes[1], 2 }, { notes[2], 3 } } };
        break;
    case 3:
        targets = { { { notes[0], 2 }, { notes[1], 1 }, { notes[2], 2 } } };
        break;
    case 4:
        targets = { { { notes[0], 2 }, { dots[0], 2 }, { notes[1], 3 } } };
        break;
    default:
        targets = { { { notes[0], 3 }, { notes[1], 2 }, { dots[0], 2 } } };
        break;
    }
    const int start = editor_.SelStart();
    QString text = editor_.SelText();
    for (const Target& t : targets) {
        QChar& c = text[t.position - start];
        c = QChar(char16_t(WithDuration(c.unicode(), t.duration)));
        LastDurationArg = t.duration;
    }
    rewrite(start, text);
}

void NoteCommands::ApplySlur(int Mode)
{
    const int s0 = editor_.SelStart();
    const int n = editor_.SelLength();
    if (n == 0 || (n == 1 && Mode == 0))
        return;
    const platform::RichTextSnapshot snap = editor_.snapshot();
    const GlyphDescriptor left = s0 == 0
        ? GlyphDescriptor {}
        : DecodeNoteGlyph(snap.text[s0 - 1].unicode(), snap.fontAt(s0 - 1) == NoteFontFamily);
    const GlyphDescriptor right = s0 + n < snap.size()
        ? DecodeNoteGlyph(snap.text[s0 + n].unicode(), snap.fontAt(s0 + n) == NoteFontFamily)
        : GlyphDescriptor {};
    QString u = MirrorNoteCodes(snap.text.mid(s0, n));
    u[0] = QChar(char16_t(SlurFirst(u[0].unicode(), left.ArcRight, Mode)));
    u[n - 1] = QChar(char16_t(SlurLast(u[n - 1].unicode(), right.ArcLeft, Mode)));
    for (int i = 0; i < n; ++i) {
        const QString font = snap.fontAt(s0 + i);
        if (font != NoteFontFamily)
            u[i] = QChar(char16_t(SideChar(snap.text[s0 + i].unicode(), font, SideCharKind::Arc)));
    }
    rewrite(s0, u);
}

void NoteCommands::MarkTriplet(int Kind)
{
    const int count = ScanSelNotes();
    int place = 0;
    if (Kind == 3 && count == 3)
        place = 0;
    else if (Kind == 2 && (count == 1 || count == 2))
        place = 0;
    else if (Kind == 1 && (count == 1 || count == 2))
        place = count == 2 ? 1 : 2;
    else
        return;
    const platform::RichTextSnapshot snap = editor_.snapshot();
    const int start = editor_.SelStart();
    QString text = editor_.SelText();
    for (int i = 0; i < text.size(); ++i) {
        if (snap.fontAt(start + i) != NoteFontFamily)
            continue;
        if (const auto change = TripletCode(text[i].unicode(), place)) {
            text[i] = QChar(char16_t(change->code));
            if (change->advances)
                ++place;
        }
    }
    rewrite(start, text);
}

void NoteCommands::ConvertBracket(QChar first, std::optional<QChar> last)
{
    QString text = mapSelection(
        MirrorNoteCode, [](int c, const QString& font) { return SideChar(c, font, SideCharKind::Arc); });
    if (text.isEmpty())
        return;
    text[0] = first;
    if (last)
        text.back() = *last;
    rewrite(editor_.SelStart(), text);
}

void NoteCommands::DoNoteMark(int kind)
{
    if (!undo_.CaretOnNotationLine()) {
        inform(QStringLiteral("必须插入到简谱行!"));
        return;
    }
    const GlyphDescriptor before = descriptorBeforeCaret();
    const QString selected = editor_.SelText();
    switch (kind) {
    case 0: {
        if (!graceNoteDialog)
            return;
        const GraceNoteChoice choice = graceNoteDialog(before.DurIndex, before.ArcRight);
        const int n = int(choice.YYCodes.size());
        if (!choice.YYAccepted || n < 1 || n > 4)
            return;
        QString text;
        for (int code : choice.YYCodes)
            text += QChar(char16_t(code));
        replaceSelection(text, GraceFontFamilies[size_t(n - 1)], NoteFontFamily);
        return;
    }
    case 7:
        if (selected.isEmpty())
            return;
        if (selected[0] == u'$' || selected[0] == u'%')
            ConvertRepeatSign(QChar(u'^'));
        else if (PlainBarLine::contains(selected[0].unicode()))
            ConvertRepeatSign(QChar(char16_t(0x6363)));
        else
            Prompts::current().ask({ QStringLiteral("请选择以小节线开头的一段简谱。"),
                platform::kProgramTitle, platform::PromptIcon::None });
        return;
    case 8: {
        if (selected.isEmpty())
            return;
        const char16_t first = selected[0].unicode();
        if (first != 0x6370 && first != 0x636D && first != 0x6358) {
            inform(QStringLiteral("第一字符选择反复记号，再进行转换。"));
            return;
        }
        ConvertBracket(QChar(char16_t(0x636D)));
        return;
    }
    case 9:
    case 10:
        undo_.RecordStep([&] {
            undo_.Get_SelJPFormBegin_and_SelJPToEnd();
            editor_.setSelText(QString(QChar(char16_t(kind == 9 ? 0x6357 : 0x6358))));
        });
        return;
    default:
        return;
    }
}

void NoteCommands::ConvertRepeatSign(QChar sign)
{
    const QString selected = editor_.SelText();
    if (selected.isEmpty())
        return;
    const QChar first = selected[0];
    if (first != u'$' && first != u'%' && !PlainBarLine::contains(first.unicode())) {
        inform(QStringLiteral("第一字符，请选择小节线，然后按此键转换。"));
        return;
    }
    ConvertBracket(sign);
}

void NoteCommands::ResetNoteFont()
{
    if (editor_.SelLength() == 0)
        return;
    const QString text = mapSelection(
        MirrorNoteCode, [](int c, const QString& font) { return SideChar(c, font, SideCharKind::Arc); });
    rewrite(editor_.SelStart(), text);
    editor_.setSelLength(0);
}

void NoteCommands::ConvertSelChars()
{
    if (editor_.SelLength() == 0)
        return;
    const QString text = mapSelection([](int c) { return MapFontChar(c, NoteFontFamily); },
        [](int c, const QString& font) { return font == SymbolFontFamily ? c : MapFontChar(c, font); });
    rewrite(editor_.SelStart(), text);
}

void NoteCommands::markAccidental(int index)
{
    const int caretLine = editor_.LineFromChar(editor_.SelStart()) + 1;
    if (!undo_.CaretOnNotationLine() && caretLine != FindKeyLine(editor_)) {
        inform(QStringLiteral("必须插入到简谱行或“1=”行!"));
        return;
    }
    const GlyphDescriptor d = descriptorBeforeCaret();
    const int code = AccidentalCode(index, d.DurIndex, d.ArcRight, d.TripletOn);
    replaceSelection(QString(QChar(char16_t(code))), NoteFontFamily);
}

void NoteCommands::insertKeyChange(int index)
{
    replaceSelection(QString(QChar(char16_t(KeyChangeCode(index)))), SymbolFontFamily, NoteFontFamily);
}

void NoteCommands::InsertRepeatSign(QChar sign)
{
    if (!undo_.CaretOnNotationLine()) {
        inform(QStringLiteral("该记号应插入简谱行。"));
        return;
    }
    undo_.RecordStep([&] {
        undo_.Get_SelJPFormBegin_and_SelJPToEnd();
        editor_.setSelText(QString(sign));
    });
}

void NoteCommands::InsertRepeatCountSign()
{
    if (!undo_.CaretOnNotationLine()) {
        inform(QStringLiteral("该记号应插入简谱行。"));
        return;
    }
    const std::optional<QString> answer = Prompts::current().input(
        QStringLiteral(
            "前后反复演奏几次(2-9)？\n\n说明：前后反复记号之间唱2次，但一些特殊歌曲要唱更多次。此为设计。"),
        QStringLiteral("前后反复..."), QStringLiteral("2"));
    if (!answer)
        return;
    if (const auto sign = RepeatCountSign(platform::Val(*answer)))
        InsertRepeatSign(*sign);
}

void NoteCommands::ToggleLyricUnderline()
{
    if (undo_.CaretOnNotationLine()) {
        inform(QStringLiteral("此按钮设置歌词的下划线!"));
        return;
    }
    undo_.RecordStep([&] { editor_.setSelUnderline(!editor_.SelUnderline()); });
}

} // namespace tunvale::editor
