#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/performance_compiler.h"
#include "app/notation/score_header.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

#include <optional>
#include <utility>

namespace tunvale::playback {

// The check items of the Play menu that the play commands read and set.
enum class PlayItem { DrumPZ, HeYing, SameSpeed, GotoGoplay, CtrlPlay };

// What the play commands need of the main window. The main window implements it; tests use a fake.
// Every call comes from the GUI thread.
class PlayWindow
{
public:
    virtual ~PlayWindow() = default;

    // The open score.
    virtual notation::ScoreHeader& header() = 0;
    virtual notation::DrumStores& drumStores() = 0;
    virtual platform::RichTextSnapshot scoreSnapshot() const = 0;
    virtual QString scoreText() const = 0;
    // Where a compile takes the play order from: the order set for an untitled score while its key
    // holds, else the stored one (LoadedPlayOrder).
    virtual notation::PlayOrderSource playOrderSource() const = 0;

    // The score editor's caret and the bar that holds it.
    virtual int editorCaret() const = 0;
    virtual void setEditorCaret(int position) = 0;
    virtual int caretBar() const = 0;

    virtual bool isChecked(PlayItem item) const = 0;
    virtual void setChecked(PlayItem item, bool checked) = 0;
    // The instrument list's index: the General MIDI program.
    virtual int instrument() const = 0;

    // Locks the controls for a play (`melody` false: drum-only) or unlocks them again.
    virtual void PlayControlsEnabled(bool playing, bool melody) = 0;
    virtual void setPauseText(const QString& text) = 0;
    virtual void showPlayTime(const QString& text) = 0;
    virtual void setBreakpointCaption(const QString& text) = 0;

    // The playback view: a working copy of the score in front of the editor, and back.
    virtual void MakeWorkingCopy() = 0;
    virtual void RestoreScoreView() = 0;
    // The current selection of the playback view gets the editing background back and, when given,
    // its own colour.
    virtual void restorePlayedNote(std::optional<platform::SnapshotColor> ownColor) = 0;
    // Selects the character at `position` and gives it the played-note colour.
    virtual void selectPlayedNote(int position) = 0;
    // The played-note background on the current selection.
    virtual void markPlayedNoteBack() = 0;
    virtual void clearPlaySelection() = 0;
    // The row of the playback view's caret, 0 at the top of the view, and a scroll by display lines
    // (positive moves the text up).
    virtual int caretViewRow() const = 0;
    virtual void scrollViewLines(int lines) = 0;

    // The bar strip: the bar being played, the current bar (ignored past the last bar), and the two
    // ends of the marked range (-1 unset).
    virtual void showPlayedBar(int bar) = 0;
    virtual void setStripBar(int bar) = 0;
    virtual std::pair<int, int> stripRange() const = 0;

    virtual void keepScreenAwake(bool awake) = 0;
    // The busy cursor while a play waits for the output to finish opening.
    virtual void showBusy(bool busy) = 0;
    // The drum editor's controls, given back at the end of its audition.
    virtual void drumEditorControlsEnabled(bool enabled) = 0;
};

} // namespace tunvale::playback
