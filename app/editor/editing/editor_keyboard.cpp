#include "app/editor/editing/editor_keyboard.h"

#include "app/editor/editing/font_scaling.h"
#include "app/editor/editing/notation_keys.h"
#include "app/editor/editing/stored_color.h"
#include "app/notation/notation_chars.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_lines.h"

#include <array>

namespace tunvale::editor {

using platform::Prompts;

namespace {

// Octave and duration arguments of the Shift+P and Shift+D cycles, by counter 1..7 and 1..6.
constexpr std::array<int, 7> kOctaveCycle = { 3, 2, 1, 5, 6, 7, 4 };
constexpr std::array<int, 6> kDurationCycle = { 2, 3, 4, 5, 6, 1 };

} // namespace

CaretState ReadCaretState(const platform::RichTextBox& editor)
{
    const platform::CaretRowCol rc = platform::GetCaretRowCol(editor);
    const int length = int(platform::GetRtbLine(editor, rc.line).size());
    return { rc.line, rc.column, length - rc.column < 2 };
}

QString CaretPanelText(const CaretState& caret)
{
    return QStringLiteral("行：%1  列：%2").arg(caret.CaretLine).arg(caret.CaretColumn);
}

QString BarPanelText(int Xj, int barCount) { return QStringLiteral("小节：%1/%2").arg(Xj + 1).arg(barCount); }

QString FontSizePanelText(double size)
{
    // A selection of mixed sizes has none to show.
    return size > 0 ? QStringLiteral("字号:") + QString::number(size) : QStringLiteral("字号:");
}

EditorKeyboard::EditorKeyboard(platform::RichTextBox& editor, UndoEngine& undo, NoteCommands& commands,
    KeyboardHost host, QObject* parent)
    : QObject(parent)
    , editor_(editor)
    , undo_(undo)
    , commands_(commands)
    , host_(std::move(host))
{
}

void EditorKeyboard::busy(const std::function<void()>& command)
{
    if (host_.NotationCmdBusy)
        *host_.NotationCmdBusy = true;
    command();
    if (host_.NotationCmdBusy)
        *host_.NotationCmdBusy = false;
}

void EditorKeyboard::KeyDown(int& KeyCode, int Shift)
{
    const double size = editor_.SelFontSize();
    // A selection of mixed sizes has none; the sizes in use stay.
    if (size > 0) {
        double* kept = undo_.CaretOnNotationLine() ? host_.NotationFontSize : host_.TextFontSize;
        if (kept)
            *kept = size;
    }
    if (Shift == 1) {
        octaveCounter_ = KeyCode == keys::P ? octaveCounter_ % 7 + 1 : 0;
        if (octaveCounter_ > 0)
            busy([&] { commands_.SetNoteOctave(kOctaveCycle[size_t(octaveCounter_ - 1)]); });
        durationCounter_ = KeyCode == keys::D ? durationCounter_ % 6 + 1 : 0;
        if (durationCounter_ > 0)
            busy([&] { commands_.SetNoteDuration(kDurationCycle[size_t(durationCounter_ - 1)]); });
    }
    if (Shift == 2 && KeyCode == keys::D) {
        // Claimed from the text view's own binding, which would delete a character.
        KeyCode = 0;
        if (host_.repeatScaling)
            host_.repeatScaling();
        return;
    }
    if (Shift == 0 && KeyCode == keys::Enter && host_.caretNearLineEnd && host_.caretNearLineEnd()) {
        KeyCode = 0;
        if (!editor_.acceptsTyping(QStringLiteral("\r\n")))
            return;
        // The break and the format of the line it opens are one step: undone, the line goes at once.
        undo_.RecordStep([this] {
            editor_.setSelText(QStringLiteral("\r\n"));
            const platform::PromptAnswer answer = Prompts::current().ask(
                { QStringLiteral("下一行输入简谱？"), platform::kProgramTitle, platform::PromptIcon::Question,
                    platform::PromptButtons::YesNo, platform::PromptAnswer::Yes });
            applyTypingFormats(answer == platform::PromptAnswer::Yes);
        });
        return;
    }
    // The notation keys rewrite the text themselves: the selection moves they make are the edit's own,
    // not a caret move during typing, so the bar inference sees a bar line typed where it was typed.
    if (KeyCode != 0)
        busy([&] { undo_.KeyDown(KeyCode, Shift); });
}

void EditorKeyboard::KeyUp(int& KeyCode, int Shift)
{
    const double size = editor_.SelFontSize();
    if (host_.setFontSizePanel)
        host_.setFontSizePanel(FontSizePanelText(size));
    if (host_.keyUpFontSize)
        host_.keyUpFontSize(size);
    undo_.KeyUp(KeyCode, Shift);
}

void EditorKeyboard::KeyPress(int& KeyAscii)
{
    // Notation keys put their characters in themselves and swallow the key. Anything else that types
    // a character no notation key makes (another keyboard layout, a compose key, a tool that types
    // text) would land in the notation font: on a notation line it is refused as the input-method key
    // is. Lyric lines take every character.
    if (KeyAscii < 0x80 || !undo_.CaretOnNotationLine())
        return;
    KeyAscii = 0;
    Prompts::current().information(kInputMethodMessage);
}

void EditorKeyboard::applyTypingFormats(bool notation)
{
    editor_.setSelLength(2);
    applyTypingFormat(notation);
    editor_.setSelLength(0);
}

void EditorKeyboard::applyTypingFormat(bool notation)
{
    const notation::ColorScheme colors = host_.colors ? *host_.colors : notation::ColorScheme {};
    if (notation) {
        editor_.setSelFontName(notation::NoteFontFamily);
        if (host_.NotationFontSize)
            editor_.setSelFontSize(*host_.NotationFontSize);
        editor_.setSelColor(StoredColor(colors.JpLineColor));
    } else {
        editor_.setSelFontName(notation::TextFontFamily);
        if (host_.TextFontSize)
            editor_.setSelFontSize(*host_.TextFontSize);
        editor_.setSelColor(StoredColor(colors.LyricLineColor));
    }
}

void EditorKeyboard::setTypingFont(bool notation, platform::RunFormat& format) const
{
    format.font = notation ? notation::NoteFontFamily : notation::TextFontFamily;
    if (const double* size = notation ? host_.NotationFontSize : host_.TextFontSize)
        ScaleFormat(format, { FontScaling::Way::Size, *size });
}

} // namespace tunvale::editor
