#include "tests/compiler/compile_helpers.h"

#include "app/notation/event_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace tunvale::testing {
namespace {

struct PlayCase {
    const char* name;
    const char* tokens;
    const char* sounding; // code:length:velocity of every event that takes time
    CompileOptions options = {};
};

void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.name; }

class Passes : public ::testing::TestWithParam<PlayCase>
{
};

TEST_P(Passes, GiveTheExpectedSoundingEvents)
{
    const PlayCase& c = GetParam();
    EXPECT_EQ(Play(QString::fromUtf8(c.tokens), c.options), c.sounding) << c.tokens;
}

const PlayCase kClassification[] = {
    { "durations", "1 2e 3ee 4eee 5t 6et 0 0e",
        "60:4:98 62:2:98 64:1:98 65:0.5:98 67:2.66666667:98 69:1.33333333:98 1000:4:98 1000:2:98" },
    { "octaves", "1' 1, 7' 7,", "72:4:98 48:4:98 83:4:98 59:4:98" },
    { "score key transposes", "1 7", "62:4:98 73:4:98", ScoreKey(33) },
    { "volume is every velocity", "1 0", "60:4:70 1000:4:70", Volume(70) },
    { "dash then dot lengthen the same note", "1 - .", "60:12:98" },
    { "dot after a rest", "0 .", "1000:6:98" },
    { "dot looks past a bar line", "1 | .", "60:6:98" },
    { "dot with nothing before it", ". 1", "60:4:98" },
    { "rap beats", "U+629E U+62A5", "-2900:4:98 -2900:2:98" },
    { "triplet rests", "U+62DA U+62E6 U+62F3", "1000:2.66666667:98 1000:2.66666667:98 1000:1.33333333:98" },
    { "silent signs take no time", "U+62AA U+6351 U+6374 1", "60:4:98" },
};
INSTANTIATE_TEST_SUITE_P(Classification, Passes, ::testing::ValuesIn(kClassification));

const PlayCase kGraceNotes[] = {
    { "leading long before a quarter", "g10:1 2", "60:2:98 62:2:98" },
    { "leading long before an eighth", "g10:1 2e", "60:1:98 62:1:98" },
    { "leading short before a quarter", "g11:1 2", "60:1:98 62:3:98" },
    { "trailing long single takes one unit", "1 g12:2", "60:3:98 62:1:98" },
    { "trailing short before an eighth", "1e g13:2", "60:1.5:98 62:0.5:98" },
    { "three leading long before a half", "g32:1 g32:2 g32:3 5 -",
        "60:0.6666666667:98 62:0.6666666667:98 64:0.6666666667:98 67:6:98" },
    { "four trailing short after a quarter", "1 g45:1 g45:2 g45:3 g45:4",
        "60:3:98 60:0.25:98 62:0.25:98 64:0.25:98 65:0.25:98" },
    { "trailing group after a dot takes from the dotted note", "1 . g12:2", "60:5:98 62:1:98" },
    { "four trailing long after a dotted quarter", "1 . g44:1 g44:2 g44:3 g44:4",
        "60:4:98 60:0.5:98 62:0.5:98 64:0.5:98 65:0.5:98" },
    { "trailing group after a dash takes from the held note", "1e - g13:2", "60:5:98 62:1:98" },
    { "trailing group after a bar line keeps the bar line", "1 | g12:2", "60:4:98" },
    { "two-note group of kind 0 is left alone", "g20:1 g20:2 3", "60:4:98 62:4:98 64:4:98" },
    { "leading group before a bar line", "g10:1 | 2", "62:4:98" },
    { "leading group at the end", "1 g10:2", "60:4:98 62:4:98" },
    { "trailing group at the start", "g12:1 2", "60:4:98 62:4:98" },
    { "trailing group cut short by the end", "1 g34:2 g34:3",
        "60:2:98 62:0.6666666667:98 64:0.6666666667:98" },
    { "two-note group with one member", "1 g24:2", "60:4:98 62:2.66666667:98" },
};
INSTANTIATE_TEST_SUITE_P(GraceNotes, Passes, ::testing::ValuesIn(kGraceNotes));

const PlayCase kTiesAndOrnaments[] = {
    { "tie across a bar line", "1 | 1~", "60:4:98 60:4:0" },
    { "slur between different pitches", "1 | 2~", "60:4:98 62:4:98" },
    { "tie across a rest", "1 0 1~", "60:4:98 1000:4:98 60:4:0" },
    { "no tie from a grace note", "1 g10:3 3~", "60:4:98 64:2:98 64:2:98" },
    { "upper mordent on a quarter", "@BF 1", "60:0.125:98 62:0.125:98 60:3.75:98" },
    { "upper mordent on an eighth", "@BF 1e", "60:0.25:98 62:0.25:98 60:1.5:98" },
    { "lower mordent", "@CF 3", "64:0.125:98 62:0.125:98 64:3.75:98" },
    { "double upper mordent on an eighth", "@DFFF 1e",
        "60:0.25:98 62:0.25:98 60:0.25:98 62:0.25:98 60:1:98" },
    { "double lower mordent on a half", "@EFFF 1 -",
        "60:0.125:98 58:0.125:98 60:0.125:98 58:0.125:98 60:7.5:98" },
    { "staccato half", "@G 1", "60:2:98 1000:2:98" },
    { "staccato quarter", "@H 1", "60:1:98 1000:3:98" },
    { "long trill", "@IFFFFF 1", "60:0.5:98 62:0.5:98 60:0.5:98 62:0.5:98 60:0.5:98 62:0.5:98 60:1:98" },
    { "short trill", "@IFF 1e", "62:0.5:98 60:0.5:98 62:0.5:98 60:0.5:98" },
    { "trill with one filler", "@IF 1", "60:4:98" },
    { "trill with three fillers", "@IFFF 1", "60:4:98" },
    { "trill with six fillers", "@IFFFFFF 1", "60:4:98" },
    { "turn", "@JFF 1", "62:1:98 60:1:98 58:1:98 60:1:98" },
    { "inverted turn", "@KFF 1", "58:1:98 60:1:98 62:1:98 60:1:98" },
    { "ornament on a tied note keeps its velocity", "1 @BF 1~", "60:4:98 60:0.125:0 62:0.125:0 60:3.75:0" },
    { "ornament before a silent sign", "1 @BF | 2", "60:4:98 62:4:98" },
    { "fermata doubles the next event", "U+5FEB 1 2", "60:8:98 62:4:98" },
    { "mordent at the end", "1 @B", "60:4:98" },
    { "double mordent cut short", "1 @DFF", "60:4:98" },
    { "staccato at the end", "1 @G", "60:4:98" },
    { "trill running to the end", "1 @IFFFFF", "60:4:98" },
    { "turn at the end", "1 @JF", "60:4:98" },
    { "fermata at the end", "1 U+5FEB", "60:4:98" },
};
INSTANTIATE_TEST_SUITE_P(TiesAndOrnaments, Passes, ::testing::ValuesIn(kTiesAndOrnaments));

const PlayCase kKeysAndAccidentals[] = {
    { "key change and back", "U+5F91 1 | U+5F9B 1", "62:4:98 60:4:98" },
    { "key change names an absolute key", "U+5F91 1 | U+5F9B 1", "62:4:98 67:4:98", ScoreKey(38) },
    { "key change from a low key mark", "U+5F91 1", "62:4:98", ScoreKey(26) },
    // Code 24 is syllable index (24 + 7) mod 12 = 7: the solfège names what plays.
    { "solfege compile follows the key change", "U+5F91 1 | U+5F9B 1", "24:4:98 29:4:98", SolfegeOf(38) },
    { "solfege compile of a scale ignores the key mark", "1 2 3 4 5 6 7",
        "29:4:98 31:4:98 33:4:98 34:4:98 36:4:98 38:4:98 40:4:98", SolfegeOf(38) },
    { "key change holds across segments", "U+5F93 1 ^ 1", "64:4:98 64:4:98" },
    { "key change spares rests and rap beats", "U+5F91 0 U+629E", "1000:4:98 -2900:4:98" },
    { "base key shifts every note", "1", "62:4:98", BaseKey(33) },
    { "sharp reaches the bar line", "U+6226 3 3 | 3", "65:4:98 65:4:98 64:4:98" },
    { "sharp spares other octaves", "U+6226 3 3,", "65:4:98 52:4:98" },
    { "flat", "U+6227 3", "63:4:98" },
    { "double sharp", "U+6228 3", "66:4:98" },
    { "double flat lowers by two", "U+6229 3", "62:4:98" },
    { "accidental of another group and duration", "U+6262 3", "65:4:98" },
    { "natural after a sharp", "U+6226 3 U+622A 3 3", "65:4:98 64:4:98 64:4:98" },
    { "accidental stops at the next accidental", "U+6226 3 U+6227 5 3", "65:4:98 66:4:98 64:4:98" },
    { "accidental follows the key change", "U+5F91 U+6226 1 1", "63:4:98 63:4:98" },
    { "accidental at the end", "1 U+6226", "60:4:98" },
};
INSTANTIATE_TEST_SUITE_P(KeysAndAccidentals, Passes, ::testing::ValuesIn(kKeysAndAccidentals));

const PlayCase kDynamics[] = {
    { "p rounds to nearest", "@- 1 1", "60:4:78 60:4:98" },
    { "mf rounds down", "@/ 1", "60:4:107" },
    { "pppp ppp pp", "@* 1 @+ 1 @, 1", "60:4:20 60:4:39 60:4:59" },
    { "f ff fff ffff", "@0 1 @1 1 @2 1 @3 1", "60:4:117 60:4:137 60:4:156 60:4:176" },
    { "mp on a half rounds down to even", "@. 1", "60:4:4", Volume(5) },
    { "mp on a half rounds up to even", "@. 1", "60:4:32", Volume(35) },
    { "accent", "@9 1 1", "60:4:118 60:4:98" },
    { "level mark changes only the next event", "@- | 1", "60:4:98" },
    { "cresc. over six sounding events", "@4 1 1 1 1 1 1 1",
        "60:4:98 60:4:103 60:4:108 60:4:113 60:4:118 60:4:123 60:4:98" },
    { "cresc. skips tied notes", "@4 1 1~ 1", "60:4:98 60:4:0 60:4:103" },
    { "dim. mirrors cresc.", "@5 1 1 1 1 1 1 1", "60:4:98 60:4:93 60:4:88 60:4:83 60:4:78 60:4:73 60:4:98" },
    { "dim. never below 25", "@5 1 1 1", "60:4:25 60:4:25 60:4:25", Volume(20) },
    { "sfz", "@6 | 1 1", "60:4:127 60:4:98" },
    { "sfp", "@8 1 1", "60:4:127 60:4:98" },
    { "fp changes only the first", "@7 1 1", "60:4:118 60:4:98" },
    { "marks apply in text order", "@4 @- 1 1", "60:4:78 60:4:103" },
    { "level mark at the end", "1 @-", "60:4:98" },
};
INSTANTIATE_TEST_SUITE_P(Dynamics, Passes, ::testing::ValuesIn(kDynamics));

// A sign alone has nothing before or after it to work on.
const PlayCase kLoneSigns[] = {
    { "mordent", "@B", "" },
    { "trill", "@I", "" },
    { "staccato", "@G", "" },
    { "fermata", "U+5FEB", "" },
    { "accidental", "U+6226", "" },
    { "cresc.", "@4", "" },
    { "accent", "@9", "" },
    { "dot", ".", "" },
    { "grace note", "g10:1", "60:4:98" },
};
INSTANTIATE_TEST_SUITE_P(LoneSigns, Passes, ::testing::ValuesIn(kLoneSigns));

TEST(TempoAndKeyMarks, GetTheirCodesAndStaySilent)
{
    const auto compiler = Compile(NotationScore().notation("U+5F89 1 U+5F8E U+5F80 U+5F8D U+5F91 1").build());
    std::vector<int> codes;
    for (const auto& e : compiler.workingEvents())
        codes.push_back(e.EventCode);
    // The key change falls silent once the key pass has read it.
    EXPECT_EQ(codes, (std::vector<int> { 2132, 60, 2001, 2040, 2208, 0, 62 }));
    EXPECT_EQ(compiler.workingEvents()[2].EventTime, 0);
}

TEST(Classification, DotsAndDashesEndAtTheLongestNote)
{
    for (const int dots : { 44, 2000 }) {
        const auto compiler
            = Compile(NotationScore()
                          .notation(QStringLiteral("1") + QStringLiteral(" .").repeated(dots) + " -")
                          .build());
        EXPECT_EQ(compiler.workingEvents().front().EventTime, notation::MaxNoteLength) << dots;
        EXPECT_TRUE(std::isfinite(compiler.performance().TotalPlayTime())) << dots;
    }
}

TEST(GraceNotes, LaterMembersOfAGroupAreMerged)
{
    const auto compiler = Compile(NotationScore().notation("g32:1 g32:2 g32:3 5 g20:1 g20:2").build());
    std::vector<int> classes;
    for (const auto& e : compiler.workingEvents())
        classes.push_back(e.FontClass);
    EXPECT_EQ(classes, (std::vector<int> { 3, 5, 5, 0, 2, 2 }));
}

} // namespace
} // namespace tunvale::testing

// The dynamics pass finds the sounding events after a mark through an index; on any sequence of marks,
// notes and silent events it gives what walking forward from every mark gives.
TEST(Dynamics, IndexedPassMatchesAWalkFromEveryMark)
{
    const auto walked = [](tunvale::notation::WorkingEvents events) {
        const auto change = [&](size_t from, int limit, auto apply) {
            int k = 0;
            for (size_t j = from + 1; j < events.size() && k < limit; ++j) {
                if (events[j].Velocity > 0)
                    apply(events[j], k++);
            }
        };
        for (size_t i = 0; i < events.size(); ++i) {
            const int mark = events[i].CharCode;
            if (mark == '4')
                change(i, 6, [](tunvale::notation::CodeEvent& e, int k) { e.Velocity += 5 * k; });
            else if (mark == '5')
                change(i, 6, [](tunvale::notation::CodeEvent& e, int k) {
                    e.Velocity = std::max(e.Velocity - 5 * k, 25);
                });
            else if (mark == '6' || mark == '8')
                change(i, 1, [](tunvale::notation::CodeEvent& e, int) { e.Velocity = 127; });
            else if (mark == '7')
                change(i, 1, [](tunvale::notation::CodeEvent& e, int) {
                    e.Velocity = int(std::nearbyint(e.Velocity * 1.2));
                });
            else if (mark == '*' && i + 1 < events.size()) // the level mark with the largest cut
                events[i + 1].Velocity = int(std::nearbyint(events[i + 1].Velocity * 0.2));
        }
        return events;
    };
    std::mt19937 random(21);
    const std::string codes = "*45678xyz";
    for (int round = 0; round < 2000; ++round) {
        tunvale::notation::WorkingEvents events(random() % 40);
        for (tunvale::notation::CodeEvent& e : events) {
            e.CharCode = codes[random() % codes.size()];
            e.Velocity = int(random() % 8) - 2;
            if (random() % 2)
                e.Velocity += 100;
        }
        tunvale::notation::WorkingEvents indexed = events;
        tunvale::notation::ApplyDynamics(indexed);
        const tunvale::notation::WorkingEvents expected = walked(events);
        ASSERT_EQ(indexed.size(), expected.size());
        for (size_t i = 0; i < indexed.size(); ++i)
            ASSERT_EQ(indexed[i].Velocity, expected[i].Velocity) << "round " << round << " event " << i;
    }
}
