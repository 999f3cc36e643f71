#include "app/notation/drum_accessor.h"
#include "app/playback/play_commands.h"

#include "tests/compiler/notation_text.h"
#include "tests/playback/fake_play_window.h"
#include "tests/playback/slow_opening.h"
#include "tests/support/drum_bars.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <thread>

using namespace tunvale;
using platform::ShortMessage;
using playback::PlayCommands;
using playback::PlayItem;
using tunvale::testing::FakeDevices;
using tunvale::testing::FakePlayWindow;
using tunvale::testing::NotationScore;

namespace {

using namespace std::chrono_literals;

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Runs the GUI thread's queue until `done` holds or `timeout` has passed; returns `done()`.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeout.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(1ms);
    }
    return done();
}

void pumpFor(std::chrono::milliseconds span)
{
    pumpUntil([] { return false; }, span);
}

bool isAllNotesOff(const ShortMessage& m, int channel)
{
    return m.status == 0xB0 + channel && m.data1 == 120;
}
bool isNoteOn(const ShortMessage& m) { return m.kind() == 0x90 && m.channel() == 0 && m.data2 > 0; }

class PlayCommandsTest : public ::testing::Test
{
protected:
    PlayCommandsTest()
    {
        auto owned = std::make_unique<FakeDevices>();
        devices = owned.get();
        output = std::make_unique<playback::PlayNote>(std::move(owned));
        output->waitUntilReady();
        window.scoreHeader.Speed = 240; // an eighth lasts 0.125 s
        score(8);
        commands = std::make_unique<PlayCommands>(window, *output, clock);
    }

    // A melody of `bars` bars of four eighths.
    void score(int bars)
    {
        QString tokens;
        for (int b = 0; b < bars; ++b)
            tokens += QStringLiteral("1e 2e 3e 5e | ");
        window.snapshot = NotationScore().notation(tokens).build();
        window.stores.XjDrums.resize(size_t(bars));
    }

    std::vector<ShortMessage> sent() const { return devices->builtInRecording->shortMessages(); }
    std::vector<platform::RecordedMessage> timedSent() const { return devices->builtInRecording->messages(); }
    int noteOns() const
    {
        const auto messages = sent();
        return int(std::count_if(messages.begin(), messages.end(), isNoteOn));
    }

    tunvale::testing::ScopedPrompts prompts;
    FakePlayWindow window;
    FakeDevices* devices = nullptr;
    std::unique_ptr<playback::PlayNote> output;
    playback::PlayClock clock;
    std::unique_ptr<PlayCommands> commands;
};

TEST_F(PlayCommandsTest, AStopEndsEverySendAndLeavesNoThreadBehind)
{
    std::mt19937 random(13);
    std::uniform_int_distribution<int> moment(0, 60);
    const int threadsBefore = threadCount();
    for (int play = 0; play < 50; ++play) {
        SCOPED_TRACE(play);
        devices->builtInRecording->clear();
        commands->play(0);
        ASSERT_TRUE(commands->PlayBusy());
        pumpFor(std::chrono::milliseconds(moment(random)));
        commands->stop();
        const auto atStop = sent();
        ASSERT_GE(atStop.size(), 4u);
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(
                isAllNotesOff(atStop[atStop.size() - 4 + size_t(k)], std::array { 0, 1, 2, 9 }[size_t(k)]));
        EXPECT_EQ(threadCount(), threadsBefore);
        EXPECT_FALSE(commands->PlayBusy());
        pumpFor(200ms); // nothing trickles out later either
        EXPECT_EQ(sent().size(), atStop.size());
    }
    EXPECT_FALSE(window.locked);
    EXPECT_FALSE(window.playbackView);
    EXPECT_EQ(window.log.count(QStringLiteral("awake 1")), 50);
    EXPECT_EQ(window.log.count(QStringLiteral("awake 0")), 50);
}

TEST_F(PlayCommandsTest, APlayRunsToItsEndHighlightingEveryNote)
{
    score(2);
    window.caret = 5;
    window.bar = 1;
    commands->play(0);
    EXPECT_TRUE(window.locked);
    EXPECT_TRUE(window.playbackView);
    ASSERT_TRUE(pumpUntil([&] { return !window.locked; }));
    EXPECT_EQ(noteOns(), 8);
    EXPECT_EQ(window.highlights, 8);
    EXPECT_EQ(window.selected, -1) << "the view keeps no selection after the end";
    EXPECT_EQ(window.status, QStringLiteral("演奏时长:01.00")) << "the end time, not the clock";
    EXPECT_EQ(window.caret, 5);
    EXPECT_EQ(window.stripBar, 1);
    EXPECT_FALSE(window.playbackView);
}

TEST_F(PlayCommandsTest, PauseSilencesTheMelodyAndHoldsUntilContinue)
{
    commands->play(0);
    ASSERT_TRUE(pumpUntil([&] { return noteOns() >= 3; }));
    commands->pause();
    EXPECT_EQ(window.pauseText, QStringLiteral("继续"));
    const auto atPause = sent();
    ASSERT_FALSE(atPause.empty());
    EXPECT_TRUE(isAllNotesOff(atPause.back(), 0));
    EXPECT_FALSE(isAllNotesOff(atPause[atPause.size() - 2], 1)) << "only channel 0 falls silent";
    pumpFor(300ms);
    EXPECT_EQ(sent().size(), atPause.size());

    commands->pause();
    EXPECT_EQ(window.pauseText, QStringLiteral("暂停"));
    const int resumedAt = noteOns();
    ASSERT_TRUE(pumpUntil([&] { return noteOns() >= resumedAt + 4; }));
    std::vector<std::chrono::steady_clock::time_point> onsets;
    for (const auto& m : timedSent())
        if (isNoteOn(m.message))
            onsets.push_back(m.time);
    for (size_t k = size_t(resumedAt) + 1; k < onsets.size(); ++k) {
        const double gap = std::chrono::duration<double>(onsets[k] - onsets[k - 1]).count();
        EXPECT_NEAR(gap, 0.125, 0.04) << k;
    }

    // Stopped while paused: the next play starts unpaused and its pause pauses.
    commands->pause();
    commands->stop();
    EXPECT_FALSE(commands->PauseState());
    EXPECT_EQ(window.pauseText, QStringLiteral("暂停"));
    commands->play(0);
    ASSERT_TRUE(pumpUntil([&] { return noteOns() >= resumedAt + 6; }));
    commands->pause();
    EXPECT_TRUE(commands->PauseState());
    const size_t held = sent().size();
    pumpFor(200ms);
    EXPECT_EQ(sent().size(), held);
    commands->stop();
}

TEST_F(PlayCommandsTest, DrumPlayWhileBusyChangesNothing)
{
    tunvale::testing::SetDrumBar(window.stores, notation::DrumAccessor::XjDrums, 0, 3, 120, { 0, 4 });
    commands->play(0);
    const notation::Performance* playing = &commands->performance();
    commands->mode = playback::PlayMode::DrumBars;
    EXPECT_FALSE(commands->DrumPlay({ 0 }));
    EXPECT_EQ(&commands->performance(), playing);
    EXPECT_TRUE(commands->PlayBusy());
    commands->stop();
    EXPECT_FALSE(commands->DrumPlay({})) << "no bar to play";
}

TEST_F(PlayCommandsTest, ALoopRestartsTheWholeScore)
{
    score(1);
    window.checks[PlayItem::GotoGoplay] = true;
    commands->play(1);
    ASSERT_TRUE(pumpUntil([&] { return noteOns() >= 6; }));
    EXPECT_TRUE(commands->PlayBusy());
    window.checks[PlayItem::GotoGoplay] = false;
    ASSERT_TRUE(pumpUntil([&] { return !commands->PlayBusy() && !window.locked; }));
}

TEST_F(PlayCommandsTest, AuditionGivesTheDrumEditorItsControlsBackOnce)
{
    tunvale::testing::SetDrumBar(window.stores, notation::DrumAccessor::DrumTemplates, 0, 3, 240, { 0, 2 });
    commands->mode = playback::PlayMode::TemplateAudition;
    ASSERT_TRUE(commands->DrumPlay({ 0 }));
    ASSERT_TRUE(pumpUntil([&] { return !window.locked; }));
    pumpFor(100ms);
    EXPECT_EQ(window.drumEditorCalls, 1);
    EXPECT_TRUE(window.drumEditorEnabled);
    EXPECT_EQ(window.drumEditorThread, std::this_thread::get_id());
    const auto messages = sent();
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                  [](const ShortMessage& m) { return m.kind() == 0x90 && m.channel() == 9 && m.data2 > 0; }),
        2);
}

TEST_F(PlayCommandsTest, AFailingOutputStopsThePlayWithOneMessage)
{
    devices->builtInRecording->failFromSend(12);
    commands->play(0);
    ASSERT_TRUE(pumpUntil([&] { return !commands->PlayBusy(); }));
    pumpFor(100ms);
    EXPECT_FALSE(window.locked);
    EXPECT_EQ(prompts->shown.size(), 1u);
}

TEST_F(PlayCommandsTest, StepPlayWalksTheMelodyAndWraps)
{
    score(1);
    window.snapshot = NotationScore().notation(QStringLiteral("1 2")).build();
    commands->toggleStepPlay();
    EXPECT_TRUE(window.checks[PlayItem::CtrlPlay]);
    EXPECT_TRUE(window.playbackView);
    devices->builtInRecording->clear();
    window.log.clear();
    for (int press = 0; press < 3; ++press)
        commands->playbackViewKeyDown(PlayCommands::EnterKey);
    commands->playbackViewKeyDown('A');
    std::vector<std::pair<int, int>> notes; // (status, note)
    for (const ShortMessage& m : sent())
        notes.emplace_back(m.status, m.data1);
    EXPECT_EQ(notes,
        (std::vector<std::pair<int, int>> {
            { 0x90, 60 }, { 0x80, 60 }, { 0x90, 62 }, { 0x80, 62 }, { 0x90, 60 } }));
    EXPECT_EQ(window.log.count(QStringLiteral("select 0")), 2);
    commands->toggleStepPlay();
    EXPECT_FALSE(window.playbackView);
}

TEST_F(PlayCommandsTest, DrumRangeNeedsBothEnds)
{
    window.range = { 3, 0 };
    commands->playDrumRange();
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("区间设置不完整。") });
    EXPECT_FALSE(commands->PlayBusy());
    for (int bar = 0; bar < 8; ++bar)
        tunvale::testing::SetDrumBar(window.stores, notation::DrumAccessor::XjDrums, bar, 3, 240, { 0 });
    window.range = { 7, 3 };
    commands->playDrumRange();
    EXPECT_TRUE(commands->PlayBusy());
    EXPECT_EQ(window.stripBar, 3);
    commands->StopDrumPlay();
    EXPECT_FALSE(commands->PlayBusy());
}

TEST_F(PlayCommandsTest, TheBreakpointCaptionShowsTheTimesOnlyWhileIdle)
{
    window.caret = 0;
    commands->preparePlayMenu();
    EXPECT_EQ(window.caption, QStringLiteral("断点演奏（00.00/04.00)"));
    commands->play(0);
    commands->preparePlayMenu();
    EXPECT_EQ(window.caption, QStringLiteral("断点演奏"));
    commands->stop();
}

TEST_F(PlayCommandsTest, TheSyllablesNameTheDegreesWhateverTheKey)
{
    window.text = QStringLiteral("\x634F\x6345"); // 1=G
    window.snapshot = NotationScore().notation(QStringLiteral("1 2 3 4 | 5 6 7 1'")).build();
    EXPECT_EQ(commands->GetmyCM(), QStringLiteral("do re mi fa sol la si do"));
    EXPECT_TRUE(window.scoreHeader.ScoreSaved);
}

} // namespace

TEST(PlayCommandsWaiting, APlayBeforeTheOutputIsOpenWaitsWithTheBusyCursorAndThenPlays)
{
    auto owned = std::make_unique<tunvale::testing::SlowOpening>();
    tunvale::testing::SlowOpening& devices = *owned;
    playback::PlayNote output(std::move(owned));
    FakePlayWindow window;
    window.snapshot = NotationScore().notation(QStringLiteral("1e 2e 3e 5e | ")).build();
    window.stores.XjDrums.resize(1);
    playback::PlayClock clock;
    PlayCommands commands(window, output, clock);
    std::thread opener([&devices] {
        std::this_thread::sleep_for(30ms);
        devices.finish.set_value();
    });
    commands.play(0);
    opener.join();
    EXPECT_TRUE(commands.PlayBusy());
    EXPECT_TRUE(window.log.contains(QStringLiteral("busy 1")));
    EXPECT_TRUE(window.log.contains(QStringLiteral("busy 0")));
    EXPECT_TRUE(pumpUntil([&] {
        const auto sent = devices.recording->shortMessages();
        return std::any_of(sent.begin(), sent.end(), isNoteOn);
    }));
    commands.stop();
}
