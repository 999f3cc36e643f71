#include "glyphrank.h"

#include "components/glyphrank/order_tables.h"
#include "platform/text/text_compare.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tunvale::glyphrank {

namespace {

QString makeSignBlock()
{
    // Spaces, punctuation (a full-width form right after its half-width twin), brackets, currency,
    // mathematical and arrow signs; then the digits, then each lower-case letter before its capital.
    QString block
        = QString::fromUtf16(u" \u3000!\uFF01#$%&(\uFF08)\uFF09,\uFF0C.'-\u2014\u3002\uFF1A;\uFF1B@["
                             u"]^_`{}~\uFF5E\u2018\u201C\u300A\u300B\uFFE5\u300E\u300F\u3010"
                             u"\u3011+=\u2260\u00B1\u00D7\u00F7\u2234\u2235\u2248\u25B3\u25C6"
                             u"\u25C7\u25CB\u25CE\u25CF\u2191\u2192\u2193\u2190\u00A7\u00B7"
                             u"\u3013\u2606\u2605\u2026");
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        block += QChar(digit);
    for (char16_t letter = u'a'; letter <= u'z'; ++letter)
        block.append(QChar(letter)).append(QChar(letter - 32));
    return block;
}

const QString& pinyinTable()
{
    static const QString table = SignBlock() + pinyinCharacters();
    return table;
}

const QString& strokeTable()
{
    static const QString table = SignBlock() + strokeCharacters();
    return table;
}

// One rank table per order, built the first time a sorter of that order is made.
const std::vector<int>& pinyinRanks()
{
    static const std::vector<int> ranks = buildRankTable(pinyinTable());
    return ranks;
}

const std::vector<int>& strokeRanks()
{
    static const std::vector<int> ranks = buildRankTable(strokeTable());
    return ranks;
}

// A text as the sort sees it: padded with spaces to the longest text.
struct PaddedText {
    const QChar* data;
    qsizetype size;
    char16_t at(qsizetype pos) const { return pos < size ? data[pos].unicode() : u' '; }
};

// Most runs past the first positions are short; sorting them by insertion saves the buffer that
// std::stable_sort allocates on every call.
void stableSortByKey(std::vector<qsizetype>::iterator first, std::vector<qsizetype>::iterator last,
    const std::vector<int>& key)
{
    if (last - first > 16) {
        std::stable_sort(first, last, [&key](qsizetype a, qsizetype b) { return key[a] < key[b]; });
        return;
    }
    for (auto it = first + 1; it < last; ++it) {
        const qsizetype moving = *it;
        auto hole = it;
        for (; hole != first && key[*(hole - 1)] > key[moving]; --hole)
            *hole = *(hole - 1);
        *hole = moving;
    }
}

QString withoutTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

} // namespace

const QString& SignBlock()
{
    static const QString block = makeSignBlock();
    return block;
}

ChineseSort::ChineseSort(Order order)
    : ranks_(order == Order::Pinyin ? &pinyinRanks() : &strokeRanks())
    , orderTable_(order == Order::Pinyin ? pinyinTable() : strokeTable())
{
}

ChineseSort::~ChineseSort() = default;

int ChineseSort::CharRank(QChar c) const { return (*ranks_)[c.unicode()]; }

bool ChineseSort::Glyphrank(QStringList& aStr, QStringList& Extra_message)
{
    const qsizetype n = aStr.size();
    if (Extra_message.size() < n)
        return false;

    std::vector<PaddedText> texts;
    texts.reserve(n);
    qsizetype maxLen = 0;
    for (const QString& s : std::as_const(aStr)) {
        texts.push_back({ s.constData(), s.size() });
        maxLen = std::max(maxLen, s.size());
    }

    // order[k] is the original index of the text now at place k. A run is a stretch of neighbours whose
    // characters before the current position are all equal: only they may change places there, so each
    // run is sorted stably on its own, then split where the characters at that position differ.
    std::vector<qsizetype> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    if (n >= 2)
        runs.emplace_back(0, n);
    std::vector<int> key(n);
    const std::vector<int>& ranks = *ranks_;
    for (qsizetype pos = 0; pos < maxLen && !runs.empty(); ++pos) {
        std::vector<std::pair<qsizetype, qsizetype>> next;
        for (const auto& [begin, end] : runs) {
            for (qsizetype k = begin; k < end; ++k)
                key[order[k]] = ranks[texts[order[k]].at(pos)];
            stableSortByKey(order.begin() + begin, order.begin() + end, key);
            qsizetype start = begin;
            for (qsizetype k = begin + 1; k <= end; ++k) {
                if (k == end || texts[order[k]].at(pos) != texts[order[k - 1]].at(pos)) {
                    if (k - start >= 2)
                        next.emplace_back(start, k);
                    start = k;
                }
            }
        }
        runs = std::move(next);
        if (callback_)
            callback_(static_cast<int>((pos + 1) * 100 / maxLen));
    }
    // The progress after the last pass over the last position, as whole percent.
    if (maxLen > 0 && n >= 2)
        progress_ = static_cast<int>(std::lround(double(n - 2) / double(n - 1) * 100));

    QStringList sorted;
    QStringList moved;
    sorted.reserve(n);
    moved.reserve(n);
    for (qsizetype k = 0; k < n; ++k) {
        sorted.append(withoutTrailingSpaces(aStr[order[k]]));
        moved.append(Extra_message[order[k]]);
    }
    aStr = std::move(sorted);
    std::copy(moved.begin(), moved.end(), Extra_message.begin());
    return false;
}

SortPY::SortPY()
    : ChineseSort(Order::Pinyin)
{
}

SortBH::SortBH()
    : ChineseSort(Order::Strokes)
{
}

std::unique_ptr<ChineseSort> createSorter(SortOrder order)
{
    if (order == SortOrder::Pinyin)
        return std::make_unique<SortPY>();
    return std::make_unique<SortBH>();
}

} // namespace tunvale::glyphrank
