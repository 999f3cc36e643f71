#include "platform/richtext/api_highlight.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_lines.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"
#include "platform/richtext/unbreakable_run.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <thread>

using namespace tunvale::platform;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSong = QStringLiteral("宋体");

std::string s(const QString& text) { return text.toStdString(); }

void type(RichTextBox& box, const QString& font, const QString& text, double size = 12)
{
    box.setSelStart(box.TextLength());
    box.setSelFontName(font);
    box.setSelFontSize(size);
    box.setSelText(text);
}

// The longest stretch the layout keeps on one line when it may wrap only between words: each character
// spaced apart takes room, so at no width every line holds one stretch and the white space after it.
qsizetype longestStretchTheLayoutKeeps(const QString& text)
{
    QFont font = QGuiApplication::font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    qsizetype longest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(0);
        qsizetype run = 0;
        for (const QChar c : text.mid(line.textStart(), line.textLength())) {
            run = c.isSpace() && c.decompositionTag() != QChar::NoBreak ? 0 : run + 1;
            longest = std::max(longest, run);
        }
    }
    layout.endLayout();
    return longest;
}

} // namespace

TEST(RichTextLines, WithoutAWidthEveryParagraphIsOneLine)
{
    RichTextBox empty;
    EXPECT_EQ(GetRtbLineCount(empty), 1);
    EXPECT_EQ(s(GetRtbLine(empty, 1)), "");
    EXPECT_EQ(GetCaretRowCol(empty).line, 1);

    RichTextBox box;
    type(box, kSong, QStringLiteral("abc\r\n\r\nde\r\n"));
    EXPECT_EQ(GetRtbLineCount(box), 4);
    const char* lines[] = { "abc\r\n", "\r\n", "de\r\n", "", "" };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s(GetRtbLine(box, i + 1)), lines[i]) << i;
    EXPECT_EQ(s(GetRtbLine(box, 0)), "");
    struct Case {
        int position;
        int line;
    };
    const Case cases[] = { { 0, 0 }, { 3, 0 }, { 4, 0 }, { 5, 1 }, { 6, 1 }, { 7, 2 }, { 11, 3 }, { 99, 3 } };
    for (const Case& c : cases)
        EXPECT_EQ(box.LineFromChar(c.position), c.line) << c.position;
    EXPECT_EQ(box.LineIndex(2), 7);
    EXPECT_EQ(box.LineIndex(4), -1);
}

TEST(RichTextLines, LongLinesAreReadWholeAndWrapAtTheTextWidth)
{
    RichTextBox box;
    const QString longLine(300, u'x');
    type(box, kSong, longLine + QStringLiteral("\r\nend"));
    EXPECT_EQ(s(GetRtbLine(box, 1)), s(longLine + QStringLiteral("\r\n")));
    EXPECT_EQ(GetRtbLineCount(box), 2);

    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    box.setText(words + QStringLiteral("\r\nend"));
    box.document()->setTextWidth(200);
    const int count = GetRtbLineCount(box);
    ASSERT_GT(count, 3);
    QString joined;
    for (int i = 1; i <= count; ++i) {
        const QString line = GetRtbLine(box, i);
        EXPECT_EQ(box.LineIndex(i - 1), joined.size());
        EXPECT_EQ(box.LineFromChar(int(joined.size())), i - 1);
        EXPECT_EQ(line.endsWith(QLatin1String("\r\n")), i == count - 1) << i;
        joined += line;
    }
    EXPECT_EQ(s(joined), s(box.Text()));
}

TEST(RichTextLines, CaretRowAndColumnCountCharacters)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("歌词ab\r\nxy\r\n"));
    struct Case {
        int caret;
        int column;
        int line;
    };
    const Case cases[] = { { 0, 1, 1 }, { 2, 3, 1 }, { 4, 5, 1 }, { 6, 1, 2 }, { 7, 2, 2 }, { 10, 1, 3 } };
    for (const Case& c : cases) {
        box.setSelStart(c.caret);
        const CaretRowCol rc = GetCaretRowCol(box);
        EXPECT_EQ(rc.column, c.column) << c.caret;
        EXPECT_EQ(rc.line, c.line) << c.caret;
    }
}

TEST(RichTextLines, FirstVisibleLineFollowsTheViewport)
{
    RichTextBox box;
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    type(box, kSong, text);
    EXPECT_EQ(GetFirstVisibleLine(box), 0);
    box.setViewportTop(box.document()->size().height() / 2);
    const int middle = GetFirstVisibleLine(box);
    EXPECT_GT(middle, 15);
    EXPECT_LT(middle, 25);
    box.setViewportTop(box.document()->size().height() * 2);
    EXPECT_EQ(GetFirstVisibleLine(box), 40);
}

TEST(RichTextHighlight, ChangesOnlyTheBackgroundAndIsSafeFromAnyThread)
{
    RichTextBox box;
    type(box, kNote, QStringLiteral("\u4e00\u4e01\u4e02"), 32);
    box.select(0, 3);
    box.setSelColor(Qt::blue);
    const auto formats = [&box] { return ReadRtf(box.TextRTF(), DefaultTextFont()).value()[0].runs; };
    const std::vector<TextRun> before = formats();

    ApiHighlight unassigned;
    unassigned.APIHighlightHard(Qt::yellow); // nothing to colour yet

    ApiHighlight highlighter;
    highlighter.AssignControls(&box);
    box.select(1, 1);
    highlighter.APIHighlightHard(Qt::yellow);
    std::vector<TextRun> runs = formats();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].format.highlight, qRgb(255, 255, 0));
    RunFormat unchanged = runs[1].format;
    unchanged.highlight.reset();
    EXPECT_EQ(unchanged, before[0].format);
    EXPECT_FALSE(runs[0].format.highlight.has_value());

    highlighter.APIHighlightHard(Qt::white);
    runs = formats();
    EXPECT_EQ(runs[1].format.highlight, qRgb(255, 255, 255));
    EXPECT_EQ(runs[1].text, QStringLiteral("\u4e01"));

    std::thread playback([&] { highlighter.APIHighlightHard(2, 1, Qt::green); });
    playback.join();
    EXPECT_FALSE(formats().back().format.highlight.has_value()); // posted, not yet shown
    QCoreApplication::processEvents();
    EXPECT_EQ(formats().back().format.highlight, qRgb(0, 255, 0));
    EXPECT_EQ(box.SelStart(), 1);
}

TEST(RichTextSnapshot, OneWalkAgreesWithTheBox)
{
    RichTextBox box;
    type(box, kSong, QStringLiteral("title\r\n"));
    type(box, kNote, QStringLiteral("\u4e00\u4e01\u6352 \u4e02\u4e03\u4e04\u4e05 \u6352\u4e00\u4e00"), 32);
    type(box, kSong, QStringLiteral("\r\nlyrics words here"));
    box.setSelText(QStringLiteral("\r\n"));
    box.setSelFontName(QStringLiteral("KORVA_Note_yy")); // the empty last paragraph's mark
    box.select(0, 3);
    box.setSelColor(Qt::red);
    box.document()->setTextWidth(120);

    const RichTextSnapshot snap = box.snapshot();
    EXPECT_EQ(s(snap.text), s(box.Text()));
    ASSERT_EQ(snap.fonts.size(), size_t(box.TextLength()));
    for (int i = 0; i < box.TextLength(); ++i) {
        box.select(i, 1);
        if (snap.text[i] == u'\r' || snap.text[i] == u'\n')
            box.select(i - (snap.text[i] == u'\n'), 2);
        EXPECT_EQ(s(snap.fontAt(i)), s(box.SelFontName())) << i;
        const SnapshotColor expected = i < 3 ? qRgb(255, 0, 0) : 0;
        EXPECT_EQ(snap.colorAt(i), expected) << i;
    }
    ASSERT_EQ(int(snap.lines.size()), box.LineCount());
    ASSERT_GT(snap.lines.size(), 4u);
    for (int i = 0; i < box.LineCount(); ++i) {
        EXPECT_EQ(snap.lines[size_t(i)].start, box.LineIndex(i));
        EXPECT_EQ(s(snap.lines[size_t(i)].text), s(box.LineText(i)));
        box.setSelStart(box.LineIndex(i));
        EXPECT_EQ(s(snap.lines[size_t(i)].startFont), s(box.SelFontName())) << i;
    }
}

// The box keeps its lines and positions up to date edit by edit; after any edit they must be what a
// box reading the same document afresh finds.
TEST(RichTextLines, EditsKeepLinesAndPositionsAsAFreshReadingFindsThem)
{
    QTextDocument document;
    RichTextBox box(&document);
    document.documentLayout();
    document.setTextWidth(180);
    unsigned seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    auto text = [&](int length) {
        QString t;
        for (int i = 0; i < length; ++i)
            t += next(9) == 0 ? QStringLiteral("\r\n")
                              : QString(QChar(char16_t(next(4) == 0 ? u' ' : 0x4e00 + next(200))));
        return t;
    };
    type(box, kSong, text(300));
    for (int round = 0; round < 800; ++round) {
        const int length = box.TextLength();
        const int start = next(length + 1);
        box.select(start, next(std::min(length - start, 60) + 1));
        switch (next(6)) {
        case 0:
        case 1:
            box.setSelText(text(next(40)));
            break;
        case 2:
            box.setSelFontSize(8 + next(30));
            break;
        case 3:
            box.setSelIndent(next(3) * 200);
            break;
        case 4:
            box.setSelFontName(next(2) ? kNote : kSong);
            break;
        default:
            if (next(10) == 0)
                box.setTextRTF(WriteRtf(document));
            else
                box.setSelText({});
            break;
        }
        RichTextBox fresh(&document);
        fresh.LineCount();
        // Often only the lines up to a position are asked for, and the next edit comes before the rest.
        if (next(2) == 0) {
            for (int i = 0; i < 3; ++i) {
                const int p = next(box.TextLength() + 1);
                ASSERT_EQ(box.LineFromChar(p), fresh.LineFromChar(p)) << round << " at " << p;
                const int line = next(fresh.LineCount());
                ASSERT_EQ(s(box.LineText(line)), s(fresh.LineText(line))) << round << " line " << line;
            }
            continue;
        }
        ASSERT_EQ(box.LineCount(), fresh.LineCount()) << round;
        for (int line = 0; line < fresh.LineCount(); ++line) {
            ASSERT_EQ(box.LineIndex(line), fresh.LineIndex(line)) << round << " line " << line;
            ASSERT_EQ(s(box.LineText(line)), s(fresh.LineText(line))) << round << " line " << line;
        }
        for (int p = 0; p <= box.TextLength(); p += 1 + next(7)) {
            ASSERT_EQ(box.toDocumentPosition(p), fresh.toDocumentPosition(p)) << round << " at " << p;
            ASSERT_EQ(box.LineFromChar(p), fresh.LineFromChar(p)) << round << " at " << p;
        }
        for (int q = 0; q < document.characterCount(); q += 1 + next(7))
            ASSERT_EQ(box.fromDocumentPosition(q), fresh.fromDocumentPosition(q)) << round << " at " << q;
    }
}

// Digits and Latin letters wrap only at white space that may break; Chinese characters wrap before and
// after each one.
TEST(RichTextLines, UnbreakableRunsEndWhereTheLayoutMayWrap)
{
    EXPECT_EQ(LongestUnbreakableRun(u""), 0);
    EXPECT_EQ(LongestUnbreakableRun(u"1234567"), 7);
    EXPECT_EQ(LongestUnbreakableRun(u"12 345 6789"), 4);
    EXPECT_EQ(LongestUnbreakableRun(u"12\u00a0345 6789"), 6);
    EXPECT_EQ(LongestUnbreakableRun(u"一二三四五六"), 1);
    EXPECT_EQ(LongestUnbreakableRun(u"abc一defg"), 4);

    const QString longest(kLongestWordWrapRun, u'1');
    EXPECT_FALSE(HoldsLongRun(longest + u' ' + longest));
    EXPECT_FALSE(HoldsLongRun(longest + QStringLiteral("一") + longest));
    EXPECT_TRUE(HoldsLongRun(longest + QStringLiteral("\u00a01")));

    // Every paragraph is measured on its own; a paragraph break is a place to wrap.
    const auto meter = [](const RichContent& content) {
        LongRunMeter m;
        EXPECT_TRUE(ReadRtf(WriteRtf(content), DefaultTextFont(), m));
        return m.found();
    };
    const RichParagraph half { {}, { { {}, QString(kLongestWordWrapRun / 2 + 1, u'1') } }, {} };
    EXPECT_FALSE(meter({ half, half }));
    EXPECT_TRUE(meter({ half, { {}, { half.runs.front(), half.runs.front() }, {} } }));
}

// The stretches are those the layout keeps whole, in any mix of what scores hold (digits, Latin and
// Chinese, their punctuation, white space that breaks or not) with Hangul, which the layout breaks only
// where it breaks letters. Combining marks and the scripts broken by dictionary are left out: where the
// layout wraps them depends also on the font's glyph clusters and on where it splits the text by script.
TEST(RichTextLines, UnbreakableRunsAreTheStretchesTheLayoutKeepsWhole)
{
    QStringList characters
        = QStringLiteral("1234567abZ .,-()|/:;!?'\"#%_\t\u00a0\u3000\u4e00\u4e8c\u5b8b\u3002"
                         "\uff0c\u3001\u300a\u300b\u201c\u201d\uff08\uff09\u2014\u2026\u00b7"
                         "\ue000\uac00\ud55c\ud7a3\u1100\u1161\u11a8\u3131\u314f\ua960\ud7b0"
                         "\ud7cb\u318f\uffa1\u200b\u2060")
              .split(QString(), Qt::SkipEmptyParts);
    characters << QStringLiteral("\U00020000") << QStringLiteral("\U0001F600");
    unsigned seed = 2024;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int length = 1 + next(14); length > 0; --length)
            text += characters[next(int(characters.size()))];
        ASSERT_EQ(LongestUnbreakableRun(text), longestStretchTheLayoutKeeps(text)) << s(text);
    }
}

// A row of Hangul syllables is one stretch, as a row of digits is; with a space every ten syllables it
// wraps at words, and a document holding it switches between the two wraps as a row of digits makes it.
TEST(RichTextLines, ARowOfHangulIsOneStretchUnlessSpacesBreakIt)
{
    QString row;
    QString spaced;
    for (int i = 0; i < 2 * kLongestWordWrapRun; ++i) {
        const QChar syllable(0xac00 + i * 7 % 11172);
        row += syllable;
        if (i > 0 && i % 10 == 0)
            spaced += u' ';
        spaced += syllable;
    }
    EXPECT_EQ(LongestUnbreakableRun(row), row.size());
    EXPECT_TRUE(HoldsLongRun(row));
    EXPECT_EQ(LongestUnbreakableRun(spaced), 10);
    EXPECT_FALSE(HoldsLongRun(spaced));
    EXPECT_TRUE(HoldsLongRun(QString(kLongestWordWrapRun / 2, u'1') + row.left(kLongestWordWrapRun / 2 + 1)));
    EXPECT_FALSE(HoldsLongRun(QString(2 * kLongestWordWrapRun, u'\u4e00')));

    // Laid out at a width, as in the window.
    RichTextBox box;
    box.setText(spaced);
    box.document()->setTextWidth(200);
    EXPECT_GT(box.LineCount(), 1);
    EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    box.setSelStart(box.TextLength());
    box.setSelText(QStringLiteral("\r\n") + row);
    EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
}

// A text holding a stretch too long to wrap at word boundaries in time wraps anywhere for as long as it
// holds one, and its lines are those a fresh layout finds.
TEST(RichTextLines, ALongStretchMakesTheTextWrapAnywhereWhileItIsThere)
{
    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    const auto linesOf = [](const RichTextBox& box) {
        QStringList lines;
        for (int i = 0; i < box.LineCount(); ++i)
            lines << box.LineText(i);
        return lines;
    };
    const auto freshLines = [&](const QString& text) {
        RichTextBox fresh;
        fresh.setText(text);
        fresh.document()->setTextWidth(200);
        return linesOf(fresh);
    };
    RichTextBox box;
    box.setText(words + QStringLiteral("\r\nend"));
    box.document()->setTextWidth(200);
    const QStringList wordLines = linesOf(box);
    EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    const QString run = u' ' + QString(kLongestWordWrapRun + 1, u'7');
    box.setSelStart(box.TextLength());
    box.setSelText(run);
    EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(linesOf(box), freshLines(words + QStringLiteral("\r\nend") + run));
    EXPECT_NE(linesOf(box).front(), wordLines.front());

    box.select(box.TextLength() - 1, 1);
    box.setSelText(QString());
    EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(linesOf(box).mid(0, wordLines.size() - 1), wordLines.mid(0, wordLines.size() - 1));
}
