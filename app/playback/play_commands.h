#pragma once

#include "app/notation/performance_compiler.h"
#include "app/playback/play_clock.h"
#include "app/playback/play_note.h"
#include "app/playback/play_session.h"
#include "app/playback/play_window.h"
#include "app/playback/thread_control.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tunvale::playback {

// The main window's play commands: play, stop, pause, drum-only play, the play timer, step play and
// the play switches. They run on the GUI thread and drive the sending thread (mThreadControl1) and the
// following thread (mThreadControl2); the followers' updates come back as queued calls tagged with the
// play's generation, and those of an earlier play are dropped.
class PlayCommands : public QObject
{
    Q_OBJECT

public:
    PlayCommands(PlayWindow& window, PlayNote& output, PlayClock& clock, QObject* parent = nullptr);
    ~PlayCommands() override;

    // Plays the score: OnXj1 0 from its start, 1 from the caret.
    void play(int OnXj1);
    void stop();
    void pause();
    // Plays the drums of `bars` in `mode` (DrumBars, or an audition of the drum editor); false while a play
    // runs, without bars, or when the mode builds no drums.
    bool DrumPlay(const std::vector<int>& bars);
    void StopDrumPlay();
    // The drum editor's audition of record `index` of the templates (TemplateAudition) or of the
    // audition store (PatternAudition); its end puts caret and bar back as the toolbar's drum commands
    // do. False when it does not start.
    bool auditionDrums(PlayMode auditionMode, int index);
    void PlayAllBarDrums();
    // The toolbar's "播放当前小节" and "区间鼓点演奏": run once, just after the menu closes.
    void playCurrentBarSoon() { Timer3.start(); }
    void playRangeSoon() { Timer6.start(); }
    void playCurrentBar();
    void playDrumRange();
    void showPlayTimeAndEnd();
    // The Play menu opens.
    void preparePlayMenu();

    void SetTonicFromKey();
    // The syllables of the score (the solfège compile).
    QString GetmyCM();

    void toggleStepPlay();
    // A key pressed in the playback view; every key is eaten by the view.
    void playbackViewKeyDown(int key);

    void toggleDrums();
    void toggleHarmony();
    void toggleSameSpeed();
    void toggleLoop();

    bool PlayBusy() const { return PlayBusy_; }
    bool PauseState() const { return PauseState_; }
    int ScoreKey() const { return ScoreKey_; }
    // Read by DrumPlay; set by its callers.
    PlayMode mode = PlayMode::Melody;
    // The performance of the last compile, cut or drum-only build.
    const notation::Performance& performance() const { return *performance_; }

    static constexpr int PlayTimerInterval = 280;
    static constexpr int EnterKey = 0x0D;

private:
    // What a playback thread tells the GUI thread, tagged with its play's generation.
    struct PlayNotice {
        enum Kind { Follow, FollowEnded, SenderEnded };
        Kind kind = Follow;
        std::uint64_t generation = 0;
        FollowUpdate update;
    };

    // Any thread: queues a notice for the GUI thread, which takes them in order.
    void post(const PlayNotice& notice);
    Q_INVOKABLE void takeNotices();
    void startThreads(bool follow);
    void stopThreads();
    // Stops the threads, the clock and the session; the window's controls are back.
    void haltPlay();
    // Caret and bar as before the play, every channel silent.
    void returnToCaret();
    void finishSession();
    void applyFollow(std::uint64_t generation, const FollowUpdate& update);
    void followEnded(std::uint64_t generation);
    void senderEnded(std::uint64_t generation);
    void saveCaretAndBar();
    // A play asked for while the output is still opening waits for it, at most the load's time.
    void waitForOutput();
    // The mode a play of the score takes from the play switches.
    PlayMode melodyMode() const;
    notation::CompileInput compileInput(const platform::RichTextSnapshot& snapshot) const;
    void scrollToCaret();
    void stepPlay();
    void resetPause();

    PlayWindow& window_;
    PlayNote& output_;
    PlayClock& clock_;
    notation::PerformanceCompiler compiler_;
    std::shared_ptr<const notation::Performance> performance_;
    ThreadControl mThreadControl1;
    ThreadControl mThreadControl2;
    QTimer Timer_OnPlay;
    QTimer Timer3;
    QTimer Timer6;
    std::mutex noticesMutex_;
    std::vector<PlayNotice> notices_;
    std::uint64_t generation_ = 0;
    bool sessionOpen_ = false; // the end actions of the current play are still to run
    bool PlayBusy_ = false;
    bool PauseState_ = false;
    bool screenKeptAwake_ = false;
    int ScoreKey_ = 31;
    int StepIndex = 0;
};

} // namespace tunvale::playback
