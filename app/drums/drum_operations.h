#pragma once

#include "app/drums/drum_undo_stack.h"
#include "app/notation/drum_record.h"

#include <vector>

// The drum operations on the per-bar records and their undo. Every change the user makes to the
// records is one numbered operation, applied as one step of the score's undo engine; the engine's
// drum and bar-change events drive the snapshot stack here.
namespace tunvale::drums {

enum class DrumOp : int {
    DropTemplate = 0, // a template dropped on a bar
    Paste = 1, // the copied pattern pasted on a bar
    Delete = 2, // a bar's drums off
    FromEditor = 3, // the drum editor sends its pattern to a bar
    FromMenu = 4, // a pattern chosen in the insert menu, at the caret's bar
    DeleteAll = 5,
    PasteAll = 6,
    PasteRange = 7,
    DeleteRange = 8,
};

// The pending operation: its code, its bar (codes 0 to 3) and its range (codes 7 and 8, either
// order).
struct DrumOperation {
    DrumOp code = DrumOp::DropTemplate;
    int bar = 0;
    int first = 0;
    int last = 0;
};

// Applies `op` with `clip` as the transfer record; `caretBar` is the target of a menu pattern. A
// target outside the store changes nothing; a range is held to the store. Unknown codes change
// nothing.
void ApplyDrumOperation(
    notation::DrumStore& records, const notation::DrumRecord& clip, const DrumOperation& op, int caretBar);

// The strip's has-drum flags, one per record: a bar has drums when its flag byte is exactly 1. An
// empty store first gets one empty record.
std::vector<bool> StripFlags(notation::DrumStore& records);

// What the drum steps need of the window.
class DrumWindow
{
public:
    virtual ~DrumWindow() = default;
    // The strip shows the records' flags with `bar` current.
    virtual void RefreshDrumSlider(int bar) = 0;
    virtual void markScoreModified() = 0;
    // A short click that says a drum step was done, undone or redone.
    virtual void playStepClick() = 0;
    // The score's bar count as the undo engine counted it.
    virtual int barCount() const = 0;
};

class DrumOperations
{
public:
    DrumOperations(notation::DrumStores& stores, DrumWindow& window);

    // A score was opened: no snapshots, and no operation's bar to show after an undo.
    void forgetSnapshots() { stack_.clear(); }
    void forgetShownBars();

    // The undo engine's drum step: aType 0 applies the pending operation at `caretBar`, -1 undoes and
    // 1 redoes the last one.
    void drumStepChanged(int caretBar, int aType);
    // The undo engine's bar-change step: aType 0 moves the records for the deleted and added bars and
    // keeps one record per bar; -1 and 1 undo and redo that.
    void barsChanged(int delAt, int delN, int addAt, int addN, int start, int aType);

    DrumOperation pending;
    // The bar whose record was handed to the drum editor.
    int EditedBar = 0;

    const std::vector<int>& DrumUndoBars() const { return undoBars_; }
    const std::vector<int>& DrumRedoBars() const { return redoBars_; }
    int LastDrumBar() const { return lastDrumBar_; }
    const DrumUndoStack& stack() const { return stack_; }

private:
    notation::DrumStores& stores_;
    DrumWindow& window_;
    DrumUndoStack stack_;
    std::vector<int> undoBars_;
    std::vector<int> redoBars_;
    int lastDrumBar_ = 0;
};

} // namespace tunvale::drums
