#include "platform/richtext/font_tally.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace tunvale::platform;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

std::string s(const QString& text) { return text.toStdString(); }

// Appends text in a font at the end of the box.
void type(RichTextBox& box, const QString& font, const QString& text, double size = 32)
{
    box.setSelStart(box.TextLength());
    box.setSelFontName(font);
    box.setSelFontSize(size);
    box.setSelText(text);
}

} // namespace

TEST(RichTextBoxPositions, BreaksCountTwoAndConvertExactly)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("ab\r\n\ncd\U0001F600e\r"));
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("ab\r\n\r\ncd\U0001F600e\r\n")));
    EXPECT_EQ(box.TextLength(), 13);
    EXPECT_EQ(box.document()->blockCount(), 4);

    struct Case {
        int position;
        int before;
        int after;
    };
    // Qt counts a break as one character; a position inside our "\r\n" snaps to either side.
    const Case cases[]
        = { { 0, 0, 0 }, { 2, 2, 2 }, { 3, 2, 3 }, { 4, 3, 3 }, { 5, 3, 4 }, { 6, 4, 4 }, { 8, 6, 6 },
              { 10, 8, 8 }, { 11, 9, 9 }, { 12, 9, 10 }, { 13, 10, 10 }, { 99, 10, 10 }, { -5, 0, 0 } };
    for (const Case& c : cases) {
        EXPECT_EQ(box.toDocumentPosition(c.position, RichTextBox::Snap::Before), c.before) << c.position;
        EXPECT_EQ(box.toDocumentPosition(c.position, RichTextBox::Snap::After), c.after) << c.position;
    }
    for (int q = 0; q <= 10; ++q)
        EXPECT_EQ(box.toDocumentPosition(box.fromDocumentPosition(q)), q);
}

TEST(RichTextBoxPositions, SelectionNeverSplitsABreakAndIsClamped)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("ab\r\ncd"));
    struct Case {
        int start;
        int length;
        int selStart;
        int selLength;
        const char* text;
    };
    const Case cases[] = {
        { 3, 0, 2, 0, "" }, { 1, 2, 1, 3, "b\r\n" }, { 3, 1, 2, 2, "\r\n" }, { 0, 99, 0, 6, "ab\r\ncd" },
        { -3, 1, 0, 1, "a" }, { 5, -4, 5, 0, "" }, { 99, 0, 6, 0, "" },
        { 2, std::numeric_limits<int>::max(), 2, 4, "\r\ncd" }, // no overflow past the end
    };
    for (const Case& c : cases) {
        box.select(c.start, c.length);
        EXPECT_EQ(box.SelStart(), c.selStart) << c.start << "," << c.length;
        EXPECT_EQ(box.SelLength(), c.selLength) << c.start << "," << c.length;
        EXPECT_EQ(s(box.SelText()), c.text) << c.start << "," << c.length;
    }
    box.select(1, 3);
    box.setSelStart(4);
    EXPECT_EQ(box.SelLength(), 0);
}

TEST(RichTextBoxPositions, LineSeparatorsAndObjectsNeverEnterTheText)
{
    RichTextBox box;
    box.setSelText(QStringLiteral("a\u2028b\uFFFCc\u2029d"));
    EXPECT_EQ(s(box.Text()), "a\r\nbc\r\nd");
    EXPECT_EQ(box.SelStart(), 8);
}

TEST(RichTextBoxRtf, SettingTextRtfReplacesTheDocumentAndPutsTheCaretAtZero)
{
    RichTextBox source;
    type(source, kNote, QStringLiteral("\u4e00\u4e01"), 32);
    type(source, kSong, QStringLiteral("\r\n歌词"), 12);
    const QString rtf = source.TextRTF();

    RichTextBox box;
    type(box, kSong, QStringLiteral("old text"));
    box.setSelFontName(kNote); // a pending typing format
    EXPECT_TRUE(box.setTextRTF(rtf));
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("\u4e00\u4e01\r\n歌词")));
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(s(box.SelFontName()), s(kNote)); // the first character's, not the pending one
    EXPECT_EQ(box.SelFontSize(), 32);
    EXPECT_EQ(s(box.TextRTF()), s(rtf));

    EXPECT_EQ(box.document()->availableUndoSteps(), 0);
    EXPECT_FALSE(box.document()->isUndoRedoEnabled());
    EXPECT_FALSE(box.setTextRTF(QStringLiteral("plain words")));
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("\u4e00\u4e01\r\n歌词")));
}

namespace {

// "歌词" in 宋体 12, "一丁" in KORVA_Note 32, and an empty last paragraph.
void lyricAndNotes(RichTextBox& box)
{
    type(box, kSong, QStringLiteral("歌词\r\n"), 12);
    type(box, kNote, QStringLiteral("\u4e00\u4e01"), 32);
    box.setSelText(QStringLiteral("\r\n"));
}

RichContent contentOf(const RichTextBox& box) { return ReadRtf(box.TextRTF(), DefaultTextFont()).value(); }

} // namespace

TEST(RichTextBoxFormat, EmptySelectionReadsBeforeAfterMarkOrPending)
{
    RichTextBox box;
    lyricAndNotes(box);
    box.setSelStart(8);
    box.setSelFontName(kSong); // the empty lyric paragraph's mark takes it
    box.setSelStart(0);
    struct Case {
        int caret;
        QString font;
        double size;
    };
    const Case cases[] = {
        { 0, kSong, 12 }, // paragraph start: the character after
        { 1, kSong, 12 }, { 2, kSong, 12 }, // end of paragraph: the character before
        { 4, kNote, 32 }, { 5, kNote, 32 }, { 6, kNote, 32 }, { 8, kSong, 32 }, // empty paragraph: its mark
    };
    for (const Case& c : cases) {
        box.setSelStart(c.caret);
        EXPECT_EQ(s(box.SelFontName()), s(c.font)) << c.caret;
        EXPECT_EQ(box.SelFontSize(), c.size) << c.caret;
    }

    box.setSelStart(5);
    box.setSelFontName(QStringLiteral("KORVA_Note_yy"));
    EXPECT_EQ(s(box.SelFontName()), "KORVA_Note_yy");
    EXPECT_EQ(box.SelFontSize(), 32);
    box.setSelStart(5); // not a move: the typing format stays
    EXPECT_EQ(s(box.SelFontName()), "KORVA_Note_yy");
    box.setSelStart(4);
    box.setSelStart(5);
    EXPECT_EQ(s(box.SelFontName()), s(kNote));
}

// The fonts a change leaves are those of the text outside its range, breaks included, with those it
// brings; a typing format counts among them, and formats the text no longer uses count for nothing.
TEST(RichTextBoxFormat, AChangeCountsTheFontsItLeavesTheText)
{
    QByteArray paragraphs;
    for (int i = 0; i < kMostFonts; ++i)
        paragraphs += (i > 0 ? "\\par\\fs" : "\\fs") + QByteArray::number(2 + i) + " 1";
    RichTextBox box;
    ASSERT_TRUE(box.setTextRTF(QString::fromLatin1("{\\rtf1{\\fonttbl{\\f0 Pad;}}" + paragraphs + "}")));
    ASSERT_EQ(FontsOf(*box.document()).count(), kMostFonts);
    RunFormat fresh;
    fresh.font = QStringLiteral("Fresh");
    box.select(3, 1);
    const RunFormat used = box.insertionFormat();
    const auto bold = [](RunFormat& format) { format.bold = true; };

    EXPECT_TRUE(box.tooManyFontsWith(0, 0, { fresh }));
    EXPECT_FALSE(box.tooManyFontsWith(0, 0, { used }));
    EXPECT_TRUE(box.tooManyFontsWith(0, 1, { fresh })) << "the paragraph's break keeps its font";
    EXPECT_FALSE(box.tooManyFontsWith(0, 3, { fresh }));
    EXPECT_TRUE(box.tooManyFontsAfter(0, 1, bold));
    EXPECT_FALSE(box.tooManyFontsAfter(0, 3, bold));
    box.setSelStart(0);
    EXPECT_TRUE(box.tooManyFontsAfter(0, 0, bold)) << "the typing format";
    EXPECT_FALSE(box.tooManyFontsAfter(0, 0, [](RunFormat& format) { format.color = 0xff0000; }));

    box.select(0, box.TextLength());
    box.setSelText(QStringLiteral("1"));
    EXPECT_FALSE(box.tooManyFontsWith(0, 0, { fresh }));
}

TEST(RichTextBoxFormat, SelectionReadsAgreeingValuesOrEmptyForMixed)
{
    RichTextBox box;
    lyricAndNotes(box);
    struct Case {
        int start;
        int length;
        QString font;
        double size;
    };
    const Case cases[] = {
        { 0, 2, kSong, 12 }, { 4, 2, kNote, 32 }, { 0, 6, QString(), 0 },
        { 2, 2, kSong, 12 }, // a break alone reads its mark
        { 1, 3, kSong, 12 }, // characters decide, not the selected mark
    };
    for (const Case& c : cases) {
        box.select(c.start, c.length);
        EXPECT_EQ(s(box.SelFontName()), s(c.font)) << c.start << "+" << c.length;
        EXPECT_EQ(box.SelFontSize(), c.size) << c.start << "+" << c.length;
    }
}

TEST(RichTextBoxFormat, SettingAFormatReachesCharactersAndSelectedMarks)
{
    RichTextBox box;
    lyricAndNotes(box);
    int changes = 0;
    QObject::connect(&box, &RichTextBox::Change, [&] { ++changes; });
    box.select(0, 5);
    box.setSelColor(Qt::green); // two runs and a mark: one change
    EXPECT_EQ(changes, 1);
    box.select(0, 4);
    box.setSelColor(Qt::red);
    box.setSelBold(true);
    box.setSelCharOffset(60);
    box.setSelUnderline(true);
    const RichContent content = contentOf(box);
    ASSERT_EQ(content.size(), 3u);
    EXPECT_EQ(content[0].runs[0].format.color, qRgb(255, 0, 0));
    EXPECT_EQ(content[0].mark.color, qRgb(255, 0, 0));
    EXPECT_TRUE(content[0].mark.bold);
    EXPECT_EQ(content[0].runs[0].format.offset, 6);
    EXPECT_EQ(content[1].runs[0].format.color, qRgb(0, 255, 0));
    EXPECT_FALSE(content[1].runs[1].format.color.has_value());
    EXPECT_FALSE(content[1].mark.color.has_value());
    EXPECT_EQ(box.SelColor(), QColor(Qt::red));
    EXPECT_TRUE(box.SelBold());
    EXPECT_TRUE(box.SelUnderline());
    EXPECT_EQ(box.SelCharOffset(), 60);
    box.select(0, 6);
    EXPECT_EQ(box.SelCharOffset(), 0);
    EXPECT_FALSE(box.SelBold());

    struct SizeCase {
        double requested;
        FormatResult result;
        double stored;
    };
    const SizeCase sizes[] = { { 0.5, FormatResult::SizeOutOfRange, 12 },
        { 1639, FormatResult::SizeOutOfRange, 12 }, { 12.3, FormatResult::Applied, 12.5 },
        { 1638, FormatResult::Applied, 1638 }, { 1, FormatResult::Applied, 1 } };
    for (const SizeCase& c : sizes) {
        box.select(0, 2);
        box.setSelFontSize(12);
        EXPECT_EQ(box.setSelFontSize(c.requested), c.result) << c.requested;
        EXPECT_EQ(box.SelFontSize(), c.stored) << c.requested;
    }

    // Values a score file cannot hold are kept to its limits, so the document is what a save stores.
    box.select(0, 2);
    box.setSelCharOffset(100000);
    EXPECT_EQ(box.SelCharOffset(), 32760);
    box.setSelCharOffset(-100000);
    EXPECT_EQ(box.SelCharOffset(), -32760);
    box.setSelIndent(100000);
    box.setSelRightIndent(-100000);
    box.setSelLineSpacing(99999);
    EXPECT_EQ(box.SelIndent(), 31680);
    EXPECT_EQ(box.SelRightIndent(), -31680);
    EXPECT_EQ(box.SelLineSpacing(), 31680);
    box.setSelLineSpacing(-5);
    EXPECT_EQ(box.SelLineSpacing(), 0);
}

TEST(RichTextBoxEditing, BreaksCarryTheFormatOfTheParagraphTheyEnd)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("ab"), 12);
    type(box, kNote, QStringLiteral("cd"), 32);
    box.setSelStart(2);
    box.setSelFontName(QStringLiteral("KORVA_Note_yy"));
    box.setSelText(QStringLiteral("\r\n")); // split with a typing format
    RichContent content = contentOf(box);
    ASSERT_EQ(content.size(), 2u);
    EXPECT_EQ(s(content[0].mark.font), "KORVA_Note_yy");
    EXPECT_EQ(s(content[1].mark.font), s(kSong)); // the paragraph's own mark, as typed into it empty
    EXPECT_EQ(box.SelStart(), 4);

    box.select(2, 2);
    box.setSelText(QString()); // join: the second paragraph's mark stays
    content = contentOf(box);
    ASSERT_EQ(content.size(), 1u);
    EXPECT_EQ(s(content[0].mark.font), s(kSong));
    EXPECT_EQ(s(box.Text()), "abcd");
}

TEST(RichTextBoxEditing, ReplacingTheSelectionTakesTheFirstCharactersFormat)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("ab"), 12);
    type(box, kNote, QStringLiteral("cd"), 32);
    box.select(1, 2); // starts in 宋体, ends in KORVA_Note
    box.setSelText(QStringLiteral("XY\rZ\nW"));
    EXPECT_EQ(s(box.Text()), "aXY\r\nZ\r\nWd");
    EXPECT_EQ(box.SelStart(), 9);
    EXPECT_EQ(box.SelLength(), 0);
    const RichContent content = contentOf(box);
    ASSERT_EQ(content.size(), 3u);
    EXPECT_EQ(s(content[0].runs.back().format.font), s(kSong));
    EXPECT_EQ(s(content[0].mark.font), s(kSong));
    EXPECT_EQ(s(content[2].runs[0].format.font), s(kSong));
    EXPECT_EQ(s(content[2].runs[1].format.font), s(kNote));
    EXPECT_EQ(content[2].runs[1].text, QStringLiteral("d"));

    box.setSelStart(box.TextLength());
    box.setSelText(QStringLiteral("e")); // an empty selection: the insertion format
    box.select(box.TextLength() - 1, 1);
    EXPECT_EQ(s(box.SelFontName()), s(kNote));
    EXPECT_EQ(box.document()->availableUndoSteps(), 0);
}

TEST(RichTextBoxEditing, RewriteRangeKeepsEveryCharactersFormat)
{
    RichTextBox box;
    lyricAndNotes(box);
    box.select(1, 4);
    box.setSelColor(Qt::blue);
    box.setSelStart(0);
    const RichContent before = contentOf(box);
    EXPECT_TRUE(box.RewriteRange(1, QStringLiteral("X\r\n\u4e05")));
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("歌X\r\n\u4e05\u4e01\r\n")));
    RichContent after = contentOf(box);
    ASSERT_EQ(after.size(), before.size());
    for (size_t p = 0; p < after.size(); ++p) {
        ASSERT_EQ(after[p].runs.size(), before[p].runs.size());
        EXPECT_EQ(after[p].mark, before[p].mark);
        for (size_t r = 0; r < after[p].runs.size(); ++r)
            EXPECT_EQ(after[p].runs[r].format, before[p].runs[r].format);
    }
    EXPECT_EQ(box.SelStart(), 0);

    const QString text = box.Text();
    EXPECT_FALSE(box.RewriteRange(1, QStringLiteral("XYZ"))); // would remove a break
    EXPECT_FALSE(box.RewriteRange(5, QStringLiteral("\r\n"))); // would add one
    EXPECT_FALSE(box.RewriteRange(7, QStringLiteral("abc"))); // past the end
    // Characters the text never holds: Qt would split the paragraph or keep an object.
    for (const char16_t c : { u'\u2029', u'\u2028', u'\ufffc', u'\0' })
        EXPECT_FALSE(box.RewriteRange(0, QString(QChar(c)))) << int(c);
    EXPECT_EQ(box.Text(), text);
    EXPECT_EQ(box.document()->blockCount(), 3);
}

TEST(RichTextBoxRtf, SelRtfCopiesFormatsAndParagraphFormatsSurvive)
{
    RichTextBox box;
    lyricAndNotes(box);
    box.select(0, 2);
    box.setSelIndent(720);
    box.setSelRightIndent(360);
    box.setSelLineSpacing(500);
    box.select(1, 5);
    const QString piece = box.SelRTF();

    RichTextBox other;
    type(other, kSong, QStringLiteral("[]"), 12);
    other.setSelStart(1);
    ASSERT_TRUE(other.setSelRTF(piece));
    EXPECT_EQ(s(other.Text()), s(QStringLiteral("[词\r\n\u4e00\u4e01]")));
    EXPECT_EQ(other.SelStart(), 6);
    other.select(4, 1);
    EXPECT_EQ(s(other.SelFontName()), s(kNote));
    other.setSelStart(0);
    EXPECT_EQ(other.SelIndent(), 0); // the first paragraph keeps its own format

    box.setSelStart(0);
    EXPECT_EQ(box.SelIndent(), 720);
    EXPECT_EQ(box.SelRightIndent(), 360);
    EXPECT_EQ(box.SelLineSpacing(), 500);
    RichTextBox copy;
    ASSERT_TRUE(copy.setTextRTF(box.TextRTF()));
    EXPECT_EQ(copy.SelIndent(), 720);
    EXPECT_EQ(copy.SelLineSpacing(), 500);
    EXPECT_EQ(s(copy.TextRTF()), s(box.TextRTF()));
}
