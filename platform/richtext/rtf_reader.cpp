#include "platform/richtext/rtf_reader.h"

#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/rtf_code_page.h"

#include <algorithm>
#include <limits>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tunvale::platform {

namespace {

enum class Destination { Body, FontTable, ColorTable, Skip };

// The control words the reader knows; every other word is ignored.
enum class Word {
    FontTable,
    ColorTable,
    SkippedDestination,
    Font,
    Charset,
    Red,
    Green,
    Blue,
    Par,
    FontSize,
    Bold,
    Underline,
    UnderlineNone,
    Color,
    Highlight,
    Up,
    Down,
    Plain,
    Pard,
    LeftIndent,
    RightIndent,
    LineSpacing,
    UnicodeSkip,
    AnsiCodePage,
    DefaultFont,
    Tab,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
};

const std::unordered_map<std::string_view, Word>& words()
{
    static const std::unordered_map<std::string_view, Word> table = {
        { "fonttbl", Word::FontTable },
        { "colortbl", Word::ColorTable },
        // Destinations whose text is not document text, written without "\*" by older writers.
        { "stylesheet", Word::SkippedDestination },
        { "info", Word::SkippedDestination },
        { "pict", Word::SkippedDestination },
        { "object", Word::SkippedDestination },
        { "header", Word::SkippedDestination },
        { "headerl", Word::SkippedDestination },
        { "headerr", Word::SkippedDestination },
        { "headerf", Word::SkippedDestination },
        { "footer", Word::SkippedDestination },
        { "footerl", Word::SkippedDestination },
        { "footerr", Word::SkippedDestination },
        { "footerf", Word::SkippedDestination },
        { "footnote", Word::SkippedDestination },
        { "annotation", Word::SkippedDestination },
        { "fldinst", Word::SkippedDestination },
        { "pntext", Word::SkippedDestination },
        { "pntxta", Word::SkippedDestination },
        { "pntxtb", Word::SkippedDestination },
        { "listtext", Word::SkippedDestination },
        { "nonshppict", Word::SkippedDestination },
        { "shp", Word::SkippedDestination },
        { "listtable", Word::SkippedDestination },
        { "listoverridetable", Word::SkippedDestination },
        { "revtbl", Word::SkippedDestination },
        { "rsidtbl", Word::SkippedDestination },
        { "xe", Word::SkippedDestination },
        { "tc", Word::SkippedDestination },
        { "template", Word::SkippedDestination },
        { "author", Word::SkippedDestination },
        { "operator", Word::SkippedDestination },
        { "title", Word::SkippedDestination },
        { "subject", Word::SkippedDestination },
        { "keywords", Word::SkippedDestination },
        { "comment", Word::SkippedDestination },
        { "doccomm", Word::SkippedDestination },
        { "creatim", Word::SkippedDestination },
        { "revtim", Word::SkippedDestination },
        { "printim", Word::SkippedDestination },
        { "buptim", Word::SkippedDestination },
        { "f", Word::Font },
        { "fcharset", Word::Charset },
        { "red", Word::Red },
        { "green", Word::Green },
        { "blue", Word::Blue },
        { "par", Word::Par },
        { "line", Word::Par },
        { "row", Word::Par },
        { "fs", Word::FontSize },
        { "b", Word::Bold },
        { "ul", Word::Underline },
        { "uld", Word::Underline },
        { "uldb", Word::Underline },
        { "ulw", Word::Underline },
        { "ulth", Word::Underline },
        { "ulnone", Word::UnderlineNone },
        { "cf", Word::Color },
        { "highlight", Word::Highlight },
        { "cb", Word::Highlight },
        { "chcbpat", Word::Highlight },
        { "up", Word::Up },
        { "dn", Word::Down },
        { "plain", Word::Plain },
        { "pard", Word::Pard },
        { "li", Word::LeftIndent },
        { "ri", Word::RightIndent },
        { "sl", Word::LineSpacing },
        { "uc", Word::UnicodeSkip },
        { "ansicpg", Word::AnsiCodePage },
        { "deff", Word::DefaultFont },
        { "tab", Word::Tab },
        { "cell", Word::Tab },
        { "emdash", Word::EmDash },
        { "endash", Word::EnDash },
        { "bullet", Word::Bullet },
        { "lquote", Word::LeftQuote },
        { "rquote", Word::RightQuote },
        { "ldblquote", Word::LeftDoubleQuote },
        { "rdblquote", Word::RightDoubleQuote },
    };
    return table;
}

struct FontEntry {
    QString name;
    int charset = -1;
};

// What a group restores when it closes.
struct GroupState {
    Destination destination = Destination::Body;
    RunFormat format;
    int fontNumber = -1;
    ParagraphFormat paragraph;
    int unicodeSkip = 1;
};

constexpr size_t kMaxGroupDepth = 1000;

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A sink that only lets the reader run, to learn whether the text nests too deep before anything is
// handed on.
class NullSink final : public RichTextSink
{
public:
    void text(const RunFormat&, QStringView) override { }
    void paragraphEnd(const ParagraphFormat&, const RunFormat&) override { }
    void finish(const ParagraphFormat&, const RunFormat&) override { }
};

class RtfReader
{
public:
    RtfReader(QStringView rtf, const QFont& defaultFont, RichTextSink& sink)
        : in_(rtf)
        , sink_(sink)
    {
        defaultFamily_ = defaultFont.family();
        state_.format.font = defaultFamily_;
        const qreal points = defaultFont.pointSizeF();
        state_.format.halfPoints = points > 0 ? qRound(points * 2) : 24;
        plain_ = state_.format;
    }

    // Where the text starts, or -1 when it is no RTF.
    static qsizetype start(QStringView rtf)
    {
        qsizetype i = 0;
        while (i < rtf.size() && rtf[i].isSpace())
            ++i;
        return rtf.mid(i).startsWith(QLatin1String("{\\rtf")) ? i : -1;
    }

    // False when the groups nest too deep; what was read is handed on either way.
    bool read(qsizetype from)
    {
        pos_ = from;
        while (pos_ < in_.size() && !finished_)
            step();
        flushBytes();
        finish();
        return !tooDeep_;
    }

private:
    void step()
    {
        const QChar c = in_[pos_];
        if (c == u'{') {
            ++pos_;
            flushBytes();
            skip_ = 0;
            // Real documents nest a few dozen groups at most; a deeper file is hostile or broken and
            // would otherwise cost a saved state per brace.
            if (stack_.size() >= kMaxGroupDepth) {
                tooDeep_ = true;
                finished_ = true;
                return;
            }
            stack_.push_back(state_);
            return;
        }
        if (c == u'}') {
            ++pos_;
            flushBytes();
            skip_ = 0;
            closeGroup();
            return;
        }
        if (c == u'\\') {
            controlWord();
            return;
        }
        if (c == u'\r' || c == u'\n') {
            ++pos_;
            return;
        }
        if (skip_ <= 0 && state_.destination == Destination::Body && !isByte(c)) {
            plainText();
            return;
        }
        ++pos_;
        if (skipUnit())
            return;
        if (isByte(c) && state_.destination != Destination::Skip)
            bytes_ += char(c.unicode());
        else
            text(in_.sliced(pos_ - 1, 1));
    }

    static bool isByte(QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0xff; }

    // A stretch of body text without control characters, braces or bytes, taken at once.
    void plainText()
    {
        const qsizetype from = pos_;
        while (pos_ < in_.size()) {
            const QChar c = in_[pos_];
            if (c == u'{' || c == u'}' || c == u'\\' || c == u'\r' || c == u'\n' || isByte(c))
                break;
            ++pos_;
        }
        text(in_.sliced(from, pos_ - from));
    }

    void closeGroup()
    {
        if (state_.destination == Destination::FontTable)
            storeFontEntry();
        if (stack_.size() == 1)
            endFormat_ = state_.format;
        if (stack_.empty()) {
            finished_ = true;
            return;
        }
        const bool leavingFontTable = state_.destination == Destination::FontTable
            && stack_.back().destination != Destination::FontTable;
        state_ = stack_.back();
        stack_.pop_back();
        if (leavingFontTable)
            resolveDefaultFont();
        if (stack_.empty())
            finished_ = true;
    }

    // Consumes one character after \uN; true while such characters remain.
    bool skipUnit()
    {
        if (skip_ <= 0)
            return false;
        --skip_;
        return true;
    }

    void controlWord()
    {
        ++pos_;
        if (pos_ >= in_.size())
            return;
        const QChar c = in_[pos_];
        if (!isAsciiLetter(c)) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < in_.size() && isAsciiLetter(in_[pos_]))
            ++pos_;
        char buffer[32];
        const qsizetype length = std::min<qsizetype>(pos_ - start, sizeof buffer);
        for (qsizetype i = 0; i < length; ++i)
            buffer[i] = char(in_[start + i].unicode());
        // A longer name is no word we know.
        const std::string_view name(buffer, pos_ - start > qsizetype(sizeof buffer) ? 0 : size_t(length));
        bool hasValue = false;
        int value = 0;
        if (pos_ < in_.size() && (in_[pos_] == u'-' || isAsciiDigit(in_[pos_])))
            value = parameter(hasValue);
        if (pos_ < in_.size() && in_[pos_] == u' ')
            ++pos_;
        // Raw bytes (a picture's, say) that may hold braces and backslashes of their own.
        if (name == "bin" && hasValue) {
            flushBytes();
            pos_ += std::clamp<qsizetype>(value, 0, in_.size() - pos_);
            return;
        }
        if (name == "u" && hasValue) {
            flushBytes();
            if (skipUnit())
                return;
            const int unit = value < 0 ? value + 65536 : value;
            const QChar character
                = unit >= 0 && unit <= 0xffff ? QChar(char16_t(unit)) : QChar(QChar::ReplacementCharacter);
            text(QStringView(&character, 1));
            skip_ = state_.unicodeSkip;
            return;
        }
        if (skipUnit())
            return;
        word(name, hasValue, value);
    }

    // A control word's parameter, saturated to +-(2^31 - 1) so that negating it or adding to it never
    // overflows; a "-" without digits is no parameter.
    int parameter(bool& hasValue)
    {
        constexpr qint64 kLimit = std::numeric_limits<int>::max();
        const bool negative = in_[pos_] == u'-';
        if (negative)
            ++pos_;
        qint64 magnitude = 0;
        while (pos_ < in_.size() && isAsciiDigit(in_[pos_])) {
            magnitude = std::min(magnitude * 10 + (in_[pos_].unicode() - u'0'), kLimit);
            ++pos_;
        }
        hasValue = in_[pos_ - 1] != u'-';
        return int(negative ? -magnitude : magnitude);
    }

    void controlSymbol(QChar c)
    {
        switch (c.unicode()) {
        case u'\'': {
            int digits = 0;
            int value = 0;
            while (digits < 2 && pos_ + digits < in_.size() && isHexDigit(in_[pos_ + digits])) {
                const char16_t d = in_[pos_ + digits].unicode();
                value = value * 16 + (d <= u'9' ? d - u'0' : (d | 0x20) - u'a' + 10);
                ++digits;
            }
            pos_ += digits;
            if (skipUnit())
                return;
            if (digits == 2 && state_.destination != Destination::Skip)
                bytes_ += char(value);
            return;
        }
        case u'*':
            state_.destination = Destination::Skip;
            return;
        case u'\\':
        case u'{':
        case u'}':
            if (!skipUnit())
                text(in_.sliced(pos_ - 1, 1));
            return;
        case u'~':
            text(u"\u00a0");
            return;
        case u'_':
            text(u"-");
            return;
        case u'\r':
        case u'\n':
            paragraphBreak();
            return;
        default:
            return;
        }
    }

    void word(std::string_view name, bool hasValue, int value)
    {
        if (state_.destination == Destination::Skip)
            return;
        const auto it = words().find(name);
        if (it == words().end()) {
            // Like every body word, an unknown one ends the bytes before it.
            if (state_.destination == Destination::Body)
                flushBytes();
            return;
        }
        const Word w = it->second;
        switch (w) {
        case Word::FontTable:
            state_.destination = Destination::FontTable;
            entry_ = {};
            return;
        case Word::ColorTable:
            state_.destination = Destination::ColorTable;
            return;
        case Word::SkippedDestination:
            flushBytes();
            state_.destination = Destination::Skip;
            return;
        default:
            break;
        }
        if (state_.destination == Destination::FontTable) {
            fontTableWord(w, value);
            return;
        }
        if (state_.destination == Destination::ColorTable) {
            colorTableWord(w, value);
            return;
        }
        bodyWord(w, hasValue, value);
    }

    void fontTableWord(Word w, int value)
    {
        if (w == Word::Font) {
            flushBytes();
            if (entry_.number >= 0)
                storeFontEntry();
            entry_ = {};
            entry_.number = value;
        } else if (w == Word::Charset) {
            entry_.font.charset = value;
        }
    }

    void colorTableWord(Word w, int value)
    {
        if (w == Word::Red)
            red_ = value;
        else if (w == Word::Green)
            green_ = value;
        else if (w == Word::Blue)
            blue_ = value;
        else
            return;
        colorSet_ = true;
    }

    void bodyWord(Word w, bool hasValue, int value)
    {
        flushBytes();
        RunFormat& f = state_.format;
        ParagraphFormat& p = state_.paragraph;
        const bool on = !hasValue || value != 0;
        switch (w) {
        case Word::Par:
            paragraphBreak();
            break;
        case Word::Font: {
            state_.fontNumber = value;
            const auto it = fonts_.find(value);
            if (it != fonts_.end())
                f.font = it->second.name;
            break;
        }
        case Word::FontSize:
            if (value > 0)
                f.halfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
            break;
        case Word::Bold:
            f.bold = on;
            break;
        case Word::Underline:
            f.underline = on;
            break;
        case Word::UnderlineNone:
            f.underline = false;
            break;
        case Word::Color:
            f.color = colorAt(value);
            break;
        case Word::Highlight:
            f.highlight = colorAt(value);
            break;
        case Word::Up:
            f.offset = std::clamp(hasValue ? value : 6, 0, kMaxHalfPoints);
            break;
        case Word::Down:
            f.offset = -std::clamp(hasValue ? value : 6, 0, kMaxHalfPoints);
            break;
        case Word::Plain:
            f = plain_;
            state_.fontNumber = defaultFontNumber_;
            break;
        case Word::Pard:
            p = {};
            break;
        case Word::LeftIndent:
            p.leftIndent = std::clamp(value, -kMaxTwips, kMaxTwips);
            break;
        case Word::RightIndent:
            p.rightIndent = std::clamp(value, -kMaxTwips, kMaxTwips);
            break;
        case Word::LineSpacing:
            // Negative: exactly that many twips; positive ("at least") and 0 are single spacing here.
            p.lineSpacing = value < 0 ? std::min(-value, kMaxTwips) : 0;
            break;
        case Word::UnicodeSkip:
            state_.unicodeSkip = value;
            break;
        case Word::AnsiCodePage:
            ansiCodePage_ = value;
            break;
        case Word::DefaultFont:
            defaultFontNumber_ = value;
            break;
        case Word::Tab:
            text(u"\t");
            break;
        case Word::EmDash:
            text(u"\u2014");
            break;
        case Word::EnDash:
            text(u"\u2013");
            break;
        case Word::Bullet:
            text(u"\u2022");
            break;
        case Word::LeftQuote:
            text(u"\u2018");
            break;
        case Word::RightQuote:
            text(u"\u2019");
            break;
        case Word::LeftDoubleQuote:
            text(u"\u201c");
            break;
        case Word::RightDoubleQuote:
            text(u"\u201d");
            break;
        default:
            break;
        }
    }

    // Text the document may hold: no NUL, CR or LF (breaks are \par), no objects, and a line or
    // paragraph separator is a paragraph break.
    void appendBody(QStringView t)
    {
        qsizetype from = 0;
        auto flush = [&](qsizetype to) {
            if (to > from)
                bodyText(t.sliced(from, to - from));
        };
        for (qsizetype i = 0; i < t.size(); ++i) {
            const char16_t c = t[i].unicode();
            const bool control = c == 0 || c == u'\r' || c == u'\n' || c == QChar::ObjectReplacementCharacter;
            const bool separator = c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
            if (!control && !separator)
                continue;
            flush(i);
            from = i + 1;
            if (separator)
                paragraphBreak();
        }
        flush(t.size());
    }

    // Text for the current paragraph: a paragraph break before it is handed on now that the paragraph
    // after it has text, and text of one format is handed on in one piece.
    void bodyText(QStringView piece)
    {
        if (pendingBreak_) {
            sink_.paragraphEnd(pendingBreak_->first, pendingBreak_->second);
            pendingBreak_.reset();
        }
        paragraph_ = state_.paragraph;
        if (!run_.isEmpty() && !(runFormat_ == state_.format))
            flushRun();
        if (run_.isEmpty())
            runFormat_ = state_.format;
        run_ += piece;
    }

    void flushRun()
    {
        if (run_.isEmpty())
            return;
        sink_.text(runFormat_, run_);
        run_.clear();
    }

    std::optional<QRgb> colorAt(int index) const
    {
        if (index < 0 || index >= int(colors_.size()))
            return std::nullopt;
        return colors_[size_t(index)];
    }

    void storeFontEntry()
    {
        flushBytes();
        if (entry_.number < 0)
            return;
        QString name = entry_.font.name.left(entry_.font.name.indexOf(u';'));
        name.removeIf([](QChar c) { return !IsFontNameCharacter(c); });
        entry_.font.name = name.trimmed();
        // A font without a name is shown, and so stored, in the default font.
        if (entry_.font.name.isEmpty())
            entry_.font.name = defaultFamily_;
        fonts_[entry_.number] = entry_.font;
        entry_ = {};
    }

    void resolveDefaultFont()
    {
        const auto it = fonts_.find(defaultFontNumber_);
        if (it == fonts_.end())
            return;
        plain_.font = it->second.name;
        for (GroupState& s : stack_)
            if (s.fontNumber < 0)
                s.format.font = plain_.font;
        if (state_.fontNumber < 0)
            state_.format.font = plain_.font;
    }

    int codePage() const
    {
        const int number = state_.destination == Destination::FontTable ? -1 : state_.fontNumber;
        const auto it = fonts_.find(number >= 0 ? number : defaultFontNumber_);
        const int charset = state_.destination == Destination::FontTable ? entry_.font.charset
            : it != fonts_.end()                                         ? it->second.charset
                                                                         : -1;
        return CodePageOfCharset(charset, ansiCodePage_);
    }

    void flushBytes()
    {
        if (bytes_.isEmpty())
            return;
        decoded_.clear();
        AppendDecoded(decoded_, bytes_, codePage());
        bytes_.clear();
        append(decoded_);
    }

    void text(QStringView t)
    {
        flushBytes();
        append(t);
    }

    void append(QStringView t)
    {
        switch (state_.destination) {
        case Destination::Body:
            appendBody(t);
            break;
        case Destination::FontTable:
            if (entry_.number >= 0) {
                entry_.font.name += t;
                if (t.contains(u';'))
                    storeFontEntry();
            }
            break;
        case Destination::ColorTable:
            // An entry without components is the automatic colour.
            if (t.contains(u';')) {
                colors_.push_back(colorSet_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
                red_ = green_ = blue_ = 0;
                colorSet_ = false;
            }
            break;
        case Destination::Skip:
            break;
        }
    }

    // The current paragraph ends; it is handed on when more follows, since a final \par ends the last
    // paragraph rather than opening an empty one.
    void paragraphBreak()
    {
        if (state_.destination != Destination::Body)
            return;
        flushBytes();
        flushRun();
        if (pendingBreak_)
            sink_.paragraphEnd(pendingBreak_->first, pendingBreak_->second);
        pendingBreak_.emplace(state_.paragraph, state_.format);
        paragraph_ = state_.paragraph;
    }

    // A last paragraph without \par takes the format in force at the end as its mark.
    void finish()
    {
        flushRun();
        if (pendingBreak_)
            sink_.finish(pendingBreak_->first, pendingBreak_->second);
        else
            sink_.finish(paragraph_, endFormat_ ? *endFormat_ : state_.format);
    }

    struct PendingEntry {
        int number = -1;
        FontEntry font;
    };

    QStringView in_;
    RichTextSink& sink_;
    QString defaultFamily_;
    qsizetype pos_ = 0;
    bool finished_ = false;
    GroupState state_;
    std::vector<GroupState> stack_;
    bool tooDeep_ = false;
    RunFormat plain_;
    std::map<int, FontEntry> fonts_;
    PendingEntry entry_;
    std::vector<std::optional<QRgb>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;
    int ansiCodePage_ = 1252;
    int defaultFontNumber_ = 0;
    QByteArray bytes_;
    QString decoded_;
    int skip_ = 0;
    std::optional<RunFormat> endFormat_;
    ParagraphFormat paragraph_;
    QString run_;
    RunFormat runFormat_;
    std::optional<std::pair<ParagraphFormat, RunFormat>> pendingBreak_;
};

// Collects what a reader hands on as plain values.
class ContentSink final : public RichTextSink
{
public:
    void text(const RunFormat& format, QStringView text) override
    {
        std::vector<TextRun>& runs = content_.back().runs;
        if (!runs.empty() && runs.back().format == format)
            runs.back().text += text;
        else
            runs.push_back({ format, text.toString() });
    }
    void paragraphEnd(const ParagraphFormat& format, const RunFormat& mark) override
    {
        content_.back().format = format;
        content_.back().mark = mark;
        content_.emplace_back();
    }
    void finish(const ParagraphFormat& format, const RunFormat& mark) override
    {
        content_.back().format = format;
        content_.back().mark = mark;
    }

    RichContent take() { return std::move(content_); }

private:
    RichContent content_ = RichContent(1);
};

} // namespace

bool ReadRtf(QStringView rtf, const QFont& defaultFont, RichTextSink& sink)
{
    if (rtf.size() > kMaxRtfBytes)
        return false;
    const qsizetype start = RtfReader::start(rtf);
    if (start < 0)
        return false;
    // A text with fewer braces than the limit cannot nest deeper; only then is a dry run needed to
    // refuse it before anything reaches the sink.
    if (rtf.count(u'{') >= qsizetype(kMaxGroupDepth)) {
        NullSink dry;
        if (!RtfReader(rtf, defaultFont, dry).read(start))
            return false;
    }
    RtfReader(rtf, defaultFont, sink).read(start);
    return true;
}

std::optional<RichContent> ReadRtf(const QString& rtf, const QFont& defaultFont)
{
    ContentSink sink;
    if (!ReadRtf(QStringView(rtf), defaultFont, sink))
        return std::nullopt;
    return sink.take();
}

std::optional<RichContent> ReadRtf(const QByteArray& rtf, const QFont& defaultFont)
{
    if (rtf.size() > kMaxRtfBytes)
        return std::nullopt;
    return ReadRtf(QString::fromLatin1(rtf), defaultFont);
}

} // namespace tunvale::platform
