// The RTF dialect we write. Score files store it and the transposer rewrites it as text, finding the
// font table and the font switches by searching, so every rule below is a contract:
//
//   {\rtf1\ansi\ansicpg936\deff0\deflang1033\deflangfe2052
//   {\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fnil\fcharset0 KORVA_Note;}}\r\n
//   {\colortbl ;\red255\green0\blue0;}\r\n
//   \viewkind4\uc1 BODY}\r\n
//
// - Fonts are numbered 0, 1, 2 ... in order of first use (runs and paragraph marks in text order);
//   every entry is "{\fN\fnil\fcharsetC NAME;}", C being 134 for a font whose name or text holds
//   characters beyond ASCII and 0 otherwise. No entry holds any other group. A name holds no ";"
//   and no control character and has no space at either end.
// - Sizes are 2 to 3276 half points, offsets at most 3276 half points, indents and line spacing at
//   most 31680 twips; larger values are written as the limit.
// - Colour table entry 0 is the automatic colour; text and highlight colours follow in order of
//   first use.
// - The body is one paragraph after the other. A paragraph whose format differs from the one
//   before (and always the first) opens with "\pard" followed by \liN and \riN (twips) when not 0
//   and by "\sl-N\slmult0" for an exact line spacing of N twips.
// - A run writes only the character properties that differ from those in force: \fN, \fsN (half
//   points), \cfN, \highlightN, \b / \b0, \ul / \ulnone, \upN / \dnN / \up0 (half points). The
//   state before the body is \fs24, \cf0, \highlight0, no bold, no underline, no offset; the
//   first run always writes its \fN, font 0 included, so every run of text follows a font switch.
// - Every paragraph ends with "\par\r\n", written with its mark's format in force; the last
//   paragraph too, so an empty paragraph keeps the format of its mark.
// - A control word is followed by a space unless the next character written is a backslash
//   (the "\r\n" after \par and the "?" after \uN excepted); so "\fN" is always followed by a
//   space or a backslash.
// - Text: printable ASCII as it is, "\\", "\{", "\}" escaped, a tab as \tab; other control
//   characters and every other character that code page 936 holds as its bytes in lower-case "\'xx"
//   escapes ("\'10", "\'d2\'bb"); the rest as "\uN?" with N the signed 16-bit UTF-16 unit.
#include "platform/richtext/rtf_writer.h"

#include "platform/richtext/rtf_code_page.h"

#include <QTextDocument>

#include <algorithm>

namespace tunvale::platform {

namespace {

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// A reader ends a font table entry at ";" and trims the name, and a name cannot be empty: a name
// that breaks these is written as it reads back.
QString tableName(QString name)
{
    name.removeIf([](QChar c) { return c == u';' || !IsFontNameCharacter(c); });
    name = name.trimmed();
    return name.isEmpty() ? DefaultTextFont().family() : name;
}

RunFormat storable(const RunFormat& format)
{
    RunFormat f = Clamped(format);
    f.font = tableName(f.font);
    return f;
}

// The content as it reads back: every value within what a score holds.
RichContent storable(const RichContent& content)
{
    RichContent out = content;
    for (RichParagraph& paragraph : out) {
        paragraph.format = Clamped(paragraph.format);
        for (TextRun& run : paragraph.runs)
            run.format = storable(run.format);
        paragraph.mark = storable(paragraph.mark);
    }
    return out;
}

class RtfWriter
{
public:
    explicit RtfWriter(const RichContent& content)
        : content_(storable(content))
    {
        collectTables();
    }

    QString write()
    {
        out_.reserve(4096);
        out_ += QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl");
        for (size_t i = 0; i < fonts_.size(); ++i) {
            out_ += QStringLiteral("{\\f%1\\fnil\\fcharset%2 ").arg(i).arg(chineseFont_[i] ? 134 : 0);
            writeText(fonts_[i]);
            out_ += QStringLiteral(";}");
        }
        out_ += QStringLiteral("}\r\n{\\colortbl ;");
        for (QRgb c : colors_)
            out_ += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
        out_ += QStringLiteral("}\r\n");
        word(QStringLiteral("viewkind4"));
        word(QStringLiteral("uc1"));

        const ParagraphFormat* previous = nullptr;
        for (const RichParagraph& paragraph : content_) {
            if (!previous || !(*previous == paragraph.format))
                writeParagraphFormat(paragraph.format);
            previous = &paragraph.format;
            for (const TextRun& run : paragraph.runs) {
                switchTo(run.format);
                writeText(run.text);
            }
            switchTo(paragraph.mark);
            out_ += QStringLiteral("\\par\r\n");
            pendingDelimiter_ = false;
        }
        out_ += QStringLiteral("}\r\n");
        return out_;
    }

private:
    void collectTables()
    {
        auto addFont = [this](const QString& name) {
            if (std::find(fonts_.begin(), fonts_.end(), name) == fonts_.end()) {
                fonts_.push_back(name);
                chineseFont_.push_back(!isAscii(name));
            }
        };
        for (const RichParagraph& paragraph : content_) {
            for (const TextRun& run : paragraph.runs) {
                addFont(run.format.font);
                if (!isAscii(run.text))
                    chineseFont_[fontIndex(run.format.font)] = true;
            }
            addFont(paragraph.mark.font);
        }
        colors_ = RtfColorTable(content_);
    }

    int fontIndex(const QString& name) const
    {
        return int(std::find(fonts_.begin(), fonts_.end(), name) - fonts_.begin());
    }

    int colorIndex(const std::optional<QRgb>& c) const
    {
        return c ? int(std::find(colors_.begin(), colors_.end(), *c) - colors_.begin()) + 1 : 0;
    }

    void word(const QString& name)
    {
        delimit('\\');
        out_ += u'\\';
        out_ += name;
        pendingDelimiter_ = true;
    }

    void word(const QString& name, int value)
    {
        word(name);
        out_ += QString::number(value);
    }

    // Ends a pending control word before `next` is written.
    void delimit(char16_t next)
    {
        if (pendingDelimiter_ && next != u'\\')
            out_ += u' ';
        pendingDelimiter_ = false;
    }

    void writeParagraphFormat(const ParagraphFormat& format)
    {
        word(QStringLiteral("pard"));
        if (format.leftIndent != 0)
            word(QStringLiteral("li"), format.leftIndent);
        if (format.rightIndent != 0)
            word(QStringLiteral("ri"), format.rightIndent);
        if (format.lineSpacing > 0) {
            word(QStringLiteral("sl"), -format.lineSpacing);
            word(QStringLiteral("slmult0"));
        }
    }

    void switchTo(const RunFormat& f)
    {
        // The first font switch is written even for font 0: the transposer finds the body's runs
        // by their "\fN".
        if (f.font != state_.font || !fontWritten_) {
            word(QStringLiteral("f"), fontIndex(f.font));
            fontWritten_ = true;
        }
        if (f.halfPoints != state_.halfPoints)
            word(QStringLiteral("fs"), f.halfPoints);
        if (f.color != state_.color)
            word(QStringLiteral("cf"), colorIndex(f.color));
        if (f.highlight != state_.highlight)
            word(QStringLiteral("highlight"), colorIndex(f.highlight));
        if (f.bold != state_.bold)
            word(f.bold ? QStringLiteral("b") : QStringLiteral("b0"));
        if (f.underline != state_.underline)
            word(f.underline ? QStringLiteral("ul") : QStringLiteral("ulnone"));
        if (f.offset != state_.offset) {
            if (f.offset > 0)
                word(QStringLiteral("up"), f.offset);
            else if (f.offset < 0)
                word(QStringLiteral("dn"), -f.offset);
            else
                word(QStringLiteral("up"), 0);
        }
        state_ = f;
    }

    void writeText(const QString& text)
    {
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                delimit(u);
                out_ += u'\\';
                out_ += c;
            } else if (u == u'\t') {
                word(QStringLiteral("tab"));
            } else if (u >= 0x20 && u < 0x7f) {
                delimit(u);
                out_ += c;
            } else if (u < 0x20 || u == 0x7f) {
                writeBytes(QByteArray(1, char(u)));
            } else if (const QByteArray bytes = Cp936Bytes(c); !bytes.isEmpty()) {
                writeBytes(bytes);
            } else {
                word(QStringLiteral("u"), qint16(u));
                out_ += u'?';
                pendingDelimiter_ = false;
            }
        }
    }

    void writeBytes(const QByteArray& bytes)
    {
        static const char digits[] = "0123456789abcdef";
        delimit(u'\\');
        for (char b : bytes) {
            const auto v = quint8(b);
            out_ += QLatin1String("\\'");
            out_ += QLatin1Char(digits[v >> 4]);
            out_ += QLatin1Char(digits[v & 15]);
        }
    }

    const RichContent content_;
    std::vector<QString> fonts_;
    std::vector<bool> chineseFont_;
    std::vector<QRgb> colors_;
    QString out_;
    RunFormat state_;
    bool fontWritten_ = false;
    bool pendingDelimiter_ = false;
};

} // namespace

QString WriteRtf(const RichContent& content) { return RtfWriter(content).write(); }

QString WriteRtf(const QTextDocument& document) { return WriteRtf(ExtractContent(document)); }

std::vector<QRgb> RtfColorTable(const RichContent& content)
{
    std::vector<QRgb> colors;
    auto add = [&](const std::optional<QRgb>& c) {
        if (c && std::find(colors.begin(), colors.end(), *c) == colors.end())
            colors.push_back(*c);
    };
    for (const RichParagraph& paragraph : content) {
        for (const TextRun& run : paragraph.runs) {
            add(run.format.color);
            add(run.format.highlight);
        }
        add(paragraph.mark.color);
        add(paragraph.mark.highlight);
    }
    return colors;
}

} // namespace tunvale::platform
