#include "app/notation/performance_compiler.h"

#include "app/notation/accompaniment.h"
#include "app/notation/drum_patterns.h"
#include "app/notation/final_pass.h"
#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"
#include "app/notation/play_records.h"
#include "app/notation/short_message.h"
#include "app/notation/tempo_map.h"

#include <algorithm>
#include <random>

// The members of the compiler that turn the refined working array into the played performance.
namespace tunvale::notation {

namespace {

// Every listed bar gets a record to read, zeroed where the score has none yet.
void growToBars(DrumStore& bars, const std::vector<int>& listed)
{
    const auto last = std::max_element(listed.begin(), listed.end());
    if (last != listed.end() && *last >= int(bars.size()))
        bars.resize(size_t(*last) + 1, DrumRecord {});
}

} // namespace

void PerformanceCompiler::finishPerformance(const CompileInput& input)
{
    const int speed = CompileSpeed(input.Speed);
    std::vector<CodeEvent> timed = working_;
    TempoMarks_ = BuildTempoMap(timed, speed);
    TimedMelody melody = CompactAndTime(std::move(timed), input.PlaySelStart);
    std::vector<CodeEvent>& events = melody.CodeEvents;
    MarkLineEnds(events, input.snapshot);

    PerformanceData data;
    data.TotalPlayTime = melody.TotalPlayTime;
    DrumStores& stores = input.drums ? *input.drums : ProcessDrumStores();
    growToBars(stores.XjDrums, DrumPlayBars_);
    if (auto drums = Get_DrumCodeEvents(
            input.PlayMode, DrumPlayBars_, melody.TotalPlayTime, stores, input.SameSpeed, speed)) {
        data.Drums = std::move(drums->tracks);
        data.TotalPlayTime = drums->TotalPlayTime;
    }
    // A drum part longer than the melody: one silent melody record, ending with the play, keeps the
    // melody's players and the accompaniment running to the end. No character stands for it.
    if (data.TotalPlayTime > melody.TotalPlayTime) {
        CodeEvent closing;
        closing.EventTime = data.TotalPlayTime;
        closing.CharPos = -1;
        events.push_back(closing);
    }
    for (CodeEvent& event : events) {
        if (event.Velocity == 0)
            event.MidiMessage = int(SilentNoteMessage);
    }

    AccompInput accompInput;
    accompInput.PZType = input.PZType;
    accompInput.Volume = input.Volume;
    accompInput.RapDrum = input.RapDrum;
    accompInput.PlayMode = input.PlayMode;
    accompInput.StartPlayTime = melody.StartPlayTime;
    accompInput.keys = ReadAccompKeys(input.PZType);
    AccompRandom random(input.seed ? *input.seed : std::random_device {}());
    Accompaniment accompaniment = MakeAccompaniment(events, accompInput, random);
    PlayRecords records = BuildPlayRecords(events, Readm_YM());

    CMingText_ = records.CMingText;
    data.PlayEvents = std::move(records.PlayEvents);
    data.AccompPlayEvents = std::move(accompaniment.AccompPlayEvents);
    data.AccompStartIndex = accompaniment.AccompStartIndex;
    data.StartPlayTime = melody.StartPlayTime;
    data.PlayStartIndex = melody.PlayStartIndex;
    data.TempoMarks = TempoMarks_;
    data.DrumPlayBars = DrumPlayBars_;
    data.CMingText = CMingText_;
    data.PlayMode = input.PlayMode;
    performance_ = Performance(std::move(data));
}

std::optional<DrumBuild> PerformanceCompiler::Get_DrumCodeEvents(int DatDrumType,
    const std::vector<int>& PlayOrder1, double JpMaxTimer, DrumStores& stores, bool SameSpeed,
    int Speed) const
{
    if (!ModeHasDrums(DatDrumType))
        return std::nullopt;
    DrumAccessor drum(stores);
    drum.DrumType(DrumStoreForMode(DatDrumType));
    const DrumTimeline timeline { SameSpeed, TempoMarks_, CompileSpeed(Speed) };
    return BuildDrumTracks(ReadBarPatterns(drum, PlayOrder1), DatDrumType, JpMaxTimer, timeline);
}

QString PerformanceCompiler::Get_PlayMod1(
    const platform::RichTextSnapshot& snapshot, bool& LeftXjX, bool& RightXjX) const
{
    const QString text = NotationText(snapshot.lines);
    QString bare = text;
    bare.remove(QStringLiteral("\r\n")).remove(QChar(0x6351)).remove(u'(');
    const auto plainBarLine = [](QChar c) { return IsBarLine(c.unicode()) && !IsSegMark(c.unicode()); };
    LeftXjX = !bare.isEmpty() && plainBarLine(bare.front());
    RightXjX = !bare.isEmpty() && plainBarLine(bare.back());
    return PlayOrderKey(text);
}

} // namespace tunvale::notation
