#include "app/notation/performance_compiler.h"

#include "app/notation/character_scan.h"
#include "app/notation/event_passes.h"
#include "app/notation/notation_seam.h"
#include "app/notation/play_order_copy.h"

namespace tunvale::notation {

void 获取演唱码::Get_CodeEvents(const CompileInput& input)
{
    NotationScan scan = ScanNotation(input.snapshot);
    ScoreSegments_ = std::move(scan.segments);
    POrderStr_ = seam::playOrderKey(scan.notationText);
    copyInPlayOrder(scan.events, input);
    refineEvents(input);
    finishPerformance(input);
}

void 获取演唱码::copyInPlayOrder(const std::vector<CodeEvent>& events, const CompileInput& input)
{
    PlayOrder_.clear();
    working_.clear();
    // A key of fewer than two digits leaves no segment to play.
    if (POrderStr_.size() >= 2) {
        PlayOrder_ = input.playOrder ? input.playOrder(POrderStr_) : seam::defaultPlayOrder(POrderStr_);
        CloseLastSegment(ScoreSegments_, POrderStr_);
        working_ = CopyInPlayOrder(events, ScoreSegments_, PlayOrder_);
    }
    DrumPlayBars_ = PlayedBars(ScoreSegments_, PlayOrder_);
}

void 获取演唱码::refineEvents(const CompileInput& input)
{
    Classify(working_, input.ScoreKey, input.Volume);
    ApplyGraceNotes(working_);
    ApplyTies(working_);
    SpellMordents(working_);
    SpellOtherOrnaments(working_, input.Volume);
    CodeTempoAndKeyMarks(working_);
    ApplyKeyChanges(working_, input.BaseKey);
    ApplyAccidentals(working_);
    ApplyDynamics(working_);
}

} // namespace tunvale::notation
