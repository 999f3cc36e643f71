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

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <optional>

namespace tunvale::platform {

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// An object (an image put into a view by other means) has no place in a score's text.
bool isObject(QChar c) { return c == QChar::ObjectReplacementCharacter; }

// A reader ends a font table entry at ";" and trims the name, and a name cannot be empty: a name
// that breaks these is written as it reads back.
QString tableName(QString name)
{
    name.removeIf([](QChar c) { return c == u';' || !IsFontNameCharacter(c); });
    name = name.trimmed();
    return name.isEmpty() ? DefaultTextFont().family() : name;
}

// A format as it reads back: every value within what a score holds.
RunFormat storable(const RunFormat& format)
{
    RunFormat f = Clamped(format);
    f.font = tableName(f.font);
    return f;
}

// Writes one document in two passes over its paragraphs: the first collects the font and colour
// tables (collect), the second writes the body (paragraph, run, paragraphEnd). Formats come in as
// they read back (storable), texts without objects.
class RtfWriter
{
public:
    void collect(const RunFormat& f, QStringView text)
    {
        const int font = addFormat(f);
        if (!isAscii(text))
            chineseFont_[size_t(font)] = true;
    }
    void collectMark(const RunFormat& f) { addFormat(f); }

    void begin()
    {
        out_.reserve(4096);
        out_ += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
        for (size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset"
                + QByteArray::number(chineseFont_[i] ? 134 : 0) + ' ';
            writeText(fonts_[i]);
            out_ += ";}";
        }
        out_ += "}\r\n{\\colortbl ;";
        for (QRgb c : colors_) {
            out_ += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c))
                + "\\blue" + QByteArray::number(qBlue(c)) + ';';
        }
        out_ += "}\r\n";
        word("viewkind4");
        word("uc1");
    }

    void paragraph(const ParagraphFormat& format)
    {
        if (!previous_ || !(*previous_ == format))
            writeParagraphFormat(format);
        previous_ = format;
    }

    void run(const RunFormat& f, QStringView text)
    {
        switchTo(f);
        writeText(text);
    }

    void paragraphEnd(const RunFormat& mark)
    {
        switchTo(mark);
        out_ += "\\par\r\n";
        pendingDelimiter_ = false;
    }

    QByteArray end()
    {
        out_ += "}\r\n";
        return std::move(out_);
    }

    // The colour table collected so far: entry i is colour number i + 1.
    const std::vector<QRgb>& colors() const { return colors_; }

private:
    int addFormat(const RunFormat& f)
    {
        const int font = addFont(f.font);
        addColor(f.color);
        addColor(f.highlight);
        return font;
    }

    int addFont(const QString& name)
    {
        const int index = fontIndex(name);
        if (index == int(fonts_.size())) {
            fonts_.push_back(name);
            chineseFont_.push_back(!isAscii(name));
        }
        return index;
    }

    void addColor(const std::optional<QRgb>& c)
    {
        if (c && std::find(colors_.begin(), colors_.end(), *c) == colors_.end())
            colors_.push_back(*c);
    }

    int fontIndex(const QString& name) const
    {
        return int(std::find(fonts_.begin(), fonts_.end(), name) - fonts_.begin());
    }

    int colorIndex(const std::optional<QRgb>& c) const
    {
        return c ? int(std::find(colors_.begin(), colors_.end(), *c) - colors_.begin()) + 1 : 0;
    }

    void word(const char* name)
    {
        delimit('\\');
        out_ += '\\';
        out_ += name;
        pendingDelimiter_ = true;
    }

    void word(const char* name, int value)
    {
        word(name);
        out_ += QByteArray::number(value);
    }

    // Ends a pending control word before `next` is written.
    void delimit(char16_t next)
    {
        if (pendingDelimiter_ && next != u'\\')
            out_ += ' ';
        pendingDelimiter_ = false;
    }

    void writeParagraphFormat(const ParagraphFormat& format)
    {
        word("pard");
        if (format.leftIndent != 0)
            word("li", format.leftIndent);
        if (format.rightIndent != 0)
            word("ri", format.rightIndent);
        if (format.lineSpacing > 0) {
            word("sl", -format.lineSpacing);
            word("slmult0");
        }
    }

    void switchTo(const RunFormat& f)
    {
        // The first font switch is written even for font 0: the transposer finds the body's runs
        // by their "\fN".
        if (f.font != state_.font || !fontWritten_) {
            word("f", fontIndex(f.font));
            fontWritten_ = true;
        }
        if (f.halfPoints != state_.halfPoints)
            word("fs", f.halfPoints);
        if (f.color != state_.color)
            word("cf", colorIndex(f.color));
        if (f.highlight != state_.highlight)
            word("highlight", colorIndex(f.highlight));
        if (f.bold != state_.bold)
            word(f.bold ? "b" : "b0");
        if (f.underline != state_.underline)
            word(f.underline ? "ul" : "ulnone");
        if (f.offset != state_.offset) {
            if (f.offset > 0)
                word("up", f.offset);
            else if (f.offset < 0)
                word("dn", -f.offset);
            else
                word("up", 0);
        }
        state_ = f;
    }

    void writeText(QStringView text)
    {
        for (QChar c : text) {
            const char16_t u = c.unicode();
            char bytes[2];
            if (u == u'\\' || u == u'{' || u == u'}') {
                delimit(u);
                out_ += '\\';
                out_ += char(u);
            } else if (u == u'\t') {
                word("tab");
            } else if (u >= 0x20 && u < 0x7f) {
                delimit(u);
                out_ += char(u);
            } else if (u < 0x20 || u == 0x7f) {
                bytes[0] = char(u);
                writeBytes(bytes, 1);
            } else if (isObject(c)) {
                continue;
            } else if (const int n = Cp936Bytes(u, bytes); n > 0) {
                writeBytes(bytes, n);
            } else {
                word("u", qint16(u));
                out_ += '?';
                pendingDelimiter_ = false;
            }
        }
    }

    void writeBytes(const char* bytes, int count)
    {
        static const char digits[] = "0123456789abcdef";
        delimit(u'\\');
        for (int i = 0; i < count; ++i) {
            const auto v = quint8(bytes[i]);
            const char escape[4] = { '\\', '\'', digits[v >> 4], digits[v & 15] };
            out_.append(escape, 4);
        }
    }

    std::vector<QString> fonts_;
    std::vector<bool> chineseFont_;
    std::vector<QRgb> colors_;
    QByteArray out_;
    RunFormat state_;
    std::optional<ParagraphFormat> previous_;
    bool fontWritten_ = false;
    bool pendingDelimiter_ = false;
};

// The text of a run without objects; empty when nothing else is in it.
QString withoutObjects(QStringView text)
{
    QString t = text.toString();
    t.removeIf(isObject);
    return t;
}

// A writer that has collected the tables of the content.
RtfWriter collectTables(const RichContent& content)
{
    RtfWriter writer;
    for (const RichParagraph& paragraph : content) {
        for (const TextRun& run : paragraph.runs)
            writer.collect(storable(run.format), run.text);
        writer.collectMark(storable(paragraph.mark));
    }
    return writer;
}

QByteArray writeContent(const RichContent& content)
{
    RtfWriter writer = collectTables(content);
    writer.begin();
    for (const RichParagraph& paragraph : content) {
        writer.paragraph(Clamped(paragraph.format));
        for (const TextRun& run : paragraph.runs)
            writer.run(storable(run.format), run.text);
        writer.paragraphEnd(storable(paragraph.mark));
    }
    return writer.end();
}

// The document's formats as they read back, each converted once.
class StoredFormats
{
public:
    explicit StoredFormats(const QTextDocument& document)
        : document_(document)
        , defaultFont_(document.defaultFont())
    {
    }

    const RunFormat& character(int index)
    {
        if (index < 0)
            index = 0;
        if (size_t(index) >= chars_.size())
            chars_.resize(size_t(index) + 1);
        std::optional<RunFormat>& f = chars_[size_t(index)];
        if (!f)
            f = storable(ToRunFormat(document_.allFormats().value(index).toCharFormat(), defaultFont_));
        return *f;
    }

    const ParagraphFormat& paragraph(int index)
    {
        if (index < 0)
            index = 0;
        if (size_t(index) >= blocks_.size())
            blocks_.resize(size_t(index) + 1);
        std::optional<ParagraphFormat>& f = blocks_[size_t(index)];
        if (!f)
            f = Clamped(ToParagraphFormat(document_.allFormats().value(index).toBlockFormat()));
        return *f;
    }

    // The mark of the last block, which Qt keeps outside the text.
    const RunFormat& lastMark()
    {
        if (!lastMark_)
            lastMark_ = storable(ToRunFormat(MarkFormat(document_.lastBlock()), defaultFont_));
        return *lastMark_;
    }

private:
    const QTextDocument& document_;
    const QFont defaultFont_;
    std::vector<std::optional<RunFormat>> chars_;
    std::vector<std::optional<ParagraphFormat>> blocks_;
    std::optional<RunFormat> lastMark_;
};

} // namespace

RichContent AsReadBack(RichContent content)
{
    for (RichParagraph& paragraph : content) {
        paragraph.format = Clamped(paragraph.format);
        paragraph.mark = storable(paragraph.mark);
        std::vector<TextRun> runs;
        runs.reserve(paragraph.runs.size());
        for (TextRun& run : paragraph.runs) {
            run.format = storable(run.format);
            run.text.removeIf(isObject);
            if (run.text.isEmpty())
                continue;
            if (!runs.empty() && runs.back().format == run.format)
                runs.back().text += run.text;
            else
                runs.push_back(std::move(run));
        }
        paragraph.runs = std::move(runs);
    }
    return content;
}

QString WriteRtf(const RichContent& content) { return QString::fromLatin1(writeContent(content)); }

QByteArray WriteRtfBytes(const QTextDocument& document)
{
    // The document's text in one piece, read by fragment positions: no copy per fragment.
    const QString raw = document.toRawText();
    StoredFormats formats(document);
    auto mark = [&](const QTextBlock& block) -> const RunFormat& {
        const QTextBlock next = block.next();
        return next.isValid() ? formats.character(next.charFormatIndex()) : formats.lastMark();
    };
    auto forEachRun = [&](const QTextBlock& block, const auto& take) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QStringView text = QStringView(raw).mid(fragment.position(), fragment.length());
            if (std::all_of(text.begin(), text.end(), isObject))
                continue;
            if (std::any_of(text.begin(), text.end(), isObject))
                take(formats.character(fragment.charFormatIndex()), QStringView(withoutObjects(text)));
            else
                take(formats.character(fragment.charFormatIndex()), text);
        }
    };

    RtfWriter writer;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        forEachRun(block, [&](const RunFormat& f, QStringView text) { writer.collect(f, text); });
        writer.collectMark(mark(block));
    }
    writer.begin();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        writer.paragraph(formats.paragraph(block.blockFormatIndex()));
        forEachRun(block, [&](const RunFormat& f, QStringView text) { writer.run(f, text); });
        writer.paragraphEnd(mark(block));
    }
    return writer.end();
}

QString WriteRtf(const QTextDocument& document) { return QString::fromLatin1(WriteRtfBytes(document)); }

std::vector<QRgb> RtfColorTable(const RichContent& content) { return collectTables(content).colors(); }

} // namespace tunvale::platform
