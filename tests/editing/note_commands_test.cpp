#include "app/editor/editing/note_codes.h"
#include "app/editor/editing/note_commands.h"
#include "tests/editing/editor_fixture.h"
#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int kDot = 0x62C2;
constexpr int kRest = 0x62CE;

using Commands = EditorFixture;

// Makes the third character of the score a grace note in red at 10 points.
void markGrace(Commands& c)
{
    c.editor.select(2, 1);
    c.editor.setSelFontName(kGrace);
    c.editor.setSelFontSize(10);
    c.editor.setSelColor(Qt::red);
    c.editor.setSelStart(0);
    c.undo->Reset();
}

} // namespace

TEST(NoteCommands, OctaveOfEveryNoteAndNothingElse)
{
    Commands c({ { kNote, Codes({ kBar, N(1, 0, 5), N(2, 1), kRest, N(3, 2, 3, 2) }) },
        { kSong, QStringLiteral("一") } });
    markGrace(c);
    c.editor.select(0, 5);
    c.commands->SetNoteOctave(1);
    EXPECT_EQ(Hex(c.line()), Hex(Codes({ kBar, N(1, 0, 0), N(2, 1), kRest, N(3, 2, 0, 2) })));
    // The grace note keeps its octave, font, size and colour.
    const platform::RunFormat grace = c.formatAt(2);
    EXPECT_EQ(grace.font, kGrace);
    EXPECT_EQ(grace.halfPoints, 20);
    EXPECT_EQ(grace.color, QColor(Qt::red).rgb());
    EXPECT_EQ(c.editor.SelStart(), 0);
    EXPECT_EQ(c.editor.SelLength(), 5);
    // One undo reverts the whole command.
    EXPECT_EQ(c.undo->getUndoCount(), 1);
    c.undo->undo(1);
    EXPECT_EQ(Hex(c.line()), Hex(Codes({ kBar, N(1, 0, 5), N(2, 1), kRest, N(3, 2, 3, 2) })));
    // A selection that changes nothing records no step.
    c.editor.select(0, 1);
    c.commands->SetNoteOctave(3);
    EXPECT_EQ(c.undo->getUndoCount(), 0);
}

TEST(NoteCommands, DurationChangesGraceNotesOnlyTheFirstTime)
{
    Commands c({ { kNote, Codes({ N(1), kDot, N(2, 0, 0, 1), kRest }) }, { kSong, QStringLiteral("一") } });
    markGrace(c);
    c.editor.select(0, 4);
    c.commands->SetNoteDuration(3);
    EXPECT_EQ(Hex(c.line()), Hex(Codes({ N(1, 0, 0, 2), kDot + 2, N(2, 0, 0, 2), kRest + 2 })));
    c.editor.select(2, 1);
    c.editor.setSelText(Codes({ N(2, 0, 0, 4) }));
    c.editor.select(0, 4);
    c.commands->SetNoteDuration(3);
    // The second call with the same duration leaves the grace note as it is.
    EXPECT_EQ(Hex(c.line()), Hex(Codes({ N(1, 0, 0, 2), kDot + 2, N(2, 0, 0, 4), kRest + 2 })));
    EXPECT_EQ(c.commands->LastDurationArg, 3);
}

TEST(NoteCommands, RhythmPatterns)
{
    struct Case {
        int mode;
        std::vector<int> durations; // of the three targets, as DurIndex
    };
    const Case cases[] = { { 0, { 1, 2, 2 } }, { 1, { 2, 2, 1 } }, { 2, { 2, 1, 2 } }, { 3, { 1, 0, 1 } } };
    for (const Case& k : cases) {
        Commands c({ { kNote, Codes({ N(1), kBar, N(2), 0x6353, N(3) }) } });
        c.editor.select(0, 5);
        c.commands->ApplyRhythmPattern(k.mode);
        EXPECT_EQ(Hex(c.line()),
            Hex(Codes({ N(1, 0, 0, k.durations[0]), kBar, N(2, 0, 0, k.durations[1]), 0x6353,
                N(3, 0, 0, k.durations[2]) })))
            << k.mode;
        EXPECT_EQ(c.editor.SelLength(), 5);
        EXPECT_EQ(c.undo->getUndoCount(), 1);
    }
    Commands dotted({ { kNote, Codes({ N(1), kDot, N(2) }) } });
    dotted.editor.select(0, 3);
    dotted.commands->ApplyRhythmPattern(4);
    EXPECT_EQ(Hex(dotted.line()), Hex(Codes({ N(1, 0, 0, 1), kDot + 1, N(2, 0, 0, 2) })));

    ScopedPrompts prompts;
    Commands wrong({ { kNote, Codes({ N(1), N(2), kDot, N(3) }) } });
    wrong.editor.select(0, 2);
    wrong.commands->ApplyRhythmPattern(0);
    wrong.editor.select(0, 3);
    wrong.commands->ApplyRhythmPattern(4); // after 4: the dot is after note 2
    wrong.editor.select(0, 2);
    wrong.commands->ApplyRhythmPattern(5); // right after a selection that held a dot
    EXPECT_EQ(prompts->texts(),
        QStringList({ QStringLiteral("选择3个简谱音符!"), QStringLiteral("附点音符位置不对！"),
            QStringLiteral("选择2个简谱、1个附点音符!") }));
    EXPECT_EQ(wrong.undo->getUndoCount(), 0);
}

TEST(NoteCommands, Slurs)
{
    struct Case {
        std::vector<int> before; // the whole line
        int start;
        int length;
        int mode;
        std::vector<int> after;
    };
    const Case cases[] = {
        // Three notes: arc start, middle, end.
        { { N(1), N(2), N(3) }, 0, 3, 0, { N(1, 1), N(2, 2), N(3, 3) } },
        // A single note: nothing in mode 0, an arc start in mode 1, an arc end in mode 2.
        { { N(1) }, 0, 1, 0, { N(1) } },
        { { N(1) }, 0, 1, 1, { N(1, 1) } },
        { { N(1) }, 0, 1, 2, { N(1, 3) } },
        // After a note whose arc goes on, the slur starts with block 4.
        { { N(5, 1), N(1), N(2) }, 1, 2, 0, { N(5, 1), N(1, 4), N(2, 3) } },
        // Lyrics and bar lines: a bar line gets its arc form.
        { { N(1), kBar, N(2) }, 0, 3, 0, { N(1, 1), 0x6355, N(2, 3) } },
    };
    for (const Case& k : cases) {
        Commands c({ { kNote, Codes({}) } });
        const QString text = Codes(k.before);
        c.editor.setSelText(text);
        c.editor.select(k.start, k.length);
        c.commands->ApplySlur(k.mode);
        EXPECT_EQ(Hex(c.line()), Hex(Codes(k.after))) << k.mode << " " << Hex(text);
        EXPECT_EQ(c.editor.SelStart(), k.start);
        EXPECT_EQ(c.editor.SelLength(), k.length);
    }
    // Grace notes keep their font and go to their arc block; "(" becomes ")".
    Commands g({ { kNote, Codes({ N(1), N(2), N(3, 2), u'(', N(4) }) }, { kSong, QStringLiteral("一") } });
    markGrace(g);
    g.editor.select(3, 1);
    g.editor.setSelFontName(kGrace);
    g.editor.select(0, 5);
    g.commands->ApplySlur(0);
    EXPECT_EQ(Hex(g.line()), Hex(Codes({ N(1, 1), N(2, 2), N(3, 3), u')', N(4, 3) })));
    EXPECT_EQ(g.formatAt(2).font, kGrace);
    EXPECT_EQ(g.formatAt(2).color, QColor(Qt::red).rgb());
}

TEST(NoteCommands, Triplets)
{
    struct Case {
        int kind;
        std::vector<int> before;
        std::vector<int> after;
    };
    const Case cases[] = {
        { 3, { N(1), N(2), kRest }, { N(1, 8), N(2, 9), 0x62DA + 12 } },
        { 2, { N(1), 0x6226, N(2) }, { N(1, 8), 0x6226 + 60, N(2, 9) } },
        { 1, { N(1), N(2, 2) }, { N(1, 9), N(2, 13) } }, { 1, { N(3) }, { N(3, 10) } },
        { 3, { N(1), N(2) }, { N(1), N(2) } }, // wrong count: nothing
    };
    for (const Case& k : cases) {
        Commands c({ { kNote, Codes({}) } });
        const QString text = Codes(k.before);
        c.editor.setSelText(text);
        c.editor.select(0, int(text.size()));
        c.commands->MarkTriplet(k.kind);
        EXPECT_EQ(Hex(c.line()), Hex(Codes(k.after))) << k.kind;
    }
    // A lyric inside the selection keeps its character.
    Commands lyric({ { kNote, Codes({ N(1), N(2), N(3) }) } });
    lyric.editor.select(1, 1);
    lyric.editor.setSelFontName(kSong);
    lyric.editor.select(0, 3);
    lyric.commands->MarkTriplet(2);
    EXPECT_EQ(Hex(lyric.line()), Hex(Codes({ N(1, 8), N(2), N(3, 9) })));
}

TEST(NoteCommands, ArcFormsRepeatSignsAndMarks)
{
    ScopedPrompts prompts;
    // Repeat sign from a plain bar line: the passage takes its arc forms.
    Commands r({ { kNote, Codes({ kBar, N(1), N(2), kRest }) } });
    r.editor.select(0, 4);
    r.commands->DoNoteMark(7);
    EXPECT_EQ(Hex(r.line()), Hex(Codes({ 0x6363, N(1, 2), N(2, 2), kRest + 6 })));
    EXPECT_EQ(r.undo->getUndoCount(), 1);
    // And back: "取消连音线" keeps the new sign and the lyric.
    r.commands->ConvertSelChars();
    EXPECT_EQ(Hex(r.line()), Hex(Codes({ 0x6363, N(1), N(2), kRest })));
    // "$" gives "^".
    Commands d({ { kNote, Codes({ u'$', N(1) }) } });
    d.editor.select(0, 2);
    d.commands->DoNoteMark(7);
    EXPECT_EQ(Hex(d.line()), Hex(Codes({ u'^', N(1, 2) })));
    // Kind 8 needs a repeat sign first; kind 7 a bar line.
    Commands m({ { kNote, Codes({ N(1), kBar, 0x6358, N(2) }) } });
    m.editor.select(0, 2);
    m.commands->DoNoteMark(7);
    m.editor.select(1, 2);
    m.commands->DoNoteMark(8);
    m.editor.select(2, 2);
    m.commands->DoNoteMark(8);
    EXPECT_EQ(Hex(m.line()), Hex(Codes({ N(1), kBar, 0x636D, N(2, 2) })));
    ASSERT_EQ(prompts->shown.size(), 2u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("请选择以小节线开头的一段简谱。"));
    EXPECT_EQ(prompts->shown[0].icon, platform::PromptIcon::None);
    EXPECT_EQ(prompts->shown[1].text, QStringLiteral("第一字符选择反复记号，再进行转换。"));
    // 9 and 10 insert in the font at the caret.
    m.editor.setSelStart(1);
    m.commands->DoNoteMark(10);
    EXPECT_EQ(m.line()[1], QChar(char16_t(0x6358)));
    // ResetNoteFont adds the arc forms and collapses the selection.
    Commands a({ { kNote, Codes({ N(1), 0x6351 }) } });
    a.editor.select(0, 2);
    a.commands->ResetNoteFont();
    EXPECT_EQ(Hex(a.line()), Hex(Codes({ N(1, 2), 0x6354 })));
    EXPECT_EQ(a.editor.SelLength(), 0);
}

TEST(NoteCommands, MarksNeedANotationLine)
{
    ScopedPrompts prompts;
    Commands c({ { kSong, QStringLiteral("歌词") }, { kNote, Codes({ 0x634F, 0x633A }) },
        { kNote, Codes({ N(1, 1) }) } });
    c.editor.setSelStart(1);
    c.commands->DoNoteMark(9);
    c.commands->markAccidental(0);
    c.commands->InsertRepeatSign(QChar(char16_t(0x635A)));
    EXPECT_EQ(prompts->texts(),
        QStringList({ QStringLiteral("必须插入到简谱行!"), QStringLiteral("必须插入到简谱行或“1=”行!"),
            QStringLiteral("该记号应插入简谱行。") }));
    EXPECT_EQ(c.undo->getUndoCount(), 0);
    // On the key line an accidental is allowed.
    c.editor.setSelStart(6);
    c.commands->markAccidental(1);
    EXPECT_EQ(c.editor.LineText(1)[2], QChar(char16_t(0x6227)));
    // After a slurred eighth note: sharp + 5 x 1 + 30 x 1.
    c.editor.setSelStart(c.editor.TextLength());
    c.commands->markAccidental(0);
    EXPECT_EQ(c.editor.Text().back(), QChar(char16_t(0x6226 + 30)));
    // A key change goes in the symbol font; typing goes on in the main font.
    c.commands->insertKeyChange(13);
    EXPECT_EQ(c.editor.Text().back(), QChar(char16_t(0x5F9B)));
    EXPECT_EQ(c.editor.SelFontName(), kNote);
    EXPECT_EQ(c.formatAt(c.editor.TextLength() - 1).font, kSymbol);
}

TEST(NoteCommands, RepeatCountAnswers)
{
    struct Case {
        std::optional<QString> answer;
        int inserted; // 0: nothing
    };
    const Case cases[] = { { QStringLiteral("2"), 0x6358 }, { QStringLiteral("3"), 0x6381 },
        { QStringLiteral("9"), 0x6387 }, { QStringLiteral("10"), 0 }, { QStringLiteral("1"), 0 },
        { QStringLiteral(""), 0 }, { std::nullopt, 0 }, { QStringLiteral("2.5"), 0 },
        // Numbers no count reaches: nothing, and no conversion out of range on the way.
        { QStringLiteral("1e10"), 0 }, { QStringLiteral("-1e10"), 0 }, { QStringLiteral("2147483648"), 0 },
        { QStringLiteral("-2147483648"), 0 }, { QStringLiteral("4294967298"), 0 },
        { QStringLiteral("1.999"), 0 }, { QStringLiteral("9.001"), 0 }, { QStringLiteral("nan"), 0 },
        { QStringLiteral("1e999"), 0 } };
    for (const Case& k : cases) {
        ScopedPrompts prompts;
        prompts->inputs.push_back(k.answer);
        Commands c({ { kNote, Codes({ kBar, N(1) }) } });
        c.editor.select(1, 1);
        c.commands->InsertRepeatCountSign();
        const QString expected = k.inserted ? Codes({ kBar, k.inserted }) : Codes({ kBar, N(1) });
        EXPECT_EQ(Hex(c.line()), Hex(expected)) << k.answer.value_or(QStringLiteral("cancel")).toStdString();
    }
}

TEST(NoteCommands, GraceNotesFromTheDialog)
{
    Commands c({ { kNote, Codes({ N(1, 1, 0, 2) }) } });
    c.editor.setSelStart(1);
    int initDur = -1, initArc = -1;
    c.commands->graceNoteDialog = [&](int dur, int arc) {
        initDur = dur;
        initArc = arc;
        return GraceNoteChoice { true, { N(2), N(3), N(4) } };
    };
    c.commands->DoNoteMark(0);
    EXPECT_EQ(initDur, 2);
    EXPECT_EQ(initArc, 1);
    EXPECT_EQ(Hex(c.line()), Hex(Codes({ N(1, 1, 0, 2), N(2), N(3), N(4) })));
    EXPECT_EQ(c.editor.SelFontName(), kNote);
    EXPECT_EQ(c.formatAt(2).font, QStringLiteral("KORVA_Note_yy2"));
    EXPECT_EQ(c.undo->getUndoCount(), 1);
    c.commands->graceNoteDialog = [](int, int) { return GraceNoteChoice { false, { N(2) } }; };
    c.commands->DoNoteMark(0);
    EXPECT_EQ(c.undo->getUndoCount(), 1);
}

TEST(NoteCommands, LyricUnderline)
{
    ScopedPrompts prompts;
    Commands c({ { kNote, Codes({ N(1) }) }, { kSong, QStringLiteral("歌词") } });
    c.editor.setSelStart(0);
    c.commands->ToggleLyricUnderline();
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("此按钮设置歌词的下划线!") }));
    c.editor.select(3, 2);
    c.commands->ToggleLyricUnderline();
    EXPECT_TRUE(c.editor.SelUnderline());
}
