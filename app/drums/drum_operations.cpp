#include "app/drums/drum_operations.h"

#include <algorithm>

namespace tunvale::drums {

using notation::DrumRecord;
using notation::DrumStore;

namespace {

bool inStore(const DrumStore& records, int bar) { return bar >= 0 && bar < int(records.size()); }

void pasteOn(DrumStore& records, const DrumRecord& clip, int bar)
{
    if (!inStore(records, bar))
        return;
    records[std::size_t(bar)] = clip;
    records[std::size_t(bar)].HaveDrum = 1;
}

// A stale range (marks kept while the score shrank) acts on the bars that still exist.
template <typename Change> void forRange(DrumStore& records, int a, int b, Change change)
{
    const int from = std::max(std::min(a, b), 0);
    const int to = std::min(std::max(a, b), int(records.size()) - 1);
    for (int bar = from; bar <= to; ++bar)
        change(records[std::size_t(bar)]);
}

} // namespace

void ApplyDrumOperation(DrumStore& records, const DrumRecord& clip, const DrumOperation& op, int caretBar)
{
    const int last = int(records.size()) - 1;
    switch (op.code) {
    case DrumOp::DropTemplate:
    case DrumOp::Paste:
    case DrumOp::FromEditor:
        pasteOn(records, clip, op.bar);
        break;
    case DrumOp::Delete:
        if (inStore(records, op.bar))
            records[std::size_t(op.bar)].HaveDrum = 0;
        break;
    case DrumOp::FromMenu:
        pasteOn(records, clip, caretBar);
        break;
    case DrumOp::DeleteAll:
        forRange(records, 0, last, [](DrumRecord& r) { r.HaveDrum = 0; });
        break;
    case DrumOp::PasteAll:
        forRange(records, 0, last, [&clip](DrumRecord& r) { r = clip; });
        break;
    case DrumOp::PasteRange:
        forRange(records, op.first, op.last, [&clip](DrumRecord& r) { r = clip; });
        break;
    case DrumOp::DeleteRange:
        forRange(records, op.first, op.last, [](DrumRecord& r) { r.HaveDrum = 0; });
        break;
    }
}

std::vector<bool> StripFlags(DrumStore& records)
{
    if (records.empty())
        records.resize(1);
    std::vector<bool> flags(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        flags[i] = records[i].HaveDrum == 1;
    return flags;
}

DrumOperations::DrumOperations(notation::DrumStores& stores, DrumWindow& window)
    : stores_(stores)
    , window_(window)
{
}

void DrumOperations::forgetShownBars()
{
    undoBars_.clear();
    redoBars_.clear();
}

void DrumOperations::drumStepChanged(int caretBar, int aType)
{
    DrumStore& records = stores_.XjDrums;
    int shown = caretBar;
    if (aType == 0) {
        stack_.push(records);
        ApplyDrumOperation(records, stores_.DrumClip, pending, caretBar);
        undoBars_.push_back(caretBar);
        redoBars_.clear();
        lastDrumBar_ = caretBar;
    } else if (aType == -1) {
        stack_.undo(records);
        // The bar of the operation still in force before this one; bar 0 when none is left.
        const std::size_t n = undoBars_.size();
        shown = n >= 2 ? undoBars_[n - 2] : 0;
        redoBars_.push_back(shown);
        if (n > 0)
            undoBars_.pop_back();
    } else if (aType == 1) {
        stack_.redo(records);
        const std::size_t n = redoBars_.size();
        shown = n >= 2 ? redoBars_[n - 2] : n == 1 ? lastDrumBar_ : 0;
        undoBars_.push_back(shown);
        if (n > 0)
            redoBars_.pop_back();
    } else {
        return;
    }
    window_.markScoreModified();
    window_.RefreshDrumSlider(shown);
    window_.playStepClick();
}

void DrumOperations::barsChanged(int delAt, int delN, int addAt, int addN, int start, int aType)
{
    DrumStore& records = stores_.XjDrums;
    if (aType == 0) {
        stack_.push(records);
        ShiftRecordsForBars(records, delAt, delN, addAt, addN);
        // The engine's guess at which bars went can miss the real change in count; a save must
        // still write one record per bar.
        FitRecordsToBars(records, window_.barCount());
    } else if (aType == -1) {
        stack_.undo(records);
    } else if (aType == 1) {
        stack_.redo(records);
    } else {
        return;
    }
    window_.RefreshDrumSlider(start);
}

} // namespace tunvale::drums
