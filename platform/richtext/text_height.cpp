#include "platform/richtext/text_height.h"

#include "platform/richtext/font_tally.h"
#include "platform/richtext/rich_text_format.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

namespace tunvale::platform {

namespace {

// A line in ems that the fonts a character may fall back to do not pass, whatever font it asks for.
constexpr double kLineEms = 1.5;
// How far shaping (kerning, ligatures, the joined forms of some scripts) may widen a run beyond the
// sum of its characters' advances.
constexpr double kShapingSlack = 1.25;

// The width of a paragraph's lines; none when the text does not wrap. The layout takes a negative
// indent for none.
std::optional<double> lineWidth(const TextWrap& wrap, const ParagraphFormat& paragraph)
{
    if (wrap.width < 0)
        return std::nullopt;
    const auto indents = [](int left, int right) { return std::max(0, left) + std::max(0, right); };
    return wrap.width
        - TwipsToPixels(std::max(indents(paragraph.leftIndent, paragraph.rightIndent),
            indents(wrap.leftMargin, wrap.rightMargin)));
}

// Exact spacing is the height of every line of the paragraph, however tall its characters.
double spacingOf(const ParagraphFormat& paragraph)
{
    return paragraph.lineSpacing > 0 ? TwipsToPixels(paragraph.lineSpacing) : 0;
}

// The format of the break a paragraph opens with: an empty paragraph is a line in it. The first
// paragraph has none, and the text's default font instead.
RunFormat openingFormat() { return ToRunFormat(QTextCharFormat(), DefaultTextFont()); }

// A font as a view sets a run format's, with a line height no line in it passes and the advances of
// the characters measured in it so far.
class FontMeasure
{
public:
    explicit FontMeasure(const RunFormat& format)
        : metrics_(ToCharFormat(format).font())
    {
        const double natural = std::ceil(metrics_.ascent()) + std::ceil(metrics_.descent())
            + std::max(0.0, metrics_.leading());
        lineHeight_ = std::max(natural, kLineEms * TwipsToPixels(format.halfPoints * 10)) + 1;
    }

    double lineHeight() const { return lineHeight_; }

    double advance(char32_t c)
    {
        const auto known = advances_.constFind(c);
        if (known != advances_.cend())
            return *known;
        double width = 0;
        if (c == u'\t')
            width = QTextOption().tabStopDistance();
        else if (QChar::requiresSurrogates(c))
            width = metrics_.horizontalAdvance(QString::fromUcs4(&c, 1));
        else
            width = metrics_.horizontalAdvance(QChar(c));
        advances_.insert(c, width);
        return width;
    }

private:
    QFontMetricsF metrics_;
    double lineHeight_ = 0;
    QHash<char32_t, double> advances_;
};

// Lays each paragraph out line by line as a view does and adds the lines' heights up, until the
// height passes kMaxTextHeight. Where a character is wider than the line, a view may put more than it
// on the following lines; here every line holds what fits, which never makes fewer lines.
class HeightMeasure final : public RichTextSink
{
public:
    HeightMeasure(const TextWrap& wrap, bool longRun)
        : wrap_(wrap)
        , mode_(WrapModeFor(longRun))
    {
    }

    void text(const RunFormat& format, QStringView text) override
    {
        if (height_ > kMaxTextHeight)
            return;
        ranges_.push_back({ int(text_.size()), int(text.size()), formats_(format) });
        text_ += text;
    }
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override { add(format, mark); }
    void finish(const ParagraphFormat& format, const RunFormat& mark) override { add(format, mark); }

    double height() const { return height_; }

private:
    void add(const ParagraphFormat& format, const RunFormat& mark)
    {
        if (height_ <= kMaxTextHeight)
            layOut(format);
        text_.clear();
        ranges_.clear();
        opening_ = mark;
    }

    void layOut(const ParagraphFormat& format)
    {
        const std::optional<double> width = lineWidth(wrap_, format);
        const double spacing = spacingOf(format);
        QTextLayout layout(text_, formats_(opening_).font());
        layout.setFormats(ranges_);
        QTextOption option;
        option.setWrapMode(width ? mode_ : QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid() && height_ <= kMaxTextHeight;
             line = layout.createLine()) {
            line.setLineWidth(width.value_or(0));
            height_ += spacing > 0
                ? spacing
                : std::ceil(line.ascent() + line.descent() + std::max<qreal>(0, line.leading()));
        }
        layout.endLayout();
    }

    TextWrap wrap_;
    QTextOption::WrapMode mode_;
    CharFormatCache formats_;
    RunFormat opening_ = openingFormat();
    QString text_;
    QList<QTextLayout::FormatRange> ranges_;
    double height_ = 0;
};

} // namespace

// One FontMeasure per font a text uses; a text mostly keeps its font from one run to the next.
class TextHeightCheck::Fonts
{
public:
    // Nothing once the text has asked for far more fonts than a view takes (FontTally says how many).
    FontMeasure* operator()(const RunFormat& format)
    {
        Key key { format.font, format.halfPoints, format.bold };
        if (last_ && key == lastKey_)
            return last_;
        std::unique_ptr<FontMeasure>& measure = fonts_[key];
        if (!measure) {
            if (qsizetype(fonts_.size()) > 2 * kMostFonts)
                return nullptr;
            measure = std::make_unique<FontMeasure>(format);
        }
        lastKey_ = std::move(key);
        last_ = measure.get();
        return last_;
    }

private:
    using Key = std::tuple<QString, int, bool>;
    std::map<Key, std::unique_ptr<FontMeasure>> fonts_;
    Key lastKey_;
    FontMeasure* last_ = nullptr;
};

TextHeightCheck::TextHeightCheck(const TextWrap& wrap)
    : wrap_(wrap)
    , fonts_(std::make_unique<Fonts>())
    , opening_(openingFormat())
{
}

TextHeightCheck::~TextHeightCheck() = default;

void TextHeightCheck::text(const RunFormat& format, QStringView text)
{
    runs_.text(format, text);
    if (bound_ > kMaxTextHeight || tooManyFonts_)
        return;
    FontMeasure* measure = (*fonts_)(format);
    if (!measure) {
        tooManyFonts_ = true;
        return;
    }
    FontMeasure& font = *measure;
    tallest_ = std::max(tallest_, font.lineHeight());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const double advance = font.advance(c) * kShapingSlack;
        advances_ += advance;
        widest_ = std::max(widest_, advance);
        ++characters_;
    }
}

void TextHeightCheck::paragraphEnd(const ParagraphFormat& format, const RunFormat& mark)
{
    runs_.paragraphEnd(format, mark);
    endParagraph(format, mark);
}

void TextHeightCheck::finish(const ParagraphFormat& format, const RunFormat& mark)
{
    runs_.finish(format, mark);
    endParagraph(format, mark);
}

// A paragraph whose advances fit its line width is one line; a longer one has fewer lines than one more
// than twice its advances over the width (two lines in a row hold more than a width: the second starts
// with what did not fit on the first), and never more lines than characters.
void TextHeightCheck::endParagraph(const ParagraphFormat& format, const RunFormat& mark)
{
    const FontMeasure* opening = bound_ <= kMaxTextHeight && !tooManyFonts_ ? (*fonts_)(opening_) : nullptr;
    if (opening) {
        const double spacing = spacingOf(format);
        const double line = spacing > 0 ? spacing : std::max(tallest_, opening->lineHeight());
        bound_ += lines(lineWidth(wrap_, format)) * line;
    } else if (bound_ <= kMaxTextHeight) {
        tooManyFonts_ = true;
    }
    advances_ = widest_ = tallest_ = 0;
    characters_ = 0;
    opening_ = mark;
}

double TextHeightCheck::lines(std::optional<double> width) const
{
    if (characters_ == 0 || !width || advances_ <= *width)
        return 1;
    const double characters = double(characters_);
    if (*width <= widest_)
        return characters;
    return std::min(characters, std::floor(2 * advances_ / (*width - widest_)) + 1);
}

double TypedHeightBound(qsizetype characters, const RunFormat& format, const ParagraphFormat& paragraph)
{
    return double(characters + 1) * std::max(FontMeasure(format).lineHeight(), spacingOf(paragraph));
}

bool TextHeightCheck::tooTall(const std::function<bool(RichTextSink&)>& readAgain) const
{
    if (tooManyFonts_)
        return true;
    if (bound_ <= kMaxTextHeight)
        return false;
    HeightMeasure measure(wrap_, runs_.found());
    return readAgain(measure) && measure.height() > kMaxTextHeight;
}

std::optional<Unshowable> WhyUnshowable(const RichContent& content, const TextWrap& wrap)
{
    FontTally fonts;
    ReadContent(content, fonts);
    if (fonts.tooMany())
        return Unshowable::TooManyFonts;
    if (TooTallToShow(content, wrap))
        return Unshowable::TooTall;
    return std::nullopt;
}

bool TooTallToShow(const RichContent& content, const TextWrap& wrap)
{
    const auto read = [&content](RichTextSink& sink) {
        ReadContent(content, sink);
        return true;
    };
    TextHeightCheck check(wrap);
    read(check);
    return check.tooTall(read);
}

} // namespace tunvale::platform
