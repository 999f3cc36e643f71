#include "components/sequor/core/jianpu_parser.h"

#include "app/notation/code_event.h"
#include "app/notation/notation_chars.h"
#include "components/sequor/core/mark_pass.h"
#include "components/sequor/core/parser_tables.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <optional>

namespace tunvale::sequor {

namespace {

using notation::DashGlyph;
using notation::DotGlyph;
using notation::FontRunMark;
using notation::NoteGlyph;
using notation::RapGlyph;
using notation::RestGlyph;

constexpr int QuarterNote = 4;

bool InBlocks(const std::array<int, 4>& blocks, int code)
{
    const int block = NoteBlockOf(code);
    return std::find(blocks.begin(), blocks.end(), block) != blocks.end();
}

// Group size 1..4 of a grace-font run mark, 0 for the symbol-font mark and every other character.
int GraceGroupSize(int code)
{
    return FontRunMark::contains(code) && code != FontRunMark::Symbol ? code - FontRunMark::First + 1 : 0;
}

// Notes, rests, rap beats and bar marks get their code and length; a dot or dash lengthens the last
// record before it that takes time.
void Classify(std::vector<ScoreEvent>& events)
{
    std::size_t lastTimed = events.size(); // none yet
    for (std::size_t k = 0; k < events.size(); ++k) {
        ScoreEvent& e = events[k];
        const int c = e.CharCode;
        if (const auto note = NoteGlyph::decode(c)) {
            e.Code = PitchTable[std::size_t(note->OctaveRow * 7 + note->Degree - 1)];
            e.Length = DurationTable[std::size_t(note->DurIndex + (note->isTriplet() ? 6 : 0))];
            e.VelocityFactor = 1.0;
        } else if (RapGlyph::contains(c)) {
            e.Code = RapNote;
            e.Length = DurationTable[std::size_t((c - RapGlyph::First) % 6)];
            e.VelocityFactor = 1.0;
        } else if (RestGlyph::contains(c)) {
            const int triplet = c >= RestGlyph::TripletFirst ? 6 : 0;
            e.Code = RestCode;
            e.Length = DurationTable[std::size_t((c - RestGlyph::First) % 6 + triplet)];
            e.VelocityFactor = 1.0;
        } else if (IsBarMark(c)) {
            e.Code = BarMarkCode;
        } else if ((DotGlyph::contains(c) || DashGlyph::contains(c)) && lastTimed < events.size()) {
            double& length = events[lastTimed].Length;
            length = std::min(
                DotGlyph::contains(c) ? length * 1.5 : length + QuarterNote, notation::MaxNoteLength);
        }
        if (e.Length > 0)
            lastTimed = k;
    }
}

void MarkGraceGroups(std::vector<ScoreEvent>& events)
{
    for (std::size_t k = 0; k < events.size(); ++k) {
        const int g = GraceGroupSize(events[k].CharCode);
        for (std::size_t i = k + 1; i <= k + std::size_t(g) && i < events.size(); ++i)
            events[i].GraceSize = std::int16_t(g);
    }
}

// Which neighbour a grace group borrows its time from, by the note block of its deciding character.
struct GraceRule {
    bool mainAfter = false; // the record after the group, else the record before the mark
    double share = 0; // of a main note shorter than a quarter
    double total = 0; // taken from a main note of a quarter or longer
};

std::optional<GraceRule> RuleFor(int groupSize, int block)
{
    // By pairs of note blocks: a single grace note from blocks 0-1, a group from blocks 4-5.
    static constexpr GraceRule Single[]
        = { { true, 0.5, 2 }, { true, 0.25, 1 }, { false, 0.5, 1 }, { false, 0.25, 1 } };
    static constexpr GraceRule Group[]
        = { { true, 0.5, 2 }, { true, 0.25, 1 }, { false, 0.5, 2 }, { false, 0.25, 1 } };
    const int pair = groupSize == 1 ? block / 2 : block / 2 - 2;
    if (block < 0 || pair < 0 || pair >= 4)
        return std::nullopt;
    return groupSize == 1 ? Single[pair] : Group[pair];
}

void TimeGraceGroups(std::vector<ScoreEvent>& events)
{
    const std::size_t n = events.size();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t g = std::size_t(GraceGroupSize(events[k].CharCode));
        const std::size_t deciding = g == 1 ? k + 1 : k + 2;
        if (g == 0 || deciding >= n)
            continue;
        const auto rule = RuleFor(int(g), NoteBlockOf(events[deciding].CharCode));
        if (!rule)
            continue;
        const std::size_t main = rule->mainAfter ? k + g + 1 : k - 1;
        if ((rule->mainAfter && main >= n) || (!rule->mainAfter && k == 0))
            continue;
        double& mainLength = events[main].Length;
        const double grace
            = mainLength >= QuarterNote ? rule->total / double(g) : mainLength * rule->share / double(g);
        mainLength = mainLength >= QuarterNote ? mainLength - rule->total : mainLength * (1 - rule->share);
        for (std::size_t i = k + 1; i <= k + g && i < n; ++i)
            events[i].Length = grace;
    }
}

// One entry per bar. Records before the first bar mark form bar 0, as a score's first bar is usually
// written without a bar line; what follows the last bar mark is no complete bar.
std::vector<double> MeasureBars(const std::vector<ScoreEvent>& events)
{
    std::vector<double> bars;
    if (events.empty())
        return bars;
    bool open = events.front().Code != BarMarkCode;
    double sum = 0;
    for (std::size_t k = 0; k < events.size(); ++k) {
        const ScoreEvent& e = events[k];
        if (e.Code == BarMarkCode) {
            // Five-digit thirds sum to just under the whole bar (3 x 1.33333).
            if (open)
                bars.push_back(platform::Int(sum + 0.01));
            open = true;
            sum = 0;
            continue;
        }
        sum += e.Length;
        // The fermata doubles the next note later on.
        if (notation::FermataGlyph::contains(e.CharCode) && k + 1 < events.size())
            sum += events[k + 1].Length;
    }
    return bars;
}

bool Sounds(const ScoreEvent& e) { return e.Code > 0 && e.Code < RestCode; }

// A tie end of the same pitch as the last sounding record before it, a tie start, joins that note. A
// note that joined and starts the next tie stands for the note it joined, so a chain in blocks 6 and 7
// ends in its first note.
void MergeTies(std::vector<ScoreEvent>& events)
{
    std::size_t lastSounding = events.size(); // none yet
    for (std::size_t k = 0; k < events.size(); ++k) {
        ScoreEvent& e = events[k];
        if (e.GraceSize == 0 && InBlocks(TieEndBlocks, e.CharCode) && lastSounding < events.size()) {
            ScoreEvent& start = events[lastSounding];
            if (start.GraceSize == 0 && start.Code == e.Code && InBlocks(TieStartBlocks, start.CharCode)) {
                start.Length += e.Length;
                e.Length = 0;
                if (InBlocks(TieStartBlocks, e.CharCode))
                    continue;
            }
        }
        if (Sounds(e))
            lastSounding = k;
    }
}

} // namespace

ParsedScore ParseJianpu(QStringView text)
{
    ParsedScore parsed;
    std::vector<ScoreEvent>& events = parsed.ScoreEvents;
    events.resize(std::size_t(text.size()));
    for (std::size_t k = 0; k < events.size(); ++k)
        events[k].CharCode = text[qsizetype(k)].unicode();
    Classify(events);
    MarkGraceGroups(events);
    TimeGraceGroups(events);
    parsed.BarLengths = MeasureBars(events);
    MergeTies(events);
    ApplyMarks(events);
    return parsed;
}

} // namespace tunvale::sequor
