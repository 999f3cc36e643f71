#include "app/drums/drum_undo_stack.h"

#include <algorithm>
#include <cstring>

namespace tunvale::drums {

using notation::DrumRecord;
using notation::DrumStore;

namespace {
constexpr int kFirstSnapshots = 32;
constexpr int kGrowth = 8;
} // namespace

DrumUndoStack::DrumUndoStack() { clear(); }

void DrumUndoStack::clear()
{
    top_ = -1;
    next_ = 0;
    snapshots_.assign(std::size_t(kFirstSnapshots), QByteArray());
}

void DrumUndoStack::store(int i, const DrumStore& records)
{
    if (i > capacity())
        snapshots_.resize(snapshots_.size() + kGrowth);
    snapshots_[std::size_t(i)] = QByteArray(
        reinterpret_cast<const char*>(records.data()), qsizetype(records.size()) * DrumRecord::Size);
}

void DrumUndoStack::restore(int i, DrumStore& records) const
{
    const QByteArray& bytes = snapshots_[std::size_t(i)];
    records.resize(std::size_t(bytes.size()) / DrumRecord::Size);
    if (!bytes.isEmpty())
        std::memcpy(static_cast<void*>(records.data()), bytes.constData(), std::size_t(bytes.size()));
}

DrumStore DrumUndoStack::snapshot(int i) const
{
    DrumStore records;
    if (i >= 0 && i <= capacity())
        restore(i, records);
    return records;
}

void DrumUndoStack::push(const DrumStore& records)
{
    const int i = next_;
    store(i, records);
    // The snapshots above are out of reach now; let their memory go.
    for (int j = i + 1; j <= capacity(); ++j)
        snapshots_[std::size_t(j)] = QByteArray();
    top_ = i;
    next_ = i + 1;
}

bool DrumUndoStack::undo(DrumStore& records)
{
    if (next_ < 1)
        return true;
    if (top_ < next_)
        store(next_, records);
    restore(next_ - 1, records);
    --next_;
    return false;
}

bool DrumUndoStack::redo(DrumStore& records)
{
    if (next_ > top_)
        return true;
    restore(next_ + 1, records);
    ++next_;
    return false;
}

void ShiftRecordsForBars(DrumStore& records, int delAt, int delN, int addAt, int addN)
{
    const int n = int(records.size());
    if (n - delN <= 0) {
        if (delN == n && addN > 0)
            records.assign(std::size_t(addN), DrumRecord {});
        else if (delN > n)
            records.assign(1, DrumRecord {});
        return;
    }
    if (delN > 0 && delAt >= -1) {
        const int p = std::max(delAt, 0);
        if (p < n) {
            const int count = std::min(delN, n - p);
            records.erase(records.begin() + p, records.begin() + p + count);
        }
    }
    if (addN > 0) {
        const int count = int(records.size());
        const int q = std::clamp(addAt, 0, count);
        records.resize(std::size_t(count) + std::size_t(addN));
        std::memmove(static_cast<void*>(records.data() + q + addN), records.data() + q,
            std::size_t(count - q) * DrumRecord::Size);
        for (int i = q; i < q + addN; ++i)
            records[std::size_t(i)].HaveDrum = 0;
    }
}

void FitRecordsToBars(DrumStore& records, int bars)
{
    if (bars >= 1)
        records.resize(std::size_t(bars));
}

} // namespace tunvale::drums
