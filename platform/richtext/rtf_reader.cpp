#include "platform/richtext/rtf_reader.h"

#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/rtf_code_page.h"

#include <QSet>

#include <algorithm>
#include <limits>

#include <map>
#include <utility>
#include <vector>

namespace tunvale::platform {

namespace {

enum class Destination { Body, FontTable, ColorTable, Skip };

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

// Destinations whose text is not document text, written without "\*" by older writers.
const QSet<QString>& skippedDestinations()
{
    static const QSet<QString> names = {
        QStringLiteral("stylesheet"),
        QStringLiteral("info"),
        QStringLiteral("pict"),
        QStringLiteral("object"),
        QStringLiteral("header"),
        QStringLiteral("headerl"),
        QStringLiteral("headerr"),
        QStringLiteral("headerf"),
        QStringLiteral("footer"),
        QStringLiteral("footerl"),
        QStringLiteral("footerr"),
        QStringLiteral("footerf"),
        QStringLiteral("footnote"),
        QStringLiteral("annotation"),
        QStringLiteral("fldinst"),
        QStringLiteral("pntext"),
        QStringLiteral("pntxta"),
        QStringLiteral("pntxtb"),
        QStringLiteral("listtext"),
        QStringLiteral("nonshppict"),
        QStringLiteral("shp"),
        QStringLiteral("listtable"),
        QStringLiteral("listoverridetable"),
        QStringLiteral("revtbl"),
        QStringLiteral("rsidtbl"),
        QStringLiteral("xe"),
        QStringLiteral("tc"),
        QStringLiteral("template"),
        QStringLiteral("author"),
        QStringLiteral("operator"),
        QStringLiteral("title"),
        QStringLiteral("subject"),
        QStringLiteral("keywords"),
        QStringLiteral("comment"),
        QStringLiteral("doccomm"),
        QStringLiteral("creatim"),
        QStringLiteral("revtim"),
        QStringLiteral("printim"),
        QStringLiteral("buptim"),
    };
    return names;
}

constexpr size_t kMaxGroupDepth = 1000;

class RtfReader
{
public:
    RtfReader(QString rtf, const QFont& defaultFont)
        : in_(std::move(rtf))
    {
        defaultFamily_ = defaultFont.family();
        state_.format.font = defaultFamily_;
        const qreal points = defaultFont.pointSizeF();
        state_.format.halfPoints = points > 0 ? qRound(points * 2) : 24;
        plain_ = state_.format;
    }

    std::optional<RichContent> read()
    {
        int i = 0;
        while (i < in_.size() && in_[i].isSpace())
            ++i;
        if (!in_.mid(i, 5).startsWith(QLatin1String("{\\rtf")))
            return std::nullopt;
        content_.emplace_back();
        pos_ = i;
        while (pos_ < in_.size() && !finished_)
            step();
        if (tooDeep_)
            return std::nullopt;
        flushBytes();
        finish();
        return std::move(content_);
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
        ++pos_;
        if (c == u'\r' || c == u'\n')
            return;
        if (skipUnit())
            return;
        if (c.unicode() >= 0x80 && c.unicode() <= 0xff && state_.destination != Destination::Skip)
            bytes_ += char(c.unicode());
        else
            text(QString(c));
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
        const int start = pos_;
        while (pos_ < in_.size() && isAsciiLetter(in_[pos_]))
            ++pos_;
        const QString name = in_.mid(start, pos_ - start);
        bool hasValue = false;
        int value = 0;
        if (pos_ < in_.size() && (in_[pos_] == u'-' || isAsciiDigit(in_[pos_])))
            value = parameter(hasValue);
        if (pos_ < in_.size() && in_[pos_] == u' ')
            ++pos_;
        // Raw bytes (a picture's, say) that may hold braces and backslashes of their own.
        if (name == QLatin1String("bin") && hasValue) {
            flushBytes();
            pos_ += std::clamp(value, 0, int(in_.size()) - pos_);
            return;
        }
        if (name == QLatin1String("u") && hasValue) {
            flushBytes();
            if (skipUnit())
                return;
            const int unit = value < 0 ? value + 65536 : value;
            text(QString(
                unit >= 0 && unit <= 0xffff ? QChar(char16_t(unit)) : QChar(QChar::ReplacementCharacter)));
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

    static bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
    static bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
    static bool isHexDigit(QChar c)
    {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    }

    void controlSymbol(QChar c)
    {
        switch (c.unicode()) {
        case u'\'': {
            int digits = 0;
            while (digits < 2 && pos_ + digits < in_.size() && isHexDigit(in_[pos_ + digits]))
                ++digits;
            const int value = in_.mid(pos_, digits).toInt(nullptr, 16);
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
                text(QString(c));
            return;
        case u'~':
            text(QString(QChar(0x00a0)));
            return;
        case u'_':
            text(QStringLiteral("-"));
            return;
        case u'\r':
        case u'\n':
            paragraphBreak();
            return;
        default:
            return;
        }
    }

    void word(const QString& name, bool hasValue, int value)
    {
        if (state_.destination == Destination::Skip)
            return;
        if (name == QLatin1String("fonttbl")) {
            state_.destination = Destination::FontTable;
            entry_ = {};
            return;
        }
        if (name == QLatin1String("colortbl")) {
            state_.destination = Destination::ColorTable;
            return;
        }
        if (skippedDestinations().contains(name)) {
            flushBytes();
            state_.destination = Destination::Skip;
            return;
        }
        if (state_.destination == Destination::FontTable) {
            fontTableWord(name, value);
            return;
        }
        if (state_.destination == Destination::ColorTable) {
            if (name == QLatin1String("red"))
                red_ = value;
            else if (name == QLatin1String("green"))
                green_ = value;
            else if (name == QLatin1String("blue"))
                blue_ = value;
            else
                return;
            colorSet_ = true;
            return;
        }
        bodyWord(name, hasValue, value);
    }

    void fontTableWord(const QString& name, int value)
    {
        if (name == QLatin1String("f")) {
            flushBytes();
            if (entry_.number >= 0)
                storeFontEntry();
            entry_ = {};
            entry_.number = value;
        } else if (name == QLatin1String("fcharset")) {
            entry_.font.charset = value;
        }
    }

    void bodyWord(const QString& name, bool hasValue, int value)
    {
        flushBytes();
        RunFormat& f = state_.format;
        ParagraphFormat& p = state_.paragraph;
        const bool on = !hasValue || value != 0;
        if (name == QLatin1String("par") || name == QLatin1String("line") || name == QLatin1String("row")) {
            paragraphBreak();
        } else if (name == QLatin1String("f")) {
            state_.fontNumber = value;
            const auto it = fonts_.find(value);
            if (it != fonts_.end())
                f.font = it->second.name;
        } else if (name == QLatin1String("fs")) {
            if (value > 0)
                f.halfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
        } else if (name == QLatin1String("b")) {
            f.bold = on;
        } else if (name == QLatin1String("ul") || name == QLatin1String("uld")
            || name == QLatin1String("uldb") || name == QLatin1String("ulw")
            || name == QLatin1String("ulth")) {
            f.underline = on;
        } else if (name == QLatin1String("ulnone")) {
            f.underline = false;
        } else if (name == QLatin1String("cf")) {
            f.color = colorAt(value);
        } else if (name == QLatin1String("highlight") || name == QLatin1String("cb")
            || name == QLatin1String("chcbpat")) {
            f.highlight = colorAt(value);
        } else if (name == QLatin1String("up")) {
            f.offset = std::clamp(hasValue ? value : 6, 0, kMaxHalfPoints);
        } else if (name == QLatin1String("dn")) {
            f.offset = -std::clamp(hasValue ? value : 6, 0, kMaxHalfPoints);
        } else if (name == QLatin1String("plain")) {
            f = plain_;
            state_.fontNumber = defaultFontNumber_;
        } else if (name == QLatin1String("pard")) {
            p = {};
        } else if (name == QLatin1String("li")) {
            p.leftIndent = std::clamp(value, -kMaxTwips, kMaxTwips);
        } else if (name == QLatin1String("ri")) {
            p.rightIndent = std::clamp(value, -kMaxTwips, kMaxTwips);
        } else if (name == QLatin1String("sl")) {
            // Negative: exactly that many twips; positive ("at least") and 0 are single spacing here.
            p.lineSpacing = value < 0 ? std::min(-value, kMaxTwips) : 0;
        } else if (name == QLatin1String("uc")) {
            state_.unicodeSkip = value;
        } else if (name == QLatin1String("ansicpg")) {
            ansiCodePage_ = value;
        } else if (name == QLatin1String("deff")) {
            defaultFontNumber_ = value;
        } else if (name == QLatin1String("tab") || name == QLatin1String("cell")) {
            text(QStringLiteral("\t"));
        } else if (name == QLatin1String("emdash")) {
            text(QString(QChar(0x2014)));
        } else if (name == QLatin1String("endash")) {
            text(QString(QChar(0x2013)));
        } else if (name == QLatin1String("bullet")) {
            text(QString(QChar(0x2022)));
        } else if (name == QLatin1String("lquote")) {
            text(QString(QChar(0x2018)));
        } else if (name == QLatin1String("rquote")) {
            text(QString(QChar(0x2019)));
        } else if (name == QLatin1String("ldblquote")) {
            text(QString(QChar(0x201c)));
        } else if (name == QLatin1String("rdblquote")) {
            text(QString(QChar(0x201d)));
        }
    }

    // Text the document may hold: no NUL, CR or LF (breaks are \par), no objects, and a line or
    // paragraph separator is a paragraph break.
    void appendBody(const QString& t)
    {
        qsizetype from = 0;
        auto flush = [&](qsizetype to) {
            if (to <= from)
                return;
            std::vector<TextRun>& runs = content_.back().runs;
            content_.back().format = state_.paragraph;
            const QString piece = t.mid(from, to - from);
            if (!runs.empty() && runs.back().format == state_.format)
                runs.back().text += piece;
            else
                runs.push_back({ state_.format, piece });
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
        const QByteArray bytes = std::exchange(bytes_, {});
        append(DecodeCodePage(bytes, codePage()));
    }

    void text(const QString& t)
    {
        flushBytes();
        append(t);
    }

    void append(const QString& t)
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

    void paragraphBreak()
    {
        if (state_.destination != Destination::Body)
            return;
        flushBytes();
        RichParagraph& current = content_.back();
        current.format = state_.paragraph;
        current.mark = state_.format;
        content_.emplace_back();
        content_.back().format = state_.paragraph;
    }

    // A final \par ends the last paragraph rather than opening an empty one; a last paragraph
    // without \par takes the format in force at the end as its mark.
    void finish()
    {
        if (content_.size() > 1 && content_.back().runs.empty()) {
            content_.pop_back();
            return;
        }
        content_.back().mark = endFormat_ ? *endFormat_ : state_.format;
    }

    struct PendingEntry {
        int number = -1;
        FontEntry font;
    };

    QString in_;
    QString defaultFamily_;
    int pos_ = 0;
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
    int skip_ = 0;
    std::optional<RunFormat> endFormat_;
    RichContent content_;
};

} // namespace

std::optional<RichContent> ReadRtf(const QString& rtf, const QFont& defaultFont)
{
    if (rtf.size() > kMaxRtfBytes)
        return std::nullopt;
    return RtfReader(rtf, defaultFont).read();
}

std::optional<RichContent> ReadRtf(const QByteArray& rtf, const QFont& defaultFont)
{
    if (rtf.size() > kMaxRtfBytes)
        return std::nullopt;
    return ReadRtf(QString::fromLatin1(rtf), defaultFont);
}

} // namespace tunvale::platform
