#pragma once

#include "app/editor/editing/note_commands.h"
#include "app/editor/editing/undo_engine.h"
#include "app/notation/score_header.h"
#include "platform/richtext/rich_text_box.h"

#include <QObject>

#include <cstdint>
#include <functional>

// The main window's side of the editor's keys: the font sizes in use, the Shift+P and Shift+D cycles
// of octave and duration, Ctrl+D, and Enter at a line end that asks how the next line is typed. The
// undo engine's key handler runs after it, unless it swallowed the key.
namespace tunvale::editor {

// Where the caret stands, as the selection handler keeps it.
struct CaretState {
    int CaretLine = 1; // 1-based
    int CaretColumn = 1; // 1-based
    bool CaretNearLineEnd = false; // fewer than two characters after the caret on its line
};
CaretState ReadCaretState(const platform::RichTextBox& editor);

// Status bar texts of the caret (panel 4), its bar (panel 5) and the font size (panel 8; the label
// alone for a selection of mixed sizes, whose size is 0).
QString CaretPanelText(const CaretState& caret);
QString BarPanelText(int Xj, int barCount);
QString FontSizePanelText(double size);

struct KeyboardHost {
    double* NotationFontSize = nullptr;
    double* TextFontSize = nullptr;
    bool* NotationCmdBusy = nullptr;
    const notation::ColorScheme* colors = nullptr;
    // The window's CaretNearLineEnd of the last selection change.
    std::function<bool()> caretNearLineEnd;
    std::function<void()> repeatScaling;
    std::function<void(const QString&)> setFontSizePanel;
    // After each key release, the caret's font size; the symbol palette follows it while open.
    std::function<void(double)> keyUpFontSize;
};

class EditorKeyboard : public QObject
{
    Q_OBJECT

public:
    EditorKeyboard(platform::RichTextBox& editor, UndoEngine& undo, NoteCommands& commands, KeyboardHost host,
        QObject* parent = nullptr);

    // RichTextBox1_KeyDown and RichTextBox1_KeyUp: the window's handling, then the undo engine's.
    void KeyDown(int& KeyCode, int Shift);
    void KeyUp(int& KeyCode, int Shift);
    // A typed character; 0 keeps it out of the text.
    void KeyPress(int& KeyAscii);
    // Gives the selection the typing format of notation lines or of lyric lines: font, size in use
    // and colour.
    void applyTypingFormat(bool notation);
    // Gives `format` the font and size of that typing format.
    void setTypingFont(bool notation, platform::RunFormat& format) const;

private:
    void busy(const std::function<void()>& command);
    // Gives the line that Enter opened the notation or the text format.
    void applyTypingFormats(bool notation);

    platform::RichTextBox& editor_;
    UndoEngine& undo_;
    NoteCommands& commands_;
    KeyboardHost host_;
    int octaveCounter_ = 0;
    int durationCounter_ = 0;
};

} // namespace tunvale::editor
