#include "app/dialogs/play_order_dialog.h"
#include "app/dialogs/recorder_window.h"
#include "app/drums/bar_strip.h"
#include "app/drums/drum_editor.h"
#include "app/drums/drum_template_file.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/parts/main_form_drum_editor.h"
#include "app/editor/parts/main_form_midi_export.h"
#include "app/editor/parts/main_form_output.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/frame/process_state.h"
#include "app/notation/save_messages.h"
#include "app/notation/score_template.h"
#include "app/playback/play_texts.h"
#include "app/playback/playback_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_lines.h"
#include "platform/settings/program_folder.h"
#include "tests/support/fake_devices.h"
#include "tests/support/fake_screen_saver.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace tunvale;
using editor::MainForm;
using editor::MainFormPlayback;
using tunvale::testing::FakeDevices;

namespace {

bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

// The built-in synthesizer rendering on its own thread, as without a sound card; no ports.
class SynthDevices final : public platform::MidiDevices
{
public:
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        platform::SynthOptions options;
        options.audioDrivers = {};
        return std::make_unique<platform::BuiltInSynth>(options);
    }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }
};

// A loaded main window with its playback, playing into recording sinks (the built-in synthesizer and
// two ports), on a copy of a sample score.
class PlaybackWindow : public ::testing::Test
{
protected:
    void open(const QString& sample,
        std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver
        = std::make_unique<platform::ScreenSaverInhibitor>(QDBusConnection(QStringLiteral("none"))))
    {
        const QString copy = userFolder.file(sample);
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(platform::ProgramFolder::dataPath(QStringLiteral("vls/") + sample), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        openPath(copy, std::move(screenSaver));
    }

    void openPath(const QString& path,
        std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver
        = std::make_unique<platform::ScreenSaverInhibitor>(QDBusConnection(QStringLiteral("none"))))
    {
        frame::Process().ScoreHeader = {};
        frame::Process().ScoreHeader.CurrentFile = path;
        editor::MainFormServices services;
        if (synth) {
            services.midiDevices = std::move(synth);
        } else {
            auto owned = std::make_unique<FakeDevices>(
                QStringList { QStringLiteral("端口A"), QStringLiteral("端口B") });
            devices = owned.get();
            services.midiDevices = std::move(owned);
        }
        services.scoreFiles = scoreFiles;
        auto inhibitor
            = std::make_shared<std::unique_ptr<platform::ScreenSaverInhibitor>>(std::move(screenSaver));
        services.screenSaver = [inhibitor] { return std::move(*inhibitor); };
        services.midiExport = midiExport;
        form = std::make_unique<MainForm>(std::move(services));
        ASSERT_TRUE(form->load());
        form->resize(1000, 700);
        playback = &form->part<MainFormPlayback>();
    }

    void TearDown() override
    {
        if (form) {
            playback->commands().stop();
            frame::Process().ScoreHeader.ScoreSaved = true;
            form->unload();
            form.reset();
        }
    }

    QAction* item(const char* name) const { return form->action(QString::fromLatin1(name)); }

    // Whether each menu item and toolbar button is enabled.
    std::map<QAction*, bool> enabledActions() const
    {
        std::map<QAction*, bool> enabled;
        for (const QString& name : form->menus().names()) {
            if (QAction* a = form->action(name); a && !a->isSeparator())
                enabled[a] = a->isEnabled();
        }
        for (int i = 1; i <= 46; ++i)
            enabled[form->toolbar().button(i)] = form->toolbar().button(i)->isEnabled();
        return enabled;
    }

    drums::DrumEditor& openDrumEditorOnFirstBar()
    {
        form->editor().setSelStart(0);
        item("instrDrum")->trigger();
        drums::DrumEditor* editor = form->part<editor::MainFormDrumEditor>().drumEditor();
        EXPECT_TRUE(editor && editor->isOpen());
        return *editor;
    }

    // Opens the play-order dialog, types `order` and presses OK.
    void choosePlayOrder(const QString& order)
    {
        QTimer::singleShot(0, [this, order] {
            dialogs::PlayOrderDialog& dialog = playback->playOrderDialog();
            dialogKey = dialog.DialogKey();
            shownOrder = dialog.Text1->text();
            dialog.Text1->setText(order);
            dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        playback->choosePlayOrder();
    }

    tunvale::testing::ScopedUserFolder userFolder;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    // The built-in synthesizer itself instead of the recording sinks, when a test sets it.
    std::unique_ptr<platform::MidiDevices> synth;
    frame::ScoreFileServices scoreFiles;
    FakeDevices* devices = nullptr;
    std::unique_ptr<MainForm> form;
    MainFormPlayback* playback = nullptr;
    frame::MidiExportServices midiExport = frame::ProgramMidiExportServices();
    QString dialogKey;
    QString shownOrder;
};

TEST_F(PlaybackWindow, TheLockRestoresEveryActionAndThenAppliesItsFixUps)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    std::map<QAction*, bool> before;
    for (const QString& name : form->menus().names())
        if (QAction* a = form->action(name))
            before[a] = a->isEnabled();
    for (int i = 1; i <= 46; ++i)
        before[form->toolbar().button(i)] = form->toolbar().button(i)->isEnabled();

    playback->PlayControlsEnabled(true, true);
    const std::set<QAction*> open { form->toolbar().button(8), form->toolbar().button(6), item("MunStop1"),
        item("MunPandG"), item("runmusic") };
    for (const auto& [action, enabled] : before) {
        if (!action->isSeparator()) {
            EXPECT_EQ(action->isEnabled(), open.count(action) == 1) << action->text().toStdString();
        }
    }
    EXPECT_TRUE(form->barStrip().isPlaying());
    EXPECT_FALSE(form->toolbar().ComSounds->isEnabled());

    playback->PlayControlsEnabled(false, true);
    const std::map<QAction*, bool> fixed { { form->toolbar().button(5), true },
        { form->toolbar().button(7), true }, { item("MunPlay"), true }, { form->toolbar().button(8), false },
        { item("MunStop1"), false }, { form->toolbar().button(6), false }, { item("MunPandG"), false },
        { item("runmusic"), true } };
    for (const auto& [action, enabled] : before) {
        const auto fix = fixed.find(action);
        EXPECT_EQ(action->isEnabled(), fix != fixed.end() ? fix->second : enabled)
            << action->text().toStdString();
    }
    EXPECT_FALSE(form->barStrip().isPlaying());
    EXPECT_TRUE(form->toolbar().ComSounds->isEnabled());
}

// An audition started before the last one's timer unlocked the window locks it a second time; the one
// unlock gives back everything the first lock took.
TEST_F(PlaybackWindow, ALockWithinALockGivesEverythingBack)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    const std::map<QAction*, bool> before = enabledActions();
    playback->PlayControlsEnabled(true, false);
    playback->PlayControlsEnabled(true, false);
    playback->PlayControlsEnabled(false, false);
    const std::map<QAction*, bool> fixed { { form->toolbar().button(10), true },
        { form->toolbar().button(11), false }, { item("runmusic"), true } };
    for (const auto& [action, enabled] : enabledActions()) {
        const auto fix = fixed.find(action);
        EXPECT_EQ(enabled, fix != fixed.end() ? fix->second : before.at(action))
            << action->text().toStdString();
    }
}

// A hidden recent item is disabled by Qt and left alone by the lock: shown after a play, it is usable.
TEST_F(PlaybackWindow, ARecentFileShownAfterAPlayIsEnabledAndOpens)
{
    const QString renamed = userFolder.file(QStringLiteral("renamed.vls"));
    const QString started = userFolder.file(QStringLiteral("started.txt"));
    const QString launcher = userFolder.file(QStringLiteral("launcher.sh"));
    ASSERT_TRUE(tunvale::testing::writeAll(launcher,
        "#!/bin/sh\necho \"$@\" > '" + started.toUtf8() + ".part'\nmv '" + started.toUtf8() + ".part' '"
            + started.toUtf8() + "'\n"));
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    scoreFiles.program = launcher;
    scoreFiles.fileDialog = [renamed](const platform::FileDialogRequest&, bool) { return renamed; };
    open(QStringLiteral("liangzhilaohu.vls"));
    const QString first = frame::Process().ScoreHeader.CurrentFile;

    item("MunPlay")->trigger();
    ASSERT_TRUE(playback->commands().PlayBusy());
    item("MunStop1")->trigger();
    item("SaveVlsAs")->trigger();
    ASSERT_EQ(frame::Process().ScoreHeader.CurrentFile, renamed);
    emit form->menu(QStringLiteral("File"))->aboutToShow();
    QAction* recent = form->action(QStringLiteral("mLastFile"), 1);
    ASSERT_TRUE(recent->isVisible());
    EXPECT_EQ(recent->data().toString(), first);
    EXPECT_TRUE(recent->isEnabled());
    recent->trigger(); // another named score: a window of its own
    ASSERT_TRUE(pumpUntil([&] { return QFile::exists(started); }));
    EXPECT_TRUE(tunvale::testing::readAll(started).contains(first.toUtf8()));
}

// A template saved while an audition plays rebuilds the Insert menu's pattern items, which the lock
// held; the audition's end gives back only the items still there (AddressSanitizer saw the deleted ones
// enabled). Afterwards the Play menu shows the score's length, not the audition's one bar.
TEST_F(PlaybackWindow, ATemplateSavedDuringAnAuditionAndThePlayMenuAfterIt)
{
    notation::DrumStore templates(257, notation::DrumRecord {});
    for (size_t i = 0; i < templates.size(); ++i) {
        const QByteArray name = QByteArray::number(qulonglong(i + 1));
        std::copy(name.begin(), name.end(), templates[i].DrumName.begin());
        templates[i].HaveDrum = 1;
    }
    ASSERT_TRUE(drums::SaveDrumTemplates(templates));
    notation::DrumStore& loaded = notation::ProcessDrumStores().DrumTemplates;
    const auto restore = qScopeGuard([&loaded, shipped = loaded] { loaded = shipped; });
    loaded = templates; // as the start reads the user's file
    open(QStringLiteral("liangzhilaohu.vls"));
    const QString patterns = QStringLiteral("DrumArray");
    emit form->menu(QStringLiteral("My_instr"))->aboutToShow();
    ASSERT_EQ(form->menus().upperBound(patterns), 256);
    emit form->menu(QStringLiteral("runmusic"))->aboutToShow();
    const QString caption = item("Mungoonplay")->text();

    drums::DrumEditor& editor = openDrumEditorOnFirstBar();
    editor.CmdAudition->click();
    ASSERT_TRUE(playback->commands().PlayBusy());
    editor.Text1->setText(QStringLiteral("0"));
    editor.SaveJmD[0]->trigger();
    ASSERT_EQ(form->menus().upperBound(patterns), 257);
    ASSERT_TRUE(pumpUntil([&] { return !form->barStrip().isPlaying(); }, 20000));
    for (int i = 0; i <= 257; ++i)
        EXPECT_TRUE(form->action(patterns, i)->isEnabled()) << i;
    EXPECT_TRUE(form->toolbar().button(editor::ToolbarButton::PlayDrums)->isEnabled());
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("保存成功！") });

    editor.close();
    emit form->menu(QStringLiteral("runmusic"))->aboutToShow();
    EXPECT_EQ(item("Mungoonplay")->text(), caption);
}

// What the recorder says is what plays: a resume starts the playback again from the start, also
// between two of the window's ticks, and "完成" ends the playback with the recording.
TEST_F(PlaybackWindow, TheRecorderRestartsThePlayAtAResumeAndEndsItWhenFinished)
{
    if (platform::BuiltInSynth::findSoundfont().isEmpty())
        GTEST_SKIP() << "no soundfont";
    synth = std::make_unique<SynthDevices>();
    open(QStringLiteral("liangzhilaohu.vls"));
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("song.wav"));
    item("Tape")->trigger();
    editor::MainFormOutput& output = form->part<editor::MainFormOutput>();
    dialogs::RecorderWindow* recorder = output.recorderWindow();
    ASSERT_TRUE(recorder);
    recorder->WavFileName(wav);
    const playback::PlayCommands& commands = playback->commands();

    recorder->cmdStart->click();
    ASSERT_TRUE(pumpUntil([&] { return commands.PlayBusy() && playback::PlayTimer.seconds() > 0.5; }));
    const double played = playback::PlayTimer.seconds();
    recorder->cmdPause->click();
    recorder->cmdStart->click();
    EXPECT_EQ(recorder->labState->text(), QStringLiteral("正在录音，演奏从头开始。"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(commands.PlayBusy());
    EXPECT_LT(playback::PlayTimer.seconds(), played);

    recorder->cmdFinish->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(output.recording().recording());
    EXPECT_FALSE(commands.PlayBusy());
    EXPECT_GT(QFileInfo(wav).size(), 44);
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
}

// The test tool drops a window whose score did not open without unloading it: the player and its
// threads end with the window all the same, not at the process's exit after what they use.
TEST_F(PlaybackWindow, AWindowThatGoesWithoutItsUnloadEndsItsPlayer)
{
    if (platform::BuiltInSynth::findSoundfont().isEmpty())
        GTEST_SKIP() << "no soundfont";
    synth = std::make_unique<SynthDevices>();
    open(QStringLiteral("liangzhilaohu.vls"));
    playback->commands().play(0);
    ASSERT_TRUE(playback->commands().PlayBusy());
    form.reset();
    EXPECT_EQ(playback::NotePlayer, nullptr);
}

TEST_F(PlaybackWindow, PlaySwitchesAndControls)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = true;
    form->setAccompanimentType(1);
    EXPECT_TRUE(header.ScoreSaved) << "the separator changes nothing";
    form->setAccompanimentType(0);
    EXPECT_TRUE(header.ScoreSaved) << "the type it already has";
    form->toolbar().setSpinValue(0, 200);
    EXPECT_EQ(form->toolbar().Text_Speed->text(), QStringLiteral("200"));
    EXPECT_EQ(header.Speed, 200);
    EXPECT_FALSE(header.ScoreSaved);

    // The sample has drums in its first bar; without them the switch cannot be turned on.
    item("DrumPZ")->trigger();
    EXPECT_FALSE(item("DrumPZ")->isChecked());
    notation::ProcessDrumStores().XjDrums[0].HaveDrum = 0;
    item("DrumPZ")->trigger();
    EXPECT_FALSE(item("DrumPZ")->isChecked());
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("使用此选项，必须至少完善第一小节鼓点。") });
}

TEST_F(PlaybackWindow, StepPlayTakesEnterInThePlaybackViewAndEatsEveryKey)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    item("CtrlPlay")->trigger();
    ASSERT_TRUE(item("CtrlPlay")->isChecked());
    const QString shown = form->playbackView()->box().Text();
    devices->builtInRecording->clear();
    for (const auto& [key, text] : { std::pair { Qt::Key_Return, QString() },
             std::pair { Qt::Key_A, QStringLiteral("a") }, std::pair { Qt::Key_Delete, QString() } }) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(form->playbackView(), &press);
    }
    const auto sent = devices->builtInRecording->shortMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].status, 0x90);
    EXPECT_EQ(form->playbackView()->box().Text(), shown);
    EXPECT_EQ(form->playbackView()->box().SelLength(), 1) << "the stepped note is selected";
    // The playback view shows only while a play runs, with the box's selection.
    EXPECT_FALSE(form->playbackView()->isHidden());
    EXPECT_EQ(form->playbackView()->textCursor().selectedText().size(), 1);
    item("CtrlPlay")->trigger();
    EXPECT_FALSE(item("CtrlPlay")->isChecked());
    EXPECT_TRUE(form->playbackView()->isHidden());
}

TEST_F(PlaybackWindow, TheDeviceMenuMovesTheOutput)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    ASSERT_EQ(form->part<editor::MainFormPlayback>().devices().size(), 3);
    form->action(QStringLiteral("my_ComDevies"), 2)->trigger();
    EXPECT_TRUE(form->action(QStringLiteral("my_ComDevies"), 2)->isChecked());
    EXPECT_FALSE(form->action(QStringLiteral("my_ComDevies"), 0)->isChecked());
    playback::NotePlayer->note_on(0, 60, 90);
    EXPECT_FALSE(devices->portRecordings[1]->shortMessages().empty());

    devices->portRecordings[0]->failOpen(true);
    form->action(QStringLiteral("my_ComDevies"), 1)->trigger();
    EXPECT_TRUE(form->action(QStringLiteral("my_ComDevies"), 2)->isChecked()) << "the check stays";
    EXPECT_FALSE(form->action(QStringLiteral("my_ComDevies"), 1)->isChecked());
}

TEST_F(PlaybackWindow, ALineEndOnRowSixScrollsThreeLines)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    form->show();
    platform::RichTextBox& view = form->playbackView()->box();
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    view.setText(text);
    form->playbackView()->verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(platform::GetFirstVisibleLine(view), 0);
    view.setSelStart(view.LineIndex(6));
    EXPECT_EQ(playback->caretViewRow(), 6);
    playback->scrollViewLines(playback::ScrollLinesForRow(playback->caretViewRow()));
    QCoreApplication::processEvents();
    EXPECT_EQ(platform::GetFirstVisibleLine(view), 3);
    EXPECT_EQ(playback->caretViewRow(), 3);
}

TEST_F(PlaybackWindow, APlayInhibitsTheScreenSaverOnceAndShowsTheBreakpointCaption)
{
    tunvale::testing::PrivateSessionBus session;
    ASSERT_TRUE(session.bus().isConnected());
    tunvale::testing::FakeScreenSaver saver;
    ASSERT_TRUE(session.serve(saver));
    open(
        QStringLiteral("liangzhilaohu.vls"), std::make_unique<platform::ScreenSaverInhibitor>(session.bus()));

    playback->commands().preparePlayMenu();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^断点演奏（\\d\\d\\.\\d\\d/\\d\\d\\.\\d\\d\\)$"))
                    .match(item("Mungoonplay")->text())
                    .hasMatch())
        << item("Mungoonplay")->text().toStdString();
    form->editor().setSelStart(30);
    item("MunPlay")->trigger();
    EXPECT_TRUE(playback->commands().PlayBusy());
    EXPECT_TRUE(form->playbackView()->isVisible() || !form->isVisible());
    playback->commands().preparePlayMenu();
    EXPECT_EQ(item("Mungoonplay")->text(), QStringLiteral("断点演奏"));
    ASSERT_TRUE(pumpUntil([&] { return devices->builtInRecording->shortMessages().size() > 8; }));
    item("MunStop1")->trigger();
    EXPECT_FALSE(playback->commands().PlayBusy());
    EXPECT_EQ(form->editor().SelStart(), 30) << "the caret comes back";
    tunvale::testing::PrivateSessionBus::waitForRelease(saver);
    EXPECT_EQ(saver.inhibits, 1);
    EXPECT_EQ(saver.released.size(), 1);
}

TEST_F(PlaybackWindow, TheDialogWritesKeyAndOrderIntoATitledScore)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = true;
    choosePlayOrder(shownOrder.isEmpty() ? QStringLiteral("1") : shownOrder);
    EXPECT_EQ(dialogKey, QStringLiteral("00"));
    EXPECT_TRUE(header.ScoreSaved) << "OK on the text as shown";
    QByteArray file = tunvale::testing::readAll(header.CurrentFile);
    EXPECT_TRUE(
        file.contains(QByteArray("/POrderStr00/EPOrderStr/PlayOrder") + QByteArray(1, '\0') + "/EPlayOrder"));

    choosePlayOrder(QStringLiteral("1，1"));
    EXPECT_FALSE(header.ScoreSaved);
    file = tunvale::testing::readAll(header.CurrentFile);
    EXPECT_TRUE(
        file.contains(QByteArray("/POrderStr00/EPOrderStr/PlayOrder") + QByteArray(2, '\0') + "/EPlayOrder"));
    EXPECT_TRUE(prompts->texts().isEmpty());
}

TEST_F(PlaybackWindow, AnUntitledScoreKeepsItsOrderWithoutTouchingTheTemplate)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    // An untitled score names the template as its file.
    const QString templatePath = notation::TemplatePath();
    const QByteArray templateBytes = tunvale::testing::readAll(templatePath);
    frame::Process().ScoreHeader.CurrentFile = templatePath;
    playback->commands().play(0);
    const int once = playback->commands().performance().PlayEventCount();
    playback->commands().stop();
    choosePlayOrder(QStringLiteral("1,1"));
    EXPECT_EQ(tunvale::testing::readAll(templatePath), templateBytes);
    EXPECT_TRUE(prompts->texts().isEmpty());
    playback->commands().play(0);
    EXPECT_GE(playback->commands().performance().PlayEventCount(), 2 * once);
    playback->commands().stop();
}

TEST_F(PlaybackWindow, AnOrderTheFileCannotTakeStaysInForce)
{
    open(QStringLiteral("liangzhilaohu.vls"));
    const QString path = frame::Process().ScoreHeader.CurrentFile;
    playback->commands().play(0);
    const int once = playback->commands().performance().PlayEventCount();
    playback->commands().stop();
    // The file loses its sections: nothing can be written into it any more.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a score any more");
    file.close();
    choosePlayOrder(QStringLiteral("1,1"));
    EXPECT_EQ(prompts->texts(), QStringList { notation::kWriteFailedMessage });
    playback->commands().play(0);
    EXPECT_GE(playback->commands().performance().PlayEventCount(), 2 * once);
    playback->commands().stop();
}

// File → "导出Mid..." hands the component the order an untitled score plays in, the window's values and
// a copy of its drums.
TEST_F(PlaybackWindow, TheExportTakesTheKeptOrderOfAnUntitledScore)
{
    class Recording final : public sequor::MakeMid
    {
    public:
        explicit Recording(std::optional<sequor::MakeMidArguments>& seen)
            : seen_(seen)
        {
        }
        void ShowMainInfo(const sequor::MakeMidArguments& arguments) override { seen_ = arguments; }

    private:
        std::optional<sequor::MakeMidArguments>& seen_;
    };
    std::optional<sequor::MakeMidArguments> seen;
    midiExport = {};
    midiExport.saveDialog
        = [](const platform::FileDialogRequest&) { return QStringLiteral("/nowhere/a.Mid"); };
    midiExport.makeMid = [&seen](QWidget*) { return std::make_unique<Recording>(seen); };
    open(QStringLiteral("liangzhilaohu.vls"));
    frame::Process().ScoreHeader.CurrentFile = notation::TemplatePath();
    choosePlayOrder(QStringLiteral("1,1"));
    form->toolbar().Text_Speed->setText(QStringLiteral("120"));
    QAction* output = form->action(QStringLiteral("OutputMid"));
    ASSERT_TRUE(output->isEnabled());
    output->trigger();
    ASSERT_TRUE(seen && seen->PlayOrder);
    EXPECT_EQ(seen->PlayOrder->key, QStringLiteral("00"));
    EXPECT_EQ(seen->PlayOrder->segments, (std::vector<int> { 0, 0 }));
    EXPECT_EQ(seen->OldSpeed1, 120);
    EXPECT_EQ(seen->OldYDiao1, playback->commands().ScoreKey() - 31);
    EXPECT_EQ(seen->ComSoundsListIndex1, form->toolbar().ComSounds->currentIndex());
    EXPECT_EQ(seen->add1.size(), playback->drumStores().XjDrums.size());
    EXPECT_FALSE(seen->JPWord.isEmpty());
    EXPECT_TRUE(prompts->texts().isEmpty());
}

} // namespace
