#include "app/notation/drum_data.h"

#include "tests/support/test_folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstring>

#include <gtest/gtest.h>

using namespace tunvale::notation;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

DrumRecord patternRecord(std::uint8_t seed)
{
    DrumRecord r;
    for (int i = 0; i < DrumRecord::Size; ++i)
        r.bytes()[i] = std::uint8_t(seed + i * 7);
    return r;
}

QByteArray section(const DrumStore& records)
{
    QByteArray s("/Drum\x01", 6);
    s.append('\0');
    for (const DrumRecord& r : records) {
        s.append(char(0xFF));
        s.append(reinterpret_cast<const char*>(r.bytes()), DrumRecord::Size);
    }
    return s;
}

// Runs every case on the bytes in memory and on a file holding the same bytes.
class DrumSectionTest : public ::testing::TestWithParam<bool>
{
protected:
    bool onFile() const { return GetParam(); }

    bool read(DrumStore& records, const QByteArray& bytes)
    {
        if (!onFile())
            return ReadDrumData(records, bytes);
        EXPECT_TRUE(writeAll(path, bytes));
        return ReadDrumData(records, path);
    }
    // Writes into `bytes`, which afterwards hold what the file holds.
    bool write(const DrumStore& records, QByteArray& bytes)
    {
        if (!onFile())
            return WriteDrumData(records, bytes);
        EXPECT_TRUE(writeAll(path, bytes));
        const bool ok = WriteDrumData(records, path);
        bytes = readAll(path);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "song.vls" });
        return ok;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("song.vls"));
};

} // namespace

TEST_P(DrumSectionTest, FreshScoreFileGetsItsRecordsAndReadsThemBack)
{
    const QByteArray head("header bytes/Drum");
    const QByteArray tail("/EDrum/Chord/EChord body");
    QByteArray file = head + tail;

    // Before the section is filled "/E" are the two fixed bytes and "D" ends it.
    DrumStore records(10, patternRecord(1));
    const DrumStore ten = records;
    EXPECT_TRUE(read(records, file));
    EXPECT_EQ(records, ten);

    const DrumStore three = { patternRecord(10), patternRecord(20), patternRecord(30) };
    ASSERT_TRUE(write(three, file));
    EXPECT_EQ(file, QByteArray("header bytes") + section(three) + tail);

    DrumStore back(10);
    EXPECT_TRUE(read(back, file));
    EXPECT_EQ(back, three);

    // Rewriting replaces the old block whatever its length.
    const DrumStore one = { patternRecord(40) };
    ASSERT_TRUE(write(one, file));
    EXPECT_EQ(file, QByteArray("header bytes") + section(one) + tail);
    ASSERT_TRUE(write({}, file));
    EXPECT_EQ(file, QByteArray("header bytes") + section({}) + tail);
}

TEST_P(DrumSectionTest, ReadingKeepsTheOldRecordsOnlyWhenTheSectionIsEmpty)
{
    DrumStore records(10, patternRecord(1));
    const DrumStore ten = records;
    EXPECT_TRUE(read(records, QByteArray("x") + section({}) + "/EDrum"));
    EXPECT_EQ(records, ten);

    const DrumStore two = { patternRecord(5), patternRecord(6) };
    EXPECT_TRUE(read(records, QByteArray("x") + section(two) + "/EDrum"));
    EXPECT_EQ(records, two);

    // A record cut off by the end of the file is not read, nor is a flag at the very end: the whole
    // records before them are.
    const QByteArray whole = section({ patternRecord(9) });
    EXPECT_TRUE(read(records, whole.left(whole.size() - 40)));
    EXPECT_EQ(records, two);
    EXPECT_TRUE(read(records, section({ patternRecord(9), patternRecord(8) }).chopped(1)));
    EXPECT_EQ(records, DrumStore { patternRecord(9) });
    EXPECT_TRUE(read(records, section({ patternRecord(7) }) + char(0xFF)));
    EXPECT_EQ(records, DrumStore { patternRecord(7) });
}

TEST_P(DrumSectionTest, WithoutTheMarkerNothingIsReadOrWritten)
{
    DrumStore records(2, patternRecord(3));
    const DrumStore before = records;
    // Without "/Drum" the bytes near the start must not turn into records.
    QByteArray noMarker("/drum\x01\x00\xFF", 8);
    noMarker.append(QByteArray(200, char(0xFF)));
    noMarker.append("/EDrum");
    EXPECT_FALSE(read(records, noMarker));
    EXPECT_EQ(records, before);

    QByteArray file = noMarker;
    EXPECT_FALSE(write(records, file));
    EXPECT_EQ(file, noMarker);

    // Neither "/EDrum" nor "/Chord" after the section: the file stays as it was.
    const QByteArray noEnd = QByteArray("head/Drum") + section({ patternRecord(1) }).mid(5) + "/EChord tail";
    file = noEnd;
    EXPECT_FALSE(write(records, file));
    EXPECT_EQ(file, noEnd);
}

TEST_P(DrumSectionTest, WithoutEndMarkerTheSectionRunsToChord)
{
    QByteArray file("head/Drumold bytes dropped/Chord tail");
    const DrumStore one = { patternRecord(7) };
    ASSERT_TRUE(write(one, file));
    EXPECT_EQ(file, QByteArray("head") + section(one) + "/Chord tail");
}

TEST_P(DrumSectionTest, MarkerBytesInsideOldRecordsAreNoMarkers)
{
    DrumRecord named = patternRecord(5);
    std::memcpy(named.DrumName.data(), "/EDrum/Chord", 12);
    const QByteArray original
        = QByteArray("head") + section({ named, patternRecord(9) }) + "/EDrum/Chord tail";
    QByteArray file = original;
    ASSERT_TRUE(write({ named, patternRecord(9) }, file));
    EXPECT_EQ(file, original);

    const DrumStore one = { patternRecord(2) };
    ASSERT_TRUE(write(one, file));
    EXPECT_EQ(file, QByteArray("head") + section(one) + "/EDrum/Chord tail");
}

INSTANTIATE_TEST_SUITE_P(MemoryAndFile, DrumSectionTest, ::testing::Bool(),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "File" : "Memory"; });

TEST(DrumSectionFile, FailedWritesLeaveNothingBehind)
{
    QTemporaryDir dir;
    const DrumStore records = { patternRecord(1) };

    // A missing file is neither read nor created.
    const QString missing = dir.filePath(QStringLiteral("missing.vls"));
    DrumStore read(1, patternRecord(2));
    EXPECT_FALSE(ReadDrumData(read, missing));
    EXPECT_EQ(read, DrumStore(1, patternRecord(2)));
    EXPECT_FALSE(WriteDrumData(records, missing));

    // A folder given as the file.
    const QString folder = dir.filePath(QStringLiteral("folder.vls"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.vls")));
    EXPECT_FALSE(ReadDrumData(read, folder));
    EXPECT_FALSE(WriteDrumData(records, folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { "folder.vls" });
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}
