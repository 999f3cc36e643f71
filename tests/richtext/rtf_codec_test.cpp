#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"
#include "tests/support/test_folders.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

std::string s(const QString& text) { return text.toStdString(); }

RunFormat fmt(const QString& font, int halfPoints = 64)
{
    RunFormat f;
    f.font = font;
    f.halfPoints = halfPoints;
    return f;
}

RichParagraph para(std::vector<TextRun> runs, RunFormat mark, ParagraphFormat format = {})
{
    return { format, std::move(runs), std::move(mark) };
}

RichContent read(const QString& rtf)
{
    const std::optional<RichContent> content = ReadRtf(rtf, DefaultTextFont());
    EXPECT_TRUE(content.has_value());
    return content.value_or(RichContent {});
}

} // namespace

TEST(RtfCodec, WritesTheDialectHeaderAndTables)
{
    RunFormat red = fmt(kNote);
    red.color = qRgb(255, 0, 0);
    const RichContent content
        = { para({ { fmt(kSong, 24), QStringLiteral("歌") }, { red, QStringLiteral("一") } }, fmt(kNote)) };
    const QString rtf = WriteRtf(content);
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
                                              "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                                              "{\\f1\\fnil\\fcharset134 KORVA_Note;}}\r\n"
                                              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n")))
        << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\f0\\'b8\\'e8\\f1\\fs64\\cf1\\'d2\\'bb\\cf0\\par\r\n}")))
        << rtf.toStdString();
}

TEST(RtfCodec, EveryDocumentRoundTripsOnTheSecondWrite)
{
    RunFormat all = fmt(QStringLiteral("KORVA_Note_yy2"), 33);
    all.bold = true;
    all.underline = true;
    all.color = qRgb(1, 2, 3);
    all.highlight = qRgb(250, 250, 0);
    all.offset = -4;
    RunFormat up = fmt(QStringLiteral("KORVA_Note_Symbol"), 40);
    up.offset = 6;
    const std::vector<RichContent> cases = {
        { para({}, fmt(kSong, 24)) },
        { para({}, fmt(kNote)) },
        { para({ { fmt(kSong, 24), QStringLiteral("a\\b{c}\td 😀 é\x10\x13") } }, fmt(kSong, 24)) },
        { para({ { fmt(kNote), QStringLiteral("\u4e00\u504c\u6352") }, { all, QStringLiteral("x") } },
              fmt(kNote), { 720, 360, 500 }),
            para({}, fmt(kSong, 24)), para({ { up, QStringLiteral(" lead") } }, all, { 0, 0, 300 }),
            para({}, up) },
    };
    for (const RichContent& content : cases) {
        const QString first = WriteRtf(content);
        const RichContent back = read(first);
        EXPECT_EQ(back, content) << first.toStdString();
        EXPECT_EQ(WriteRtf(back).toStdString(), first.toStdString());
        QTextDocument doc;
        SetContent(doc, back);
        EXPECT_EQ(WriteRtf(doc).toStdString(), first.toStdString());
    }
}

namespace {

// The characters of a content with the font of each, paragraphs joined by "\r\n".
std::vector<std::pair<QString, QString>> charactersAndFonts(const RichContent& content)
{
    std::vector<std::pair<QString, QString>> out;
    for (size_t p = 0; p < content.size(); ++p) {
        if (p > 0)
            out.emplace_back(QStringLiteral("\r\n"), QString());
        for (const TextRun& run : content[p].runs)
            for (QChar c : run.text)
                out.emplace_back(QString(c), run.format.font);
    }
    return out;
}

} // namespace

TEST(RtfCodec, CorpusRoundTripsByteForByteOnTheSecondWrite)
{
    for (const char* name : { "score_features.rtf", "classic_rich_edit.rtf", "libreoffice_writer.rtf" }) {
        const QByteArray original = tunvale::testing::readAll(
            tunvale::testing::testDataPath(QStringLiteral("rtf/%1").arg(QLatin1String(name))));
        ASSERT_FALSE(original.isEmpty()) << name;
        const std::optional<RichContent> content = ReadRtf(original, DefaultTextFont());
        ASSERT_TRUE(content) << name;
        const QString first = WriteRtf(*content);
        const RichContent back = read(first);
        EXPECT_EQ(back, *content) << name;
        EXPECT_EQ(WriteRtf(back).toStdString(), first.toStdString()) << name;
    }
}

TEST(RtfCodec, OtherEditorsRtfReadsIntoTheSameCharactersAndFonts)
{
    auto load = [](const char* name) {
        const QByteArray bytes = tunvale::testing::readAll(
            tunvale::testing::testDataPath(QStringLiteral("rtf/%1").arg(QLatin1String(name))));
        return ReadRtf(bytes, DefaultTextFont()).value_or(RichContent {});
    };
    const RichContent classic = load("classic_rich_edit.rtf");
    const RichContent writer = load("libreoffice_writer.rtf");
    const auto expected = charactersAndFonts(classic);
    ASSERT_EQ(expected.size(), 22u);
    EXPECT_EQ(expected[0], std::make_pair(QStringLiteral("小"), kSong));
    EXPECT_EQ(expected[5], std::make_pair(QStringLiteral("\u4e00"), kNote));
    EXPECT_EQ(expected[6], std::make_pair(QStringLiteral("\u4e04"), kNote)); // trail byte 0x41 is "A"
    EXPECT_EQ(charactersAndFonts(writer), expected);
    EXPECT_EQ(classic[1].runs[0].format.halfPoints, 64);
}

TEST(RtfCodec, ReadsEscapesGroupsAndDestinationsOfOtherWriters)
{
    const QString table = QStringLiteral(
        R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;})"
        R"({\f1\fnil\fcharset134{\*\panose 02010600030101010101}\'cb\'ce\'cc\'e5{\*\falt SimSun};})"
        R"({\f2\fnil\fcharset1 KORVA_Note;}}{\colortbl;\red255\green0\blue0;})");
    struct Case {
        const char* body;
        QString text;
        QString lastFont;
    };
    const Case cases[] = {
        { R"(\f1\'d2\'bb})", QStringLiteral("一"), kSong }, // the font's charset
        { R"(\f2\'d2\'bb})", QStringLiteral("一"), kNote }, // default charset: the document's code page
        { R"(\f0\'e9})", QStringLiteral("é"), QStringLiteral("Arial") }, // charset 0: code page 1252
        { R"(\f2\u19968\'3f\uc2\u19969\'d2\'bb!})", QStringLiteral("一丁!"), kNote },
        { R"(\f2 a{\f1 b}c})", QStringLiteral("abc"), kNote }, // a group restores the font
        { R"({\*\unknown skipped {nested}}{\stylesheet{\s0 Normal;}}{\info{\title t}}x})",
            QStringLiteral("x"), QStringLiteral("Arial") },
        { R"({\field{\*\fldinst HYPERLINK x}{\fldrslt link}}})", QStringLiteral("link"),
            QStringLiteral("Arial") },
        { R"(a\line b\tab c\~\{\}\\})", QStringLiteral("a\r\nb\tc\u00a0{}\\"), QStringLiteral("Arial") },
        { R"(\f1 x\plain y})", QStringLiteral("xy"), QStringLiteral("Arial") },
        { R"(ab\par})", QStringLiteral("ab"), QStringLiteral("Arial") }, // a final \par adds no paragraph
        { R"(ab\par\par})", QStringLiteral("ab\r\n"), QStringLiteral("Arial") },
        { R"(\f2 \'d2)", QStringLiteral(""), kNote }, // cut off: what could be read
        // NUL, CR and objects dropped, a line separator breaks the paragraph
        { R"(a\'0d\'7\u65532?b\u8232?c})", QStringLiteral("ab\r\nc"), QStringLiteral("Arial") },
        // raw picture bytes after \bin may hold braces
        { R"(a{\pict\bin3 }}{}b})", QStringLiteral("ab"), QStringLiteral("Arial") },
    };
    for (const Case& c : cases) {
        const RichContent content = read(table + QLatin1String(c.body));
        QString text;
        QString lastFont;
        for (size_t p = 0; p < content.size(); ++p) {
            if (p > 0)
                text += QLatin1String("\r\n");
            for (const TextRun& run : content[p].runs) {
                text += run.text;
                lastFont = run.format.font;
            }
        }
        EXPECT_EQ(text.toStdString(), c.text.toStdString()) << c.body;
        if (!c.lastFont.isEmpty() && !text.isEmpty()) {
            EXPECT_EQ(lastFont.toStdString(), c.lastFont.toStdString()) << c.body;
        }
    }
    const RichContent huge = read(table + QLatin1String(R"(\fs999999\up99999\sl-999999 x})"));
    EXPECT_EQ(huge[0].runs[0].format.halfPoints, 3276);
    EXPECT_EQ(huge[0].runs[0].format.offset, 3276);
    EXPECT_EQ(huge[0].format.lineSpacing, 31680);
    EXPECT_FALSE(ReadRtf(QStringLiteral("just text"), DefaultTextFont()).has_value());
    EXPECT_FALSE(
        ReadRtf(QStringLiteral("{\\rtf1 ") + QString(100000, u'{') + u'x', DefaultTextFont()).has_value());
    EXPECT_TRUE(
        ReadRtf(QStringLiteral("{\\rtf1 ") + QString(50, u'{') + u'x' + QString(51, u'}'), DefaultTextFont())
            .has_value());

    // A font entry without a name is the default font; a broken escape before a wide character.
    const RichContent odd = read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 ;}}\\f0 a\\'\u4e00b}"));
    ASSERT_EQ(odd[0].runs.size(), 1u);
    EXPECT_EQ(s(odd[0].runs[0].text), s(QStringLiteral("a\u4e00b")));
    EXPECT_EQ(s(odd[0].runs[0].format.font), s(DefaultTextFont().family()));
}

// Values beyond what a score holds, and font names a font table cannot hold, are written as they
// read back, so the second write is the first.
TEST(RtfCodec, ValuesNoScoreHoldsAreWrittenAsTheyReadBack)
{
    RunFormat far = fmt(kNote, 99999);
    far.offset = -99999;
    const std::vector<RichContent> cases = {
        { para({ { far, QStringLiteral("x") } }, fmt(kNote, 0), { 100000, -100000, 99999 }) },
        { para({ { fmt(QStringLiteral(" padded ")), QStringLiteral("a") },
                   { fmt(QStringLiteral("semi;colon")), QStringLiteral("b") },
                   { fmt(QStringLiteral("tab\tname")), QStringLiteral("c") },
                   { fmt(QStringLiteral(";")), QStringLiteral("d") } },
            fmt(QStringLiteral("  "))) },
    };
    for (const RichContent& content : cases) {
        const QString first = WriteRtf(content);
        EXPECT_EQ(s(WriteRtf(read(first))), s(first));
    }
    const RichContent back = read(WriteRtf(cases[0]));
    EXPECT_EQ(back[0].runs[0].format.halfPoints, kMaxHalfPoints);
    EXPECT_EQ(back[0].runs[0].format.offset, -kMaxHalfPoints);
    EXPECT_EQ(back[0].format, (ParagraphFormat { kMaxTwips, -kMaxTwips, kMaxTwips }));
    EXPECT_EQ(back[0].mark.halfPoints, kMinHalfPoints);
}

// Every parameter is read within the 32-bit range, whatever its digits, so no arithmetic on it can
// overflow; what it sets is kept to a score's limits.
TEST(RtfCodec, ParametersOfAnyLengthReadWithinRange)
{
    // Every word the reader acts on, a destination it skips, and one it does not know.
    const QStringList words
        = { "ansicpg", "b", "bin", "blue", "bullet", "cb", "cell", "cf", "chcbpat", "colortbl", "deff", "dn",
              "emdash", "endash", "f", "fcharset", "fonttbl", "fs", "green", "highlight", "ldblquote", "li",
              "line", "lquote", "par", "pard", "plain", "rdblquote", "red", "ri", "row", "rquote", "sl",
              "tab", "u", "uc", "ul", "uld", "uldb", "ulnone", "ulth", "ulw", "up", "pict", "unknownword" };
    const QStringList parameters = { "-2147483648", "2147483647", "-2147483647", "2147483648",
        "-99999999999999999999999", "99999999999999999999999", "-", "000000000000000000000001" };
    for (const QString& word : words) {
        for (const QString& parameter : parameters) {
            const QString control = u'\\' + word + parameter;
            for (const QString& rtf :
                { QStringLiteral("{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;\\red1\\green2\\blue3;}\\f0%1 x}"),
                    QStringLiteral("{\\rtf1{\\fonttbl{\\f0%1 A;}}{\\colortbl;%1;}\\f0 x\\par y}") }) {
                const std::optional<RichContent> content = ReadRtf(rtf.arg(control), DefaultTextFont());
                ASSERT_TRUE(content.has_value()) << s(control);
                const QString first = WriteRtf(*content);
                EXPECT_EQ(s(WriteRtf(read(first))), s(first)) << s(control);
            }
        }
    }
    const auto formatOf
        = [](const QString& words) { return read(QStringLiteral("{\\rtf1 %1 x}").arg(words))[0].format; };
    EXPECT_EQ(formatOf(QStringLiteral("\\sl-2147483648")).lineSpacing, kMaxTwips);
    EXPECT_EQ(formatOf(QStringLiteral("\\sl-99999999999999")).lineSpacing, kMaxTwips);
    EXPECT_EQ(formatOf(QStringLiteral("\\li-2147483648\\ri99999999999")),
        (ParagraphFormat { -kMaxTwips, kMaxTwips, 0 }));
}

// The reader drops what the writer drops from a font name, so a name reads the same after a save: a
// notation font name followed by a control character is no notation font, before or after.
TEST(RtfCodec, FontNamesHoldNoControlCharacters)
{
    const RichContent content
        = read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 KORVA_Note\\'1b;}{\\f1 KORVA\x1b_Note\\'00;}{\\f2 "
                              "\x7f\\u133?;}}\\f0 a\\f1 b\\f2 c}"));
    ASSERT_EQ(content[0].runs.size(), 2u);
    EXPECT_EQ(s(content[0].runs[0].format.font), s(kNote));
    EXPECT_EQ(s(content[0].runs[1].format.font), s(DefaultTextFont().family()));
    const QString first = WriteRtf(content);
    EXPECT_EQ(s(WriteRtf(read(first))), s(first));
    EXPECT_EQ(read(first), content);
}

// A text above the limit is refused before it is parsed; one at the limit is read.
TEST(RtfCodec, RefusesTextsAboveTheLimit)
{
    QByteArray rtf = "{\\rtf1 " + QByteArray(kMaxRtfBytes - 8, 'x') + '}';
    ASSERT_EQ(rtf.size(), kMaxRtfBytes);
    EXPECT_TRUE(ReadRtf(rtf, DefaultTextFont()).has_value());
    EXPECT_TRUE(ReadRtf(QString::fromLatin1(rtf), DefaultTextFont()).has_value());
    rtf.insert(7, 'x');
    EXPECT_FALSE(ReadRtf(rtf, DefaultTextFont()).has_value());
    EXPECT_FALSE(ReadRtf(QString::fromLatin1(rtf), DefaultTextFont()).has_value());
}

// Cut-off and damaged files: the reader never crashes or hangs, and what it reads is stored in a
// form that reads back the same.
TEST(RtfCodec, DamagedFilesReadWithoutHarmAndRoundTrip)
{
    QRandomGenerator random(4);
    for (const char* name : { "score_features.rtf", "classic_rich_edit.rtf", "libreoffice_writer.rtf" }) {
        const QByteArray original = tunvale::testing::readAll(
            tunvale::testing::testDataPath(QStringLiteral("rtf/%1").arg(QLatin1String(name))));
        ASSERT_FALSE(original.isEmpty()) << name;
        std::vector<QByteArray> damaged;
        for (qsizetype cut = 0; cut < original.size(); cut += 7)
            damaged.push_back(original.left(cut));
        for (int i = 0; i < 500; ++i) {
            QByteArray bytes = original;
            for (int k = 1 + int(random.bounded(6)); k > 0; --k) {
                const int at = int(random.bounded(int(bytes.size())));
                if (random.bounded(2))
                    bytes[at] = char(random.bounded(256));
                else
                    bytes.insert(at, "{}\'"[random.bounded(4)]);
            }
            damaged.push_back(bytes);
        }
        for (const QByteArray& bytes : damaged) {
            const std::optional<RichContent> content = ReadRtf(bytes, DefaultTextFont());
            if (!content)
                continue;
            const QString first = WriteRtf(*content);
            ASSERT_EQ(s(WriteRtf(read(first))), s(first)) << bytes.toStdString();
        }
    }
}

// The transposer finds the font table from "{\f0" entry by entry up to ";}" and the body's font
// switches as "\f" and digits ended by a space or a backslash.
TEST(RtfCodec, OutputSuitsTheTransposersTextualReading)
{
    RichTextBox box;
    ASSERT_TRUE(box.setTextRTF(QString::fromLatin1(tunvale::testing::readAll(
        tunvale::testing::testDataPath(QStringLiteral("rtf/score_features.rtf"))))));
    const QString rtf = box.TextRTF();

    int entries = 0;
    qsizetype at = rtf.indexOf(QLatin1String("{\\f0"));
    qsizetype tableEnd = -1;
    while (at >= 0) {
        const qsizetype end = rtf.indexOf(QLatin1String(";}"), at);
        ASSERT_GT(end, at);
        EXPECT_FALSE(rtf.mid(at + 1, end - at).contains(u'{')) << "entry " << entries;
        tableEnd = end;
        ++entries;
        at = rtf.indexOf(QStringLiteral("{\\f%1").arg(entries), end);
    }
    EXPECT_EQ(entries, 7);

    static const QRegularExpression fontSwitch(QStringLiteral("\\\\f(\\d+)(.)"));
    int switches = 0;
    for (auto it = fontSwitch.globalMatch(rtf, tableEnd); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        ++switches;
        EXPECT_TRUE(m.captured(2) == QLatin1String(" ") || m.captured(2) == QLatin1String("\\"))
            << m.captured(0).toStdString();
    }
    EXPECT_GE(switches, 8);
    EXPECT_TRUE(rtf.indexOf(QLatin1String("\\f0"), tableEnd) >= 0); // the first run names its font
}
