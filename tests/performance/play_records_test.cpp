#include "app/notation/play_records.h"

#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

CMingNames syllables()
{
    return { QStringLiteral("do"), QStringLiteral("#do"), QStringLiteral("re"), QStringLiteral("#re"),
        QStringLiteral("mi"), QStringLiteral("fa"), QStringLiteral("#fa"), QStringLiteral("sol"),
        QStringLiteral("#sol"), QStringLiteral("la"), QStringLiteral("#la"), QStringLiteral("si") };
}

CodeEvent note(int code, int velocity, std::uint32_t message = 0)
{
    CodeEvent e;
    e.EventCode = code;
    e.Velocity = velocity;
    e.MidiMessage = int(message);
    e.EventTime = 1;
    e.CharPos = 7;
    e.BarNo = 3;
    e.LineEnd = -1;
    e.CharColor = 0x8000;
    return e;
}

TEST(PlayRecords, RecordsCopyTheEventsAndAddTheHarmony)
{
    const auto records
        = BuildPlayRecords({ note(60, 98, 0x00623C90), note(127, 98, 0x00627F90) }, syllables());
    ASSERT_EQ(records.PlayEvents.size(), 2u);
    const PlayEvent& first = records.PlayEvents[0];
    EXPECT_EQ(first.Note, 60);
    EXPECT_EQ(first.CharPos, 7);
    EXPECT_EQ(first.BarNo, 3);
    EXPECT_EQ(first.LineEnd, -1);
    EXPECT_EQ(first.CharColor, 0x8000u);
    EXPECT_EQ(first.NoteOnMsg, 0x00623C90u);
    EXPECT_EQ(first.ThirdMsg, 0x00624090u);
    EXPECT_EQ(first.FifthMsg, 0x00624390u);
    // Unchecked: the harmony of note 127 lies above the MIDI range.
    EXPECT_EQ(records.PlayEvents[1].ThirdMsg >> 8 & 0xFF, 131u);
    EXPECT_EQ(records.PlayEvents[1].FifthMsg >> 8 & 0xFF, 134u);
}

TEST(PlayRecords, SolfegeString)
{
    CMingNames long_names = syllables();
    long_names[7] = QStringLiteral("sol-fa-long");
    struct Case {
        const char* name;
        std::vector<CodeEvent> events;
        CMingNames names;
        const char* text;
    };
    const Case cases[] = {
        { "pitch classes", { note(60, 98), note(65, 98), note(64, 98), note(61, 10) }, syllables(),
            "sol do si #sol" },
        { "quiet, tied and out-of-range notes sing nothing",
            { note(60, 9), note(62, 0), note(120, 2), note(130, 98), note(-5, 98), note(67, 98) },
            syllables(), "re" },
        { "nothing to sing", { note(60, 0), note(120, 2) }, syllables(), "" },
        { "long syllables are never cut", { note(60, 98), note(60, 98), note(60, 98) }, long_names,
            "sol-fa-long sol-fa-long sol-fa-long" },
        { "missing syllables keep their blanks", { note(60, 98), note(62, 98), note(64, 98) },
            { QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
                QString(), QString(), QString(), QStringLiteral("si") },
            "si" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPlayRecords(c.events, c.names).CMingText, QString::fromUtf8(c.text)) << c.name;
}

TEST(PlayRecords, SyllablesComeFromTheIniEveryTime)
{
    testing::ScopedUserFolder folder;
    const QString ini = folder.file(QStringLiteral("banzhou.ini"));
    ASSERT_TRUE(testing::writeAll(ini, "[唱名]\n0cm=do\n7cm=sol\n11cm=ti\n"));
    CMingNames names = Readm_YM();
    EXPECT_EQ(names[0], QStringLiteral("do"));
    EXPECT_EQ(names[7], QStringLiteral("sol"));
    EXPECT_EQ(names[11], QStringLiteral("ti"));
    EXPECT_EQ(names[1], QString());
    ASSERT_TRUE(testing::writeAll(ini, "[唱名]\n7cm=so\n"));
    names = Readm_YM();
    EXPECT_EQ(names[7], QStringLiteral("so"));
    EXPECT_EQ(names[0], QString());
}

} // namespace
} // namespace tunvale::notation
