#include "platform/text/gbk.h"
#include "platform/text/hex_text.h"
#include "platform/text/name_bytes.h"
#include "platform/text/radix64.h"
#include "platform/text/text_compare.h"

#include <gtest/gtest.h>

using namespace tunvale::platform;

TEST(Radix64, DigitTextsAndValues)
{
    const struct {
        const char* digits;
        long long value;
    } cases[] = {
        { "0", 0 },
        { "9", 9 },
        { "a", 10 },
        { "A", 36 },
        { "/", 63 },
        { "10", 64 },
        { "//", 4095 },
        { "100", 4096 },
        { "7//", 32767 },
    };
    for (const auto& c : cases) {
        const QString digits = QString::fromLatin1(c.digits);
        EXPECT_EQ(Radix64ToInt(digits), std::optional<int>(int(c.value))) << c.digits;
        long long n = c.value;
        EXPECT_EQ(IntToRadix64(n), std::optional<QString>(digits)) << c.value;
        EXPECT_EQ(n, 0) << "the argument is used up";
    }
}

TEST(Radix64, OddTextsAndCheckedFailures)
{
    EXPECT_EQ(Radix64ToInt(QString()), std::optional<int>(0));
    // A character that is no digit counts as -1, wherever it stands.
    EXPECT_EQ(Radix64ToInt(QStringLiteral("?")), std::optional<int>(-1));
    EXPECT_EQ(Radix64ToInt(QStringLiteral("1?")), std::optional<int>(63));
    EXPECT_EQ(Radix64ToInt(QStringLiteral("00000010")), std::optional<int>(64));
    // 32768 and beyond do not fit a 16-bit value.
    EXPECT_EQ(Radix64ToInt(QStringLiteral("800")), std::nullopt);
    EXPECT_EQ(Radix64ToInt(QStringLiteral("10000")), std::nullopt);
    EXPECT_EQ(Radix64ToInt(QStringLiteral("????")), std::nullopt);
    long long negative = -1;
    EXPECT_EQ(IntToRadix64(negative), std::nullopt);
}

TEST(NameBytes, ChineseNamesCutAtACharacterBoundary)
{
    NameField field;
    field.fill(0xAA);
    TextToNameBytes(QString(), field);
    EXPECT_EQ(field, NameField {});

    // 15 Chinese characters fill 30 bytes, an ASCII letter the 31st; the 16th Chinese character would
    // straddle byte 32, so it is left out rather than cut in half.
    const QString name = QString(15, u'鼓') + u'a' + u'鼓';
    TextToNameBytes(name, field);
    const QByteArray bytes(reinterpret_cast<const char*>(field.data()), qsizetype(field.size()));
    EXPECT_EQ(bytes.left(31), GbkEncode(QString(15, u'鼓') + u'a'));
    EXPECT_EQ(field[31], 0);
    QString back = GbkBytesToText(bytes);
    EXPECT_EQ(back, QString(15, u'鼓') + u'a' + QChar(0));

    TextToNameBytes(QStringLiteral("快节奏 Rock"), field);
    back = GbkBytesToText(QByteArray(reinterpret_cast<const char*>(field.data()), 32));
    EXPECT_EQ(back.left(back.indexOf(QChar(0))), QStringLiteral("快节奏 Rock"));
}

TEST(NameBytes, ReadsDamagedFieldsWithoutRunningPastTheEnd)
{
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        { QByteArray("ab\xB9"), QStringLiteral("ab") }, // lead byte cut off by an older writer
        { QByteArray("\xB9\xC4\xB9"), QStringLiteral("鼓") },
        { QByteArray("\xB9\x30x"),
            QString(QChar::ReplacementCharacter) + u'x' }, // the byte after a lead belongs to it
        { QByteArray("a\0b", 3), QStringLiteral("a") + QChar(0) + u'b' },
    };
    for (const auto& c : cases)
        EXPECT_EQ(GbkBytesToText(c.bytes), c.text) << c.bytes.toHex().constData();
}

TEST(HexText, BytesAndBits)
{
    EXPECT_EQ(BytesToHex(QByteArray("\x0A\xFF", 2)), QStringLiteral("0AFF"));
    EXPECT_EQ(BytesToHex(QByteArray("\x00\x00\x01\x2C", 4)), QStringLiteral("0000012C"));

    const struct {
        const char* bits;
        const char* hex;
    } cases[] = {
        { "", "0" },
        { "1", "1" },
        { "101", "5" },
        { "1111", "F" },
        { "11111", "1F" },
        { "10000000", "80" },
        { "01011010", "5A" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(BinToHex(QString::fromLatin1(c.bits)), std::optional<QString>(QString::fromLatin1(c.hex)))
            << c.bits;
    EXPECT_EQ(BinToHex(QStringLiteral("10*1")), std::nullopt);
    EXPECT_EQ(BinToHex(QStringLiteral("1 01")), std::nullopt);
}

TEST(TextCompare, CaseAndFullWidthFold)
{
    const struct {
        const char16_t* haystack;
        const char16_t* needle;
        bool found;
    } cases[] = {
        { u"My Song.vls", u"song", true },
        { u"\uFF2D\uFF59 song", u"my", true }, // full-width letters compare as ASCII
        { u"a\u3000b", u"a b", true }, // the ideographic space compares as a space
        { u"ab", u"\uFF41", true },
        { u"我的歌", u"的", true },
        { u"我的歌", u"", true },
        { u"", u"a", false },
        { u"\u00C4", u"\u00E4", false }, // only ASCII letters fold
        { u"ab", u"ba", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(containsAsText(QString::fromUtf16(c.haystack), QString::fromUtf16(c.needle)), c.found)
            << QString::fromUtf16(c.haystack).toStdString() << " / "
            << QString::fromUtf16(c.needle).toStdString();
}
