#pragma once

#include "app/notation/code_event.h"
#include "app/notation/drum_events.h"
#include "app/notation/drum_record.h"
#include "app/notation/performance.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tunvale::notation {

// Where the compiler gets the play order of a score: given the text of its notation lines, the
// 0-based segment numbers in performance order.
using PlayOrderSource = std::function<std::vector<int>(const QString& notationText)>;

// The program's source: the order stored in the score file when its key matches, else the ini
// files, else every segment once.
PlayOrderSource LoadedPlayOrder(const QString& currentFile);

// Everything one compile reads. The header fields are those of the open score's ScoreHeader.
struct CompileInput {
    explicit CompileInput(const platform::RichTextSnapshot& score)
        : snapshot(score)
    {
    }
    // The input only refers to the snapshot, which must outlive the compile.
    explicit CompileInput(platform::RichTextSnapshot&&) = delete;

    const platform::RichTextSnapshot& snapshot;
    int Volume = 98;
    int Speed = 120;
    int PlaySelStart = 0;
    int PZType = 0;
    int BaseKey = 31;
    int ScoreKey = 31;
    // The key of the score's key mark, which in-text key changes move away from; none: ScoreKey. The
    // solfège compile classifies with ScoreKey 0 and passes the mark's key here.
    std::optional<int> MarkKey;
    int PlayMode = 0;
    PlayOrderSource playOrder; // none: every segment once, in text order
    int RapDrum = 14;
    bool SameSpeed = false;
    DrumStores* drums = nullptr; // the stores the drum tracks read; none: the process's own
    std::optional<std::uint32_t> seed; // the accompaniment's draws; none: a fresh random seed
};

// The performance compiler: turns the notation lines of a score into one event per character in play
// order, with codes, lengths in sixteenth units and velocities. A compile keeps nothing from an earlier
// one and never throws; a score without notation, or whose order selects nothing, gives no events.
class PerformanceCompiler
{
public:
    void Get_CodeEvents(const CompileInput& input);

    const QString& POrderStr() const { return POrderStr_; }
    const std::vector<int>& PlayOrder() const { return PlayOrder_; }
    // The segments of the score in text order, the last one closed against the key.
    const std::vector<ScoreSegment>& ScoreSegments() const { return ScoreSegments_; }
    // The score bar of every played bar, in play order.
    const std::vector<int>& DrumPlayBars() const { return DrumPlayBars_; }
    // The events after the dynamics pass, in play order, lengths in sixteenth units.
    const std::vector<CodeEvent>& workingEvents() const { return working_; }

    // The performance of the last compile.
    const Performance& performance() const { return performance_; }
    QString GetCMingStr() const { return CMingText_; }

    // The drum tracks of the listed bars (store indices, in play order) for a play mode, timed against
    // the tempo map of the last compile (none: Speed); nothing for a mode without drums.
    std::optional<DrumBuild> Get_DrumCodeEvents(int DatDrumType, const std::vector<int>& PlayOrder1,
        double JpMaxTimer, DrumStores& stores, bool SameSpeed, int Speed) const;

    // Kept for the play command; nothing in the compiler reads it.
    void ShowOrderWindows(int flag) { ShowOrderWindows_ = flag; }

    // The play-order key of the score's notation lines, and whether they start and end with a plain
    // bar line.
    QString Get_PlayMod1(const platform::RichTextSnapshot& snapshot, bool& LeftXjX, bool& RightXjX) const;

private:
    void finishPerformance(const CompileInput& input);

    void copyInPlayOrder(
        const std::vector<CodeEvent>& events, const QString& notationText, const CompileInput& input);
    void refineEvents(const CompileInput& input);

    QString POrderStr_;
    std::vector<int> PlayOrder_;
    std::vector<ScoreSegment> ScoreSegments_;
    std::vector<int> DrumPlayBars_;
    std::vector<CodeEvent> working_;
    std::vector<TempoMark> TempoMarks_;
    QString CMingText_;
    int ShowOrderWindows_ = -1;
    Performance performance_;
};
using 获取演唱码 = PerformanceCompiler;

} // namespace tunvale::notation
