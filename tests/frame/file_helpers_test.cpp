#include "app/frame/file_helpers.h"
#include "app/frame/first_text_line.h"
#include "app/frame/grace_codes.h"
#include "tests/support/test_folders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::frame;

TEST(FrameHelpers, FileNamePart)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        { "a.vls", "a.vls" },
        { "/home/u/songs/a.vls", "a.vls" },
        { "/home/u/songs/", "" },
        { "D:\\songs\\a.vls", "a.vls" },
        { "D:\\songs\\", "" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFileNamePart(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
}

TEST(FrameHelpers, FileMarkersAndExistence)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.vls"));
    ASSERT_TRUE(
        tunvale::testing::writeAll(file, QByteArray("hdr/Vls\xB9\xC4/Drum..../Vls body/Drum/POrderStr")));
    EXPECT_EQ(FindFileMarker(file, "/Vls"), std::optional<qint64>(19));
    EXPECT_EQ(FindFileMarker(file, "/Drum"), std::optional<qint64>(10));
    EXPECT_EQ(FindFileMarker(file, "/POrderStr"), std::optional<qint64>(33));
    EXPECT_EQ(FindFileMarker(file, "/vls"), std::optional<qint64>(0)); // exact comparison
    EXPECT_EQ(FindFileMarker(dir.filePath(QStringLiteral("none.vls")), "/Vls"), std::nullopt);

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("none.vls"))));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(FrameHelpers, OldGraceCodes)
{
    const struct {
        int code, yy, yyN;
    } cases[] = {
        { 0x4E00, 0x4E00, 0x4E00 }, // middle row stays
        { 0x4E1C, 0x4E2A, 0x4E2A }, // row 1 (one octave down)
        { 0x4E54, 0x4EA8, 0x4EA8 }, // row 3 (one octave up) skips the new row three octaves down
        { 0x4E00 + 140, 0x4E00 + 294, 0x4E00 + 294 }, // the next block
        { 0x525F, 0x525F + 1176, 0x525F + 1176 }, // last code of the first font
        { 0x5260, 0x5260, 0x5260 + 1232 },
        { 0x548F, 0x548F, 0x5B8F }, // last code of the other fonts: block 11, row 4, degree 7
        { 0x5490, 0x5490, 0x5490 }, // beyond both
        { 0x4DFF, 0x4DFF, 0x4DFF },
        { 0x41, 0x41, 0x41 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertYyCode(c.code), c.yy) << std::hex << c.code;
        EXPECT_EQ(ConvertYyNCode(c.code), c.yyN) << std::hex << c.code;
    }
}

TEST(FrameHelpers, FirstTextLine)
{
    using Line = platform::RichTextSnapshot::Line;
    const auto snapshot = [](std::initializer_list<const char*> lines) {
        platform::RichTextSnapshot s;
        for (const char* text : lines)
            s.lines.push_back(Line { 0, QString::fromUtf8(text), {} });
        return s;
    };
    EXPECT_EQ(
        GetFirstTextLine(snapshot({ "\r\n", "\r\n", "茉莉花\r\n", "1=C\r\n" })), QStringLiteral("茉莉花"));
    EXPECT_EQ(GetFirstTextLine(snapshot({ "\r\n", "a\r\n" })), QStringLiteral("a"));
    // A wrapped line and the last line carry no break; nothing of their text is lost.
    EXPECT_EQ(GetFirstTextLine(snapshot({ "A long title that wr", "aps\r\n" })),
        QStringLiteral("A long title that wr"));
    EXPECT_EQ(GetFirstTextLine(snapshot({ "\r\n", "歌" })), QStringLiteral("歌"));
    EXPECT_EQ(GetFirstTextLine(snapshot({ "\r\n", "\r\n", "" })), QString());
    EXPECT_EQ(GetFirstTextLine(snapshot({})), QString());
}
