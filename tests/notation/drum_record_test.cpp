#include "app/notation/drum_accessor.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tunvale::notation;

namespace {

// A store of three records selected through an accessor of its own stores.
class DrumAccessorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        stores.DrumTemplates.resize(3);
        drum.DrumType(DrumAccessor::DrumTemplates);
    }
    const std::uint8_t* bytes(int index) const { return stores.DrumTemplates[index].bytes(); }

    DrumStores stores;
    DrumAccessor drum { stores };
};

struct FieldCase {
    const char* name;
    std::function<void(DrumAccessor&)> set;
    int offset;
    std::uint8_t expected;
    std::function<int(const DrumAccessor&)> get;
};

} // namespace

TEST_F(DrumAccessorTest, EachSetterWritesTheByteAtItsOffset)
{
    const FieldCase cases[] = {
        { "DrumVer", [](DrumAccessor& d) { d.setDrumVer(1, 7); }, 0, 7,
            [](const DrumAccessor& d) { return d.DrumVer(1); } },
        { "DrumChannel", [](DrumAccessor& d) { d.setDrumChannel(1, 2, true); }, 33, 0x20,
            [](const DrumAccessor& d) { return int(d.DrumChannel(1, 2)); } },
        { "DrumVolume", [](DrumAccessor& d) { d.setDrumVolume(1, 7, 100); }, 41, 100,
            [](const DrumAccessor& d) { return d.DrumVolume(1, 7); } },
        { "DrumSounds", [](DrumAccessor& d) { d.setDrumSounds(1, 0, 22); }, 42, 22,
            [](const DrumAccessor& d) { return d.DrumSounds(1, 0); } },
        { "DrumTrack", [](DrumAccessor& d) { d.setDrumTrack(1, 3); }, 50, 3,
            [](const DrumAccessor& d) { return d.DrumTrack(1); } },
        { "DrumTimeSignature", [](DrumAccessor& d) { d.setDrumTimeSignature(1, 27); }, 51, 27,
            [](const DrumAccessor& d) { return d.DrumTimeSignature(1); } },
        { "DrumSpeed", [](DrumAccessor& d) { d.setDrumSpeed(1, 120); }, 52, 120,
            [](const DrumAccessor& d) { return d.DrumSpeed(1); } },
        { "DrumRhythms", [](DrumAccessor& d) { d.setDrumRhythms(1, 9, 2, true); }, 62, 0x40,
            [](const DrumAccessor& d) { return int(d.DrumRhythms(1, 9, 2)); } },
        { "DrumRhythms last", [](DrumAccessor& d) { d.setDrumRhythms(1, 31, 7, true); }, 84, 0x01,
            [](const DrumAccessor& d) { return int(d.DrumRhythms(1, 31, 7)); } },
        { "DrumSoundImage", [](DrumAccessor& d) { d.setDrumSoundImage(1, 4, 64); }, 89, 64,
            [](const DrumAccessor& d) { return d.DrumSoundImage(1, 4); } },
        { "BarsOfSong", [](DrumAccessor& d) { d.setBarsOfSong(1, 9); }, 93, 9,
            [](const DrumAccessor& d) { return d.BarsOfSong(1); } },
        { "HaveDrum", [](DrumAccessor& d) { d.setHaveDrum(1, 1); }, 94, 1,
            [](const DrumAccessor& d) { return d.HaveDrum(1); } },
        { "XJLong", [](DrumAccessor& d) { d.setXJLong(1, 0, 0x11223344); }, 95, 0x44,
            [](const DrumAccessor& d) { return int(d.XJLong(1, 0) == 0x11223344); } },
        { "sTimetmp", [](DrumAccessor& d) { d.setsTimetmp(1, 3, 5); }, 102, 5,
            [](const DrumAccessor& d) { return d.sTimetmp(1, 3); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        stores.DrumTemplates.assign(3, DrumRecord {});
        c.set(drum);
        for (int i = 0; i < DrumRecord::Size; ++i) {
            if (i != c.offset && !(c.offset == 95 && i < 99)) {
                ASSERT_EQ(bytes(1)[i], 0) << "byte " << i;
            }
        }
        EXPECT_EQ(bytes(1)[c.offset], c.expected);
        EXPECT_NE(c.get(drum), 0);
        EXPECT_EQ(stores.DrumTemplates[0], DrumRecord {});
        EXPECT_EQ(stores.DrumTemplates[2], DrumRecord {});
    }
}

TEST_F(DrumAccessorTest, OutOfRangeArgumentsChangeNothingAndReadZero)
{
    for (int index = 0; index < 3; ++index)
        std::fill_n(stores.DrumTemplates[index].bytes(), DrumRecord::Size, 0xFF);
    const DrumStore before = stores.DrumTemplates;

    for (int index : { -1, 3, 1000000 }) {
        drum.setDrumVer(index, 1);
        drum.setDrumName(index, QStringLiteral("x"));
        drum.setDrumSpeed(index, 1);
        drum.setHaveDrum(index, 0);
        drum.setXJLong(index, 0, 0);
        EXPECT_EQ(drum.DrumVer(index), 0);
        EXPECT_EQ(drum.DrumName(index), QString());
        EXPECT_EQ(drum.HaveDrum(index), 0);
    }
    for (int ch : { -1, 8 }) {
        drum.setDrumChannel(0, ch, false);
        drum.setDrumVolume(0, ch, 0);
        drum.setDrumSounds(0, ch, 0);
        drum.setDrumSoundImage(0, ch, 0);
        drum.setDrumRhythms(0, 0, ch, false);
        EXPECT_FALSE(drum.DrumChannel(0, ch));
        EXPECT_EQ(drum.DrumVolume(0, ch), 0);
        EXPECT_EQ(drum.DrumSoundImage(0, ch), 0);
        EXPECT_FALSE(drum.DrumRhythms(0, 0, ch));
    }
    for (int x : { -1, 32 }) {
        drum.setDrumRhythms(0, x, 0, false);
        EXPECT_FALSE(drum.DrumRhythms(0, x, 0));
    }
    for (int no : { -96, 5, 100 }) {
        drum.setXJLong(0, no, 0);
        EXPECT_EQ(drum.XJLong(0, no), 0);
    }
    for (int i : { -1, 4 }) {
        drum.setsTimetmp(0, i, 0);
        EXPECT_EQ(drum.sTimetmp(0, i), 0);
    }
    EXPECT_EQ(stores.DrumTemplates, before);

    // The XJLong offset may reach any four bytes inside the record.
    drum.setXJLong(2, -95, 0);
    drum.setXJLong(2, 4, 0x01020304);
    EXPECT_EQ(bytes(2)[0], 0);
    EXPECT_EQ(bytes(2)[3], 0);
    EXPECT_EQ(bytes(2)[4], 0xFF);
    EXPECT_EQ(bytes(2)[99], 0x04);
    EXPECT_EQ(bytes(2)[102], 0x01);
}

TEST_F(DrumAccessorTest, StoreSelectionFollowsTheStore)
{
    // Nothing selected yet, and an empty store, are no errors.
    DrumAccessor fresh { stores };
    EXPECT_EQ(fresh.recordCount(), 0);
    fresh.setDrumSpeed(0, 5);
    EXPECT_EQ(fresh.DrumSpeed(0), 0);
    fresh.DrumType(DrumAccessor::XjDrums);
    EXPECT_EQ(fresh.recordCount(), 0);
    EXPECT_EQ(fresh.DrumSpeed(0), 0);

    // A store that grows after the selection is seen as it is now.
    stores.XjDrums.resize(5);
    fresh.setDrumSpeed(4, 90);
    EXPECT_EQ(stores.XjDrums[4].DrumSpeed, 90);

    // An unknown type keeps the selection.
    fresh.DrumType(6);
    fresh.DrumType(-1);
    EXPECT_EQ(fresh.DrumSpeed(4), 90);

    // Single records answer to index 0 only.
    fresh.DrumType(DrumAccessor::DrumEdit);
    EXPECT_EQ(fresh.recordCount(), 1);
    fresh.setDrumSpeed(0, 60);
    fresh.setDrumSpeed(1, 61);
    EXPECT_EQ(stores.DrumEdit.DrumSpeed, 60);
    EXPECT_EQ(stores.DrumClip, DrumRecord {});
    EXPECT_EQ(stores.DrumScratch, DrumRecord {});

    // Records of a store lie 103 bytes apart in one block.
    EXPECT_EQ(reinterpret_cast<const char*>(&stores.XjDrums[4])
            - reinterpret_cast<const char*>(stores.XjDrums.data()),
        4 * 103);
}

TEST_F(DrumAccessorTest, BitFields)
{
    for (int value : { 0, 127, 128, 255 }) {
        stores.DrumTemplates[0].DrumChannel = std::uint8_t(value);
        EXPECT_EQ(drum.DrumChannel(0, 0), value >= 128) << value;
    }
    stores.DrumTemplates[0].DrumChannel = 0;
    drum.setDrumChannel(0, 3, true);
    drum.setDrumChannel(0, 3, true);
    EXPECT_EQ(stores.DrumTemplates[0].DrumChannel, 0x10);
    drum.setDrumChannel(0, 3, false);
    drum.setDrumChannel(0, 3, false);
    EXPECT_EQ(stores.DrumTemplates[0].DrumChannel, 0);

    // Step 9 of track 2 is bit 6 of byte 62; neighbouring steps stay off.
    stores.DrumTemplates[0].bytes()[62] = 0x40;
    EXPECT_TRUE(drum.DrumRhythms(0, 9, 2));
    EXPECT_FALSE(drum.DrumRhythms(0, 8, 2));
    EXPECT_FALSE(drum.DrumRhythms(0, 10, 2));
    EXPECT_FALSE(drum.DrumRhythms(0, 9, 1));

    EXPECT_EQ(DrumAccessor::D2B(5), QStringLiteral("00000101"));
    EXPECT_EQ(DrumAccessor::D2B(0), QStringLiteral("00000000"));
    EXPECT_EQ(DrumAccessor::D2B(255), QStringLiteral("11111111"));
    EXPECT_EQ(DrumAccessor::D2B(128), QStringLiteral("10000000"));
}

TEST_F(DrumAccessorTest, NamesAreCutAtAWholeCharacter)
{
    const struct {
        QString name;
        QString readBack;
        int usedBytes;
    } cases[] = {
        { QStringLiteral("摇滚"), QStringLiteral("摇滚"), 4 },
        { QStringLiteral("  华尔兹 3/4  "), QStringLiteral("华尔兹 3/4"), 14 },
        { QString(40, u'x'), QString(32, u'x'), 32 },
        { QString(17, u'鼓'), QString(16, u'鼓'), 32 },
        // One ASCII byte first: the seventeenth double-byte character no longer fits whole.
        { QStringLiteral("a") + QString(16, u'鼓'), QStringLiteral("a") + QString(15, u'鼓'), 31 },
        { QString(), QString(), 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        stores.DrumTemplates[0].DrumName.fill(0xAA);
        drum.setDrumName(0, c.name);
        EXPECT_EQ(drum.DrumName(0), c.readBack);
        const auto& field = stores.DrumTemplates[0].DrumName;
        for (int i = c.usedBytes; i < 32; ++i)
            EXPECT_EQ(field[i], 0) << i;
        if (c.usedBytes > 0) {
            EXPECT_NE(field[c.usedBytes - 1], 0);
        }
    }
}

TEST(DrumTime, TimeSignatureCodes)
{
    const struct {
        int code;
        int steps;
        const char* text;
    } cases[] = {
        { 0, 4, "1/4" },
        { 3, 16, "4/4" },
        { 4, 6, "3/8" },
        { 5, 12, "6/8" },
        { 7, 24, "12/8" },
        { 8, 0, "unchanged" },
        { 9, 5, "1/4 +1" },
        { 12, 8, "1/4 +4" },
        { 16, 12, "2/4 +4" },
        { 20, 16, "3/4 +4" },
        { 21, 17, "4/4 +1" },
        { 27, 9, "3/8 +3" },
        { 32, 16, "6/8 +4" },
        { 33, 19, "9/8 +1" },
        { 40, 28, "12/8 +4" },
        { 41, 8, "2/4" },
        { 255, 8, "2/4" },
    };
    DrumStores stores;
    DrumAccessor drum { stores };
    drum.DrumType(DrumAccessor::DrumScratch);
    for (const auto& c : cases) {
        drum.setDrumTimeSignature(0, std::uint8_t(c.code));
        QString text = QStringLiteral("unchanged");
        EXPECT_EQ(drum.DrumTime(0, text), c.steps) << c.code;
        EXPECT_EQ(text, QString::fromLatin1(c.text)) << c.code;
    }
}
