#include "app/notation/time_signature.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

TEST(GetTimeSignature, PlainCodesAndEveryOtherCodeAsTwoFour)
{
    struct Case {
        int code;
        const char* text;
        int sixteenths;
    };
    const Case cases[] = {
        { 0, "1/4", 4 },
        { 1, "2/4", 8 },
        { 2, "3/4", 12 },
        { 3, "4/4", 16 },
        { 4, "3/8", 6 },
        { 5, "6/8", 12 },
        { 6, "9/8", 18 },
        { 7, "12/8", 24 },
        { 8, "2/4", 8 },
        { 9, "2/4", 8 },
        { 40, "2/4", 8 },
        { -1, "2/4", 8 },
    };
    for (const Case& c : cases) {
        QString text = QStringLiteral("stale");
        EXPECT_EQ(getTimeSignature(c.code, text), c.sixteenths) << c.code;
        EXPECT_EQ(text, QString::fromLatin1(c.text)) << c.code;
    }
}

} // namespace
} // namespace tunvale::notation
