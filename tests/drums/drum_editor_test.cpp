#include "app/drums/choice_list.h"
#include "app/drums/drum_editor.h"
#include "app/drums/drum_record_mime.h"
#include "app/drums/drum_sound_names.h"
#include "app/drums/step_grid.h"
#include "app/drums/template_list.h"
#include "app/drums/time_signature_rows.h"
#include "app/notation/drum_data.h"
#include "app/notation/save_messages.h"
#include "app/playback/play_note.h"
#include "platform/settings/program_folder.h"
#include "platform/settings/registry.h"
#include "platform/text/name_bytes.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace tunvale;
namespace support = tunvale::testing;
using drums::DrumEditor;
using notation::DrumRecord;
using platform::PromptAnswer;
using playback::PlayMode;

// The main window as the editor sees it, keeping what it was asked.
class FakeMainWindow final : public drums::DrumEditorWindow
{
public:
    void setEditingEnabled(bool enabled) override { editing = enabled; }
    void sendToBar(int bar, const DrumRecord& record) override { sent.emplace_back(bar, record); }
    void listPatterns() override { ++listed; }
    int editedBar() const override { return edited; }
    void showHint(const QString& text) override { hints << text; }
    QString speedText() const override { return speed; }
    bool audition(PlayMode mode, int index) override
    {
        auditions.emplace_back(mode, index);
        return playing;
    }

    bool editing = true;
    std::vector<std::pair<int, DrumRecord>> sent;
    int listed = 0;
    int edited = 0;
    QStringList hints;
    QString speed = QStringLiteral("120");
    bool playing = true;
    std::vector<std::pair<PlayMode, int>> auditions;
};

DrumRecord Named(const char* name, int steps = 0)
{
    DrumRecord r = drums::MakeEmptyDrumRecord();
    std::memcpy(r.DrumName.data(), name, std::strlen(name));
    r.DrumRhythms[0] = std::uint8_t(steps);
    r.HaveDrum = 1;
    return r;
}

class DrumEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        stores.XjDrums.resize(6);
        stores.DrumTemplates = { Named("a"), Named("b", 0x88) };
        editor = std::make_unique<DrumEditor>(host, stores, player, nullptr);
    }
    // Opens the editor on `record` as the main window does.
    void open(const DrumRecord& record)
    {
        stores.DrumEdit = record;
        editor->ShowOneDrum(true);
    }
    // The drum notes sent: key, pan and velocity each.
    std::vector<std::array<int, 3>> drumNotes() const
    {
        std::vector<std::array<int, 3>> notes;
        int pan = -1;
        for (const platform::ShortMessage& m : sound->shortMessages()) {
            if (m.status == 0xB9 && m.data1 == 10)
                pan = m.data2;
            else if (m.status == 0x99)
                notes.push_back({ m.data1, pan, m.data2 });
        }
        return notes;
    }
    void selectTemplate(int row) { editor->myDrumList->setCurrentRow(row); }
    QString userTemplates() const { return user.file(notation::DrumTemplateFileName); }

    support::ScopedUserFolder user;
    support::ScopedSettingsFolder settings;
    support::ScopedPrompts prompts;
    std::unique_ptr<support::FakeDevices> devices = std::make_unique<support::FakeDevices>();
    std::shared_ptr<platform::MidiRecording> sound = devices->builtInRecording;
    playback::PlayNote player { std::move(devices) };
    notation::DrumStores stores;
    FakeMainWindow host;
    std::unique_ptr<DrumEditor> editor;
};

TEST_F(DrumEditorTest, RecordsWithinTheControlsRangesComeBackFieldByField)
{
    std::mt19937 random(31);
    const auto any
        = [&random](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    const QString letters = QStringLiteral("鼓点节奏进行曲abcXYZ0129");
    for (int round = 0; round < 200; ++round) {
        DrumRecord expected;
        QString name;
        for (int i = any(1, 10); i > 0; --i)
            name += letters[any(0, int(letters.size()) - 1)];
        platform::TextToNameBytes(name, expected.DrumName);
        expected.HaveDrum = std::uint8_t(any(0, 1));
        expected.DrumChannel = std::uint8_t(any(0, 255));
        for (int t = 0; t < 8; ++t) {
            expected.DrumVolume[std::size_t(t)] = std::uint8_t(any(0, 127));
            expected.DrumSounds[std::size_t(t)] = std::uint8_t(any(0, 74));
            expected.DrumSoundImage[std::size_t(t)] = std::uint8_t(any(0, 127));
        }
        for (auto& byte : expected.DrumRhythms)
            byte = std::uint8_t(any(0, 255));
        const int code = any(0, 39);
        expected.DrumTimeSignature = std::uint8_t(code < 8 ? code : code + 1);
        expected.DrumSpeed = std::uint8_t(any(30, 255));
        DrumRecord shown = expected;
        shown.DrumVer = 3;
        shown.DrumTrack = 5;
        shown.BarsOfSong = 7;
        shown.XJLong = { 1, 2, 3, 4 };
        shown.sTimetmp = { 9, 9, 9, 9 };
        stores.DrumEdit = shown;
        editor->ShowOneDrum(false);
        ASSERT_TRUE(editor->BuildDrumRecord() == expected) << round;
    }
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(DrumEditorTest, OpeningLocksTheMainWindowAndNothingShownSurvivesTheClose)
{
    host.speed = QStringLiteral("300");
    stores.DrumEdit = DrumRecord {}; // no speed
    editor->ShowOneDrum(true);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_FALSE(host.editing);
    EXPECT_EQ(host.listed, 1);
    EXPECT_EQ(editor->Text_Speed->value(), 120);
    EXPECT_EQ(stores.DrumEdit.DrumSpeed, 120); // written back into the shown record
    editor->Text1->setText(QStringLiteral("unsaved"));
    editor->close();
    EXPECT_TRUE(host.editing);
    // Reopened, the main window's tempo is held to the speed box and no question comes.
    editor->ShowOneDrum(true);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_EQ(editor->Text1->text(), QString());
    editor->close();
    stores.DrumEdit.DrumSpeed = 0;
    editor->ShowOneDrum(false);
    EXPECT_EQ(editor->Text_Speed->value(), 120);
}

// Esc closes the editor as its close box does, wherever the focus is in it.
TEST_F(DrumEditorTest, EscClosesTheEditorAndUnlocksTheMainWindow)
{
    for (QWidget* focus : std::initializer_list<QWidget*> { editor->Text1, editor->TextVolume[3],
             editor->Text_Speed, editor->myDrumList, editor->ComboTime, editor->Slider_Drum[0] }) {
        SCOPED_TRACE(focus->metaObject()->className());
        open(Named("x"));
        ASSERT_FALSE(host.editing);
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(editor->isOpen());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(host.editing);
    }
}

TEST_F(DrumEditorTest, TheOverwriteQuestionAndWhatEachAnswerDoes)
{
    open(Named("first"));
    prompts->answers = { PromptAnswer::Cancel };
    stores.DrumEdit = Named("second");
    EXPECT_FALSE(editor->ShowOneDrum(true));
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("编辑界面有数据，覆盖它？") });
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("first"));
    // A template the user does not let in leaves DrumEdit as it was.
    stores.DrumEdit = Named("kept");
    selectTemplate(1);
    prompts->answers = { PromptAnswer::Cancel };
    editor->munEditForDat->trigger();
    EXPECT_EQ(drums::RecordName(stores.DrumEdit), QStringLiteral("kept"));
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("first"));
    editor->munEditForDat->trigger(); // OK
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("b"));
    EXPECT_EQ(editor->Label5->stepText(0).left(8), QStringLiteral("*---*---"));
}

TEST_F(DrumEditorTest, EveryTrackSoundsWhenARecordOpensWithItsPanAndVolume)
{
    editor->ShowOneDrum(false); // the load sets every list without a sound
    sound->clear();
    DrumRecord r = Named("x");
    for (int t = 0; t < 8; ++t) {
        r.DrumSounds[std::size_t(t)] = std::uint8_t(t);
        r.DrumSoundImage[std::size_t(t)] = std::uint8_t(10 + t);
        r.DrumVolume[std::size_t(t)] = std::uint8_t(100 + t);
    }
    stores.DrumEdit = r;
    editor->ShowOneDrum(false);
    const auto notes = drumNotes();
    ASSERT_EQ(notes.size(), 8u);
    EXPECT_EQ(notes[3], (std::array { 16, 13, 103 }));
    sound->clear();
    editor->Slider_Drum[2]->setValue(5);
    editor->TextVolume[2]->setText(QStringLiteral("60"));
    editor->ComboDrum[2]->choose(22);
    EXPECT_EQ(drumNotes(), (std::vector { std::array { 35, 5, 60 } }));
}

TEST_F(DrumEditorTest, TheCustomHeadingBouncesAndUnshownValuesAreKept)
{
    DrumRecord r = Named("x");
    r.DrumTimeSignature = 5; // 6/8
    open(r);
    editor->ComboTime->choose(27); // 3/8 +3
    EXPECT_EQ(editor->Label5->barEnd(), 9);
    EXPECT_EQ(editor->StatusBar1->currentMessage(), QStringLiteral("自定义鼓点，适用于有延长音小节。"));
    editor->ComboTime->choose(drums::kCustomHeadingRow);
    EXPECT_EQ(editor->ComboTime->currentIndex(), 27);
    EXPECT_EQ(editor->Label5->barEnd(), 9);
    EXPECT_EQ(editor->Label7->text(), QStringLiteral("拍子：强,弱,弱"));
    // A stored heading goes back to the signature last shown.
    r.DrumTimeSignature = 8;
    editor->Text1->clear();
    open(r);
    EXPECT_EQ(editor->ComboTime->currentIndex(), 27);
    EXPECT_EQ(editor->BuildDrumRecord().DrumTimeSignature, 27);

    r.DrumTimeSignature = 50;
    r.DrumSounds[3] = 80;
    editor->Text1->clear();
    open(r);
    EXPECT_EQ(editor->ComboTime->currentIndex(), -1);
    EXPECT_EQ(editor->Label7->text(), QString());
    EXPECT_EQ(editor->Label5->barEnd(), 8);
    EXPECT_EQ(editor->ComboDrum[3]->currentIndex(), -1);
    DrumRecord built = editor->BuildDrumRecord();
    EXPECT_EQ(built.DrumTimeSignature, 50);
    EXPECT_EQ(built.DrumSounds[3], 80);
    editor->ComboDrum[3]->choose(4);
    editor->ComboTime->choose(3);
    built = editor->BuildDrumRecord();
    EXPECT_EQ(built.DrumTimeSignature, 3);
    EXPECT_EQ(built.DrumSounds[3], 4);
}

TEST_F(DrumEditorTest, VolumeBoxesStepsAndPansAsTheUserSetsThem)
{
    editor->ShowOneDrum(false);
    QTest::mouseClick(editor->Label5, Qt::LeftButton, {}, editor->Label5->cellCentre(0, 3));
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("必须先取取名，再进行节奏编辑。") });
    EXPECT_FALSE(editor->Label5->step(0, 3));
    editor->Text1->setText(QStringLiteral("n"));
    QTest::mouseClick(editor->Label5, Qt::RightButton, {}, editor->Label5->cellCentre(6, 31));
    QTest::mouseClick(editor->Label5, Qt::MiddleButton, {}, editor->Label5->cellCentre(0, 3));
    EXPECT_TRUE(editor->Label5->step(6, 31));
    EXPECT_TRUE(editor->Label5->step(0, 3));

    QLineEdit* volume = editor->TextVolume[1];
    volume->setText(QStringLiteral("128"));
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("音量值在 0-127 之间!"));
    EXPECT_EQ(volume->text(), QStringLiteral("0"));
    volume->setText(QStringLiteral("090"));
    EXPECT_EQ(editor->VScrollvolume[1]->value(), -90);
    EXPECT_EQ(volume->text(), QStringLiteral("090"));
    // The upper arrow raises the volume.
    QScrollBar* bar = editor->VScrollvolume[1];
    bar->resize(16, 60);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(8, 3));
    EXPECT_EQ(volume->text(), QStringLiteral("91"));

    editor->Slider_Drum[0]->setValue(20);
    editor->Slider_Drum[1]->setValue(64);
    QTest::mouseClick(editor->Image1, Qt::LeftButton);
    EXPECT_EQ(editor->Slider_Drum[0]->value(), 107);
    EXPECT_EQ(editor->Slider_Drum[1]->value(), 63);
}

TEST_F(DrumEditorTest, TheWidthIsRememberedForTheNextOpening)
{
    editor->ShowOneDrum(false);
    EXPECT_TRUE(editor->isNarrow()); // no setting yet
    QTest::mouseClick(editor->Label2, Qt::LeftButton);
    EXPECT_EQ(editor->Label2->text(), QStringLiteral("<<"));
    EXPECT_GT(editor->width(), editor->myDrumList->parentWidget()->geometry().right());
    const QString stored = platform::Registry().ReadRegKey(
        platform::HKEY_CURRENT_USER, QStringLiteral("Software\\Velmora"), QStringLiteral("WinMod"), {});
    EXPECT_EQ(stored, QStringLiteral("0"));
    editor->close();
    editor->ShowOneDrum(false);
    EXPECT_FALSE(editor->isNarrow());
    QTest::mouseClick(editor->Label2, Qt::LeftButton);
    EXPECT_LT(editor->width(), editor->myDrumList->parentWidget()->geometry().left());
}

TEST_F(DrumEditorTest, ClearingAsksFirstAndLeavesTheEmptyPattern)
{
    open(Named("x", 0xFF));
    prompts->answers = { PromptAnswer::No };
    editor->CmdClear->click();
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("x"));
    editor->CmdClear->click(); // Yes
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("确定清除？"));
    EXPECT_TRUE(editor->BuildDrumRecord() == drums::MakeEmptyDrumRecord());
}

TEST_F(DrumEditorTest, ADuplicateNameAnsweredNoChangesNothingAndYesReplaces)
{
    open(Named("c", 0xF0));
    editor->SaveJmD[0]->trigger(); // a new name: appended, and the file written
    ASSERT_EQ(stores.DrumTemplates.size(), 3u);
    const QByteArray before = support::readAll(userTemplates());
    ASSERT_FALSE(before.isEmpty());
    prompts->shown.clear();
    prompts->answers = { PromptAnswer::No };
    editor->Text1->setText(QStringLiteral("b"));
    editor->SaveJmD[0]->trigger();
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].title, QStringLiteral("将鼓点保存至Dat模板文件.."));
    EXPECT_EQ(support::readAll(userTemplates()), before);
    EXPECT_EQ(editor->myDrumList->count(), 3);
    EXPECT_EQ(stores.DrumTemplates[1].DrumRhythms[0], 0x88);

    prompts->shown.clear();
    editor->SaveJmD[0]->trigger(); // Yes
    EXPECT_EQ(prompts->texts(),
        (QStringList { QStringLiteral("已包含一个同名鼓点，按“是”替换它，否则请更换名称。"),
            QStringLiteral("保存成功！") }));
    EXPECT_EQ(host.hints.last(), QStringLiteral("保存当前界面到鼓点模板，成功！"));
    EXPECT_EQ(prompts->beeps, 2);
    ASSERT_EQ(stores.DrumTemplates.size(), 3u);
    EXPECT_TRUE(stores.DrumTemplates[1] == editor->BuildDrumRecord());
    notation::DrumStore reread;
    ASSERT_TRUE(notation::ReadDrumData(reread, userTemplates()));
    EXPECT_TRUE(reread == stores.DrumTemplates);
}

TEST_F(DrumEditorTest, TheFirstSaveKeepsTheShippedTemplatesAndARestartListsThem)
{
    ASSERT_TRUE(notation::ReadDrumData(
        stores.DrumTemplates, platform::ProgramFolder::find(notation::DrumTemplateFileName)));
    const std::size_t shipped = stores.DrumTemplates.size();
    open(Named("new one"));
    editor->SaveJmD[0]->trigger();
    ASSERT_EQ(editor->myDrumList->count(), int(shipped) + 1);
    EXPECT_EQ(editor->myDrumList->item(int(shipped))->text(), QStringLiteral("new one"));
    // What start-up reads now.
    notation::DrumStore restarted;
    ASSERT_TRUE(
        notation::ReadDrumData(restarted, platform::ProgramFolder::find(notation::DrumTemplateFileName)));
    EXPECT_TRUE(restarted == stores.DrumTemplates);
}

TEST_F(DrumEditorTest, AFailedWriteKeepsTheLibraryInMemoryAndSaysSo)
{
    ASSERT_TRUE(QDir().mkpath(userTemplates())); // nothing can be written there
    open(Named("c"));
    editor->SaveJmD[0]->trigger();
    EXPECT_EQ(prompts->texts(), QStringList { notation::kWriteFailedMessage });
    EXPECT_EQ(editor->myDrumList->count(), 3);
    selectTemplate(0);
    editor->munDelDataDrum->trigger(); // Yes
    EXPECT_EQ(prompts->texts().last(), notation::kWriteFailedMessage);
    EXPECT_EQ(editor->myDrumList->count(), 2);
    EXPECT_EQ(editor->myDrumList->item(0)->text(), QStringLiteral("b"));
}

TEST_F(DrumEditorTest, DeletingTheOnlyTemplateLeavesAnEmptyOneAndClearsTheEditor)
{
    stores.DrumTemplates.resize(1);
    open(Named("x", 0xFF));
    selectTemplate(0);
    prompts->answers = { PromptAnswer::No };
    editor->munDelDataDrum->trigger();
    EXPECT_EQ(stores.DrumTemplates.size(), 1u);
    editor->munDelDataDrum->trigger(); // Yes, then OK to the overwrite question
    EXPECT_EQ(prompts->texts().first(), QStringLiteral("删除鼓点模板文件中的一个鼓点？"));
    ASSERT_EQ(stores.DrumTemplates.size(), 1u);
    EXPECT_TRUE(stores.DrumTemplates[0] == drums::MakeEmptyDrumRecord());
    EXPECT_TRUE(stores.DrumEdit == drums::MakeEmptyDrumRecord());
    EXPECT_EQ(editor->Text1->text(), QString());
    EXPECT_EQ(editor->myDrumList->count(), 1);
}

TEST_F(DrumEditorTest, TemplateCommandsWantASelectedTemplate)
{
    open(Named("x"));
    editor->munMyDrum->popup(QPoint());
    EXPECT_FALSE(editor->munSendForSong->isEnabled());
    editor->munMyDrum->hide();
    for (QAction* item :
        { editor->ModAudition, editor->munEditForDat, editor->munDelDataDrum, editor->munSendForSong })
        item->trigger();
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(prompts->inputPrompts.isEmpty());
    EXPECT_TRUE(host.auditions.empty());
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("x"));
    selectTemplate(1);
    editor->munMyDrum->popup(QPoint());
    EXPECT_TRUE(editor->munSendForSong->isEnabled());
    editor->munMyDrum->hide();
}

TEST_F(DrumEditorTest, BarNumbersThatDoNotFitAreRefusedWithABeep)
{
    host.edited = 3;
    open(Named("x"));
    selectTemplate(0);
    prompts->inputs = { QStringLiteral("6") };
    editor->munSendForSong->trigger();
    prompts->inputs = { std::nullopt, QStringLiteral("0"), QStringLiteral("7"), QStringLiteral("2") };
    for (int i = 0; i < 4; ++i)
        editor->SaveJmD[3]->trigger();
    EXPECT_EQ(prompts->inputPrompts.first(), QStringLiteral("请输入简谱小节编号(1-6)："));
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_EQ(host.sent[0].first, 5);
    EXPECT_EQ(drums::RecordName(host.sent[0].second), QStringLiteral("a"));
    EXPECT_EQ(host.sent[1].first, 1);
    EXPECT_TRUE(host.sent[1].second == editor->BuildDrumRecord());
    EXPECT_EQ(prompts->beeps, 3);
    EXPECT_EQ(host.hints, QStringList(3, QStringLiteral("输入的简谱编号不正确！")));

    // "原小节" sends to the bar the editor was opened on, while it is still there.
    editor->SaveJmD[2]->trigger();
    EXPECT_EQ(host.sent.back().first, 3);
    host.edited = 6; // bars undone since
    editor->SaveJmD[2]->trigger();
    EXPECT_EQ(host.sent.size(), 3u);
    EXPECT_EQ(prompts->beeps, 4);
    editor->Text1->setText(QStringLiteral("  "));
    editor->SaveJmD[2]->trigger();
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("鼓点描述是鼓点的标识符号，不可为空!"));
    EXPECT_EQ(host.sent.size(), 3u);
}

// Numbers typed far outside a box's range, or beyond any whole number, get the box's own refusal.
TEST_F(DrumEditorTest, ImpossibleVolumesAndBarNumbersAreRefusedWithTheirMessages)
{
    open(Named("x"));
    selectTemplate(0);
    const QStringList impossible
        = { QStringLiteral("1e10"), QStringLiteral("-1e10"), QStringLiteral("2147483648"),
              QStringLiteral("-2147483649"), QStringLiteral("127.5"), QStringLiteral("-1") };
    for (const QString& text : impossible) {
        SCOPED_TRACE(text.toStdString());
        prompts->shown.clear();
        editor->TextVolume[2]->setText(text);
        EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("音量值在 0-127 之间!") });
        EXPECT_EQ(editor->TextVolume[2]->text(), QStringLiteral("0"));
        EXPECT_EQ(editor->VScrollvolume[2]->value(), 0);
    }
    editor->TextVolume[2]->setText(QStringLiteral("126.5"));
    EXPECT_EQ(editor->VScrollvolume[2]->value(), -126);

    QStringList bars = impossible;
    bars << QStringLiteral("0") << QStringLiteral("7") << QStringLiteral("nan");
    for (const QString& text : bars) {
        SCOPED_TRACE(text.toStdString());
        prompts->inputs = { text };
        editor->munSendForSong->trigger();
        prompts->inputs = { text };
        editor->SaveJmD[3]->trigger();
    }
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(prompts->beeps, 2 * int(bars.size()));
    EXPECT_EQ(host.hints, QStringList(2 * bars.size(), QStringLiteral("输入的简谱编号不正确！")));
}

TEST_F(DrumEditorTest, TheAuditionsBorrowTheControlsUntilTheEnd)
{
    open(Named("x", 0x80));
    editor->CmdAudition->click();
    ASSERT_EQ(host.auditions.size(), 1u);
    EXPECT_EQ(host.auditions[0], (std::pair { PlayMode::PatternAudition, 0 }));
    ASSERT_EQ(stores.AuditionDrum.size(), 1u);
    EXPECT_TRUE(stores.AuditionDrum[0] == editor->BuildDrumRecord());
    EXPECT_FALSE(editor->CmdAudition->isEnabled());
    editor->ControlsEnabled(true);
    // Refused, they come back at once.
    host.playing = false;
    selectTemplate(1);
    editor->ModAudition->trigger();
    EXPECT_EQ(host.auditions.back(), (std::pair { PlayMode::TemplateAudition, 1 }));
    EXPECT_TRUE(editor->CmdAudition->isEnabled());
}

TEST_F(DrumEditorTest, ATemplateDraggedOntoTheNameIsShown)
{
    open(Named("x"));
    selectTemplate(1);
    std::unique_ptr<QMimeData> data(
        editor->myDrumList->model()->mimeData({ editor->myDrumList->currentIndex() }));
    const auto carried = drums::DrumRecordFromMime(data.get());
    ASSERT_TRUE(carried);
    EXPECT_TRUE(*carried == stores.DrumTemplates[1]);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(editor->Text1, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(editor->Text1, &drop);
    EXPECT_EQ(editor->Text1->text(), QStringLiteral("b"));
    EXPECT_TRUE(stores.DrumEdit == stores.DrumTemplates[1]);
}

TEST(DrumEditorLists, AShortSoundFileIsToldOnceAndTheListsStillHoldEverySound)
{
    support::ScopedUserFolder user;
    support::ScopedPrompts prompts;
    ASSERT_TRUE(support::writeAll(user.file(drums::kDrumSoundFileName), QByteArrayLiteral("13 a\n14 b\n")));
    FakeMainWindow host;
    notation::DrumStores stores;
    playback::PlayNote player(std::make_unique<support::FakeDevices>());
    DrumEditor editor(host, stores, player, nullptr);
    editor.ShowOneDrum(false);
    editor.close();
    editor.ShowOneDrum(false);
    EXPECT_EQ(prompts->texts(), QStringList { drums::kMissingDrumSoundsMessage });
    EXPECT_EQ(editor.ComboDrum[7]->count(), 75);
    EXPECT_EQ(editor.ComboDrum[7]->itemText(1), QStringLiteral("14 b"));
    EXPECT_EQ(editor.ComboDrum[7]->itemText(22), QStringLiteral("35"));
}

} // namespace
