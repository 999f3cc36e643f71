#pragma once

#include "app/notation/drum_record.h"

#include <QByteArray>

#include <vector>

// Byte snapshots of the whole per-bar drum store, one per undo step that changes the records (a drum
// operation, or a change of the score's bar count). The undo engine decides when; this stack only
// keeps and restores the copies, in the order of the engine's steps.
namespace tunvale::drums {

class DrumUndoStack
{
public:
    DrumUndoStack();

    // Forgets every snapshot.
    void clear();
    // Keeps a copy of `records`, also of an empty store, so that every push has its undo. A newer
    // snapshot that was undone can no longer be redone.
    void push(const notation::DrumStore& records);
    // Puts back the records before the last step still in force, keeping the present ones for a redo
    // when no undo came since the last push. True when there was nothing to undo.
    bool undo(notation::DrumStore& records);
    // Puts back the records after the next undone step. True when there was nothing to redo.
    bool redo(notation::DrumStore& records);

    int top() const { return top_; }
    int next() const { return next_; }
    // The highest snapshot index held without growing.
    int capacity() const { return int(snapshots_.size()) - 1; }
    // The records held by snapshot i.
    notation::DrumStore snapshot(int i) const;

private:
    void store(int i, const notation::DrumStore& records);
    void restore(int i, notation::DrumStore& records) const;

    std::vector<QByteArray> snapshots_; // the records' bytes, whole records
    int top_ = -1; // the last pushed snapshot
    int next_ = 0; // the present state's position
};

using ArrUndoNew = DrumUndoStack;

// Moves the records when a step deleted `delN` bars at `delAt` and added `addN` bars at `addAt`:
// deleted bars' records go, the records behind them close up; added bars push the records from
// `addAt` on back and come without drums, keeping the bytes that were there. Deleting every record
// leaves `addN` empty records, or the old ones when none are added; deleting more leaves one.
// Positions outside the store are held to it; a delete position below -1 deletes nothing.
void ShiftRecordsForBars(notation::DrumStore& records, int delAt, int delN, int addAt, int addN);

// Cuts or pads the store at its end to `bars` records; nothing when `bars` is below 1.
void FitRecordsToBars(notation::DrumStore& records, int bars);

} // namespace tunvale::drums
