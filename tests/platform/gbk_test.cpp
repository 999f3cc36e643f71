#include "platform/text/gbk.h"

#include <gtest/gtest.h>

using namespace tunvale::platform;

TEST(Gbk, RoundTripsChineseAndAscii)
{
    const QString text = QStringLiteral("茉莉花 Jasmine 宋体");
    const QByteArray bytes = GbkEncode(text);
    EXPECT_EQ(bytes.size(), 3 * 2 + 9 + 2 * 2);
    EXPECT_EQ(GbkDecode(bytes), text);
    EXPECT_EQ(GbkEncode(QStringLiteral("宋")), QByteArray("\xCB\xCE"));
}

TEST(Gbk, DropsATrailingLoneLeadByte)
{
    EXPECT_EQ(GbkDecode(QByteArray("ab\xCB")), QStringLiteral("ab"));
    EXPECT_EQ(GbkDecode(QByteArray("\xCB\xCE\xCB")), QStringLiteral("宋"));
}

TEST(Gbk, ReplacesWhatItCannotHold)
{
    EXPECT_EQ(GbkEncode(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
    EXPECT_TRUE(GbkCanEncode(QChar(u'宋')));
    EXPECT_FALSE(GbkCanEncode(QChar(0x0E01))); // Thai
}

TEST(Gbk, TextFilesAreUtf8UnlessTheyAreNot)
{
    EXPECT_TRUE(IsValidUtf8(QByteArray("plain")));
    EXPECT_TRUE(IsValidUtf8(QStringLiteral("唱名").toUtf8()));
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xB3\xAA\xC3\xFB"))); // 唱名 in GBK
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xE5\x94"))); // cut short
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xC0\x80"))); // overlong
    EXPECT_EQ(DecodeTextFileBytes(QByteArray("\xB3\xAA\xC3\xFB")), QStringLiteral("唱名"));
    EXPECT_EQ(DecodeTextFileBytes(QByteArray("\xEF\xBB\xBF") + QStringLiteral("唱名").toUtf8()),
        QStringLiteral("唱名"));
}
