#include "app/dialogs/font_set_dialog.h"
#include "app/editor/editing/note_codes.h"
#include "app/editor/parts/main_form_notation_marks.h"
#include "app/editor/parts/main_form_ornaments.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/toolbar_icons.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editor/parts_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

const QString kClosed = QStringLiteral("音长/音高格式刷关闭");
const QString kRefused = QStringLiteral("字号设置过大或过小！");

std::vector<double> sizes(platform::RichTextBox& box, int start, int count)
{
    const int s = box.SelStart();
    const int l = box.SelLength();
    std::vector<double> out;
    for (int i = start; i < start + count; ++i) {
        box.select(i, 1);
        out.push_back(box.SelFontSize());
    }
    box.select(s, l);
    return out;
}

// A window over "bar 1 2 3 bar" with the notes at 20, 10 and 20 points.
struct Fonts : PartsWindow {
    std::function<void(dialogs::FontSetDialog&)> answer;
    int dialogs = 0;

    Fonts()
        : PartsWindow({ { kNote, Codes({ kBar, Note(1), Note(2), Note(3), kBar }) } })
    {
        editor.select(1, 3);
        editor.setSelFontSize(20);
        editor.select(2, 1);
        editor.setSelFontSize(10);
        editing.undo().Reset();
        fonts.setFontSetRunner([this](dialogs::FontSetDialog& dialog) {
            ++dialogs;
            if (answer)
                answer(dialog);
        });
    }
    // The dialog answered with `text` in `row` and OK, or closed.
    void scale(int start, int length, std::optional<std::pair<int, QString>> typed)
    {
        answer = [typed](dialogs::FontSetDialog& dialog) {
            if (!typed) {
                dialog.reject();
                return;
            }
            dialog.typeInto(typed->first, typed->second);
            dialog.Command1->click();
            if (dialog.result() != QDialog::Accepted)
                dialog.reject();
        };
        editor.select(start, length);
        form.commands().run(QStringLiteral("SFZH"), 0);
    }
    QString panel(StatusPanel number) const { return form.statusPanels().panelText(number); }
};

} // namespace

TEST(MainFormFonts, EveryTransitionOfTheBrushMenu)
{
    using B = BrushKind;
    struct Row {
        B from;
        int index;
        B to;
        int jumpTo; // 0: the pointer stays
        QString brushPanel;
    };
    const Row rows[] = {
        { B::None, 0, B::Pitch, 24, QStringLiteral("音高格式刷打开") },
        { B::None, 1, B::Duration, 32, QStringLiteral("音长格式刷打开") },
        { B::None, 2, B::None, 0, kClosed },
        { B::Pitch, 0, B::None, 0, kClosed },
        { B::Pitch, 1, B::Duration, 32, QStringLiteral("音长格式刷打开") },
        { B::Pitch, 2, B::None, 0, kClosed },
        { B::Duration, 0, B::Pitch, 24, QStringLiteral("音高格式刷打开") },
        { B::Duration, 1, B::None, 0, kClosed },
        { B::Duration, 2, B::None, 0, kClosed },
        { B::Pitch, 3, B::Pitch, 0, QStringLiteral("音高格式刷打开") },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << int(row.from) << " item " << row.index);
        PartsWindow w({ { kNote, Codes({ kBar, Note(1) }) } });
        w.form.resize(1200, 600);
        w.form.show();
        std::vector<QPoint> jumps;
        w.fonts.setPointerMover([&](const QPoint& at) { jumps.push_back(at); });
        MainToolbar& toolbar = w.form.toolbar();
        // The brush as it is, with a value chosen on the toolbar.
        if (row.from != B::None) {
            w.form.action(QStringLiteral("FormatTool"), row.from == B::Pitch ? 0 : 1)->trigger();
            toolbar.button(row.from == B::Pitch ? 23 : 31)->trigger();
            ASSERT_EQ(toolbar.buttonValue(row.from == B::Pitch ? 23 : 31), 1);
        }
        jumps.clear();
        w.form.statusPanels().setPanelText(StatusPanel::Hint, {});
        if (row.index <= 2)
            w.form.action(QStringLiteral("FormatTool"), row.index)->trigger();
        else
            w.fonts.useBrushMenu(row.index);

        EXPECT_EQ(w.fonts.brush(), row.to);
        EXPECT_EQ(w.form.action(QStringLiteral("FormatTool"), 0)->isChecked(), row.to == B::Pitch);
        EXPECT_EQ(w.form.action(QStringLiteral("FormatTool"), 1)->isChecked(), row.to == B::Duration);
        EXPECT_EQ(toolbar.buttonStyle(26), row.to == B::Pitch ? ButtonStyle::Check : ButtonStyle::DropDown);
        EXPECT_EQ(
            toolbar.buttonStyle(33), row.to == B::Duration ? ButtonStyle::Check : ButtonStyle::DropDown);
        EXPECT_EQ(toolbar.button(26)->menu() != nullptr, row.to != B::Pitch);
        EXPECT_EQ(toolbar.toolButton(33)->popupMode() == QToolButton::MenuButtonPopup, row.to != B::Duration);
        int pressed = 0;
        for (int i = 22; i <= 33; ++i)
            pressed += toolbar.buttonValue(i);
        EXPECT_EQ(pressed, row.to == row.from && row.to != B::None ? 1 : 0);
        const QCursor cursor = w.form.editorView()->viewport()->cursor();
        if (row.to == B::None) {
            EXPECT_EQ(cursor.shape(), Qt::IBeamCursor);
        } else {
            EXPECT_EQ(cursor.pixmap().toImage(), FormatBrushCursor(row.to == B::Pitch).pixmap().toImage());
            EXPECT_EQ(cursor.hotSpot(), QPoint(1, 31));
        }
        EXPECT_EQ(w.form.statusPanels().panelText(StatusPanel::Brush), row.brushPanel);
        EXPECT_EQ(w.form.statusPanels().panelText(StatusPanel::Hint),
            QStringLiteral("先按音高或音长格式按钮，后选中音符，逐类进行格式化。"));
        // The pointer went where the button is once the toolbar has laid itself out again.
        QApplication::processEvents();
        if (row.jumpTo == 0) {
            EXPECT_TRUE(jumps.empty());
        } else {
            const QToolButton* target = toolbar.toolButton(row.jumpTo);
            EXPECT_EQ(jumps, std::vector<QPoint> { target->mapToGlobal(target->rect().center()) });
        }
    }
}

TEST(MainFormFonts, LeftReleasesApplyThePressedButtonOfTheBrushThatIsOn)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1), Note(2), Note(3) }) } });
    const auto release = [&](int start, int length, int button) {
        w.editor.select(start, length);
        w.clipboard.mouseReleased(button);
    };
    w.fonts.useBrushMenu(0);
    release(1, 1, 1);
    EXPECT_EQ(w.editor.Text(), Codes({ kBar, Note(1), Note(2), Note(3) }));
    w.form.toolbar().button(25)->trigger();
    EXPECT_EQ(w.editor.Text(), Codes({ kBar, Note(1), Note(2), Note(3) }));
    release(1, 1, 1);
    release(3, 1, 1);
    release(2, 1, 2);
    EXPECT_EQ(w.editor.Text(), Codes({ kBar, WithOctave(Note(1), 5), Note(2), WithOctave(Note(3), 5) }));
    EXPECT_EQ(w.steps(), 2);
    // A real release of the left button.
    w.fonts.useBrushMenu(1);
    w.form.toolbar().button(31)->trigger();
    w.editor.select(2, 1);
    QTest::mouseRelease(w.form.editorView()->viewport(), Qt::LeftButton);
    EXPECT_EQ(w.editor.Text(),
        Codes({ kBar, WithOctave(Note(1), 5), WithDuration(Note(2), 2), WithOctave(Note(3), 5) }));
    w.fonts.useBrushMenu(2);
    release(1, 3, 1);
    EXPECT_EQ(w.steps(), 3);
}

TEST(MainFormFonts, ScalingByTheDialogIsOneUndoStep)
{
    Fonts w;
    const QString before = w.editor.TextRTF();
    w.scale(1, 3, std::pair { 0, QStringLiteral("110") });
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 22, 11, 22 }));
    EXPECT_EQ(w.editor.SelStart(), 1);
    EXPECT_EQ(w.editor.SelLength(), 3);
    EXPECT_EQ(w.panel(StatusPanel::Brush), QStringLiteral("字号缩放比例：110"));
    EXPECT_EQ(w.steps(), 1);
    w.editing.undo().undo(1);
    EXPECT_EQ(w.editor.TextRTF(), before);
    // With nothing selected there is no dialog.
    w.scale(2, 0, std::pair { 0, QStringLiteral("110") });
    EXPECT_EQ(w.dialogs, 1);
}

TEST(MainFormFonts, ARefusedSizeGetsTheSameAnswerEveryWay)
{
    Fonts w;
    // By step: the characters before the refused one keep their new sizes.
    w.scale(1, 3, std::pair { 1, QStringLiteral("-9.5") });
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 10.5, 10, 20 }));
    EXPECT_EQ(w.editor.SelStart(), 2);
    EXPECT_EQ(w.editor.SelLength(), 0);
    // By a ratio that is no number, and to a size out of range: nothing changes.
    w.scale(1, 3, std::pair { 0, QStringLiteral("abc") });
    w.scale(1, 3, std::pair { 2, QStringLiteral("2000") });
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 10.5, 10, 20 }));
    EXPECT_EQ(w.editor.SelStart(), 1);
    EXPECT_EQ(w.editor.SelLength(), 0);
    EXPECT_EQ(w.prompts->texts(), QStringList({ kRefused, kRefused, kRefused }));
    EXPECT_EQ(w.steps(), 1);
}

// 4,000 spaced digits at 1638 points, a character a line, stand taller than the window's layout can
// count: such a size is refused as one out of range, whichever way it is asked for, and nothing changes.
// A quarter of the digits take it.
TEST(MainFormFonts, ASizeThatWouldMakeTheScoreTooTallIsRefused)
{
    PartsWindow w({ { kSong, QStringLiteral("1 ").repeated(4000) } });
    w.form.show();
    const QString before = w.editor.TextRTF();
    dialogs::DialogResults& results = w.form.dialogResults();
    const auto repeat = [&](int length, const QString& step, const QString& percent, const QString& size) {
        results.FontScaleStep = step;
        results.FontScalePercent = percent;
        results.FontScaleSize = size;
        w.editor.select(0, length);
        w.form.commands().run(QStringLiteral("CQSF"), 0);
    };
    const int all = w.editor.TextLength();
    repeat(all, QString(), QString(), QStringLiteral("1638"));
    repeat(all, QString(), QStringLiteral("100000%"), QString());
    repeat(all, QStringLiteral("1700"), QString(), QString());
    EXPECT_EQ(w.prompts->texts(), QStringList(3, kRefused));
    EXPECT_EQ(w.editor.TextRTF(), before);
    EXPECT_EQ(w.steps(), 0);

    repeat(all / 4, QString(), QString(), QStringLiteral("1638"));
    EXPECT_EQ(w.prompts->texts().size(), 3);
    EXPECT_EQ(sizes(w.editor, 0, 1), (std::vector<double> { 1638 }));
    EXPECT_EQ(w.steps(), 1);
}

// Raise points that no 16-bit number holds: the size message, no step, the text as it was.
TEST(MainFormFonts, RaisePointsOutOfRangeAreRefused)
{
    Fonts w;
    const QString before = w.editor.TextRTF();
    const double refused[] = { std::nan(""), 1e10, -1e10, 2147483648.0, -2147483648.0, 32768, -32769 };
    for (const double points : refused) {
        w.editor.select(1, 1);
        w.fonts.raiseSelection(points);
    }
    EXPECT_EQ(w.prompts->texts(), QStringList(int(std::size(refused)), kRefused));
    EXPECT_EQ(w.editor.TextRTF(), before);
    EXPECT_EQ(w.steps(), 0);
    w.editor.select(1, 1);
    w.fonts.raiseSelection(15);
    EXPECT_EQ(w.steps(), 1);
    EXPECT_EQ(sizes(w.editor, 1, 1), (std::vector<double> { 9 }));
}

TEST(MainFormFonts, RepeatTakesTheLastAcceptedAnswer)
{
    Fonts w;
    const auto repeat = [&](int start, int length) {
        w.editor.select(start, length);
        w.form.commands().run(QStringLiteral("CQSF"), 0);
    };
    repeat(1, 3);
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 20, 10, 20 }));
    w.scale(1, 1, std::pair { 1, QStringLiteral("2") });
    w.scale(1, 1, std::nullopt);
    repeat(2, 2);
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 22, 12, 22 }));
    // Ctrl+D in the editor repeats too; with nothing selected nothing changes and the caret stays.
    w.editor.select(2, 2);
    QKeyEvent ctrlD(QEvent::KeyPress, Qt::Key_D, Qt::ControlModifier);
    QApplication::sendEvent(w.form.editorView(), &ctrlD);
    EXPECT_EQ(sizes(w.editor, 1, 4), (std::vector<double> { 22, 14, 24, 16 }));
    repeat(4, 0);
    EXPECT_EQ(w.editor.SelStart(), 4);
    EXPECT_EQ(sizes(w.editor, 1, 4), (std::vector<double> { 22, 14, 24, 16 }));
    // An absolute size with nothing selected is the size typed next.
    w.scale(1, 1, std::pair { 2, QStringLiteral("14") });
    repeat(5, 0);
    EXPECT_EQ(w.editor.SelFontSize(), 14);
    // A refused OK empties the answer: a cancel after it leaves nothing to repeat.
    w.answer = [](dialogs::FontSetDialog& dialog) {
        dialog.typeInto(1, QString());
        dialog.Command1->click();
        dialog.Command2->click();
    };
    w.editor.select(1, 1);
    w.form.commands().run(QStringLiteral("SFZH"), 0);
    repeat(1, 3);
    EXPECT_EQ(sizes(w.editor, 1, 3), (std::vector<double> { 14, 14, 24 }));
}

TEST(FontSetDialog, OkWithoutAChoiceOrWithAnEmptyTextStaysOpen)
{
    ScopedPrompts prompts;
    dialogs::DialogResults results;
    results.FontSetApplied = true;
    QString panel;
    dialogs::FontSetDialog dialog(results, 24, [&](const QString& text) { panel = text; });
    EXPECT_FALSE(results.FontSetApplied);
    dialog.show();
    for (const QRadioButton* option : dialog.Option1)
        EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(dialog.Combo1[0]->currentText(), QStringLiteral("100"));
    EXPECT_EQ(dialog.Combo1[1]->currentText(), QStringLiteral("1"));
    EXPECT_EQ(dialog.Combo1[2]->currentText(), QStringLiteral("24"));
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("你没有选择!"));
    EXPECT_EQ(prompts->shown[0].title, QString());
    EXPECT_EQ(prompts->shown[0].icon, platform::PromptIcon::Information);
    // Clearing the text of a box marks its row; OK then shows the row in panel 7 and refuses.
    dialog.Combo1[0]->lineEdit()->setFocus();
    dialog.Combo1[0]->lineEdit()->selectAll();
    QTest::keyClick(dialog.Combo1[0]->lineEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(dialog.Option1[0]->isChecked());
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_EQ(panel, QStringLiteral("字号缩放比例："));
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("你的设置有误!"));
    EXPECT_TRUE(dialog.isVisible());
    // Choosing from a list marks its row too.
    dialog.Combo1[2]->setCurrentIndex(11);
    emit dialog.Combo1[2]->activated(11);
    EXPECT_TRUE(dialog.Option1[2]->isChecked());
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(results.FontSetApplied);
    EXPECT_EQ(results.FontScaleSize, QStringLiteral("34"));
    EXPECT_EQ(panel, QStringLiteral("字号：34"));
}

TEST(FontSetDialog, OkByRowWithAndWithoutText)
{
    const QString labels[]
        = { QStringLiteral("字号缩放比例："), QStringLiteral("字号缩放值："), QStringLiteral("字号：") };
    for (int row = 0; row < 3; ++row) {
        for (const QString& text : { QStringLiteral("15"), QString() }) {
            SCOPED_TRACE(::testing::Message() << "row " << row << " '" << text.toStdString() << "'");
            ScopedPrompts prompts;
            dialogs::DialogResults results { false, QStringLiteral("a"), QStringLiteral("b"),
                QStringLiteral("c") };
            QString panel;
            dialogs::FontSetDialog dialog(results, 0, [&](const QString& shown) { panel = shown; });
            dialog.typeInto(row, text);
            dialog.Command1->click();
            const QStringList expected[] = { { text, {}, {} }, { {}, text, {} }, { {}, {}, text } };
            EXPECT_EQ(QStringList({ results.FontScalePercent, results.FontScaleStep, results.FontScaleSize }),
                expected[row]);
            EXPECT_EQ(results.FontSetApplied, !text.isEmpty());
            EXPECT_EQ(dialog.result(), text.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
            EXPECT_EQ(panel, labels[row] + text);
            EXPECT_EQ(prompts->texts(),
                text.isEmpty() ? QStringList { QStringLiteral("你的设置有误!") } : QStringList());
        }
    }
}

TEST(FontSetDialog, TheSizeListOpensOnTheSelectionsSizeWhenListedAndTheCloseBoxCancels)
{
    dialogs::DialogResults results { true, QStringLiteral("110"), {}, {} };
    for (const double size : { 0.0, 1.0, 10.5 }) {
        dialogs::FontSetDialog dialog(results, size, {});
        EXPECT_EQ(dialog.Combo1[2]->currentIndex(), -1) << size;
        EXPECT_EQ(dialog.Combo1[2]->currentText(), QString()) << size;
    }
    dialogs::FontSetDialog dialog(results, 24, {});
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(results.FontSetApplied);
    EXPECT_EQ(results.FontScalePercent, QStringLiteral("110"));
}

// A text in more fonts than the window lays out in time never comes about: a paste, a scaling and
// bold that would make it are refused with a message and change nothing.
TEST(MainFormFonts, NoChangeLeavesTheScoreInMoreFontsThanTheWindowShows)
{
    // The sizes from `first` on, `count` of them, twice over.
    const auto inSizes = [](int first, int count) {
        QByteArray sizes;
        for (int i = 0; i < count; ++i)
            sizes += "\\fs" + QByteArray::number(first + i) + " 1\\par ";
        return QString::fromLatin1("{\\rtf1{\\fonttbl{\\f0 Song;}}" + sizes.repeated(2) + "}");
    };
    PartsWindow w({ { kSong, QStringLiteral("1") } });
    w.form.show();
    platform::RichTextBox& box = w.editor;
    ASSERT_TRUE(box.setTextRTF(inSizes(4, 600)));
    w.editing.undo().Reset();
    const QString before = box.TextRTF();
    auto* rtf = new QMimeData;
    rtf->setData(QStringLiteral("text/rtf"), inSizes(1000, 401).toLatin1());
    QGuiApplication::clipboard()->setMimeData(rtf);
    box.setSelStart(box.TextLength());
    w.form.action(QStringLiteral("mnuPaste"))->trigger();
    // One of the two halves 1000 points larger, or bold.
    dialogs::DialogResults& results = w.form.dialogResults();
    results.FontScaleStep = QStringLiteral("1000");
    box.select(0, box.TextLength() / 2);
    w.form.commands().run(QStringLiteral("CQSF"), 0);
    w.form.commands().run(QStringLiteral("ToggleBold"), 0);
    EXPECT_EQ(w.prompts->texts(), (QStringList { kPasteFontsRefused, kFontsRefused, kFontsRefused }));
    EXPECT_EQ(box.TextRTF(), before);
    EXPECT_EQ(w.steps(), 0);
    // Within the bound, the same go through.
    box.select(0, 10);
    w.form.commands().run(QStringLiteral("ToggleBold"), 0);
    EXPECT_TRUE(box.SelBold());
}

namespace {

// The window with the notation parts over a notation line, a lyric line and an empty line, padded or
// not to the most fonts a score may use; the score counts as saved.
struct NotationWindow : PartsWindow {
    MainFormNotationMarks& marks = form.addPart<MainFormNotationMarks>();
    MainFormOrnaments& ornaments = form.addPart<MainFormOrnaments>();

    explicit NotationWindow(bool atTheLimit)
        : PartsWindow({ { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) },
            { kSong, QStringLiteral("歌词") }, { kSong, {} } })
    {
        if (atTheLimit)
            padded = PadToFontLimit(editor);
        editing.undo().Reset();
        frame::Process().ScoreHeader.ScoreSaved = true;
    }
    int recorded()
    {
        editing.undo().FlushSnapshot();
        return steps();
    }
    qsizetype padded = 0;
};

// The notation commands and where each runs: on a selected note, or at the caret behind a note.
struct NotationCommand {
    const char* item;
    int start;
    int length;
};
constexpr NotationCommand kNotationCommands[] = { { "instrCy", 4, 1 }, { "YYY", 4, 1 },
    { "instrBY(0)", 4, 1 }, { "instrDY(1)", 4, 1 }, { "instrZy", 4, 1 }, { "instrHY(0)", 4, 1 },
    { "InstrSpace(0)", 2, 0 }, { "instrZJX(1)", 2, 0 }, { "ShuoDu(0)", 2, 0 }, { "QiangRuo(3)", 2, 0 } };

} // namespace

// A notation command or a raise that would add a font to a score in as many as the window shows is
// refused before it changes anything; one in a font the score uses goes in, and on an ordinary score
// every one does.
TEST(MainFormFonts, NotationCommandsAddNoFontBeyondTheMost)
{
    NotationWindow full(true);
    ASSERT_EQ(full.padded, platform::kMostFonts);
    const QString before = full.editor.TextRTF();
    for (const NotationCommand& command : kNotationCommands) {
        full.editor.select(command.start, command.length);
        full.form.action(QString::fromLatin1(command.item))->trigger();
    }
    full.editor.select(1, 2);
    full.fonts.raiseSelection(40);
    EXPECT_EQ(full.prompts->texts(), QStringList(std::size(kNotationCommands) + 1, kFontsRefused));
    EXPECT_EQ(full.editor.TextRTF(), before);
    EXPECT_EQ(full.recorded(), 0);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    // A breath mark takes the note's font.
    full.editor.setSelStart(2);
    full.form.action(QStringLiteral("InstrHQF"))->trigger();
    EXPECT_EQ(full.recorded(), 1);
    EXPECT_EQ(full.prompts->texts().size(), qsizetype(std::size(kNotationCommands) + 1));

    for (const NotationCommand& command : kNotationCommands) {
        NotationWindow ordinary(false);
        const QString text = ordinary.editor.Text();
        ordinary.editor.select(command.start, command.length);
        ordinary.form.action(QString::fromLatin1(command.item))->trigger();
        EXPECT_NE(ordinary.editor.Text(), text) << command.item;
        EXPECT_EQ(ordinary.recorded(), 1) << command.item;
        EXPECT_TRUE(ordinary.prompts->texts().isEmpty()) << command.item;
    }
    NotationWindow ordinary(false);
    ordinary.editor.select(1, 2);
    ordinary.fonts.raiseSelection(40);
    ordinary.editor.select(1, 2);
    EXPECT_EQ(ordinary.editor.SelFontSize(), 1);
    EXPECT_EQ(ordinary.recorded(), 1);
}

// Where a font is set with nothing selected, the typing format counts as a font of the score: on an
// empty line, bold, the size of the repeated scaling, the lyric font and the switch of the typing line
// are refused at the most fonts, and go through on an ordinary score.
TEST(MainFormFonts, TheTypingFormatCountsAmongTheFonts)
{
    const QScopedValueRollback notationSize(frame::Process().start.NotationFontSize, 40.0);
    // The typing format after each.
    const auto typeAhead = [](NotationWindow& w) {
        std::vector<platform::RunFormat> typing;
        w.editor.setSelStart(w.editor.LineIndex(2));
        w.form.commands().run(QStringLiteral("ToggleBold"), 0);
        typing.push_back(w.editor.insertionFormat());
        w.form.dialogResults().FontScaleSize = QStringLiteral("72");
        w.form.commands().run(QStringLiteral("CQSF"), 0);
        typing.push_back(w.editor.insertionFormat());
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
                dialog->setCurrentFont(QFont(QStringLiteral("Sans"), 30));
                dialog->accept();
            }
        });
        w.form.action(QStringLiteral("GCFont"))->trigger();
        typing.push_back(w.editor.insertionFormat());
        // From the Edit menu, whose opening checks the item on a notation line only.
        w.editing.enableEditMenu();
        w.form.action(QStringLiteral("MunJPline"))->trigger();
        typing.push_back(w.editor.insertionFormat());
        return typing;
    };
    NotationWindow full(true);
    const QString before = full.editor.TextRTF();
    full.editor.setSelStart(full.editor.LineIndex(2));
    EXPECT_EQ(typeAhead(full), std::vector(4, full.editor.insertionFormat()));
    EXPECT_EQ(full.prompts->texts(), QStringList(4, kFontsRefused));
    EXPECT_FALSE(full.form.action(QStringLiteral("MunJPline"))->isChecked());
    EXPECT_EQ(full.editor.TextRTF(), before);
    EXPECT_EQ(full.recorded(), 0);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);

    NotationWindow ordinary(false);
    const std::vector<platform::RunFormat> typed = typeAhead(ordinary);
    EXPECT_TRUE(typed[0].bold);
    EXPECT_EQ(typed[1].halfPoints, 144);
    EXPECT_EQ(typed[2].halfPoints, 60);
    EXPECT_NE(typed[2].font, kSong);
    EXPECT_EQ(typed[3].font, kNote);
    EXPECT_EQ(typed[3].halfPoints, 80);
    EXPECT_TRUE(ordinary.prompts->texts().isEmpty());
}
