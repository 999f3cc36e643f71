#include "app/notation/notation_chars.h"

#include "platform/settings/program_folder.h"

#include <QRawFont>

#include <gtest/gtest.h>

#include <vector>

using namespace tunvale::notation;
using tunvale::platform::ProgramFolder;

namespace {

struct Range {
    int first;
    int last;
};

std::vector<int> codesOf(std::initializer_list<Range> ranges)
{
    std::vector<int> codes;
    for (const Range& r : ranges)
        for (int c = r.first; c <= r.last; ++c)
            codes.push_back(c);
    return codes;
}

// Every code the character set gives a meaning in `family` must have a glyph in that family's font.
void expectCovered(const QString& family, const std::vector<int>& codes)
{
    const QString path = ProgramFolder::dataPath(QStringLiteral("fonts/%1.ttf").arg(family));
    const QRawFont font(path, 32);
    ASSERT_TRUE(font.isValid()) << path.toStdString();
    EXPECT_EQ(font.familyName(), family);
    int missing = 0;
    for (int code : codes) {
        if (!font.supportsCharacter(char32_t(code)) && ++missing <= 10)
            ADD_FAILURE() << family.toStdString() << " has no glyph for U+" << std::hex << code;
    }
    EXPECT_EQ(missing, 0) << family.toStdString();
}

} // namespace

TEST(FontCoverage, MainFontDrawsNotesAndSigns)
{
    std::vector<int> codes = codesOf({
        { NoteGlyph::First, NoteGlyph::Last },
        { KeyShiftGlyph::First, KeyShiftGlyph::ScoreKey },
        { FermataGlyph::Code, FermataGlyph::Code },
        // Accidentals through dashes form one unbroken run of codes.
        { AccidentalGlyph::First, DashGlyph::UnderArc },
        { VoiceGlyph::First, VoiceGlyph::Last },
    });
    codes.insert(codes.end(), BarLineChars.begin(), BarLineChars.end());
    expectCovered(NoteFontFamily, codes);
}

TEST(FontCoverage, SymbolFontDrawsTempoTermsDynamicsAndOrnaments)
{
    expectCovered(SymbolFontFamily,
        codesOf({ { TempoGlyph::First, TempoGlyph::ScoreTempo }, { DynamicMark::First, DynamicMark::Last },
            { AccentMark::Code, AccentMark::Code }, { 'B', 'K' } }));
}

TEST(FontCoverage, GraceFontsDrawTheirNoteBlocks)
{
    for (const QString& family : GraceFontFamilies)
        expectCovered(family, codesOf({ { NoteGlyph::First, NoteGlyph::GraceLast } }));
}
