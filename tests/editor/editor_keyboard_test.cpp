#include "app/editor/editing/editor_keyboard.h"
#include "app/editor/editing/input_method_filter.h"
#include "app/editor/editing/notation_keys.h"
#include "tests/editing/score_builder.h"
#include "tests/support/scripted_prompts.h"

#include "platform/richtext/rich_text_edit.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int N(int degree, int block = 0, int row = 0, int dur = 0)
{
    return 0x4E00 + block * 294 + row * 42 + dur * 7 + degree - 1;
}

// An editor view with the window's key handling in front of the undo engine's.
struct Keys {
    platform::RichTextEdit view;
    platform::RichTextBox& editor = view.box();
    notation::ScoreHeader header;
    notation::ColorScheme colors;
    bool layoutBusy = false;
    bool cmdBusy = false;
    double notationSize = 32;
    double textSize = 12;
    bool nearLineEnd = false;
    int cqsf = 0;
    QString panel8;
    std::vector<std::int16_t> busyDuringCommands;
    std::unique_ptr<UndoEngine> undo;
    std::unique_ptr<NoteCommands> commands;
    std::unique_ptr<EditorKeyboard> keyboard;
    InputMethodFilter imeFilter { [this] { return undo->CaretOnNotationLine(); } };

    explicit Keys(std::initializer_list<ScoreLine> lines)
    {
        FillScore(editor, lines);
        undo = std::make_unique<UndoEngine>(editor, UndoHost { &header, &layoutBusy, &cmdBusy, {}, {} });
        commands = std::make_unique<NoteCommands>(editor, *undo);
        keyboard = std::make_unique<EditorKeyboard>(editor, *undo, *commands,
            KeyboardHost { &notationSize, &textSize, &cmdBusy, &colors, [this] { return nearLineEnd; },
                [this] { ++cqsf; }, [this](const QString& t) { panel8 = t; } });
        QObject::connect(&editor, &platform::RichTextBox::KeyDown,
            [this](int& code, int shift) { keyboard->KeyDown(code, shift); });
        QObject::connect(&editor, &platform::RichTextBox::KeyUp,
            [this](int& code, int shift) { keyboard->KeyUp(code, shift); });
        QObject::connect(&editor, &platform::RichTextBox::Change, [this] {
            if (cmdBusy)
                busyDuringCommands.push_back(cmdBusy);
        });
        view.installEventFilter(&imeFilter);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(&view, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(&view, &up);
    }
    QString line(int i = 0) const { return editor.LineText(i).remove(QStringLiteral("\r\n")); }
};

} // namespace

TEST(EditorKeyboard, TypingNotesFromTheMainKeysAndTheKeypad)
{
    Keys k({ { kNote, Codes({ kBar }) }, { kSong, QStringLiteral("歌") } });
    k.editor.setSelStart(1);
    k.press(Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    k.press(Qt::Key_2, Qt::KeypadModifier, QStringLiteral("2"));
    k.press(Qt::Key_Period, Qt::NoModifier, QStringLiteral("."));
    k.press(Qt::Key_Equal, Qt::NoModifier, QStringLiteral("="));
    k.press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a")); // swallowed
    k.press(Qt::Key_Slash, Qt::KeypadModifier, QStringLiteral("/"));
    EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar, N(1), N(2), 0x62C2, 0x6352, u'(' })));
    k.editor.select(5, 1);
    EXPECT_EQ(k.editor.SelFontName(), kGrace);
    k.editor.select(2, 1);
    EXPECT_EQ(k.editor.SelFontName(), kNote);
    // On a lyric line the keys type what they are.
    k.editor.setSelStart(k.editor.TextLength());
    k.press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(k.line(1), QStringLiteral("歌a"));
    EXPECT_EQ(k.panel8, QStringLiteral("字号:12"));
}

TEST(EditorKeyboard, ShiftPAndShiftDCycles)
{
    Keys k({ { kNote, Codes({ N(1) }) } });
    auto octaveRow = [&] { return (k.line()[0].unicode() - 0x4E00) % 294 / 42; };
    auto durIndex = [&] { return (k.line()[0].unicode() - 0x4E00) % 42 / 7; };
    k.editor.select(0, 1);
    std::vector<int> rows;
    for (int i = 0; i < 3; ++i) {
        k.press(Qt::Key_P, Qt::ShiftModifier, QStringLiteral("P"));
        rows.push_back(octaveRow());
    }
    EXPECT_EQ(rows, (std::vector<int> { 2, 1, 0 })); // arguments 3, 2, 1
    rows.clear();
    k.press(Qt::Key_X, Qt::ShiftModifier, QStringLiteral("X"));
    k.press(Qt::Key_P, Qt::ShiftModifier, QStringLiteral("P"));
    rows.push_back(octaveRow());
    k.press(Qt::Key_X, Qt::ShiftModifier, QStringLiteral("X"));
    k.press(Qt::Key_P, Qt::ShiftModifier, QStringLiteral("P"));
    rows.push_back(octaveRow());
    EXPECT_EQ(rows, (std::vector<int> { 2, 2 })); // 3 and 3
    std::vector<int> durations;
    for (int i = 0; i < 7; ++i) {
        k.press(Qt::Key_D, Qt::ShiftModifier, QStringLiteral("D"));
        durations.push_back(durIndex());
    }
    EXPECT_EQ(durations, (std::vector<int> { 1, 2, 3, 4, 5, 0, 1 })); // 2, 3, 4, 5, 6, 1, 2
    EXPECT_EQ(k.line().size(), 1);
    // Each rewrite ran with NotationCmdBusy set, and it is clear afterwards.
    EXPECT_FALSE(k.busyDuringCommands.empty());
    EXPECT_EQ(k.cmdBusy, 0);
}

TEST(EditorKeyboard, BackspaceAndDeleteTakeAnOrnamentRunWhole)
{
    for (const bool backspace : { true, false }) {
        Keys k({ { kNote, Codes({ kBar, u'B', u'F', N(3), N(4) }) } });
        k.editor.select(1, 2);
        k.editor.setSelFontName(kSymbol);
        k.editor.setSelStart(backspace ? 4 : 1);
        k.press(backspace ? Qt::Key_Backspace : Qt::Key_Delete);
        EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar, N(4) }))) << backspace;
    }
}

TEST(EditorKeyboard, EnterAtALineEndAsksHowTheNextLineIsTyped)
{
    ScopedPrompts prompts;
    prompts->answers.push_back(platform::PromptAnswer::No);
    Keys k({ { kNote, Codes({ kBar, N(1) }) } });
    k.editor.setSelStart(2);
    k.nearLineEnd = true;
    k.press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("下一行输入简谱？") }));
    EXPECT_EQ(prompts->shown[0].icon, platform::PromptIcon::Question);
    EXPECT_EQ(k.undo->getUndoCount(), 1);
    // Also after moving away and back the new line types lyrics.
    k.nearLineEnd = false;
    k.editor.setSelStart(0);
    k.editor.setSelStart(k.editor.TextLength());
    k.press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(k.line(1), QStringLiteral("a"));
    k.editor.select(k.editor.TextLength() - 1, 1);
    EXPECT_EQ(k.editor.SelFontName(), kSong);
    EXPECT_EQ(k.editor.SelFontSize(), 12);
}

// A question the user takes time over, as a modal box does: the window's events run while it waits.
class SlowAnswers final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest&) override
    {
        QTest::qWait(300);
        const platform::PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return {}; }
    void beep() override { }

    std::deque<platform::PromptAnswer> answers;
};

// Notes, Enter and its question, lyrics, Enter again: every step that Ctrl+Z takes back changes the
// text, and the line that Enter opened goes with its format in one step.
TEST(EditorKeyboard, EveryStepOfTypingLinesChangesTheText)
{
    auto answers = std::make_unique<SlowAnswers>();
    answers->answers = { platform::PromptAnswer::No, platform::PromptAnswer::Yes };
    std::unique_ptr<platform::Prompts> previous = platform::Prompts::install(std::move(answers));
    Keys k({ { kNote, Codes({ kBar }) } });
    k.editor.setSelStart(1);
    const auto pause = [&] { QTest::qWait(200); };
    k.press(Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    k.press(Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    pause();
    k.nearLineEnd = true;
    k.press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    k.nearLineEnd = false;
    QTest::keyClicks(&k.view, QStringLiteral("la"));
    pause();
    k.nearLineEnd = true;
    k.press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(k.editor.Text(), Codes({ kBar, N(1), N(2) }) + QStringLiteral("\r\nla\r\n"));
    EXPECT_EQ(k.undo->getUndoCount(), 4);
    QStringList texts { k.editor.Text() };
    while (k.undo->canUndo()) {
        k.undo->undo(1);
        EXPECT_NE(k.editor.Text(), texts.back()) << texts.size();
        texts << k.editor.Text();
    }
    EXPECT_EQ(texts.back(), Codes({ kBar }));
    platform::Prompts::install(std::move(previous));
}

TEST(EditorKeyboard, InputMethodOnANotationLineInsertsNothing)
{
    ScopedPrompts prompts;
    Keys k({ { kNote, Codes({ kBar }) }, { kSong, QString() } });
    k.editor.setSelStart(1);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("你"));
    QCoreApplication::sendEvent(&k.view, &commit);
    EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar })));
    EXPECT_EQ(prompts->texts(), QStringList({ kInputMethodMessage }));
    // On a lyric line the input method types.
    k.editor.setSelStart(k.editor.TextLength());
    QInputMethodEvent lyric;
    lyric.setCommitString(QStringLiteral("你"));
    QCoreApplication::sendEvent(&k.view, &lyric);
    EXPECT_EQ(k.line(1), QStringLiteral("你"));
}

TEST(EditorKeyboard, CtrlDDeletesNothingAndCtrlZUndoesOneStep)
{
    Keys k({ { kNote, Codes({ kBar, N(1), N(2) }) } });
    k.editor.setSelStart(1);
    k.press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar, N(1), N(2) })));
    EXPECT_EQ(k.cqsf, 1);
    k.editor.setSelStart(3);
    k.press(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    k.undo->FlushSnapshot();
    k.press(Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    k.undo->FlushSnapshot();
    k.press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar, N(1), N(2), N(3) })));
    k.press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Hex(k.line()), Hex(Codes({ kBar, N(1), N(2), N(3), N(4) })));
}

TEST(EditorKeyboard, CaretStateAndPanels)
{
    platform::RichTextBox box;
    FillScore(box, { { kSong, QStringLiteral("abcd") }, { kSong, QStringLiteral("xyz") } });
    struct Case {
        int position;
        int line;
        int column;
        bool nearEnd;
    };
    const Case cases[] = { { 0, 1, 1, false }, { 3, 1, 4, false }, { 4, 1, 5, true }, { 6, 2, 1, false },
        { 7, 2, 2, true }, { 9, 2, 4, true } };
    for (const Case& c : cases) {
        box.setSelStart(c.position);
        const CaretState s = ReadCaretState(box);
        EXPECT_EQ(s.CaretLine, c.line) << c.position;
        EXPECT_EQ(s.CaretColumn, c.column) << c.position;
        EXPECT_EQ(s.CaretNearLineEnd, c.nearEnd) << c.position;
    }
    EXPECT_EQ(CaretPanelText({ 3, 7, false }), QStringLiteral("行：3  列：7"));
    EXPECT_EQ(BarPanelText(0, 12), QStringLiteral("小节：1/12"));
    EXPECT_EQ(FontSizePanelText(10.5), QStringLiteral("字号:10.5"));
}

// A bar line typed inside a bar splits that bar: the undo engine reports one bar added where the caret
// stood, so the drum records follow the bars.
TEST(EditorKeyboard, ATypedBarLineAddsABarWhereItSplits)
{
    Keys k({ { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3), kBar, Note(4), kBar }) },
        { kSong, QStringLiteral("歌") } });
    k.undo->Reset();
    std::vector<std::array<int, 4>> changes;
    QObject::connect(
        k.undo.get(), &UndoEngine::XJChanged, [&](int delAt, int delN, int addAt, int addN, int, int) {
            changes.push_back({ delAt, delN, addAt, addN });
        });
    k.editor.setSelStart(6);
    k.undo->FlushSnapshot();
    const int barBefore = k.undo->OnXj();
    k.press(Qt::Key_Equal, Qt::NoModifier, QStringLiteral("="));
    k.undo->FlushSnapshot();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], (std::array<int, 4> { barBefore, 0, barBefore, 1 }));
}
