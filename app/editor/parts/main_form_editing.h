#pragma once

#include "app/editor/editing/editor_keyboard.h"
#include "app/editor/editing/input_method_filter.h"
#include "app/editor/editing/note_commands.h"
#include "app/editor/editing/undo_engine.h"
#include "app/editor/parts/main_form_part.h"
#include "app/notation/score_header.h"
#include "platform/richtext/font_tally.h"
#include "platform/richtext/text_height.h"

// The main window's editing: the undo engine bound to the editor, the notation commands and the
// keyboard, with the window's handlers of the editor's events, its edit and insert menus and the
// toolbar commands that rewrite notes. The window creates it at its load.
namespace tunvale::editor {

// Said when typing would leave a score the window cannot show.
inline const QString kTypingRefused
    = QStringLiteral("输入后乐谱排开的高度将超过 %1 像素，无法显示，没有输入。")
          .arg(qint64(platform::kMaxTextHeight));
inline const QString kTypingFontsRefused
    = QStringLiteral("输入后乐谱用到的字体将超过 %1 种（字体、字号和粗细的搭配），无法显示，没有输入。")
          .arg(platform::kMostFonts);

class MainFormEditing : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormEditing(MainForm& form);

    UndoEngine& undo() { return undo_; }
    NoteCommands& noteCommands() { return noteCommands_; }
    EditorKeyboard& keyboard() { return keyboard_; }

    // Recolours the notation lines (IsJP) or the lyric lines without marking the score modified.
    void recolourLines(bool IsJP);
    // Fills the notation-only view with the notation lines.
    void ShowLineMarks();

    void selectionChanged();
    void barChanged(int Xj);
    void undoStateChanged();
    // The caret's bar and the bar count (panel 5), and the selection's font size (panel 8).
    void showBarPanel();
    void showFontSizePanel();
    void enableEditMenu();
    void enableInsertMenu();
    void enableFormatMenu();
    void toggleTiledView();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void defineCommands();
    void connectMenus();

    UndoEngine undo_;
    NoteCommands noteCommands_;
    EditorKeyboard keyboard_;
    InputMethodFilter inputMethodFilter_;
    int caretBar_ = 0; // the bar last announced for the caret
};
using ScoreEditing = MainFormEditing;

} // namespace tunvale::editor
