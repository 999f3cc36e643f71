#pragma once

#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/unbreakable_run.h"

#include <functional>
#include <memory>
#include <optional>

// How tall a text stands in a view, measured before the view gets it. Qt's document layout counts the
// height in 26.6 fixed point and takes 2^23 pixels for a page without end: a line placed past that
// point never finds its place, and the layout never ends.
namespace tunvale::platform {

// The tallest text a view is given, in pixels: half of where Qt's layout stops ending, which leaves
// room for what the measurement cannot know (the fonts a character falls back to, a screen of another
// resolution for the same text).
inline constexpr double kMaxTextHeight = 1 << 22;

// Where a view wraps a text's lines: at `width` pixels (negative: nowhere) less each paragraph's
// indents, or less the margins where they leave less room (a window lays its margins on every
// paragraph once the text is in).
struct TextWrap {
    double width = -1;
    int leftMargin = 0; // twips
    int rightMargin = 0; // twips
};

// Whether a text stands taller than kMaxTextHeight in a view that wraps it as `wrap` says. Handed the
// text once, as a reader's sink, it adds up a cheap bound from the characters' advances; only when
// that bound is over does tooTall() have the text read again and lay its paragraphs out as a view
// would, until the height passes. A text in far more than kMostFonts fonts is not measured: it counts
// as too tall.
class TextHeightCheck final : public RichTextSink
{
public:
    explicit TextHeightCheck(const TextWrap& wrap);
    ~TextHeightCheck() override;
    TextHeightCheck(const TextHeightCheck&) = delete;
    TextHeightCheck& operator=(const TextHeightCheck&) = delete;

    void text(const RunFormat& format, QStringView text) override;
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override;
    void finish(const ParagraphFormat& format, const RunFormat& mark) override;

    // `readAgain` hands the same text on once more; false from it: nothing stands too tall.
    bool tooTall(const std::function<bool(RichTextSink&)>& readAgain) const;

private:
    class Fonts;
    void endParagraph(const ParagraphFormat& format, const RunFormat& mark);
    double lines(std::optional<double> width) const;

    TextWrap wrap_;
    std::unique_ptr<Fonts> fonts_;
    LongRunMeter runs_;
    double advances_ = 0; // of the paragraph so far
    double widest_ = 0;
    double tallest_ = 0;
    qsizetype characters_ = 0;
    RunFormat opening_; // the break's before the paragraph
    double bound_ = 0; // of the paragraphs before
    bool tooManyFonts_ = false;
};

// A view's layout and the measure of the same text differ by the view's margins and by rounding; a text
// that stands this tall in a view is measured before typing adds to it.
inline constexpr double kTypingMeasuredFrom = 0.9 * kMaxTextHeight;

// The most that typing `characters` characters or paragraph breaks in `format` into a paragraph of
// `paragraph`'s format adds to a text's height: a line each, and the line they go into made taller.
double TypedHeightBound(qsizetype characters, const RunFormat& format, const ParagraphFormat& paragraph);

// The check of a whole text at once.
bool TooTallToShow(const RichContent& content, const TextWrap& wrap);

// Why a view could not show a text: it would stand too tall, or it uses more than kMostFonts fonts.
enum class Unshowable { TooTall, TooManyFonts };
std::optional<Unshowable> WhyUnshowable(const RichContent& content, const TextWrap& wrap);

} // namespace tunvale::platform
