#include "app/frame/vls_header.h"

#include <gtest/gtest.h>

#include <map>

using namespace tunvale;
using frame::VlsHeader;
using notation::ColorScheme;
using notation::ScoreHeader;

namespace {

// A 38-byte header from a text for bytes 1-13 and single bytes at given 1-based positions.
QByteArray headerBytes(const QByteArray& text, const std::map<int, int>& bytes)
{
    QByteArray h = text.leftJustified(VlsHeader::kSize, '\0');
    for (const auto& [position, value] : bytes)
        h[position - 1] = char(value);
    return h;
}

ColorScheme someColors() { return { 0x010203, 0x040506, 0x070809, 0x0A0B0C, std::int32_t(0x80000005) }; }

// Colours of the scheme above at bytes 15-34 (EditBack, PlayNote, PlayNoteBack, JpLine, LyricLine).
std::map<int, int> colorBytes()
{
    return { { 17, 0x01 }, { 18, 0x02 }, { 19, 0x80 }, { 22, 0x05 }, { 24, 0x0A }, { 25, 0x0B }, { 26, 0x0C },
        { 28, 0x07 }, { 29, 0x08 }, { 30, 0x09 }, { 32, 0x04 }, { 33, 0x05 }, { 34, 0x06 } };
}

std::map<int, int> with(std::map<int, int> bytes, const std::map<int, int>& more)
{
    for (const auto& [position, value] : more)
        bytes[position] = value;
    return bytes;
}

} // namespace

TEST(VlsHeader, DecodesEveryVersion)
{
    const ColorScheme templateColors { 0x123456, 0x8000, 67454, 0x7F7F7F, 0xFFFFFF };
    ColorScheme templateWithWhite = templateColors;
    templateWithWhite.EditBackColor = 0xFFFFFF;
    // PlayNoteColor 0x80000005, PlayNoteBackColor 0x0A0B0C, JpLineColor 0x070809, LyricLineColor 0x040506.
    const ColorScheme fileColors { 0x000102, 0x070809, 0x040506, 0x0A0B0C, std::int32_t(0x80000005) };
    const auto binary = [](int version, std::map<int, int> more) {
        // Instrument 0x0102, Speed 0x0078 (120), Volume 0x0062 (98), margins 0x01F4 (500) and 0x0190 (400).
        return with(with(colorBytes(),
                        { { 4, 1 }, { 5, 2 }, { 7, 0x78 }, { 9, 0x62 }, { 10, 1 }, { 11, 0xF4 }, { 12, 1 },
                            { 13, 0x90 }, { 14, version } }),
            more);
    };

    const struct {
        const char* what;
        QByteArray file;
        ScoreHeader expected;
        ColorScheme colors;
    } cases[] = {
        { "v0 with DPI", headerBytes("/096001120098", {}),
            { 96, 14, 1, 120, 98, 0, false, false, false, 0, 0, 4, {}, 31, true, true, 820, 820 },
            templateWithWhite },
        { "v0 without DPI", headerBytes("001120098zzzz", {}),
            { 96, 14, 1, 120, 98, 0, false, false, false, 0, 0, 4, {}, 31, true, true, 820, 820 },
            templateWithWhite },
        { "v0 without numbers", headerBytes("/", {}),
            { 0, 14, 0, 0, 0, 0, false, false, false, 0, 0, 4, {}, 31, true, true, 820, 820 },
            templateWithWhite },
        { "v1 not starting with /", headerBytes("X120002090100", { { 14, 1 } }),
            { 120, 14, 2, 90, 100, 1, false, false, false, 0, 0, 4, {}, 31, true, true, 820, 820 },
            templateWithWhite },
        { "v2 16-bit DPI",
            headerBytes(
                "/", binary(2, { { 2, 0x00 }, { 3, 0x78 }, { 35, 1 }, { 36, 9 }, { 37, 1 }, { 38, 1 } })),
            { 120, 14, 0x0102, 120, 98, 2, false, false, false, 0, 0, 4, {}, 31, true, true, 500, 400 },
            fileColors },
        { "v3 ignores switches",
            headerBytes(
                "/", binary(3, { { 2, 0x00 }, { 3, 0x78 }, { 35, 1 }, { 36, 9 }, { 37, 1 }, { 38, 1 } })),
            { 0, 120, 0x0102, 120, 98, 3, false, false, false, 0, 0, 4, {}, 31, true, true, 500, 400 },
            fileColors },
        { "v4 switches",
            headerBytes(
                "/", binary(4, { { 2, 200 }, { 3, 20 }, { 35, 1 }, { 36, 9 }, { 37, 1 }, { 38, 1 } })),
            { 200, 20, 0x0102, 120, 98, 4, true, true, true, 0, 0, 9, {}, 31, true, true, 500, 400 },
            fileColors },
        { "v5 switch byte 2 is off",
            headerBytes("/", binary(5, { { 2, 96 }, { 3, 14 }, { 35, 2 }, { 36, 0 }, { 37, 2 }, { 38, 0 } })),
            { 96, 14, 0x0102, 120, 98, 5, false, false, false, 0, 0, 0, {}, 31, true, true, 500, 400 },
            fileColors },
        { "v5 zero right margin", headerBytes("/", binary(5, { { 12, 0 }, { 13, 0 }, { 35, 1 } })),
            { 0, 0, 0x0102, 120, 98, 5, true, false, false, 0, 0, 0, {}, 31, true, true, 500, 820 },
            fileColors },
        { "v5 zero margins",
            headerBytes("/", with(binary(5, {}), { { 10, 0 }, { 11, 0 }, { 12, 0 }, { 13, 0 } })),
            { 0, 0, 0x0102, 120, 98, 5, false, false, false, 0, 0, 0, {}, 31, true, true, 820, 820 },
            fileColors },
        { "short file reads zeros", headerBytes("/", { { 2, 96 }, { 14, 5 } }).left(14),
            { 96, 0, 0, 0, 0, 5, false, false, false, 0, 0, 0, {}, 31, true, true, 820, 820 },
            { 0, 0, 0, 0, 0 } },
    };
    for (const auto& c : cases) {
        // Fields a file does not hold keep their values; these differ from every default.
        ScoreHeader header;
        header.PlaySelStart = 0;
        header.PlayXj = 0;
        header.BaseKey = 7;
        ColorScheme colors { 1, 2, 3, 4, 5 };
        VlsHeader::decode(c.file, VlsHeader::version(c.file), header, colors, templateColors);
        EXPECT_EQ(header, c.expected) << c.what;
        EXPECT_EQ(colors, c.colors) << c.what;
    }
}

TEST(VlsHeader, EncodesVersion5)
{
    ScoreHeader header;
    header.ScreenDpi = 300;
    header.RapDrum = 14;
    header.Instrument = 0x0102;
    header.Speed = -1;
    header.Volume = 98;
    header.LeftSpace = 820;
    header.RightSpace = -2;
    header.FileVer = 2;
    header.DrumPZ = 1;
    header.PZType = 260;
    header.SameSpeed = 0;
    header.HeYing = -1;

    const QByteArray expected = QByteArray::fromHex("2fff0e0102ffff00620334fffe05"
                                                    "00010203"
                                                    "80000005"
                                                    "000a0b0c"
                                                    "00040506"
                                                    "00070809"
                                                    "01ff0001");
    EXPECT_EQ(VlsHeader::encode(header, someColors()).toHex(), expected.toHex());

    // Everything a version-5 header holds reads back; a value too large for its one byte is clamped.
    ScoreHeader back;
    ColorScheme colors;
    VlsHeader::decode(VlsHeader::encode(header, someColors()), 5, back, colors, {});
    EXPECT_EQ(colors, someColors());
    EXPECT_EQ(back.ScreenDpi, 255);
    EXPECT_EQ(back.Speed, -1);
    EXPECT_EQ(back.RightSpace, -2);
    EXPECT_EQ(back.PZType, 255);
    EXPECT_TRUE(back.DrumPZ);
    EXPECT_TRUE(back.HeYing);
    EXPECT_EQ(back.FileVer, 5);
}
