#include "app/editor/editing/undo_engine.h"
#include "tests/editing/score_builder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

// An editor with its undo engine, as the main window holds them: every change of the editor marks
// the score modified; JzRTB lays the margins onto every paragraph without being recorded.
struct UndoHarness {
    platform::RichTextBox editor;
    notation::ScoreHeader header;
    bool layoutBusy = false;
    bool cmdBusy = false;
    int coverWidth = 200;
    int jzCalls = 0;
    std::unique_ptr<UndoEngine> undo;

    explicit UndoHarness(std::initializer_list<ScoreLine> lines
        = { { kNote, Codes({ kBar, Note(1), Note(2) }) }, { kSong, QStringLiteral("歌词") } })
    {
        FillScore(editor, lines);
        QObject::connect(&editor, &platform::RichTextBox::Change, [this] { header.ScoreSaved = false; });
        undo = std::make_unique<UndoEngine>(
            editor, UndoHost { &header, &layoutBusy, &cmdBusy, [this] { JzRTB(); }, {} });
        header.ScoreSaved = true;
    }

    void JzRTB()
    {
        ++jzCalls;
        const bool saved = header.ScoreSaved;
        const int start = editor.SelStart();
        const int length = editor.SelLength();
        layoutBusy = true;
        editor.select(0, editor.TextLength());
        editor.setSelIndent(header.LeftSpace);
        editor.setSelRightIndent(header.RightSpace + coverWidth);
        editor.select(start, length);
        layoutBusy = false;
        header.ScoreSaved = saved;
    }

    void type(const QString& text, int at = -1)
    {
        if (at >= 0)
            editor.setSelStart(at);
        for (QChar c : text)
            editor.setSelText(QString(c));
    }
};

// The events an engine raised, each as its argument list.
struct Events {
    std::vector<std::vector<int>> bars, drums, announced;

    explicit Events(UndoEngine& undo)
    {
        QObject::connect(&undo, &UndoEngine::XJChanged, [this](int a, int b, int c, int d, int e, int f) {
            bars.push_back({ a, b, c, d, e, f });
        });
        QObject::connect(&undo, &UndoEngine::XJDrumChanged, [this](int a, int b) {
            drums.push_back({ a, b });
        });
        QObject::connect(&undo, &UndoEngine::OnXjChanged, [this](int a) { announced.push_back({ a }); });
    }
};

QString withoutIndents(QString rtf)
{
    return rtf.remove(QRegularExpression(QStringLiteral("\\\\(li|ri)-?\\d+ ?")));
}

} // namespace

TEST(MatchingChars, LinearMismatchGivesTheMaximalPrefixAndSuffix)
{
    struct Case {
        const char* a;
        const char* b;
        int prefix;
        int suffix;
    };
    const Case cases[] = { { "", "", 0, 0 }, { "abc", "", 0, 0 }, { "abc", "abc", 3, 3 },
        { "abcd", "abXd", 2, 1 }, { "aaaa", "aaaaa", 4, 4 }, { "xbc", "ybc", 0, 2 } };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchingChars(QString::fromLatin1(c.a), QString::fromLatin1(c.b), false), c.prefix) << c.a;
        EXPECT_EQ(MatchingChars(QString::fromLatin1(c.a), QString::fromLatin1(c.b), true), c.suffix) << c.a;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        QString a, b;
        for (int i = int(random() % 40); i > 0; --i)
            a += QChar(char16_t(u'a' + random() % 3));
        b = a;
        if (!b.isEmpty())
            b[int(random() % b.size())] = u'z';
        qsizetype prefix = 0;
        while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
            ++prefix;
        EXPECT_EQ(MatchingChars(a, b, false), prefix);
    }
}

TEST(UndoEngine, TypingWithoutAPauseIsOneStepAndTheFirstSnapshotIsTheBase)
{
    UndoHarness h;
    EXPECT_FALSE(h.undo->canUndo());
    h.type(QStringLiteral("abcde"), h.editor.TextLength());
    EXPECT_TRUE(h.undo->SnapshotPending());
    h.undo->FlushSnapshot();
    EXPECT_EQ(h.undo->getUndoCount(), 1);
    EXPECT_TRUE(h.undo->canUndo());

    // A change that comes back to the same text before the pause records nothing.
    UndoHarness same;
    same.type(QStringLiteral("x"), 0);
    same.editor.select(0, 1);
    same.editor.setSelText(QString());
    same.undo->FlushSnapshot();
    EXPECT_EQ(same.undo->getUndoCount(), 0);
    EXPECT_FALSE(same.undo->canUndo());
    // With nothing pending a flush records nothing.
    same.undo->FlushSnapshot();
    EXPECT_EQ(same.undo->getUndoCount(), 0);
}

TEST(UndoEngine, UndoRedoUndoGiveByteIdenticalText)
{
    UndoHarness h;
    const QString base = h.editor.TextRTF();
    h.type(Codes({ Note(3), kBar }), 3);
    h.undo->FlushSnapshot();
    const QString typed = h.editor.TextRTF();
    h.editor.select(4, 3);
    h.editor.setSelColor(Qt::red);
    h.undo->FlushSnapshot();
    const QString coloured = h.editor.TextRTF();
    ASSERT_EQ(h.undo->getUndoCount(), 2);

    h.undo->undo(1);
    const QString undone = h.editor.TextRTF();
    EXPECT_EQ(withoutIndents(undone), withoutIndents(typed));
    h.undo->Redo(1);
    EXPECT_EQ(withoutIndents(h.editor.TextRTF()), withoutIndents(coloured));
    h.undo->undo(1);
    EXPECT_EQ(h.editor.TextRTF(), undone);
    h.undo->Redo(1);
    h.undo->undo(100);
    EXPECT_EQ(withoutIndents(h.editor.TextRTF()), withoutIndents(base));
    EXPECT_EQ(h.undo->getUndoCount(), 0);
    EXPECT_EQ(h.undo->getRedoCount(), 2);
    h.undo->Redo(h.undo->getRedoCount());
    EXPECT_EQ(withoutIndents(h.editor.TextRTF()), withoutIndents(coloured));
    EXPECT_EQ(h.jzCalls, 6);
}

TEST(UndoEngine, UndoSplicesIntoItsOwnStateAfterAnUntrackedRelayout)
{
    UndoHarness h;
    const QString base = h.editor.TextRTF();
    h.type(QStringLiteral("xyz"), h.editor.TextLength());
    h.undo->FlushSnapshot();
    // A resize lays other margins onto every paragraph; the engine does not record it.
    h.coverWidth = 700;
    h.JzRTB();
    EXPECT_FALSE(h.undo->SnapshotPending());
    h.undo->undo(1);
    const QString undone = h.editor.TextRTF();
    EXPECT_EQ(h.editor.Text(), QStringLiteral("%1\r\n歌词").arg(Codes({ kBar, Note(1), Note(2) })));
    EXPECT_EQ(withoutIndents(undone), withoutIndents(base));
    EXPECT_TRUE(undone.contains(QStringLiteral("\\ri1520"))) << undone.toStdString(); // 820 + 700
}

TEST(UndoEngine, PendingTypingBecomesItsOwnStepBeforeAnUndo)
{
    UndoHarness h;
    const QString base = h.editor.Text();
    h.type(QStringLiteral("ab"), h.editor.TextLength());
    h.undo->undo(1);
    EXPECT_EQ(h.editor.Text(), base);
    EXPECT_TRUE(h.undo->canRedo());
    h.undo->Redo(1);
    EXPECT_EQ(h.editor.Text(), base + QStringLiteral("ab"));
}

TEST(UndoEngine, DrumStepsAndTheBase)
{
    UndoHarness h;
    Events events(*h.undo);
    auto& drum = events.drums;
    const QString text = h.editor.TextRTF();
    h.editor.setSelStart(2);
    // Right after a reset the drum operation is undoable: the base comes first.
    h.undo->NullShot();
    EXPECT_EQ(h.undo->getUndoCount(), 1);
    ASSERT_EQ(drum.size(), 1);
    EXPECT_EQ(drum[0][0], 0);
    EXPECT_EQ(drum[0][1], 0);
    h.undo->undo(1);
    ASSERT_EQ(drum.size(), 2);
    EXPECT_EQ(drum[1][1], -1);
    EXPECT_EQ(withoutIndents(h.editor.TextRTF()), withoutIndents(text));
    h.undo->Redo(1);
    ASSERT_EQ(drum.size(), 3);
    EXPECT_EQ(drum[2][1], 1);

    // A drum operation right after typing: the typing is a step of its own.
    UndoHarness t;
    Events tevents(*t.undo);
    auto& tdrum = tevents.drums;
    t.type(QStringLiteral("ab"), t.editor.TextLength());
    t.undo->NullShot();
    EXPECT_EQ(t.undo->getUndoCount(), 2);
    t.undo->undo(1);
    EXPECT_EQ(tdrum.size(), 2);
    EXPECT_TRUE(t.editor.Text().endsWith(QStringLiteral("ab")));
    t.undo->undo(1);
    EXPECT_EQ(tdrum.size(), 2);
    EXPECT_FALSE(t.editor.Text().endsWith(QStringLiteral("ab")));

    // Typing right after a reset is undoable too.
    UndoHarness u;
    const QString before = u.editor.Text();
    u.type(QStringLiteral("q"), 0);
    u.undo->FlushSnapshot();
    u.undo->undo(1);
    EXPECT_EQ(u.editor.Text(), before);
}

TEST(UndoEngine, UndoAllRaisesOneEventPerStepThatRaisedOne)
{
    UndoHarness h;
    Events events(*h.undo);
    auto& bars = events.bars;
    auto& drums = events.drums;
    // Steps: add a bar, a drum operation, text without a bar, add two bars, another drum operation.
    h.type(Codes({ Note(5), kBar }), 3);
    h.undo->FlushSnapshot();
    h.undo->NullShot();
    h.type(Codes({ Note(6) }), 1);
    h.undo->FlushSnapshot();
    h.type(Codes({ kBar, Note(7), kBar }), 2);
    h.undo->FlushSnapshot();
    h.undo->NullShot();
    ASSERT_EQ(h.undo->getUndoCount(), 5);
    EXPECT_EQ(bars.size(), 2);
    EXPECT_EQ(drums.size(), 2);
    bars.clear();
    drums.clear();

    h.undo->undo(h.undo->getUndoCount());
    EXPECT_EQ(bars.size(), 2);
    EXPECT_EQ(drums.size(), 2);
    for (const auto& args : bars)
        EXPECT_EQ(args[5], -1);
    EXPECT_EQ(h.undo->XJInteger(), 1);
    bars.clear();
    drums.clear();
    h.undo->Redo(h.undo->getRedoCount());
    EXPECT_EQ(bars.size(), 2);
    EXPECT_EQ(drums.size(), 2);
    EXPECT_EQ(h.undo->XJInteger(), 4);
}

TEST(UndoEngine, BarChangesOfTypingAreReported)
{
    UndoHarness h({ { kNote, Codes({ kBar, Note(1), kBar, Note(2), kBar, Note(3) }) } });
    Events events(*h.undo);
    auto& bars = events.bars;
    // A bar line typed in bar 1 with no bars selected: one bar added at bar 1.
    h.editor.setSelStart(4);
    h.undo->Get_SelJPFormBegin_and_SelJPToEnd();
    h.editor.setSelText(Codes({ kBar }));
    h.undo->FlushSnapshot();
    ASSERT_EQ(bars.size(), 1);
    const std::vector<int> args = bars.front();
    // The caret moved while the step was pending: the kept position and count start from the step.
    EXPECT_EQ(args[0], 1);
    EXPECT_EQ(args[5], 0);
    EXPECT_EQ(h.undo->XJInteger(), 4);
}

TEST(UndoEngine, MarginsOfADragAreUndone)
{
    UndoHarness h;
    h.undo->aMoveBJBegin();
    h.header.LeftSpace = 1200;
    h.undo->aMoveBJOver();
    h.type(QStringLiteral("m"), 0);
    h.undo->FlushSnapshot();
    h.undo->undo(1);
    EXPECT_EQ(h.header.LeftSpace, 820);
    h.undo->Redo(1);
    EXPECT_EQ(h.header.LeftSpace, 1200);
}

TEST(UndoEngine, SavedFlag)
{
    UndoHarness h;
    h.type(QStringLiteral("a"), 0);
    EXPECT_FALSE(h.header.ScoreSaved);
    h.undo->FlushSnapshot();
    h.header.ScoreSaved = true;
    h.undo->undo(1);
    EXPECT_FALSE(h.header.ScoreSaved);
    h.header.ScoreSaved = true;
    h.JzRTB();
    h.undo->Reset();
    EXPECT_TRUE(h.header.ScoreSaved);
    // Recolouring is a step of its own that leaves the flag as it was.
    h.undo->JpColor({ 0xFFFFFF, 0x0000FF, 0x00FF00, 0, 0 }, true);
    EXPECT_TRUE(h.header.ScoreSaved);
    EXPECT_EQ(h.undo->getUndoCount(), 1);
    h.editor.select(1, 1);
    EXPECT_EQ(h.editor.SelColor(), QColor(Qt::red));
    h.editor.select(h.editor.TextLength() - 1, 1);
    EXPECT_NE(h.editor.SelColor(), QColor(Qt::red));
}

TEST(UndoEngine, TrackingOffRecordsNothingAndCannotUndo)
{
    UndoHarness h;
    h.type(QStringLiteral("a"), 0);
    h.undo->FlushSnapshot();
    ASSERT_TRUE(h.undo->canUndo());
    h.undo->setIgnoreChange(true);
    EXPECT_FALSE(h.undo->canUndo());
    h.type(QStringLiteral("b"), 0);
    EXPECT_FALSE(h.undo->SnapshotPending());
    h.undo->setIgnoreChange(false);
    EXPECT_TRUE(h.undo->canUndo());
    EXPECT_EQ(h.undo->getUndoCount(), 2);
}

TEST(UndoEngine, WholeTextReplacementIsOneStepOfItsOwn)
{
    UndoHarness h;
    h.type(QStringLiteral("typed"), h.editor.TextLength());
    platform::RichTextBox other;
    FillScore(other, { { kNote, Codes({ kBar, Note(7) }) } });
    EXPECT_TRUE(h.undo->ReplaceWholeText(other.TextRTF()));
    EXPECT_EQ(h.undo->getUndoCount(), 2);
    EXPECT_FALSE(h.undo->ReplaceWholeText(QStringLiteral("not rtf")));
    EXPECT_EQ(h.undo->getUndoCount(), 2);
    h.undo->undo(1);
    EXPECT_TRUE(h.editor.Text().endsWith(QStringLiteral("typed")));
}

TEST(UndoEngine, OnXjLetAndTheCaretBar)
{
    UndoHarness h({ { kNote, Codes({ kBar, Note(1), kBar, Note(2), kBar, Note(3) }) } });
    Events events(*h.undo);
    auto& announced = events.announced;
    h.undo->setOnXj(2);
    EXPECT_EQ(h.editor.SelStart(), 5);
    EXPECT_EQ(h.undo->OnXj(), 2);
    ASSERT_EQ(announced.size(), 1);
    EXPECT_EQ(announced[0][0], 2);
    h.undo->setOnXj(3);
    h.undo->setOnXj(-1);
    EXPECT_EQ(h.editor.SelStart(), 5);
    EXPECT_EQ(h.undo->PlayOnXj(3), 1);
}

TEST(UndoEngine, SelectionPiecesPerLine)
{
    UndoHarness h({ { kNote, Codes({ kBar, Note(1), Note(2) }) }, { kSong, QStringLiteral("歌词") },
        { kNote, Codes({ kBar, Note(3) }) } });
    h.editor.select(1, 1);
    ASSERT_EQ(h.undo->JPSelection(), 1);
    EXPECT_EQ(h.undo->JpSelPieces()[0].start, 1);
    EXPECT_EQ(h.undo->JpSelPieces()[0].length, 1);
    EXPECT_TRUE(h.undo->JpSelPieces()[0].isNotation);
    // From column 2 of line 1 to column 2 of line 3: the first piece is the line less the column and
    // one more, the middle one whole, the last the column and one more.
    h.editor.select(1, 9);
    ASSERT_EQ(h.undo->JPSelection(), 3);
    const auto& p = h.undo->JpSelPieces();
    EXPECT_EQ(p[0].length, 5 - 2 - 1);
    EXPECT_EQ(p[1].start, 1 + 2);
    EXPECT_EQ(p[1].length, 4);
    EXPECT_FALSE(p[1].isNotation);
    EXPECT_EQ(p[2].length, 2 + 1);
    EXPECT_TRUE(p[2].isNotation);
    EXPECT_EQ(h.editor.SelStart(), 1);
    EXPECT_EQ(h.editor.SelLength(), 9);
}

// Back to a checkpoint: the steps since, a pending one included, are gone from both stacks, and the
// redo stack of the checkpoint is there again.
TEST(UndoEngine, RollingBackForgetsTheStepsSinceTheCheckpoint)
{
    UndoHarness h;
    h.type(QStringLiteral("a"), h.editor.TextLength());
    h.undo->FlushSnapshot();
    h.type(QStringLiteral("b"));
    h.undo->FlushSnapshot();
    h.undo->undo(1);
    h.editor.select(1, 2);
    const QString before = h.editor.TextRTF();
    const UndoEngine::Checkpoint mark = h.undo->checkpoint();

    h.undo->JpColor({ .JpLineColor = 0xFF }, true);
    h.editor.setSelColor(Qt::blue);
    ASSERT_TRUE(h.undo->SnapshotPending());
    h.undo->rollBack(mark);
    EXPECT_EQ(h.editor.TextRTF(), before);
    EXPECT_EQ(h.editor.SelStart(), 1);
    EXPECT_EQ(h.editor.SelLength(), 2);
    EXPECT_EQ(h.undo->getUndoCount(), 1);
    EXPECT_EQ(h.undo->getRedoCount(), 1);
    h.undo->Redo(1);
    EXPECT_TRUE(h.editor.Text().endsWith(QStringLiteral("ab")));
}

// The lines of a box, as positions and texts.
std::vector<std::pair<int, QString>> LinesOf(const platform::RichTextBox& box)
{
    std::vector<std::pair<int, QString>> lines;
    for (const auto& line : box.snapshotLines())
        lines.emplace_back(line.start, line.text);
    return lines;
}

// The engine reads only the lines of the paragraphs an edit touched; its line table and bars must be
// those of a scan of the whole score, in a score whose lines wrap too. Runs of digits longer than a
// text wraps at words with come and go, so that an edit changes how every paragraph wraps; a second
// box over the same document (the window has one) must read the lines a new box reads.
TEST(UndoEngine, TheLineTableAfterEveryEditIsAWholeScansTable)
{
    for (const qreal width : { -1.0, 120.0 }) {
        UndoHarness h({ { kNote, Codes({ 0x6351, Note(1), kBar, Note(2), Note(3), kBar }) },
            { kSong, QStringLiteral("歌词歌词") }, { kNote, Codes({ Note(5), Note(6), kBar }) } });
        h.editor.document()->setTextWidth(width);
        const platform::RichTextBox second(h.editor.document());
        int modeChanges = 0;
        QObject::connect(&second, &platform::RichTextBox::wrapModeChanged, [&] { ++modeChanges; });
        std::mt19937 random(5);
        const int codes[] = { kBar, Note(1), Note(4), 0x6351, u' ', u'(', 0x4E00 + 500 };
        for (int round = 0; round < 300; ++round) {
            const int length = h.editor.TextLength();
            const int start = int(random() % unsigned(length + 1));
            h.editor.select(start, int(random() % unsigned(std::min(length - start, 5) + 1)));
            QString text;
            if (random() % 20 == 0)
                text = QString(int(platform::kLongestWordWrapRun + random() % 3), u'1');
            for (int i = int(random() % 4); i > 0; --i)
                text += random() % 6 == 0 ? QStringLiteral("\r\n")
                                          : QString(QChar(char16_t(codes[random() % 7])));
            if (round % 10 == 0) {
                // The typing font of an empty last line is its mark, which the document never reports.
                h.editor.setSelStart(h.editor.TextLength());
                if (!h.editor.Text().endsWith(QStringLiteral("\r\n")))
                    h.editor.setSelText(QStringLiteral("\r\n"));
                h.undo->FlushSnapshot();
                h.undo->Get_SelJPFormBegin_and_SelJPToEnd();
                h.editor.setSelFontName(round % 20 ? kNote : kSong);
            } else if (random() % 5 == 0) {
                h.editor.setSelFontName(random() % 2 ? kNote : kSong);
            } else {
                h.editor.setSelText(text);
            }
            h.undo->FlushSnapshot();
            h.undo->Get_SelJPFormBegin_and_SelJPToEnd();
            const BarScan whole = ScanBars(BuildLineTable(h.editor.snapshotLines()), 0, 0);
            ASSERT_EQ(h.undo->LineTable().size(), whole.LineTable.size()) << round;
            for (size_t i = 0; i < whole.LineTable.size(); ++i) {
                const LineInfo& ours = h.undo->LineTable()[i];
                const LineInfo& theirs = whole.LineTable[i];
                ASSERT_EQ(ours.LineStart, theirs.LineStart) << round << " line " << i;
                ASSERT_EQ(ours.IsJpLine, theirs.IsJpLine) << round << " line " << i;
                ASSERT_EQ(Hex(ours.LineText), Hex(theirs.LineText)) << round << " line " << i;
            }
            ASSERT_EQ(h.undo->BarStarts(), whole.BarStarts) << round;
            ASSERT_EQ(LinesOf(second), LinesOf(platform::RichTextBox(h.editor.document()))) << round;
        }
        if (width > 0)
            EXPECT_GE(modeChanges, 4);
    }
}
