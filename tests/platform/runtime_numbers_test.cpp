#include "platform/text/runtime_numbers.h"

#include <gtest/gtest.h>

using namespace tunvale::platform;

TEST(RuntimeNumbers, RoundsHalvesToEven)
{
    const struct {
        double in, out;
    } cases[] = { { 0.5, 0 }, { 1.5, 2 }, { 2.5, 2 }, { 3.5, 4 }, { -0.5, -0 }, { -1.5, -2 }, { -2.5, -2 },
        { 2.4999, 2 }, { 2.5001, 3 } };
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RuntimeNumbers, RoundsToDecimalsHalvesToEven)
{
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.0625, 3), 1.062);
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.0635, 3), 1.064);
    EXPECT_DOUBLE_EQ(RoundHalfEven(7.2, 3), 7.2);
}

TEST(RuntimeNumbers, IntIsFloor)
{
    EXPECT_EQ(Int(1.9), 1);
    EXPECT_EQ(Int(-1.5), -2);
    EXPECT_EQ(Int(-2.0), -2);
}

TEST(RuntimeNumbers, ValReadsTheLeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        { "", 0 },
        { "abc", 0 },
        { "12abc", 12 },
        { "  42", 42 },
        { "-3.5x", -3.5 },
        { "1 2 3", 123 },
        { "&H1F", 31 },
        { "&HFFFF", -1 },
        { "&H8000", -32768 },
        { "&H10000", 65536 },
        { "&HFFFFFFFF", -1 },
        { "&H80000000", -2147483648.0 },
        { "&O17", 15 },
        { "&O177777", -1 },
        { "1e3", 1000 },
        { "2.5.1", 2.5 },
        { "+7", 7 },
        { "\t\n9", 9 },
        { "１２", 0 },
        { ".5", 0.5 },
        { "3-4", 3 },
        { "1e999", 0 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
    // Digits past the largest double read as no number, in every base.
    EXPECT_EQ(Val(QStringLiteral("&H") + QString(300, u'F')), 0);
    EXPECT_EQ(Val(QStringLiteral("&O") + QString(400, u'7')), 0);
    EXPECT_EQ(Val(QString(400, u'9')), 0);
}

TEST(RuntimeNumbers, TruncatesToLowBits)
{
    EXPECT_EQ(ToInt16Bits(0x18000), -32768);
    EXPECT_EQ(ToInt16Bits(-1), -1);
    EXPECT_EQ(ToUInt16Bits(70000), 70000 - 65536);
    EXPECT_EQ(ToByteBits(0x1FF), 0xFF);
    EXPECT_EQ(ToByteBits(-1), 0xFF);
}
