#include "app/frame/color_block.h"
#include "tests/scorefile/scoped_data_folder.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using frame::ReadColor0;
using frame::WriteColor0;
using notation::ColorScheme;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

const ColorScheme kStored { .EditBackColor = std::int32_t(0x80000005),
    .JpLineColor = 0x010203,
    .LyricLineColor = 0x7F7F7F,
    .PlayNoteBackColor = 0x0000FF,
    .PlayNoteColor = 0x00FF01 };

// 40 bytes: "/" and filler, version byte, the stored colours, and a tail that must survive writes.
QByteArray blockFile(int version)
{
    QByteArray bytes = QByteArray("/abcdefghijkl", 13) + char(version);
    bytes += QByteArray::fromHex("80000005"
                                 "0000ff01"
                                 "000000ff"
                                 "00010203"
                                 "007f7f7f");
    bytes += "tail..";
    return bytes;
}

} // namespace

TEST(ColorBlock, ReadsStoredColoursOrDefaults)
{
    QTemporaryDir dir;
    const ColorScheme before { 1, 2, 3, 4, 5 };
    const struct {
        const char* what;
        QByteArray file;
        ColorScheme expected;
    } cases[] = {
        { "version 0", blockFile(0), ColorScheme {} },
        { "version 1", blockFile(1), ColorScheme {} },
        { "version 2", blockFile(2), kStored },
        { "version 255", blockFile(255), kStored },
        { "cut after the first colour", blockFile(5).left(18),
            ColorScheme { std::int32_t(0x80000005), 0, 0, 0, 0 } },
        { "cut inside the second colour", blockFile(5).left(21),
            ColorScheme { .EditBackColor = std::int32_t(0x80000005),
                .JpLineColor = 0,
                .LyricLineColor = 0,
                .PlayNoteBackColor = 0,
                .PlayNoteColor = 0x0000FF00 } },
        { "empty", QByteArray(), ColorScheme {} },
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("t.vls"));
        ASSERT_TRUE(writeAll(path, c.file));
        ColorScheme colors = before;
        ReadColor0(path, colors);
        EXPECT_EQ(colors, c.expected) << c.what;
    }
    ColorScheme untouched = before;
    ReadColor0(dir.filePath(QStringLiteral("missing.vls")), untouched);
    ReadColor0(dir.path(), untouched);
    EXPECT_EQ(untouched, before);
}

TEST(ColorBlock, WriteKeepsEveryOtherByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.vls"));
    ASSERT_TRUE(writeAll(path, blockFile(5)));
    const ColorScheme colors { 0x123456, std::int32_t(0xFFFFFFFF), 0, 0x8000, 67454 };
    ASSERT_TRUE(WriteColor0(path, colors));

    const QByteArray after = readAll(path);
    EXPECT_EQ(after.size(), blockFile(5).size());
    EXPECT_EQ(after.left(14), blockFile(5).left(14));
    EXPECT_EQ(after.mid(34), blockFile(5).mid(34));
    ColorScheme back;
    ReadColor0(path, back);
    EXPECT_EQ(back, colors);

    // A new file is as long as the block.
    const QString fresh = dir.filePath(QStringLiteral("new.dat"));
    ASSERT_TRUE(WriteColor0(fresh, colors));
    EXPECT_EQ(readAll(fresh).size(), 34);
}

TEST(ColorBlock, TemplateColoursGoToTheUserCopy)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    const QString shipped = data.file(QStringLiteral("NullVls.Dat"));
    ASSERT_TRUE(writeAll(shipped, blockFile(5)));

    const ColorScheme colors { 0x0A0B0C, 1, 2, 3, 4 };
    ASSERT_TRUE(WriteColor0(shipped, colors));
    EXPECT_EQ(readAll(shipped), blockFile(5));
    const QByteArray copy = readAll(user.file(QStringLiteral("NullVls.Dat")));
    EXPECT_EQ(copy.mid(34), blockFile(5).mid(34));
    ColorScheme back;
    ReadColor0(user.file(QStringLiteral("NullVls.Dat")), back);
    EXPECT_EQ(back, colors);
}

TEST(ColorBlock, FailedWriteLeavesNoTrace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.vls")));
    EXPECT_FALSE(WriteColor0(dir.filePath(QStringLiteral("folder.vls")), ColorScheme {}));
    EXPECT_FALSE(WriteColor0(dir.filePath(QStringLiteral("no/such/folder.vls")), ColorScheme {}));
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "folder.vls" });
}

// Byte 14 is the version of the whole header: a file with colours keeps it, one without gets 2.
TEST(ColorBlock, WriteKeepsTheVersionOfAFileWithColours)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.vls"));
    for (const int version : { 0, 1, 2, 3, 4, 5, 255 }) {
        ASSERT_TRUE(writeAll(path, blockFile(version)));
        ASSERT_TRUE(WriteColor0(path, kStored));
        EXPECT_EQ(std::uint8_t(readAll(path)[13]), version <= 1 ? 2 : version) << version;
    }
}

// The user's copy of the template starts as the shipped one whenever it holds nothing more than a
// colour block; a copy whose version an earlier save turned into 2 gets the shipped version back.
TEST(ColorBlock, TheUsersTemplateStartsFromTheShippedOne)
{
    ScopedDataFolder data;
    tunvale::testing::ScopedUserFolder user;
    const QByteArray shipped = blockFile(5);
    ASSERT_TRUE(writeAll(data.file(QStringLiteral("NullVls.Dat")), shipped));
    const QString copy = user.file(QStringLiteral("NullVls.Dat"));
    QByteArray damaged = shipped;
    damaged[13] = 2;
    const QByteArray ownTemplate = blockFile(2) + "own";
    const struct {
        const char* what;
        std::optional<QByteArray> before;
        QByteArray expectedHeader;
        QByteArray expectedTail;
    } cases[] = {
        { "missing", std::nullopt, shipped.left(14), shipped.mid(34) },
        { "empty", QByteArray(), shipped.left(14), shipped.mid(34) },
        { "a colour block alone", blockFile(2).left(34), shipped.left(14), shipped.mid(34) },
        { "damaged", damaged, shipped.left(14), shipped.mid(34) },
        { "a version-2 template of the user's", ownTemplate, ownTemplate.left(14), ownTemplate.mid(34) },
    };
    for (const auto& c : cases) {
        QFile::remove(copy);
        if (c.before) {
            ASSERT_TRUE(writeAll(copy, *c.before));
        }
        ASSERT_TRUE(WriteColor0(data.file(QStringLiteral("NullVls.Dat")), kStored)) << c.what;
        const QByteArray after = readAll(copy);
        EXPECT_EQ(after.left(14), c.expectedHeader) << c.what;
        EXPECT_EQ(after.mid(34), c.expectedTail) << c.what;
        ColorScheme back;
        ReadColor0(copy, back);
        EXPECT_EQ(back, kStored) << c.what;
    }
    EXPECT_EQ(readAll(data.file(QStringLiteral("NullVls.Dat"))), shipped);
}
