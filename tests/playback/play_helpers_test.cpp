#include "app/playback/play_mode.h"
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
        const int mode = PlayModeFor(c.accompaniment, c.drums, c.harmony);
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
