#include "app/drums/accompaniment_dialog.h"
#include "app/drums/accompaniment_styles.h"
#include "app/drums/choice_list.h"
#include "app/drums/drum_sound_names.h"
#include "app/drums/rap_dialog.h"
#include "app/playback/play_note.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace tunvale;
namespace support = tunvale::testing;
using drums::RapDialog;

class RapDialogTest : public ::testing::Test
{
protected:
    // The notes the dialog played: key, pan and velocity each.
    std::vector<std::array<int, 3>> notes() const
    {
        std::vector<std::array<int, 3>> played;
        int pan = -1;
        for (const platform::ShortMessage& m : sound->shortMessages()) {
            if (m.status == 0xB9 && m.data1 == 10)
                pan = m.data2;
            else if (m.status == 0x99)
                played.push_back({ m.data1, pan, m.data2 });
        }
        return played;
    }
    std::unique_ptr<RapDialog> openOn(int rapDrum)
    {
        header.RapDrum = std::int16_t(rapDrum);
        header.ScoreSaved = true;
        sound->clear();
        return std::make_unique<RapDialog>(player, header);
    }

    std::unique_ptr<support::FakeDevices> devices = std::make_unique<support::FakeDevices>();
    std::shared_ptr<platform::MidiRecording> sound = devices->builtInRecording;
    playback::PlayNote player { std::move(devices) };
    notation::ScoreHeader header;
};

TEST_F(RapDialogTest, AStoredSoundOpensItsListAndIsHeardOnce)
{
    header.Volume = 90;
    auto common = openOn(22); // note 35
    EXPECT_FALSE(common->showsFullList());
    EXPECT_EQ(common->ComboDrum->count(), 12);
    EXPECT_EQ(common->ComboDrum->currentIndex(), 2);
    EXPECT_EQ(common->Label1->toolTip(), QStringLiteral("加载更多鼓..."));
    EXPECT_EQ(notes(), (std::vector { std::array { 35, 64, 90 } }));

    auto full = openOn(14); // note 27
    EXPECT_TRUE(full->showsFullList());
    EXPECT_EQ(full->ComboDrum->count(), 75);
    EXPECT_EQ(full->ComboDrum->currentIndex(), 14);
    EXPECT_EQ(full->Label1->toolTip(), QStringLiteral("显示常用..."));
    sound->clear();
    QTest::mouseClick(full->Label1, Qt::LeftButton);
    QTest::mouseClick(full->Label1, Qt::LeftButton);
    EXPECT_TRUE(full->showsFullList());
    EXPECT_EQ(full->ComboDrum->currentIndex(), 15);
    EXPECT_EQ(notes(), (std::vector { std::array { 28, 64, 90 }, std::array { 28, 64, 90 } }));
}

TEST_F(RapDialogTest, OnlyAnotherSoundConfirmedMarksTheScoreChanged)
{
    auto same = openOn(22);
    same->Command1->click();
    EXPECT_EQ(header.RapDrum, 22);
    EXPECT_TRUE(header.ScoreSaved);

    auto other = openOn(22);
    other->ComboDrum->choose(4); // note 39
    other->Command2->click();
    EXPECT_EQ(header.RapDrum, 22);
    auto closed = openOn(22);
    closed->ComboDrum->choose(4);
    closed->show();
    closed->close();
    EXPECT_EQ(header.RapDrum, 22);
    EXPECT_TRUE(header.ScoreSaved);

    auto chosen = openOn(22);
    chosen->ComboDrum->choose(4);
    chosen->Command1->click();
    EXPECT_EQ(header.RapDrum, 26);
    EXPECT_FALSE(header.ScoreSaved);
}

TEST_F(RapDialogTest, ASoundOutsideTheListsOpensTheFullListWithNothingChosen)
{
    for (int outside : { -1, 75 }) {
        auto dialog = openOn(outside);
        EXPECT_TRUE(dialog->showsFullList());
        EXPECT_EQ(dialog->ComboDrum->currentIndex(), -1);
        EXPECT_TRUE(notes().empty());
        dialog->Command1->click();
        EXPECT_EQ(header.RapDrum, outside);
        EXPECT_TRUE(header.ScoreSaved);
    }
}

class AccompanimentDialogTest : public ::testing::Test
{
protected:
    QString ini() const { return user.file(QStringLiteral("banzhou.ini")); }

    support::ScopedUserFolder user;
    support::ScopedPrompts prompts;
};

TEST_F(AccompanimentDialogTest, ADoubleClickedStyleShowsItsNameAndSounds)
{
    const QByteArray text = QStringLiteral("[伴奏类型]\nTotalTypes=11\nType1Name=一\nType10=35\nType11=88\n"
                                           "Type11Name=十一\nType110=87\nType111=36\n")
                                .toUtf8();
    ASSERT_TRUE(support::writeAll(ini(), text));
    const drums::AccompanimentStyles styles = drums::AccompanimentStyles::load();
    drums::AccompanimentDialog dialog(styles);
    ASSERT_EQ(dialog.myDrumList->count(), 11);
    for (drums::ChoiceList* sound : dialog.ComboDrum)
        EXPECT_EQ(sound->currentIndex(), drums::kBassDrumSound);
    const auto doubleClick = [&dialog](int row) {
        dialog.myDrumList->setCurrentRow(row);
        QTest::mouseDClick(dialog.myDrumList->viewport(), Qt::LeftButton, {},
            dialog.myDrumList->visualItemRect(dialog.myDrumList->item(row)).center());
    };
    doubleClick(0);
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("一"));
    EXPECT_EQ(dialog.ComboDrum[0]->currentIndex(), 22);
    EXPECT_EQ(dialog.ComboDrum[1]->currentIndex(), -1); // note 88
    EXPECT_EQ(dialog.ComboDrum[2]->currentIndex(), -1); // no key
    doubleClick(10);
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("十一"));
    EXPECT_EQ(dialog.ComboDrum[0]->currentIndex(), 74);
    EXPECT_EQ(dialog.ComboDrum[1]->currentIndex(), 23);
    // Nothing selected: a double-click shows nothing new.
    dialog.myDrumList->clearSelection();
    dialog.showStyle(-1);
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("十一"));
    dialog.Text1->setText(QStringLiteral("改"));
    dialog.ComboDrum[4]->choose(3);
    dialog.Command1->click();
    EXPECT_EQ(support::readAll(ini()), text);
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(AccompanimentDialogTest, MissingFilesGiveAnEmptyListAndTheSoundNumbers)
{
    ASSERT_TRUE(support::writeAll(ini(), QByteArrayLiteral("[其他]\nx=1\n")));
    ASSERT_TRUE(support::writeAll(user.file(drums::kDrumSoundFileName), QByteArray()));
    const drums::AccompanimentStyles styles = drums::AccompanimentStyles::load();
    drums::AccompanimentDialog dialog(styles);
    EXPECT_EQ(dialog.myDrumList->count(), 0);
    EXPECT_EQ(dialog.ComboDrum[0]->count(), 75);
    EXPECT_EQ(dialog.ComboDrum[0]->currentText(), QStringLiteral("35"));
    EXPECT_EQ(prompts->texts(), QStringList { drums::kMissingDrumSoundsMessage });
}

} // namespace
