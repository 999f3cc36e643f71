#include "app/notation/caret_bar.h"
#include "app/notation/notation_chars.h"

#include "tests/compiler/notation_text.h"

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

TEST(CaretBar, CountsTheBarLinesBeforeTheCaret)
{
    const platform::RichTextSnapshot score = NotationScore()
                                                 .text(QStringLiteral("title"))
                                                 .notation(QStringLiteral("1 2 | 3 4 | 5"))
                                                 .notation(QStringLiteral("| 6 7"))
                                                 .build();
    std::vector<int> bars;
    for (int pos = 0; pos < score.size(); ++pos) {
        if (notation::IsBarLine(score.text[pos].unicode()))
            bars.push_back(pos);
    }
    ASSERT_EQ(bars.size(), 3u);
    const int first = int(score.text.indexOf(QStringLiteral("\r\n"))) + 2; // the notation's first character
    const std::pair<int, int> cases[] = { { 0, 0 }, { first, 0 }, { first + 1, 0 }, { bars[0], 0 },
        { bars[0] + 1, 1 }, { bars[1] + 1, 2 }, { bars[2], 2 }, { bars[2] + 1, 3 }, { score.size(), 3 } };
    for (const auto& [caret, bar] : cases)
        EXPECT_EQ(notation::CaretBar(score, caret), bar) << caret;
}

} // namespace
} // namespace tunvale::testing
