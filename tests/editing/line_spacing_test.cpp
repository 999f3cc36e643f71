#include "app/editor/editing/line_spacing.h"
#include "tests/editing/score_builder.h"

#include "platform/richtext/rich_text_content.h"

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

// Title, notation, an empty line, notation, lyrics: one paragraph each.
void fillScore(platform::RichTextBox& box)
{
    const QString notes = Codes({ kBar, Note(1), Note(2), kBar });
    FillScore(box,
        { { kSong, QStringLiteral("标题") }, { kNote, notes }, { kSong, QString() }, { kNote, notes },
            { kSong, QStringLiteral("一二") } });
}

std::vector<int> spacings(const platform::RichTextBox& box)
{
    std::vector<int> out;
    for (const platform::RichParagraph& p : platform::ExtractContent(*box.document()))
        out.push_back(p.format.lineSpacing);
    return out;
}

} // namespace

TEST(LineSpacing, EachKindSpacesTheParagraphsOfItsOwnLinesAndNoOthers)
{
    struct Case {
        const char* name;
        int notation, text, caretLine, caret;
        std::vector<int> expected;
    };
    const Case cases[] = {
        { "notation lines", 600, -1, -1, 1, { 0, 600, 0, 600, 0 } },
        { "other lines, the empty one too", -1, 700, -1, 1, { 700, 0, 700, 0, 700 } },
        { "both", 600, 700, -1, 1, { 700, 600, 700, 600, 700 } },
        // The caret on the empty line: its own paragraph, not the notation line after it.
        { "the empty caret line", -1, -1, 800, 3, { 0, 0, 800, 0, 0 } },
        { "the last line", -1, -1, 800, 5, { 0, 0, 0, 0, 800 } },
        { "a caret line beyond the table", -1, -1, 800, 6, { 0, 0, 0, 0, 0 } },
        { "a caret line of 0", -1, -1, 800, 0, { 0, 0, 0, 0, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::RichTextBox box;
        fillScore(box);
        const std::vector<LineInfo> lines = BuildLineTable(box.snapshot());
        ASSERT_EQ(lines.size(), 5u);
        SetLineSpacing(box, lines, c.notation, c.text, c.caretLine, c.caret);
        EXPECT_EQ(spacings(box), c.expected);
    }
}
