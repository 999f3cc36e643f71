#pragma once

#include "app/frame/read_vls.h"
#include "app/notation/drum_record.h"
#include "app/notation/play_order.h"
#include "app/notation/score_header.h"

#include <QString>

class QWidget;

namespace tunvale::platform {
class RichTextBox;
}

// What the score file commands need of the score window: its score, the controls that show the
// score's settings, and the members of the editor, undo engine and bar strip that a load resets.
namespace tunvale::frame {

class ScoreWindow : public VlsSettingsTarget
{
public:
    // The score and its stores.
    virtual notation::ScoreHeader& header() = 0;
    virtual notation::ColorScheme& colors() = 0;
    virtual notation::DrumStore& XjDrums() = 0;
    virtual notation::PlayOrder& playOrder() = 0;
    virtual platform::RichTextBox& RichTextBox1() = 0;
    // True for a print start, whose score never enters the recent list.
    virtual bool PrintStart() const = 0;

    // The owner of the file dialogs.
    virtual QWidget* dialogOwner() = 0;
    // The screen's logical pixels per inch, stored with a saved score.
    virtual int screenDpi() const = 0;

    // Controls that show and take the score's settings.
    virtual void fillSoundList() = 0; // ComSounds from the player's instrument names
    // The header's instrument, tempo and volume in ComSounds, Text_Speed, Text_Volume and VScroll1.
    virtual void showScoreValues() = 0;
    virtual int instrumentIndex() const = 0;
    virtual QString speedText() const = 0;
    virtual QString volumeText() const = 0;
    virtual bool drumPZChecked() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setBarPanelText(const QString& text) = 0; // StatusBar1 panel 5
    virtual void resetCaret() = 0; // CaretLine 1, selection at the start

    // Members that a load resets.
    virtual void keepCurrentFile(const QString& path) = 0; // the window's own copy of CurrentFile
    virtual void startHighlightCleaner() = 0; // Timer8
    virtual void UndoReset() = 0;
    virtual void JzRTB(bool userRightSpace) = 0;
    // The left and right indents in twips that JzRTB(false) gives every paragraph of a score with the
    // margins of `header`.
    virtual std::pair<int, int> paragraphIndents(const notation::ScoreHeader& header) const = 0;
    virtual int XJInteger() const = 0; // bars as the undo engine counted them
    virtual void RefreshDrumSlider(int bar) = 0;
    virtual void InitDrumUndo() = 0;
    virtual void clearDrumUndoLists() = 0; // DrumUndoList and DrumRedoList
    // What the window kept for the previous score (a play order chosen for it) goes.
    virtual void forgetPreviousScore() { }

    // [WinPos]'s value for this window: left, top, width, height in twips and "Normal"/"Maximized".
    virtual QString WindowPos() const = 0;
    // Rebuilds the recent-file items of the File menu.
    virtual void ShowRecentFiles() = 0;
    // Closes the window as the user would, save question included (it may be cancelled).
    virtual void closeWindow() = 0;
};

// [WinPos]'s value: the four numbers as the shortest text of single-precision values, then the state.
QString FormatWinPos(double left, double top, double width, double height, bool maximized);

} // namespace tunvale::frame
