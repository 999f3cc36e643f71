#include "platform/richtext/rich_text_box.h"

#include <QTextDocument>

#include <gtest/gtest.h>

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
        { 3, 0, 2, 0, "" },
        { 1, 2, 1, 3, "b\r\n" },
        { 3, 1, 2, 2, "\r\n" },
        { 0, 99, 0, 6, "ab\r\ncd" },
        { -3, 1, 0, 1, "a" },
        { 5, -4, 5, 0, "" },
        { 99, 0, 6, 0, "" },
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

    EXPECT_FALSE(box.setTextRTF(QStringLiteral("plain words")));
    EXPECT_EQ(s(box.Text()), s(QStringLiteral("\u4e00\u4e01\r\n歌词")));
}
