#include "app/frame/old_score_codes.h"
#include "app/frame/old_score_converter.h"
#include "platform/richtext/rich_text_snapshot_builder.h"

#include <gtest/gtest.h>

#include <set>

using namespace tunvale;
using namespace tunvale::frame;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

// What one character becomes on a line of the given number and kind.
int convertOne(int code, const QString& font, bool notation, int number = 2)
{
    const OldScoreLine line { number, notation, 10, QString(QChar(char16_t(code))), { font } };
    const std::vector<CodeReplacement> replaced = OldScoreConverter::convertLine(line);
    if (replaced.empty())
        return code;
    EXPECT_EQ(replaced.size(), 1u);
    EXPECT_EQ(replaced[0].position, 10);
    return replaced[0].code.unicode();
}

} // namespace

TEST(OldScoreConverter, EdgeCases)
{
    const struct {
        const char* what;
        const char* font;
        int code;
        int line;
        int expected;
        bool notation;
    } cases[] = {
        { "middle quarter note of degree 1 stays", "KORVA_Note", 0x4E00, 2, 0x4E00, true },
        { "old row 3, one octave up", "KORVA_Note", 0x4E54, 2, 0x4EA8, true },
        { "old row 22 follows the later blocks' rows", "KORVA_Note", 0x5068, 2, 0x5316, true },
        { "last old note", "KORVA_Note", 0x525F, 2, 0x5721, true },
        { "old note in a lyric font", "宋体", 0x4E54, 2, 0x4E54, true },
        { "old note on a lyric line", "KORVA_Note", 0x4E54, 2, 0x4E54, false },
        { "key marker on line 4 of any kind", "KORVA_Note", 0x6100, 4, 0x634F, false },
        { "key marker on another lyric line", "KORVA_Note", 0x6100, 5, 0x6100, false },
        { "key marker on line 4 in a lyric font", "宋体", 0x6100, 4, 0x6100, false },
        { "a note on line 4 that is no notation line", "KORVA_Note", 0x4E54, 4, 0x4E54, false },
        { "moved by two, then a single code", "KORVA_Note", 0x612C, 2, 0x62D6, true },
        { "single code from a list", "KORVA_Note", 0x6131, 2, 0x6222, true },
        { "two old codes share a target", "KORVA_Note", 0x61BE, 2, 0x6246, true },
        { "step four moves by four once", "KORVA_Note", 0x60E8, 2, 0x60E4 + 442, true },
        { "step four moves by two once", "KORVA_Note", 0x60EE, 2, 0x60EC + 442, true },
        { "a code between the listed runs stays", "KORVA_Note", 0x610D, 2, 0x610D, true },
        { "grace note of a group, regular rows", "KORVA_Note_yy1", 0x4E54, 2, 0x4EA8, true },
        { "grace row 22 keeps the regular pattern", "KORVA_Note_yy1", 0x5068, 2, 0x52EC, true },
        { "single grace note", "KORVA_Note_yy", 0x4E1C, 2, 0x4E2A, true },
        { "grace note on a lyric line", "KORVA_Note_yy1", 0x4E54, 2, 0x4E54, false },
        { "sign in the symbol font", "KORVA_Note_Symbol", 0x6100, 2, 0x6100, true },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convertOne(c.code, QString::fromUtf8(c.font), c.notation, c.line), c.expected) << c.what;
    }
}

TEST(OldScoreConverter, TablesHoldTheirInvariants)
{
    // Each row's offset is 14 k plus 42 for every new row skipped below it.
    const std::vector<int> steps = { 3, 5, 8, 10, 13, 15, 18, 20, 22, 24, 27, 29, 32, 34, 37, 39 };
    for (int k = 0; k < kOldNoteRowCount; ++k) {
        const int skipped = int(std::count_if(steps.begin(), steps.end(), [k](int s) { return s <= k; }));
        EXPECT_EQ(OldNoteRowOffsets()[std::size_t(k)], 14 * k + 42 * skipped) << "row " << k;
    }

    const std::vector<OldCodePair>& signs = OldSignCodes();
    EXPECT_EQ(signs.size(), 352u);
    std::set<char16_t> sources;
    for (std::size_t i = 0; i < signs.size(); ++i) {
        EXPECT_TRUE(signs[i].from >= 0x606C && signs[i].from <= 0x61F4) << std::hex << int(signs[i].from);
        if (i > 0) {
            EXPECT_LT(signs[i - 1].from, signs[i].from);
        }
        sources.insert(signs[i].from);
    }
    for (const OldCodePair& pair : signs)
        EXPECT_EQ(sources.count(pair.to), 0u) << std::hex << int(pair.from) << " -> " << int(pair.to);
}

// Every old note converts, also where its notation line wraps; line 4 of the score converts every old
// sign though it is a lyric line, and the other lyric lines stay.
TEST(OldScoreConverter, WholeScoreFromDisplayLines)
{
    QString notes;
    QString newNotes;
    for (int k = 0; k < kOldNoteRowCount; ++k) {
        const int code = kFirstOldNote + 28 * k + k % 28;
        notes += QChar(char16_t(code));
        newNotes += QChar(char16_t(code + OldNoteRowOffsets()[std::size_t(k)]));
    }
    QString signs;
    QString newSigns;
    for (const OldCodePair& pair : OldSignCodes()) {
        signs += QChar(pair.from);
        newSigns += QChar(pair.to);
    }
    const QString marker(QChar(char16_t(0x6100)));
    const platform::RichTextSnapshot score = platform::RichTextSnapshotBuilder()
                                                 .run(QStringLiteral("title"), kSong)
                                                 .paragraph()
                                                 .run(notes.left(25), kNote)
                                                 .lineBreak()
                                                 .run(notes.mid(25))
                                                 .paragraph()
                                                 .run(signs)
                                                 .paragraph()
                                                 .run(marker)
                                                 .paragraph()
                                                 .run(marker)
                                                 .build();
    const std::vector<OldScoreLine> lines = OldScoreLines(score, { false, true, true, false, false });
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_FALSE(lines[5].notation); // beyond the flags

    QString converted = score.text;
    for (const CodeReplacement& r : ConvertOldScore(lines))
        converted[r.position] = r.code;
    const QString crlf = QStringLiteral("\r\n");
    EXPECT_EQ(converted,
        QStringLiteral("title") + crlf + newNotes + crlf + newSigns + crlf + marker + crlf + marker);
}
