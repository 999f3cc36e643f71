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
double laidOutHeight(const RichContent& content, double width,
    QTextOption::WrapMode mode = QTextOption::WrapAtWordBoundaryOrAnywhere)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    QTextOption wrapping = document.defaultTextOption();
    wrapping.setWrapMode(mode);
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

// A text holding a long stretch without a place to wrap is measured wrapped anywhere, as a view lays it
// out: its words then fill every line, and it stands lower than wrapped at word boundaries.
TEST(TextHeight, ALongStretchIsMeasuredWrappedAnywhere)
{
    const QString run(kLongestWordWrapRun + 1, u'1');
    const QString broken = run.left(kLongestWordWrapRun / 2) + u' ' + run.mid(kLongestWordWrapRun / 2);
    const RichContent words = paragraphs(1, QStringLiteral("abcdefgh ").repeated(20'000), 24);
    const auto text = [&](const QString& first, int spacing) {
        ParagraphFormat spaced;
        spaced.lineSpacing = spacing;
        RichContent content = paragraphs(1, first, 24, spaced);
        content.push_back(words.front());
        content.back().format = spaced;
        return content;
    };
    // An exact spacing that puts the limit halfway between the two layouts' heights.
    const double anywhere = laidOutHeight(text(run, 0), kPage, QTextOption::WrapAnywhere);
    const double atWords = laidOutHeight(text(broken, 0), kPage);
    ASSERT_LT(anywhere * 1.05, atWords);
    const double lines
        = (anywhere + atWords) / 2 / laidOutHeight(paragraphs(1, QStringLiteral("1"), 24), kPage);
    const int spacing = int(kMaxTextHeight / lines * 1440 / 96);
    ASSERT_LE(spacing, kMaxTwips);
    EXPECT_FALSE(TooTallToShow(text(run, spacing), { kPage, 0, 0 }));
    EXPECT_TRUE(TooTallToShow(text(broken, spacing), { kPage, 0, 0 }));
}
