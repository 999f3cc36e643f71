#include "platform/richtext/text_height.h"

#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/unbreakable_run.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

constexpr double kPage = 700; // pixels

// `count` paragraphs of `text` in 宋体 at `halfPoints`.
RichContent paragraphs(int count, const QString& text, int halfPoints, ParagraphFormat format = {})
{
    RunFormat run;
    run.font = QStringLiteral("宋体");
    run.halfPoints = halfPoints;
    RichParagraph paragraph { format, {}, run };
    if (!text.isEmpty())
        paragraph.runs.push_back({ run, text });
    return RichContent(size_t(count), paragraph);
}

// The height Qt's own layout gives the text at `width` pixels, as a view lays it out.
double laidOutHeight(const RichContent& content, double width)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    QTextOption wrapping = document.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(wrapping);
    SetContent(document, content);
    document.setTextWidth(width);
    return document.documentLayout()->documentSize().height();
}

} // namespace

// Large characters, exact line spacing and narrow lines each make a text tall; it is too tall where
// Qt's layout of it passes the limit, and not before (the cheap bound is over well before that).
TEST(TextHeight, ATextIsTooTallWhereItsLayoutPassesTheLimit)
{
    ParagraphFormat spaced;
    spaced.lineSpacing = kMaxTwips;
    ParagraphFormat narrow; // 33 pixels of line: two "1 " a line
    narrow.leftIndent = narrow.rightIndent = 5000;
    const QString spacedDigits = QStringLiteral("1 ").repeated(100);
    struct Case {
        const char* what;
        RichContent under;
        RichContent over;
    };
    const std::vector<Case> cases = {
        { "1638 points", paragraphs(1500, QStringLiteral("1"), kMaxHalfPoints),
            paragraphs(2500, QStringLiteral("1"), kMaxHalfPoints) },
        { "exact spacing", paragraphs(1900, QString(), 24, spaced), paragraphs(2100, QString(), 24, spaced) },
        { "narrow lines", paragraphs(4000, spacedDigits, 24, narrow),
            paragraphs(6000, spacedDigits, 24, narrow) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_LT(laidOutHeight(c.under, kPage), kMaxTextHeight);
        ASSERT_GT(laidOutHeight(c.over, kPage), kMaxTextHeight);
        EXPECT_FALSE(TooTallToShow(c.under, { kPage, 0, 0 }));
        EXPECT_TRUE(TooTallToShow(c.over, { kPage, 0, 0 }));
    }
}

// Margins a window lays on later narrow the lines where they leave less room than the paragraphs'
// own indents; a text that does not wrap is one line a paragraph.
TEST(TextHeight, TheNarrowestLinesTheTextWillHaveCount)
{
    const RichContent text = paragraphs(6000, QStringLiteral("1 ").repeated(100), 24);
    EXPECT_FALSE(TooTallToShow(text, { kPage, 0, 0 }));
    EXPECT_TRUE(TooTallToShow(text, { kPage, 5000, 5000 }));
    EXPECT_FALSE(TooTallToShow(text, { -1, 5000, 5000 }));
}

// The layout takes a negative indent for none, and exact spacing for the height of every line however
// tall its characters.
TEST(TextHeight, IndentsAndSpacingCountAsTheLayoutTakesThem)
{
    ParagraphFormat indented; // 167 pixels of line, however far the right indent reaches out
    indented.leftIndent = 8000;
    indented.rightIndent = -kMaxTwips;
    const RichContent narrow = paragraphs(4500, QStringLiteral("1 ").repeated(7), 200, indented);
    ASSERT_GT(laidOutHeight(narrow, kPage), kMaxTextHeight);
    EXPECT_TRUE(TooTallToShow(narrow, { kPage, 0, 0 }));

    ParagraphFormat close;
    close.lineSpacing = 200;
    const RichContent packed = paragraphs(3000, QStringLiteral("1"), kMaxHalfPoints, close);
    ASSERT_LT(laidOutHeight(packed, kPage), kMaxTextHeight);
    EXPECT_FALSE(TooTallToShow(packed, { kPage, 0, 0 }));
}

// Laying out a stretch without a place to wrap takes time that grows with its square: where the bound
// is over, a paragraph with a stretch too long to lay out in time counts as too tall.
TEST(TextHeight, AStretchTooLongToLayOutCountsAsTooTall)
{
    RichContent text = paragraphs(1500, QStringLiteral("1"), kMaxHalfPoints);
    const RichContent longLine = paragraphs(1, QString(kMaxUnbreakableRun + 1, u'1'), 24);
    text.insert(text.begin(), longLine.front());
    EXPECT_TRUE(TooTallToShow(text, { kPage, 0, 0 }));
    EXPECT_FALSE(TooTallToShow(longLine, { kPage, 0, 0 }));
}
