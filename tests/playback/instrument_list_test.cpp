#include "app/playback/playback_state.h"

#include "platform/settings/program_folder.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using playback::PlayNote;

namespace {

// A user folder holding the given "genmidi.txt" (none for an empty text) over an empty data folder.
class InstrumentListTest : public ::testing::Test
{
protected:
    InstrumentListTest() { platform::ProgramFolder::overrideDataDir(emptyData_.path()); }
    ~InstrumentListTest() override { platform::ProgramFolder::overrideDataDir({}); }

    void useFile(const QByteArray& bytes)
    {
        ASSERT_TRUE(tunvale::testing::writeAll(user_.file(QStringLiteral("genmidi.txt")), bytes));
    }
    QStringList shownAfter()
    {
        QCoreApplication::sendPostedEvents();
        return prompts_->texts();
    }

    QTemporaryDir emptyData_;
    tunvale::testing::ScopedUserFolder user_;
    tunvale::testing::ScopedPrompts prompts_;
    PlayNote note_ { std::make_unique<tunvale::testing::FakeDevices>() };
};

const QString kIncomplete = QStringLiteral("乐器列表文件 genmidi.txt 缺失或不完整。");

QByteArray fixture()
{
    return tunvale::testing::readAll(tunvale::testing::testDataPath(QStringLiteral("playback/genmidi.txt")));
}

TEST_F(InstrumentListTest, ACompleteFileFillsAllThreeLists)
{
    useFile(fixture());
    const playback::SoundList list = note_.fill_sound_list();

    ASSERT_EQ(list.items.size(), 128);
    EXPECT_EQ(list.items.first(), QStringLiteral("1 乐器1"));
    EXPECT_EQ(list.items.last(), QStringLiteral("128 乐器128"));
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.toolTip, QStringLiteral("乐器选择：Instrument1"));
    EXPECT_EQ(playback::InstrumentNames[0], QStringLiteral("Instrument1"));
    EXPECT_EQ(playback::InstrumentNames[127], QStringLiteral("Instrument128"));

    const QStringList drums = note_.fill_DrumSound_list(0);
    ASSERT_EQ(drums.size(), 75);
    EXPECT_EQ(drums.first(), QStringLiteral("13 鼓声13"));
    EXPECT_EQ(drums.last(), QStringLiteral("87 鼓声87"));
    const QStringList common = note_.fill_DrumSound_list(-1);
    ASSERT_EQ(common.size(), 12);
    EXPECT_EQ(common.first(), QStringLiteral("28 常用28"));
    EXPECT_TRUE(shownAfter().isEmpty());
}

struct BrokenCase {
    const char* what;
    int lines; // lines of the fixture kept
    int lineWithoutSlash; // 0-based instrument line whose "/" is taken out, or -1
    int drums;
    int common;
};

TEST_F(InstrumentListTest, AMissingOrIncompleteFileSaysSoAndStillFillsTheList)
{
    const QList<QByteArray> lines = fixture().split('\n');
    const std::vector<BrokenCase> cases = {
        { "missing", -1, -1, 0, 0 },
        { "instruments only", 100, -1, 0, 0 },
        { "short of the common sounds", 210, -1, 75, 7 },
        { "instrument line without slash", 215, 5, 75, 12 },
    };
    for (const BrokenCase& c : cases) {
        prompts_->shown.clear();
        QFile::remove(user_.file(QStringLiteral("genmidi.txt")));
        if (c.lines >= 0) {
            QList<QByteArray> kept = lines.mid(0, c.lines);
            if (c.lineWithoutSlash >= 0)
                kept[c.lineWithoutSlash].replace('/', ' ');
            useFile(kept.join('\n'));
        }
        const playback::SoundList list = note_.fill_sound_list();
        ASSERT_EQ(list.items.size(), 128) << c.what;
        for (int k = 0; k < 128; ++k) {
            const bool present = k < c.lines && k != c.lineWithoutSlash;
            EXPECT_EQ(list.items[k],
                QString::number(k + 1) + (present ? QStringLiteral(" 乐器%1").arg(k + 1) : " "))
                << c.what << " item " << k;
            EXPECT_EQ(playback::InstrumentNames[size_t(k)].isEmpty(), !present) << c.what << " name " << k;
        }
        EXPECT_EQ(note_.fill_DrumSound_list(0).size(), c.drums) << c.what;
        EXPECT_EQ(note_.fill_DrumSound_list(-1).size(), c.common) << c.what;
        EXPECT_EQ(shownAfter(), QStringList(3, kIncomplete)) << c.what;
    }
}

} // namespace

namespace {

TEST(ShippedInstrumentListTest, HoldsEveryListWithTheNotesItsDrumLinesBeginWith)
{
    tunvale::testing::ScopedUserFolder emptyUser;
    tunvale::testing::ScopedPrompts prompts;
    PlayNote note(std::make_unique<tunvale::testing::FakeDevices>());

    const playback::SoundList list = note.fill_sound_list();
    ASSERT_EQ(list.items.size(), 128);
    for (int k = 0; k < 128; ++k) {
        EXPECT_TRUE(list.items[k].startsWith(QString::number(k + 1) + QLatin1Char(' '))) << k;
        EXPECT_FALSE(playback::InstrumentNames[size_t(k)].isEmpty()) << k;
    }
    EXPECT_EQ(list.toolTip, QStringLiteral("乐器选择：") + playback::InstrumentNames[0]);

    const QStringList drums = note.fill_DrumSound_list(0);
    ASSERT_EQ(drums.size(), 75);
    for (int i = 0; i < 75; ++i)
        EXPECT_EQ(drums[i].left(2).toInt(), 13 + i) << drums[i].toStdString();
    const QStringList common = note.fill_DrumSound_list(-1);
    const int notes[] = { 28, 31, 35, 38, 39, 40, 45, 47, 60, 73, 76, 87 };
    ASSERT_EQ(common.size(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(common[i].left(2).toInt(), notes[i]) << common[i].toStdString();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(prompts->shown.empty());
}

} // namespace
