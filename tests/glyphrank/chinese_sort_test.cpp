#include "glyphrank.h"
#include "platform/text/text_compare.h"

#include <QHash>

#include <cmath>
#include <random>

#include <gtest/gtest.h>

using namespace tunvale;
using glyphrank::ChineseSort;
using glyphrank::SortBH;
using glyphrank::SortPY;

namespace {

QStringList texts(std::initializer_list<const char16_t*> list)
{
    QStringList out;
    for (const char16_t* s : list)
        out << QString::fromUtf16(s);
    return out;
}

QStringList numbered(qsizetype n)
{
    QStringList out;
    for (qsizetype i = 0; i < n; ++i)
        out << QString::number(i);
    return out;
}

// The sort as a literal run of the bubble passes: every position, every pass, every neighbour pair,
// with ranks found by searching the order table from its start.
struct BubbleSort {
    explicit BubbleSort(const QString& table)
        : orderTable(table)
    {
    }

    int rank(QChar c)
    {
        const auto known = memo.constFind(c.unicode());
        if (known != memo.constEnd())
            return *known;
        int found = 0;
        for (qsizetype i = 0; i < orderTable.size() && found == 0; ++i) {
            if (platform::textCompareFold(orderTable[i].unicode()) == platform::textCompareFold(c.unicode()))
                found = static_cast<int>(i + 1);
        }
        memo.insert(c.unicode(), found);
        return found;
    }

    void sort(QStringList& a, QStringList& extra)
    {
        const qsizetype upper = a.size() - 1;
        qsizetype maxLen = 0;
        for (const QString& s : a)
            maxLen = std::max(maxLen, s.size());
        for (QString& s : a)
            s = s.leftJustified(maxLen, u' ');
        for (qsizetype pos = 1; pos <= maxLen; ++pos) {
            for (qsizetype j = 0; j <= upper - 1; ++j) {
                for (qsizetype i = 0; i <= upper - 1 - j; ++i) {
                    const bool samePrefix = pos == 1 || a[i].left(pos - 1) == a[i + 1].left(pos - 1);
                    if (samePrefix && rank(a[i][pos - 1]) > rank(a[i + 1][pos - 1])) {
                        a.swapItemsAt(i, i + 1);
                        extra.swapItemsAt(i, i + 1);
                    }
                }
                progress = static_cast<int>(std::lround(double(j) / double(upper) * 100));
            }
        }
        for (QString& s : a) {
            while (s.endsWith(u' '))
                s.chop(1);
        }
    }

    QString orderTable;
    QHash<char16_t, int> memo;
    int progress = 0;
};

} // namespace

TEST(ChineseSort, EdgeCasesInBothOrders)
{
    const struct {
        const char* what;
        QStringList input;
        QStringList sorted;
    } cases[] = {
        { "case twins keep their order", texts({ u"Ab", u"aB" }), texts({ u"Ab", u"aB" }) },
        { "an absent first character sorts first", texts({ u" a", u"1", u"\u554A", u"\uAC00x" }),
            texts({ u"\uAC00x", u" a", u"1", u"\u554A" }) },
        { "a prefix sorts first, trimmed", texts({ u"\u5F20\u4E09", u"\u5F20" }),
            texts({ u"\u5F20", u"\u5F20\u4E09" }) },
        { "one element is trimmed", texts({ u"\u5F20  " }), texts({ u"\u5F20" }) },
        { "all empty", texts({ u"", u"", u"" }), texts({ u"", u"", u"" }) },
        { "full-width and half-width twins rank equal", texts({ u"\uFF41b", u"a", u"\uFF01", u"!" }),
            texts({ u"\uFF01", u"!", u"\uFF41b", u"a" }) }, // later positions compare exact prefixes
        { "trailing spaces do not survive", texts({ u"b  ", u"a " }), texts({ u"a", u"b" }) },
        { "a text continued by an absent character sorts before its prefix", texts({ u"a", u"a\uAC00" }),
            texts({ u"a\uAC00", u"a" }) },
        { "no texts", QStringList(), QStringList() },
    };
    for (const auto order : { glyphrank::SortOrder::Pinyin, glyphrank::SortOrder::Strokes }) {
        for (const auto& c : cases) {
            auto sorter = glyphrank::createSorter(order);
            QStringList a = c.input;
            QStringList extra = numbered(a.size());
            EXPECT_FALSE(sorter->Glyphrank(a, extra));
            EXPECT_EQ(a, c.sorted) << c.what;
            // The companion array follows: each moved text still faces its original number.
            for (qsizetype k = 0; k < a.size(); ++k)
                EXPECT_EQ(c.input[extra[k].toInt()].trimmed(), a[k].trimmed()) << c.what;
        }
    }
}

TEST(ChineseSort, PinyinAndStrokeOrdersDiffer)
{
    // 长 reads chang and zhang: it sorts under chang, its first reading. 一 has one stroke.
    const QStringList input = texts({ u"\u5F20", u"\u4E00", u"\u957F", u"\u8336" });
    QStringList a = input;
    QStringList extra = numbered(a.size());
    SortPY().Glyphrank(a, extra);
    EXPECT_EQ(a, texts({ u"\u8336", u"\u957F", u"\u4E00", u"\u5F20" })); // cha, chang, yi, zhang
    a = input;
    SortBH().Glyphrank(a, extra);
    EXPECT_EQ(a, texts({ u"\u4E00", u"\u957F", u"\u5F20", u"\u8336" })); // 1, 4, 7, 9 strokes
}

TEST(ChineseSort, ProgressEndsAtTheLastPassOfTheLastPosition)
{
    const struct {
        qsizetype count;
        int progress;
    } cases[] = { { 1, 0 }, { 2, 0 }, { 3, 50 }, { 5, 75 }, { 9, 88 }, { 101, 99 } };
    for (const auto& c : cases) {
        SortBH sorter;
        QStringList a = numbered(c.count);
        QStringList extra = a;
        sorter.Glyphrank(a, extra);
        EXPECT_EQ(sorter.IsDoing(), c.progress) << c.count;
    }
    SortBH sorter;
    QStringList empty = texts({ u"", u"" });
    QStringList extra = empty;
    sorter.Glyphrank(empty, extra);
    EXPECT_EQ(sorter.IsDoing(), 0);

    std::vector<int> reported;
    sorter.setProgressCallback([&reported](int percent) { reported.push_back(percent); });
    QStringList a = texts({ u"ba", u"ab", u"aa" });
    extra = a;
    sorter.Glyphrank(a, extra);
    EXPECT_EQ(reported, (std::vector<int> { 50, 100 }));
}

TEST(ChineseSort, SecondSortOnOneObjectSorts)
{
    SortPY sorter;
    QStringList a = texts({ u"b", u"a" });
    QStringList extra = numbered(2);
    sorter.Glyphrank(a, extra);
    EXPECT_EQ(a, texts({ u"a", u"b" }));
    sorter.Glyphrank(a, extra); // sorted input stays as it is
    EXPECT_EQ(a, texts({ u"a", u"b" }));
    a = texts({ u"d", u"c" });
    sorter.Glyphrank(a, extra);
    EXPECT_EQ(a, texts({ u"c", u"d" }));
    EXPECT_EQ(sorter.OrderTable().size(), SortPY().OrderTable().size());
}

TEST(ChineseSort, ShortCompanionArrayIsRefused)
{
    SortBH sorter;
    QStringList a = texts({ u"b  ", u"a" });
    QStringList extra = texts({ u"x" });
    EXPECT_FALSE(sorter.Glyphrank(a, extra));
    EXPECT_EQ(a, texts({ u"b  ", u"a" }));
    EXPECT_EQ(extra, texts({ u"x" }));

    // A longer one is fine: its tail stays in place.
    extra = texts({ u"0", u"1", u"tail" });
    sorter.Glyphrank(a, extra);
    EXPECT_EQ(a, texts({ u"a", u"b" }));
    EXPECT_EQ(extra, texts({ u"1", u"0", u"tail" }));
}

TEST(ChineseSort, EqualsTheBubblePassesOnRandomArrays)
{
    // Case twins, full-width twins, absent characters (Hangul, the halves of a character beyond
    // U+FFFF), spaces, digits and Chinese characters, some of them polyphones.
    const QString alphabet = QString::fromUtf16(u"aAbB\uFF41\uFF21 \u30001\uFF11\uAC00\U00020000"
                                                u"\u5F20\u4E09\u957F\u554A\u963F\u5475\u7279");
    std::mt19937 random(20);
    auto pick = [&random](qsizetype n) { return std::uniform_int_distribution<qsizetype>(0, n - 1)(random); };
    for (const auto order : { glyphrank::SortOrder::Pinyin, glyphrank::SortOrder::Strokes }) {
        BubbleSort reference(glyphrank::createSorter(order)->OrderTable());
        for (int round = 0; round < 3000; ++round) {
            const qsizetype count = pick(12) + 1;
            const qsizetype letters = pick(alphabet.size() - 2) + 2;
            QStringList a;
            for (qsizetype k = 0; k < count; ++k) {
                // Many texts grow from an earlier one, so long common prefixes are frequent.
                QString s = (k > 0 && pick(2) == 0) ? a[pick(k)].left(pick(5)) : QString();
                for (qsizetype len = pick(6); len > 0; --len)
                    s += alphabet[pick(letters)];
                a << s;
            }
            QStringList extra = numbered(count);
            QStringList expected = a;
            QStringList expectedExtra = extra;
            reference.sort(expected, expectedExtra);

            auto sorter = glyphrank::createSorter(order);
            sorter->Glyphrank(a, extra);
            ASSERT_EQ(a, expected) << "round " << round;
            ASSERT_EQ(extra, expectedExtra) << "round " << round;
            ASSERT_EQ(sorter->IsDoing(), reference.progress) << "round " << round;
            reference.progress = 0;
        }
    }
}
