#include "app/playback/play_mode.h"
#include "app/playback/play_order_text.h"
#include "app/playback/play_texts.h"

#include <gtest/gtest.h>

using namespace tunvale::playback;

namespace {

TEST(PlayHelpers, ModeFromTheSwitches)
{
    struct Case {
        bool accompaniment, drums, harmony;
        int mode;
    };
    const Case cases[] = {
        { false, false, false, 0 },
        { false, true, false, 1 },
        { true, true, false, 2 },
        { true, true, true, 3 },
        { true, false, false, 4 },
        { false, false, true, 5 },
        { true, false, true, 6 },
        { false, true, true, 7 },
    };
    for (const Case& c : cases) {
        const int mode = int(PlayModeFor(c.accompaniment, c.drums, c.harmony));
        EXPECT_EQ(mode, c.mode) << c.accompaniment << c.drums << c.harmony;
        const ModeStreams streams = StreamsOf(mode);
        EXPECT_EQ(streams.drums, c.drums) << mode;
        EXPECT_EQ(streams.harmony, c.harmony) << mode;
        EXPECT_TRUE(streams.melody) << mode;
        EXPECT_TRUE(ModeIsFollowed(mode));
    }
    for (int mode : { 8, 9, 10 }) {
        EXPECT_TRUE(StreamsOf(mode).drums);
        EXPECT_FALSE(StreamsOf(mode).melody);
        EXPECT_EQ(ModeIsFollowed(mode), mode == 8);
    }
    EXPECT_FALSE(StreamsOf(11).drums || StreamsOf(-1).melody);
}

QString key(std::initializer_list<char16_t> codes)
{
    QString text(QChar(u'\x634F'));
    for (char16_t c : codes)
        text += QChar(c);
    return text;
}

TEST(PlayHelpers, TonicOfTheKeyMark)
{
    struct Case {
        QString text;
        int key;
        bool refused;
    };
    const Case cases[] = {
        { key({ 0x6227, 0x6341 }), 31, true }, // flat middle C
        { key({ 0x6226, 0x6341 }), 32, false }, // sharp middle C
        { key({ 0x633A }), 19, false }, // low C
        { key({ 0x634E }), 54, false }, // high B
        { key({ 0x6345 }), 38, false }, // middle G
        { key({ 0x6340 }), 30, false }, // low B
        { key({ 0x6227, 0x6347 }), 41, false }, // flat middle B
        { key({ 0x6226, 0x6343 }), 31, true }, // sharp E
        { key({ 0x6227, 0x634B }), 31, true }, // flat high F
        { key({ 0x6226, 0x6340 }), 31, true }, // sharp low B
        { key({ 0x6341, 0x6341 }), 31, false }, // two letters: not a key
        { key({ u'x' }), 31, false },
        { QString(), 31, false },
    };
    for (const Case& c : cases) {
        const Tonic tonic = TonicFromKey(c.text);
        EXPECT_EQ(tonic.ScoreKey, c.key) << c.text.toStdString();
        EXPECT_EQ(tonic.refused, c.refused) << c.text.toStdString();
    }
}

TEST(PlayHelpers, KeyTextOfAScore)
{
    const QString marker(QChar(u'\x634F'));
    const QString sharp(QChar(u'\x6226'));
    const QString g(QChar(u'\x6345'));
    EXPECT_EQ(GetKeyText(QStringLiteral("title\r\n") + marker + sharp + g + QStringLiteral(" 4/4")),
        marker + sharp + g);
    EXPECT_EQ(GetKeyText(marker + g + QStringLiteral("xy")), marker + g);
    EXPECT_EQ(GetKeyText(marker + QStringLiteral("\r\n") + g), marker);
    EXPECT_EQ(GetKeyText(QStringLiteral("no key")), QString());
}

TEST(PlayHelpers, SecondsAsTheStatusBarShowsThem)
{
    const std::pair<double, const char*> cases[] = { { 0, "00.00" }, { 3.14159, "03.14" },
        { 12.344, "12.34" }, { 12.346, "12.35" }, { 9.999, "10.00" }, { 125.5, "125.50" } };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatPlaySeconds(seconds), QString::fromUtf8(text)) << seconds;
    EXPECT_EQ(PlayTimeText(1.5), QStringLiteral("演奏时长:01.50"));
    EXPECT_EQ(BreakpointCaption(2, 14.25), QStringLiteral("断点演奏（02.00/14.25)"));
}

TEST(PlayHelpers, ScrollBringsThePlayedLineNearTheTop)
{
    const std::pair<int, int> cases[]
        = { { -1, 0 }, { 0, 0 }, { 1, -2 }, { 2, -1 }, { 3, 1 }, { 4, 3 }, { 6, 3 }, { 40, 3 } };
    for (const auto& [row, lines] : cases)
        EXPECT_EQ(ScrollLinesForRow(row), lines) << row;
}

TEST(PlayHelpers, DrumRangeOfTheStrip)
{
    EXPECT_EQ(DrumRangeBars(7, 3), (std::vector<int> { 3, 4, 5, 6, 7 }));
    EXPECT_EQ(DrumRangeBars(0, 2), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(DrumRangeBars(4, 4), (std::vector<int> { 4 }));
    EXPECT_FALSE(DrumRangeBars(3, 0));
    EXPECT_FALSE(DrumRangeBars(-1, 5));
    EXPECT_FALSE(DrumRangeBars(-1, -1));
}

} // namespace

namespace {

TEST(PlayOrderText, TypedOrdersAreCleaned)
{
    struct Case {
        const char* typed;
        int segments;
        const char* text;
        std::vector<std::int16_t> order;
    };
    const Case cases[] = {
        { "1，2,,3,9", 3, "1,2,3,1", { 0, 1, 2, 0 } },
        { "ab c", 3, "1", { 0 } },
        { "007", 8, "007", { 6 } },
        { ",,2,0,", 3, "2,1", { 1, 0 } },
        { "", 1, "1", { 0 } },
        { "99999999999999999999,2", 2, "1,2", { 0, 1 } },
    };
    for (const Case& c : cases) {
        const CleanedPlayOrder cleaned = CleanPlayOrderText(QString::fromUtf8(c.typed), c.segments);
        EXPECT_EQ(cleaned.text, QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(cleaned.order, c.order) << c.typed;
    }
    EXPECT_EQ(PlayOrderText({ 0, 1, 2, 0 }), QStringLiteral("1,2,3,1"));
}

TEST(PlayOrderText, KeyGlyphsShowTheMarksBetweenRedSegmentNumbers)
{
    const QString s(QChar(u'\x6351'));
    struct Case {
        const char* key;
        QString shown;
    };
    const Case cases[] = {
        { "0d0", s + "1" + s + QChar(u'\x6363') + s + "2" },
        { "00", s + "1" + s },
        { "d0", s + QChar(u'\x6363') + s + "1" },
        { "0e", s + "1" + s + QChar(u'\x6364') },
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyGlyphText(QString::fromUtf8(c.key)), c.shown) << c.key;
    const QString shown = KeyGlyphText(QStringLiteral("0d0"));
    QString red;
    for (qsizetype i = 0; i < shown.size(); ++i)
        red += IsSegmentNumber(shown, i) ? u'r' : u'.';
    EXPECT_EQ(red, QStringLiteral(".r...r"));
}

TEST(PlayOrderText, AChosenOrderHoldsWhileItsKeyDoes)
{
    ChosenPlayOrder chosen;
    chosen.choose(QStringLiteral("0d0"), { 1, 0, 1 });
    EXPECT_EQ(chosen.orderFor(QStringLiteral("0d0")), (tunvale::notation::PlayOrderEntries { 1, 0, 1 }));
    EXPECT_FALSE(chosen.orderFor(QStringLiteral("00")));
    chosen.clear();
    EXPECT_FALSE(chosen.orderFor(QStringLiteral("0d0")));
}

} // namespace
