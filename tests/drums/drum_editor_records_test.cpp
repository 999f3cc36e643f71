#include "app/drums/accompaniment_styles.h"
#include "app/drums/drum_editor_state.h"
#include "app/drums/drum_sound_names.h"
#include "app/drums/drum_template_file.h"
#include "app/drums/rap_sound_choice.h"
#include "app/drums/time_signature_rows.h"
#include "app/notation/drum_data.h"
#include "platform/settings/program_folder.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace tunvale;
using namespace tunvale::drums;
using notation::DrumRecord;
using notation::DrumStore;

TEST(TimeSignatureRows, EveryBarEndsWhereTheRecordsStepCountSays)
{
    const auto& rows = TimeSignatureRows();
    for (int code = 0; code < kTimeSignatureRows; ++code) {
        const TimeSignatureRow& row = rows[std::size_t(code)];
        QString text;
        const int steps = notation::TimeSigSteps(code, text);
        if (code == kCustomHeadingRow) {
            EXPECT_EQ(row.barEnd(), -1);
            continue;
        }
        EXPECT_EQ(row.barEnd(), steps) << code;
        EXPECT_EQ(row.item, text) << code;
        EXPECT_TRUE(row.accents.startsWith(QStringLiteral("拍子：强"))) << code;
    }
    EXPECT_EQ(rows[27].item, QStringLiteral("3/8 +3"));
    EXPECT_EQ(rows[27].barEnd(), 9);
    EXPECT_EQ(rows[36].barEnd(), 22);
    EXPECT_EQ(rows[40].barEnd(), 28);
}

TEST(DrumEditorRecord, StepsAndSwitchesLandOnTheirBits)
{
    DrumEditorState state;
    state.name = QStringLiteral("x");
    for (int s : { 0, 7, 8, 31 })
        state.tracks[0].steps[std::size_t(s)] = true;
    state.tracks[7].steps[31] = true;
    state.tracks[0].on = true;
    DrumRecord r = BuildDrumRecord(state);
    EXPECT_EQ(r.DrumRhythms[0], 0x81); // byte 53: steps 0 and 7
    EXPECT_EQ(r.DrumRhythms[1], 0x80); // byte 54: step 8
    EXPECT_EQ(r.DrumRhythms[3], 0x01); // byte 56: step 31
    EXPECT_EQ(r.DrumRhythms[31], 0x01); // byte 84: track 7 step 31
    EXPECT_EQ(r.DrumChannel, 0x80);
    state.tracks[0].on = false;
    state.tracks[7].on = true;
    EXPECT_EQ(BuildDrumRecord(state).DrumChannel, 0x01);
}

TEST(DrumEditorRecord, SpeedsAndVolumesAreHeldToTheirBoxes)
{
    EXPECT_EQ(HeldSpeed(0), 120);
    EXPECT_EQ(HeldSpeed(300), 255);
    EXPECT_EQ(HeldSpeed(1), 30);
    EXPECT_EQ(HeldSpeed(29), 30);
    EXPECT_EQ(HeldSpeed(125), 125);
    EXPECT_EQ(HeldSpeed(std::numeric_limits<double>::quiet_NaN()), 120);
    EXPECT_EQ(HeldSpeed(1e10), 255);
    EXPECT_EQ(HeldSpeed(-2147483649.0), 30);

    DrumRecord stored;
    stored.DrumSpeed = 12;
    stored.DrumVolume[2] = 200;
    const DrumEditorState state = StateOfRecord(stored);
    EXPECT_EQ(state.speed, 30);
    EXPECT_EQ(state.tracks[2].volume, QStringLiteral("127"));
    EXPECT_EQ(BuildDrumRecord(state).DrumSpeed, 30);
    DrumEditorState typed;
    typed.tracks[0].volume = QStringLiteral("abc");
    typed.tracks[1].volume = QStringLiteral("12.5");
    EXPECT_EQ(BuildDrumRecord(typed).DrumVolume[0], 0);
    EXPECT_EQ(BuildDrumRecord(typed).DrumVolume[1], 12);
}

TEST(DrumEditorRecord, NamesAreCutAtACharacterAndReadWithoutNuls)
{
    DrumEditorState state;
    state.name = QString(17, QChar(0x9F13)); // 34 bytes in GBK
    const DrumRecord r = BuildDrumRecord(state);
    EXPECT_EQ(RecordName(r), QString(16, QChar(0x9F13)));
    EXPECT_EQ(RecordName(DrumRecord {}), QString());
    DrumRecord padded;
    padded.DrumName[0] = 'a';
    padded.DrumName[2] = 'b';
    EXPECT_EQ(RecordName(padded), QStringLiteral("ab"));
}

TEST(DrumTemplateStore, DeletingRemovesOneAndTheLastBecomesEmpty)
{
    const DrumRecord empty = MakeEmptyDrumRecord();
    EXPECT_EQ(empty.DrumSounds[5], 35);
    EXPECT_EQ(empty.DrumVolume[0], 127);
    EXPECT_EQ(empty.DrumSoundImage[7], 64);
    EXPECT_EQ(empty.DrumTimeSignature, 1);
    EXPECT_EQ(empty.DrumSpeed, 125);
    EXPECT_EQ(RecordName(empty), QString());

    DrumStore store(3);
    for (int i = 0; i < 3; ++i)
        store[std::size_t(i)].DrumName[0] = std::uint8_t('a' + i);
    EXPECT_FALSE(DeleteDrumRecord(store, 1));
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[1].DrumName[0], 'c');
    EXPECT_FALSE(DeleteDrumRecord(store, 2));
    EXPECT_EQ(store.size(), 2u);
    EXPECT_FALSE(DeleteDrumRecord(store, 0));
    EXPECT_TRUE(DeleteDrumRecord(store, 0));
    ASSERT_EQ(store.size(), 1u);
    EXPECT_TRUE(store[0] == empty);
}

TEST(DrumSoundNames, AMissingOrShortFileStillGivesSeventyFiveItems)
{
    const DrumSoundNames shortFile = DrumSoundNamesFromText(QStringLiteral("13 一\r\n14 二\r\n"));
    EXPECT_FALSE(shortFile.complete);
    ASSERT_EQ(shortFile.items.size(), kDrumSoundCount);
    EXPECT_EQ(shortFile.items[1], QStringLiteral("14 二"));
    EXPECT_EQ(shortFile.items[2], QStringLiteral("15"));
    EXPECT_EQ(shortFile.items[74], QStringLiteral("87"));
    EXPECT_EQ(DrumSoundNamesFromText({}).items.size(), kDrumSoundCount);
    QStringList whole;
    for (int i = 0; i < kDrumSoundCount; ++i)
        whole << QStringLiteral("%1 sound").arg(13 + i);
    EXPECT_TRUE(DrumSoundNamesFromText(whole.join(u'\n')).complete);
}

TEST(RapSoundChoice, TheListAndItsSelectionFollowTheStoredSound)
{
    const RapSoundList common = RapSoundListFor(22); // note 35
    EXPECT_FALSE(common.full);
    EXPECT_EQ(common.index, 2);
    EXPECT_EQ(common.switchTip, QStringLiteral("加载更多鼓..."));
    EXPECT_EQ(RapSoundListFor(74).index, 11); // note 87, the last entry
    const RapSoundList other = RapSoundListFor(14); // note 27
    EXPECT_TRUE(other.full);
    EXPECT_EQ(other.index, 14);
    EXPECT_EQ(other.switchTip, QStringLiteral("显示常用..."));
    for (int outside : { -1, 75, -10, 300 }) {
        EXPECT_TRUE(RapSoundListFor(outside).full) << outside;
        EXPECT_EQ(RapSoundListFor(outside).index, -1) << outside;
    }
    EXPECT_EQ(SwitchedRapSoundList(true).index, 0);
    EXPECT_FALSE(SwitchedRapSoundList(true).full);
    EXPECT_EQ(SwitchedRapSoundList(false).index, 15);
    EXPECT_EQ(RapItemNote(QStringLiteral("35 原声底鼓")), 35);
    EXPECT_EQ(RapItemNote(QStringLiteral("?")), 0);
}

TEST(AccompanimentStyles, KeysOfTwoDigitStylesAndMissingOrStrayNotes)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("banzhou.ini"));
    ASSERT_TRUE(tunvale::testing::writeAll(ini,
        QStringLiteral("[伴奏类型]\nTotalTypes=10\nType1Name=一\nType10=35\nType11=88\nType10Name=十\n"
                       "Type100=87\nType104=13\n")
            .toUtf8()));
    const AccompanimentStyles styles(ini);
    const QStringList names = styles.names();
    ASSERT_EQ(names.size(), 10);
    EXPECT_EQ(names[0], QStringLiteral("一"));
    EXPECT_EQ(names[1], QString()); // a style without a name
    EXPECT_EQ(names[9], QStringLiteral("十"));
    EXPECT_EQ(styles.soundIndex(1, 0), 22);
    EXPECT_EQ(styles.soundIndex(1, 1), -1); // note 88
    EXPECT_EQ(styles.soundIndex(1, 2), -1); // no key
    EXPECT_EQ(styles.soundIndex(10, 0), 74);
    EXPECT_EQ(styles.soundIndex(10, 4), 0);
    EXPECT_TRUE(AccompanimentStyles(dir.filePath(QStringLiteral("none.ini"))).names().isEmpty());
}

class TemplateFile : public ::testing::Test
{
protected:
    void SetUp() override { platform::ProgramFolder::overrideDataDir(data.path()); }
    void TearDown() override { platform::ProgramFolder::overrideDataDir({}); }

    static DrumStore named(std::initializer_list<char> ids)
    {
        DrumStore records;
        for (char id : ids) {
            records.push_back(MakeEmptyDrumRecord());
            records.back().DrumName[0] = std::uint8_t(id);
        }
        return records;
    }
    QString userFile() const { return user.file(notation::DrumTemplateFileName); }

    tunvale::testing::ScopedUserFolder user;
    QTemporaryDir data;
};

TEST_F(TemplateFile, TheFirstSaveStartsFromTheShippedFileWhichStaysAsItWas)
{
    const QString shipped = data.filePath(notation::DrumTemplateFileName);
    const QByteArray shippedBytes = QByteArrayLiteral("head/Drum") + QByteArray(2, '\0') + "/EDrumtail";
    ASSERT_TRUE(tunvale::testing::writeAll(shipped, shippedBytes));
    ASSERT_TRUE(SaveDrumTemplates(named({ 'a', 'b' })));
    DrumStore read;
    ASSERT_TRUE(notation::ReadDrumData(read, userFile()));
    EXPECT_TRUE(read == named({ 'a', 'b' }));
    const QByteArray written = tunvale::testing::readAll(userFile());
    EXPECT_TRUE(written.startsWith("head/Drum") && written.endsWith("/EDrumtail"));
    EXPECT_EQ(tunvale::testing::readAll(shipped), shippedBytes);
    // Start-up reads the user's file first.
    EXPECT_EQ(platform::ProgramFolder::find(notation::DrumTemplateFileName), userFile());
}

TEST_F(TemplateFile, WithoutAShippedFileAnEmptySectionStartsIt)
{
    ASSERT_TRUE(SaveDrumTemplates(named({ 'z' })));
    DrumStore read;
    ASSERT_TRUE(notation::ReadDrumData(read, userFile()));
    EXPECT_TRUE(read == named({ 'z' }));
}

TEST_F(TemplateFile, AFileThatCannotBeReadIsNotReplaced)
{
    ASSERT_TRUE(QDir().mkpath(userFile())); // a folder in the file's place
    EXPECT_FALSE(SaveDrumTemplates(named({ 'a' })));
    EXPECT_TRUE(QFileInfo(userFile()).isDir());
}

} // namespace
