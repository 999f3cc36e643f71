#include "app/notation/performance_compiler.h"

#include "app/notation/character_scan.h"
#include "app/notation/event_passes.h"
#include "app/notation/play_order.h"
#include "app/notation/play_order_copy.h"
#include "app/notation/play_order_key.h"

namespace tunvale::notation {

namespace {

class NotationTextScore : public PlayOrderScore
{
public:
    NotationTextScore(QString currentFile, QString notationText)
        : currentFile_(std::move(currentFile))
        , notationText_(std::move(notationText))
    {
    }
    QString currentFile() const override { return currentFile_; }
    QString notationText() const override { return notationText_; }

private:
    QString currentFile_;
    QString notationText_;
};

std::vector<int> loadOrder(const QString& currentFile, const QString& notationText, bool stored)
{
    const NotationTextScore score(currentFile, notationText);
    PlayOrder order;
    order.setScore(&score);
    order.setQuiet(true);
    if (stored)
        order.LoadPlayOrder();
    else
        order.DefaultPlayOrder();
    return { order.Entries.begin(), order.Entries.end() };
}

} // namespace

PlayOrderSource LoadedPlayOrder(const QString& currentFile)
{
    return [currentFile](const QString& notationText) { return loadOrder(currentFile, notationText, true); };
}

void PerformanceCompiler::Get_CodeEvents(const CompileInput& input)
{
    NotationScan scan = ScanNotation(input.snapshot);
    ScoreSegments_ = std::move(scan.segments);
    const QString notationText = NotationText(input.snapshot.lines);
    POrderStr_ = PlayOrderKey(notationText);
    copyInPlayOrder(scan.events, notationText, input);
    refineEvents(input);
    finishPerformance(input);
}

void PerformanceCompiler::copyInPlayOrder(
    const std::vector<CodeEvent>& events, const QString& notationText, const CompileInput& input)
{
    PlayOrder_.clear();
    working_.clear();
    // A key of fewer than two digits leaves no segment to play.
    if (POrderStr_.size() >= 2) {
        PlayOrder_ = input.playOrder ? input.playOrder(notationText) : loadOrder({}, notationText, false);
        CloseLastSegment(ScoreSegments_, POrderStr_);
        // Whatever its source, an order too long for the event stores plays the score once through.
        if (PlayedEventCount(ScoreSegments_, PlayOrder_) > std::size_t(MaxPlayedEvents))
            PlayOrder_ = loadOrder({}, notationText, false);
        working_ = CopyInPlayOrder(events, ScoreSegments_, PlayOrder_);
    }
    DrumPlayBars_ = PlayedBars(ScoreSegments_, PlayOrder_);
}

void PerformanceCompiler::refineEvents(const CompileInput& input)
{
    Classify(working_, input.ScoreKey, input.Volume);
    ApplyGraceNotes(working_);
    ApplyTies(working_);
    SpellMordents(working_);
    SpellOtherOrnaments(working_, input.Volume);
    CodeTempoAndKeyMarks(working_);
    ApplyKeyChanges(working_, input.BaseKey, input.MarkKey.value_or(input.ScoreKey));
    ApplyAccidentals(working_);
    ApplyDynamics(working_);
}

} // namespace tunvale::notation
