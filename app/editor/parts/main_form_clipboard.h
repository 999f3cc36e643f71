#pragma once

#include "app/editor/parts/main_form_part.h"
#include "platform/richtext/font_tally.h"
#include "platform/richtext/text_height.h"

#include <QPoint>
#include <QString>

#include <functional>

class QMenu;

// The main window's clipboard and selection commands, the editor's mouse release with its
// right-button menu, the switch between notation and lyric typing, and the clean-up of old highlight
// marks.
namespace tunvale::editor {

// True when the clipboard offers neither text nor rich text; a picture alone counts as nothing to
// paste, since a score holds none.
bool ClipboardEmpty();

// Said when a paste or a drop would make the score too tall to show; nothing is inserted.
inline const QString kPasteRefused
    = QStringLiteral("粘贴后乐谱排开的高度将超过 %1 像素，无法显示，没有粘贴。")
          .arg(qint64(platform::kMaxTextHeight));
inline const QString kPasteFontsRefused
    = QStringLiteral("粘贴后乐谱用到的字体将超过 %1 种（字体、字号和粗细的搭配），无法显示，没有粘贴。")
          .arg(platform::kMostFonts);
class MainFormClipboard : public MainFormPart
{
    Q_OBJECT

public:
    explicit MainFormClipboard(MainForm& form);

    // Each is one undo step where it changes the text; the editor keeps the focus. A paste that would
    // make the score too tall to show says so and changes nothing.
    void cut();
    void copy();
    void paste();
    // Selects the whole score and shows its first line at the top.
    void selectAll();
    // Forgets every undo and redo step once the user confirms.
    void resetUndo();

    // A mouse button released in the editor (1 left, 2 right): the font-size panel, the caret out of
    // a symbol run, then the format brush (left) or the editing menu (right).
    void mouseReleased(int button);

    // "简谱行": types on in notation or in lyrics from the caret's line.
    void switchTypingLine();

    // Clears the background marks of colour number 2 and up, copies the score into the playback view
    // and starts both at the top in the editing background colour; the saved flag stays. An open runs
    // it before the undo history is reset, the colour dialog while it is open, so that its Cancel
    // takes the clean-up back with its colours.
    void cleanHighlightMarks();

    // Shows the editing menu at a point of the screen; tests record instead.
    void setMenuShower(std::function<void(QMenu&, const QPoint&)> shower) { showMenu_ = std::move(shower); }

private:
    void showEditMenu();

    std::function<void(QMenu&, const QPoint&)> showMenu_;
};

} // namespace tunvale::editor
