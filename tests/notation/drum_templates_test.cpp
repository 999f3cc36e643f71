#include "app/notation/drum_accessor.h"
#include "app/notation/drum_data.h"

#include "platform/settings/program_folder.h"
#include "tests/support/test_folders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale::notation;
using tunvale::platform::ProgramFolder;

TEST(DrumTemplates, ShippedFileLoadsEveryTemplate)
{
    DrumStores stores;
    ASSERT_TRUE(ReadDrumData(stores.DrumTemplates, ProgramFolder::dataPath(DrumTemplateFileName)));
    DrumAccessor drum(stores);
    drum.DrumType(DrumAccessor::DrumTemplates);
    ASSERT_GE(drum.recordCount(), 12);

    for (int i = 0; i < drum.recordCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(drum.DrumName(i).isEmpty());
        EXPECT_LE(drum.DrumTimeSignature(i), 40);
        EXPECT_NE(drum.DrumTimeSignature(i), 8);
        EXPECT_GT(drum.DrumSpeed(i), 0);
        EXPECT_EQ(drum.HaveDrum(i), 1);
        QString time;
        const int steps = drum.DrumTime(i, time);
        // Every switched-on track plays, within the bar, a General MIDI drum sound; off tracks are silent.
        bool anyTrack = false;
        for (int t = 0; t < DrumRecord::Tracks; ++t) {
            bool hits = false;
            for (int x = 0; x < DrumRecord::Steps; ++x) {
                if (drum.DrumRhythms(i, x, t)) {
                    hits = true;
                    EXPECT_LT(x, steps) << "track " << t;
                }
            }
            EXPECT_EQ(drum.DrumChannel(i, t), hits) << "track " << t;
            if (drum.DrumChannel(i, t)) {
                anyTrack = true;
                EXPECT_TRUE(drum.DrumSounds(i, t) + 13 >= 35 && drum.DrumSounds(i, t) + 13 <= 81);
                EXPECT_GT(drum.DrumVolume(i, t), 0);
                EXPECT_LE(drum.DrumSoundImage(i, t), 127);
            }
        }
        EXPECT_TRUE(anyTrack);
    }

    // One pattern read field by field: the rock beat.
    int rock = -1;
    for (int i = 0; i < drum.recordCount(); ++i)
        if (drum.DrumName(i) == QStringLiteral("摇滚"))
            rock = i;
    ASSERT_GE(rock, 0);
    QString time;
    EXPECT_EQ(drum.DrumTime(rock, time), 16);
    EXPECT_EQ(time, QStringLiteral("4/4"));
    EXPECT_EQ(drum.DrumSounds(rock, 0), 36 - 13);
    EXPECT_TRUE(drum.DrumRhythms(rock, 0, 0));
    EXPECT_FALSE(drum.DrumRhythms(rock, 1, 0));
    EXPECT_TRUE(drum.DrumRhythms(rock, 10, 0));
    EXPECT_TRUE(drum.DrumRhythms(rock, 12, 1));
    EXPECT_TRUE(drum.DrumRhythms(rock, 14, 2));
    EXPECT_FALSE(drum.DrumRhythms(rock, 15, 2));
}

TEST(DrumTemplates, WritingTheLoadedTemplatesBackGivesTheSameBytes)
{
    const QString shipped = ProgramFolder::dataPath(DrumTemplateFileName);
    const QByteArray original = tunvale::testing::readAll(shipped);
    ASSERT_FALSE(original.isEmpty());
    DrumStore templates;
    ASSERT_TRUE(ReadDrumData(templates, shipped));

    QTemporaryDir dir;
    const QString copy = dir.filePath(DrumTemplateFileName);
    ASSERT_TRUE(tunvale::testing::writeAll(copy, original));
    ASSERT_TRUE(WriteDrumData(templates, copy));
    EXPECT_EQ(tunvale::testing::readAll(copy), original);
}
