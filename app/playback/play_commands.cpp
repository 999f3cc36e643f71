#include "app/playback/play_commands.h"

#include "app/notation/breakpoint_cut.h"
#include "app/notation/drum_accessor.h"
#include "app/playback/play_mode.h"
#include "app/playback/play_texts.h"
#include "platform/desktop/prompts.h"

#include <QMetaObject>

#include <mutex>

namespace tunvale::playback {

namespace {

const QString kPauseText = QStringLiteral("暂停");
const QString kContinueText = QStringLiteral("继续");

bool firstBarHasDrums(notation::DrumStores& stores)
{
    if (stores.XjDrums.empty())
        return false;
    notation::DrumAccessor drum(stores);
    drum.DrumType(notation::DrumAccessor::XjDrums);
    return drum.HaveDrum(0) != 0;
}

} // namespace

PlayCommands::PlayCommands(PlayWindow& window, PlayNote& output, PlayClock& clock, QObject* parent)
    : QObject(parent)
    , window_(window)
    , output_(output)
    , clock_(clock)
    , performance_(std::make_shared<const notation::Performance>())
{
    Timer_OnPlay.setInterval(PlayTimerInterval);
    connect(&Timer_OnPlay, &QTimer::timeout, this, &PlayCommands::showPlayTimeAndEnd);
    for (QTimer* once : { &Timer3, &Timer6 }) {
        once->setSingleShot(true);
        once->setInterval(1);
    }
    connect(&Timer3, &QTimer::timeout, this, &PlayCommands::playCurrentBar);
    connect(&Timer6, &QTimer::timeout, this, &PlayCommands::playDrumRange);
    // The output has told the user already; the play ends as the stop command ends it.
    connect(
        &output_, &PlayNote::outputFailed, this,
        [this] {
            if (PlayBusy_)
                stop();
        },
        Qt::QueuedConnection);
}

PlayCommands::~PlayCommands() { stopThreads(); }

notation::CompileInput PlayCommands::compileInput(const platform::RichTextSnapshot& snapshot) const
{
    const notation::ScoreHeader& h = window_.header();
    notation::CompileInput input(snapshot);
    input.Volume = h.Volume;
    input.Speed = h.Speed;
    input.PlaySelStart = h.PlaySelStart;
    input.PZType = h.PZType;
    input.BaseKey = h.BaseKey;
    input.ScoreKey = ScoreKey_;
    input.PlayMode = int(melodyMode());
    input.playOrder = window_.playOrderSource();
    input.RapDrum = h.RapDrum;
    input.SameSpeed = h.SameSpeed;
    input.drums = &window_.drumStores();
    return input;
}

// A drum play or an audition leaves its own mode behind; a compile of the score is always the melody's.
PlayMode PlayCommands::melodyMode() const
{
    const bool drums = window_.isChecked(PlayItem::DrumPZ) && firstBarHasDrums(window_.drumStores());
    return PlayModeFor(window_.header().PZType != 0, drums, window_.isChecked(PlayItem::HeYing));
}

void PlayCommands::SetTonicFromKey()
{
    const Tonic tonic = TonicFromKey(GetKeyText(window_.scoreText()));
    if (tonic.refused)
        platform::Prompts::current().information(KeyErrorText);
    ScoreKey_ = tonic.ScoreKey;
}

void PlayCommands::saveCaretAndBar()
{
    notation::ScoreHeader& h = window_.header();
    h.PlaySelStart = std::int16_t(window_.editorCaret());
    h.PlayXj = std::int16_t(window_.caretBar());
}

void PlayCommands::waitForOutput()
{
    if (output_.isReady())
        return;
    window_.showBusy(true);
    output_.waitUntilReady();
    window_.showBusy(false);
}

void PlayCommands::resetPause()
{
    PauseState_ = false;
    window_.setPauseText(kPauseText);
}

void PlayCommands::play(int OnXj1)
{
    if (PlayBusy_)
        return;
    waitForOutput();
    if (!firstBarHasDrums(window_.drumStores()))
        window_.setChecked(PlayItem::DrumPZ, false);
    SetTonicFromKey();
    mode = melodyMode();
    saveCaretAndBar();
    const platform::RichTextSnapshot snapshot = window_.scoreSnapshot();
    compiler_.Get_CodeEvents(compileInput(snapshot));
    performance_ = std::make_shared<const notation::Performance>(
        OnXj1 == 1 ? notation::CutAtBreakpoint(compiler_.performance()) : compiler_.performance());
    window_.MakeWorkingCopy();
    window_.PlayControlsEnabled(true, true);
    window_.setChecked(PlayItem::CtrlPlay, false);
    clock_.ResetClock();
    PlayBusy_ = true;
    resetPause();
    window_.keepScreenAwake(true);
    screenKeptAwake_ = true;
    output_.program_change(0, 0, window_.instrument());
    Timer_OnPlay.start();
    clock_.StartClock();
    startThreads(true);
}

void PlayCommands::startThreads(bool follow)
{
    const PlaySession session { performance_, int(mode), ++generation_ };
    sessionOpen_ = true;
    mThreadControl1.CreateThread(session.mode, [this, session](int, ThreadPass& pass) {
        if (RunSender(session, clock_, output_, pass))
            post({ PlayNotice::SenderEnded, session.generation, {} });
    });
    if (!follow || !ModeIsFollowed(session.mode))
        return;
    mThreadControl2.CreateThread(session.mode, [this, session](int, ThreadPass& pass) {
        const auto show = [&](const FollowUpdate& update) {
            post({ PlayNotice::Follow, session.generation, update });
        };
        if (RunFollower(session, clock_, show, pass))
            post({ PlayNotice::FollowEnded, session.generation, {} });
    });
}

void PlayCommands::post(const PlayNotice& notice)
{
    bool first = false;
    {
        std::lock_guard lock(noticesMutex_);
        first = notices_.empty();
        notices_.push_back(notice);
    }
    // By name: the queued call carries nothing, what it is about waits here under the lock.
    if (first)
        QMetaObject::invokeMethod(this, "takeNotices", Qt::QueuedConnection);
}

void PlayCommands::takeNotices()
{
    std::vector<PlayNotice> notices;
    {
        std::lock_guard lock(noticesMutex_);
        notices.swap(notices_);
    }
    for (const PlayNotice& notice : notices) {
        switch (notice.kind) {
        case PlayNotice::Follow:
            applyFollow(notice.generation, notice.update);
            break;
        case PlayNotice::FollowEnded:
            followEnded(notice.generation);
            break;
        case PlayNotice::SenderEnded:
            senderEnded(notice.generation);
            break;
        }
    }
}

void PlayCommands::stopThreads()
{
    mThreadControl1.StopThread();
    mThreadControl2.StopThread();
}

// The end actions of a play, once: at its end on the sending thread's word, or within a stop.
void PlayCommands::finishSession()
{
    if (!sessionOpen_)
        return;
    sessionOpen_ = false;
    if (mode == PlayMode::TemplateAudition || mode == PlayMode::PatternAudition)
        window_.drumEditorControlsEnabled(true);
    PlayBusy_ = false;
}

void PlayCommands::senderEnded(std::uint64_t generation)
{
    if (generation == generation_)
        finishSession();
}

void PlayCommands::applyFollow(std::uint64_t generation, const FollowUpdate& update)
{
    if (generation != generation_)
        return;
    if (update.record < 0) {
        window_.showPlayedBar(update.bar);
        return;
    }
    const auto& events = performance_->PlayEvents();
    window_.restorePlayedNote(events[size_t(update.previous)].CharColor);
    window_.selectPlayedNote(events[size_t(update.record)].CharPos);
    if (update.scroll)
        scrollToCaret();
    window_.showPlayedBar(update.bar);
    window_.markPlayedNoteBack();
}

void PlayCommands::followEnded(std::uint64_t generation)
{
    if (generation == generation_ && int(mode) < int(PlayMode::DrumBars))
        window_.clearPlaySelection();
}

void PlayCommands::scrollToCaret()
{
    const int lines = ScrollLinesForRow(window_.caretViewRow());
    if (lines != 0)
        window_.scrollViewLines(lines);
}

void PlayCommands::showPlayTimeAndEnd()
{
    window_.showPlayTime(PlayTimeText(clock_.seconds()));
    const double total = performance_->TotalPlayTime();
    if (clock_.seconds() < total)
        return;
    window_.showPlayTime(PlayTimeText(total));
    stop();
    const notation::ScoreHeader& h = window_.header();
    window_.setEditorCaret(h.PlaySelStart);
    window_.setStripBar(h.PlayXj);
    if (window_.isChecked(PlayItem::GotoGoplay))
        play(0);
}

void PlayCommands::haltPlay()
{
    window_.PlayControlsEnabled(false, true);
    Timer_OnPlay.stop();
    stopThreads();
    ++generation_; // what the stopped threads posted is dropped
    clock_.StopClock();
    clock_.ResetClock();
    finishSession();
    PlayBusy_ = false;
    resetPause();
}

void PlayCommands::returnToCaret()
{
    const notation::ScoreHeader& h = window_.header();
    window_.setEditorCaret(h.PlaySelStart);
    window_.showPlayedBar(h.PlayXj);
    for (int channel : { 0, 1, 2, 9 })
        output_.allNotes_off(channel);
}

void PlayCommands::stop()
{
    haltPlay();
    window_.RestoreScoreView();
    returnToCaret();
    if (screenKeptAwake_) {
        window_.keepScreenAwake(false);
        screenKeptAwake_ = false;
    }
}

void PlayCommands::pause()
{
    if (!PlayBusy_)
        return;
    PauseState_ = !PauseState_;
    if (PauseState_) {
        clock_.StopClock();
        Timer_OnPlay.stop();
        window_.setPauseText(kContinueText);
        mThreadControl1.SuspendThread();
        mThreadControl2.SuspendThread();
        output_.allNotes_off(0);
    } else {
        clock_.StartClock();
        Timer_OnPlay.start();
        window_.setPauseText(kPauseText);
        mThreadControl1.ResumeThread();
        mThreadControl2.ResumeThread();
    }
}

bool PlayCommands::DrumPlay(const std::vector<int>& bars)
{
    if (PlayBusy_ || bars.empty())
        return false;
    waitForOutput();
    const notation::ScoreHeader& h = window_.header();
    auto build = compiler_.Get_DrumCodeEvents(int(mode), bars, 0, window_.drumStores(), h.SameSpeed, h.Speed);
    if (!build)
        return false;
    performance_ = std::make_shared<const notation::Performance>(
        compiler_.performance().withDrums(std::move(build->tracks), build->TotalPlayTime, int(mode)));
    window_.PlayControlsEnabled(true, false);
    clock_.ResetClock();
    PlayBusy_ = true;
    resetPause();
    Timer_OnPlay.start();
    clock_.StartClock();
    startThreads(mode == PlayMode::Melody || mode == PlayMode::Drums || mode == PlayMode::DrumBars);
    return true;
}

void PlayCommands::StopDrumPlay()
{
    haltPlay();
    returnToCaret();
}

bool PlayCommands::auditionDrums(PlayMode auditionMode, int index)
{
    if (PlayBusy_)
        return false;
    saveCaretAndBar();
    mode = auditionMode;
    return DrumPlay({ index });
}

void PlayCommands::PlayAllBarDrums()
{
    std::vector<int> bars;
    for (int bar = 0; bar < int(window_.drumStores().XjDrums.size()); ++bar)
        bars.push_back(bar);
    saveCaretAndBar();
    window_.setStripBar(0);
    mode = PlayMode::DrumBars;
    DrumPlay(bars);
}

void PlayCommands::playCurrentBar()
{
    Timer3.stop();
    const std::vector<int> bars { window_.caretBar() };
    saveCaretAndBar();
    mode = PlayMode::DrumBars;
    DrumPlay(bars);
}

void PlayCommands::playDrumRange()
{
    Timer6.stop();
    saveCaretAndBar();
    const auto [a, b] = window_.stripRange();
    const auto bars = DrumRangeBars(a, b);
    if (!bars) {
        platform::Prompts::current().information(RangeIncompleteText);
        return;
    }
    window_.setStripBar(bars->front());
    mode = PlayMode::DrumBars;
    DrumPlay(*bars);
}

void PlayCommands::preparePlayMenu()
{
    if (PlayBusy_) {
        window_.setBreakpointCaption(QStringLiteral("断点演奏"));
        return;
    }
    saveCaretAndBar();
    const platform::RichTextSnapshot snapshot = window_.scoreSnapshot();
    compiler_.Get_CodeEvents(compileInput(snapshot));
    if (compiler_.PlayOrder().empty())
        return;
    const notation::Performance& p = compiler_.performance();
    window_.setBreakpointCaption(BreakpointCaption(p.StartPlayTime(), p.TotalPlayTime()));
    compiler_.ShowOrderWindows(-1);
}

QString PlayCommands::GetmyCM()
{
    const platform::RichTextSnapshot snapshot = window_.scoreSnapshot();
    notation::CompileInput input = compileInput(snapshot);
    input.ScoreKey = 0;
    input.MarkKey = TonicFromKey(GetKeyText(window_.scoreText())).ScoreKey;
    compiler_.Get_CodeEvents(input);
    return compiler_.GetCMingStr();
}

void PlayCommands::toggleStepPlay()
{
    StepIndex = 0;
    const bool on = !window_.isChecked(PlayItem::CtrlPlay);
    window_.setChecked(PlayItem::CtrlPlay, on);
    window_.setChecked(PlayItem::GotoGoplay, false);
    if (!on) {
        window_.RestoreScoreView();
        return;
    }
    platform::Prompts::current().information(
        QStringLiteral(" 请按回车键(Enter)...\n“取消”请再次点击“步进开关”。"));
    SetTonicFromKey();
    saveCaretAndBar();
    waitForOutput();
    const platform::RichTextSnapshot snapshot = window_.scoreSnapshot();
    compiler_.Get_CodeEvents(compileInput(snapshot));
    performance_ = std::make_shared<const notation::Performance>(compiler_.performance());
    output_.program_change(0, 0, window_.instrument());
    window_.MakeWorkingCopy();
}

void PlayCommands::playbackViewKeyDown(int key)
{
    if (key == EnterKey && window_.isChecked(PlayItem::CtrlPlay) && !PlayBusy_)
        stepPlay();
}

void PlayCommands::stepPlay()
{
    const auto& events = performance_->PlayEvents();
    // The closing record that drums outlasting the melody add stands for no character.
    int steps = int(events.size());
    if (events.back().CharPos < 0)
        --steps;
    if (steps <= 0)
        return;
    std::optional<platform::SnapshotColor> ownColor;
    std::optional<int> previousNote;
    if (StepIndex > 0) {
        ownColor = events[size_t(StepIndex - 1)].CharColor;
        previousNote = events[size_t(StepIndex - 1)].Note;
    }
    window_.restorePlayedNote(ownColor);
    if (StepIndex >= steps)
        StepIndex = 0;
    const notation::PlayEvent& record = events[size_t(StepIndex)];
    window_.selectPlayedNote(record.CharPos);
    if (previousNote)
        output_.note_off(0, *previousNote);
    output_.note_on(0, record.Note, record.Velocity);
    if (record.LineEnd != 0)
        scrollToCaret();
    window_.showPlayedBar(record.BarNo);
    window_.markPlayedNoteBack();
    ++StepIndex;
}

void PlayCommands::toggleDrums()
{
    const bool checked = window_.isChecked(PlayItem::DrumPZ);
    if (!checked && !firstBarHasDrums(window_.drumStores())) {
        platform::Prompts::current().information(QStringLiteral("使用此选项，必须至少完善第一小节鼓点。"));
        return;
    }
    window_.header().ScoreSaved = false;
    window_.setChecked(PlayItem::DrumPZ, !checked);
}

void PlayCommands::toggleHarmony()
{
    const bool checked = !window_.isChecked(PlayItem::HeYing);
    window_.setChecked(PlayItem::HeYing, checked);
    window_.header().HeYing = checked;
    window_.header().ScoreSaved = false;
}

void PlayCommands::toggleSameSpeed()
{
    const bool checked = !window_.isChecked(PlayItem::SameSpeed);
    window_.setChecked(PlayItem::SameSpeed, checked);
    window_.header().SameSpeed = checked;
    window_.header().ScoreSaved = false;
}

void PlayCommands::toggleLoop()
{
    window_.setChecked(PlayItem::GotoGoplay, !window_.isChecked(PlayItem::GotoGoplay));
}

} // namespace tunvale::playback
