#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Sorting Chinese titles by the reading order of their characters: by pinyin (SortPY) or by stroke count
// (SortBH). A character's rank is its first place in the class's OrderTable: the signs, digits and
// letters of SignBlock, then the Chinese characters in the class's order.
namespace tunvale::glyphrank {

class ChineseSort
{
public:
    using ProgressCallback = std::function<void(int percent)>;

    virtual ~ChineseSort();
    ChineseSort(const ChineseSort&) = delete;
    ChineseSort& operator=(const ChineseSort&) = delete;

    // Sorts aStr in place, character position by character position, and moves Extra_message along
    // as the same permutation. At each position only neighbours whose earlier characters are exactly
    // equal are reordered, stably, by the rank of the character there. Texts are compared as if padded
    // with spaces to the longest, and come back without trailing spaces. A companion array shorter
    // than aStr is refused and neither array changes. Always returns false; callers ignore it.
    bool Glyphrank(QStringList& aStr, QStringList& Extra_message);

    // The progress of the running or last sort, in percent.
    int IsDoing() const { return progress_; }

    // Called during a sort with the progress in percent; the sort itself never runs the event loop.
    void setProgressCallback(ProgressCallback callback) { callback_ = std::move(callback); }

    const QString& OrderTable() const { return orderTable_; }

    // The 1-based place of `c` in OrderTable, letters compared without case and full-width forms as
    // their ASCII twins; 0 for a character that is not there.
    int CharRank(QChar c) const;

protected:
    enum class Order { Pinyin, Strokes };
    explicit ChineseSort(Order order);

private:
    const std::vector<int>* ranks_;
    QString orderTable_;
    int progress_ = 0;
    ProgressCallback callback_;
};

// Pinyin order: syllables alphabetically, a character with several readings under each of them.
class SortPY final : public ChineseSort
{
public:
    SortPY();
};

// Stroke order: total strokes, then code point.
class SortBH final : public ChineseSort
{
public:
    SortBH();
};

// The 128 signs, digits and letters that head both orders.
const QString& SignBlock();

enum class SortOrder { Pinyin, Strokes };

// A new sorter of the given order: SortPY for Pinyin, SortBH for Strokes.
std::unique_ptr<ChineseSort> createSorter(SortOrder order);

} // namespace tunvale::glyphrank
