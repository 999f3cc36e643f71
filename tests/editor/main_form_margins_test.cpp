#include "tests/editor/window_fixture.h"
#include "tests/support/scoretool_run.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_margins.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/frame/process_state.h"
#include "components/margin/margin_model.h"
#include "platform/desktop/help_window.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>
#include <margin_ruler.h>

using namespace tunvale;
using namespace tunvale::testing;
using margin::MarginModel;
using margin::RulerPart;

namespace {

// The sample score in a shown window with the ruler in the toolbar's place (F3), and the user's hand on
// the ruler.
class MarginWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = &t.load(t.sampleScore());
        form->resize(1000, 700);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        form->action(QStringLiteral("MainToolBar"), 1)->trigger();
        ASSERT_TRUE(ruler().hasFocus());
        saved() = true;
    }

    margin::MarginRuler& ruler() const { return form->marginRuler(); }
    editor::UndoEngine& undo() const { return form->part<editor::MainFormEditing>().undo(); }
    editor::MainFormMargins& margins() const { return form->part<editor::MainFormMargins>(); }
    bool& saved() const { return frame::Process().ScoreHeader.ScoreSaved; }
    std::pair<int, int> header() const
    {
        const auto& h = frame::Process().ScoreHeader;
        return { h.LeftSpace, h.RightSpace };
    }
    std::vector<platform::ParagraphFormat> paragraphs() const
    {
        std::vector<platform::ParagraphFormat> out;
        for (const platform::RichParagraph& p : platform::ExtractContent(*form->editorView()->document()))
            out.push_back(p.format);
        return out;
    }
    // Every paragraph has the indents the window gives the score's margins.
    void expectIndentsOf(int left, int right) const
    {
        const int rightCover = form->layoutIndents(0).second - frame::Process().ScoreHeader.RightSpace;
        for (const platform::ParagraphFormat& p : paragraphs()) {
            EXPECT_EQ(p.leftIndent, left);
            EXPECT_EQ(p.rightIndent, right + rightCover);
        }
    }

    QPointF onPin(int pin) const
    {
        const MarginModel& m = ruler().model();
        const double tpp = m.twipsPerPixel();
        return { (m.scaleLeft() + m.pinLeft(pin) + 37) / tpp, (m.scaleTop() + 200) / tpp };
    }
    void mouse(QEvent::Type type, const QPointF& at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, ruler().mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&ruler(), &event);
    }
    void key(QEvent::Type type, int code, Qt::KeyboardModifiers modifiers, bool repeat = false)
    {
        QKeyEvent event(type, code, modifiers, QString(), repeat);
        QApplication::sendEvent(&ruler(), &event);
    }
    void typeInEditor(const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent down(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(form->editorView(), &down);
            QKeyEvent up(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(form->editorView(), &up);
        }
    }
    void spin(bool up)
    {
        QWidget* arrows = ruler().findChild<QWidget*>(QStringLiteral("VScroll1"));
        QTest::mouseClick(
            arrows, Qt::LeftButton, {}, QPoint(arrows->width() / 2, up ? 1 : arrows->height() - 1));
    }

    WindowTest t;
    editor::MainForm* form = nullptr;
};

TEST_F(MarginWindow, ADragChangesTheEditorOnlyAtItsEndAsOneStepThatUndoAndRedoTakeBackAndRepeat)
{
    const QString before = form->editor().TextRTF();
    const int steps = undo().getUndoCount();
    const QPointF start = onPin(0);
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(form->state().LayoutBusy);
    mouse(QEvent::MouseMove, start + QPointF(20, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(header().first, 820 + 300);
    EXPECT_FALSE(saved());
    EXPECT_EQ(form->editor().TextRTF(), before);
    QTest::qWait(200); // longer than a pause in typing
    EXPECT_EQ(undo().getUndoCount(), steps);

    mouse(QEvent::MouseButtonRelease, start + QPointF(20, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(form->state().LayoutBusy);
    expectIndentsOf(1120, 820);
    EXPECT_EQ(undo().getUndoCount(), steps + 1);
    const QString after = form->editor().TextRTF();

    undo().undo(1);
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_EQ(header(), std::pair(820, 820));
    EXPECT_EQ(ruler().nLSpace(), 820);
    EXPECT_DOUBLE_EQ(ruler().model().pinLeft(0), ruler().model().barLeft() + 820 - 37.5);
    undo().Redo(1);
    EXPECT_EQ(form->editor().TextRTF(), after);
    EXPECT_EQ(header(), std::pair(1120, 820));
    EXPECT_EQ(ruler().nLSpace(), 1120);
}

TEST_F(MarginWindow, AHeldArrowKeyIsOneStepAndExtraEndsChangeNothing)
{
    const QString before = form->editor().TextRTF();
    const int steps = undo().getUndoCount();
    key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) {
        key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier, i > 0);
        key(QEvent::KeyRelease, Qt::Key_Left, Qt::ControlModifier, i < 2);
    }
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    margins().endMarginGesture();
    EXPECT_EQ(header(), std::pair(820, 986)); // three steps of 55.2 twips
    expectIndentsOf(820, 986);
    EXPECT_EQ(undo().getUndoCount(), steps + 1);
    undo().undo(1);
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_EQ(ruler().nRSpace(), 820);
}

TEST_F(MarginWindow, AGestureThatMovesNoMarginLeavesTheScoreSavedAndRecordsNothing)
{
    const int steps = undo().getUndoCount();
    key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    key(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    // The right pin dragged and brought back within one gesture.
    const QPointF pin = onPin(1);
    mouse(QEvent::MouseButtonPress, pin, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, pin, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, pin, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(saved());
    EXPECT_EQ(undo().getUndoCount(), steps);
    EXPECT_FALSE(form->state().LayoutBusy);
}

TEST_F(MarginWindow, AGestureLeftOpenEndsWhenTheRulerLosesTheFocus)
{
    const int steps = undo().getUndoCount();
    key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(form->state().LayoutBusy);
    form->editorView()->setFocus();
    EXPECT_FALSE(form->state().LayoutBusy);
    expectIndentsOf(875, 820);
    EXPECT_EQ(undo().getUndoCount(), steps + 1);
    EXPECT_FALSE(margins().marginGestureOpen());
}

TEST_F(MarginWindow, TypingJustBeforeASpacingStepOrAGestureKeepsEveryCharacterAsAStepOfItsOwn)
{
    const int steps = undo().getUndoCount();
    form->editor().setSelStart(0);
    typeInEditor(QStringLiteral("ab"));
    spin(true); // at once, well within a pause in typing
    EXPECT_TRUE(form->editor().Text().startsWith(QStringLiteral("ab")));
    EXPECT_EQ(paragraphs()[0].lineSpacing, 610);
    EXPECT_EQ(undo().getUndoCount(), steps + 2);

    typeInEditor(QStringLiteral("cd"));
    ruler().setFocus();
    key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(form->editor().Text().startsWith(QStringLiteral("abcd")));
    EXPECT_EQ(undo().getUndoCount(), steps + 4);

    // Each undo takes back one of the four.
    undo().undo(1);
    EXPECT_EQ(header().first, 820);
    EXPECT_TRUE(form->editor().Text().startsWith(QStringLiteral("abcd")));
    undo().undo(1);
    EXPECT_TRUE(form->editor().Text().startsWith(QStringLiteral("ab两")));
    undo().undo(1);
    EXPECT_EQ(paragraphs()[0].lineSpacing, 0);
    EXPECT_TRUE(form->editor().Text().startsWith(QStringLiteral("ab")));
}

TEST_F(MarginWindow, EachKindSpacesExactlyItsParagraphsAnEmptyLineBetweenThemIncluded)
{
    // Title, key line, notation, lyrics, an empty line, notation, lyrics. Notation lines wrap at the
    // window's width: a paragraph starts after each break.
    platform::RichTextBox& box = form->editor();
    const auto paragraphStart = [&box](int n) {
        int start = 0;
        for (const QString& paragraph : box.Text().split(QStringLiteral("\r\n")).mid(0, n))
            start += int(paragraph.size()) + 2;
        return start;
    };
    box.setSelStart(paragraphStart(4) - 2);
    box.setSelText(QStringLiteral("\r\n"));
    undo().FlushSnapshot();
    const std::vector<platform::ParagraphFormat> start = paragraphs();
    ASSERT_EQ(start.size(), 7u);
    auto* chooser = ruler().findChild<QComboBox*>(QStringLiteral("Combo1"));

    struct Case {
        int kind;
        std::vector<int> spaced; // 0-based paragraphs
    };
    for (const Case& c : { Case { 0, { 2, 5 } }, Case { 1, { 0, 1, 3, 4, 6 } }, Case { 2, { 4 } } }) {
        SCOPED_TRACE(c.kind);
        box.setSelStart(paragraphStart(4)); // the caret on the empty line
        chooser->setCurrentIndex(c.kind);
        emit chooser->activated(c.kind);
        const int steps = undo().getUndoCount();
        spin(true);
        spin(false);
        EXPECT_EQ(undo().getUndoCount(), steps + 2);
        const std::vector<platform::ParagraphFormat> now = paragraphs();
        for (size_t i = 0; i < now.size(); ++i) {
            const bool spaced = std::find(c.spaced.begin(), c.spaced.end(), int(i)) != c.spaced.end();
            EXPECT_EQ(now[i].lineSpacing, spaced ? 600 : 0) << i;
        }
        undo().undo(2);
        EXPECT_EQ(paragraphs(), start);
    }
}

TEST_F(MarginWindow, AKindTypedIntoTheChooserOrACaretLineBeyondTheTableAppliesNothing)
{
    const QString before = form->editor().TextRTF();
    const int steps = undo().getUndoCount();
    auto* chooser = ruler().findChild<QComboBox*>(QStringLiteral("Combo1"));
    QTest::keyClicks(chooser->lineEdit(), QStringLiteral("x"));
    spin(true);
    form->state().CaretLine = 99;
    margins().spaceLines(2, 700);
    margins().spaceLines(3, 700);
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_EQ(undo().getUndoCount(), steps);
}

TEST_F(MarginWindow, TheCornerMenuOpensTheHelpAndF2ReturnsToTheToolbar)
{
    ruler().controlMenu()->findChild<QAction*>(QStringLiteral("ToolBarAbout"))->trigger();
    auto* help = form->findChild<platform::HelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("边距及行距.htm"));
    help->close();

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    ruler().setFocus();
    QTest::keyClick(&ruler(), Qt::Key_F2);
    EXPECT_TRUE(ruler().isHidden());
    EXPECT_FALSE(form->toolbar().isHidden());
    EXPECT_FALSE(form->state().LayoutBusy);
}

// Saved and read again: the margins in the score file's header, indents and spacing in its body.
TEST_F(MarginWindow, ASavedScoreKeepsItsMarginsInTheHeaderAndItsIndentsAndSpacingInTheBody)
{
    key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    form->editor().setSelStart(0);
    spin(true);
    form->part<editor::MainFormScoreFiles>().commands().save();
    EXPECT_TRUE(saved());
    const QString file = frame::Process().ScoreHeader.CurrentFile;

    const ScoretoolResult dump = RunScoretool({ QStringLiteral("vls-dump"), file });
    ASSERT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(dump.out.contains("LeftSpace: 875\n"));
    EXPECT_TRUE(dump.out.contains("RightSpace: 820\n"));
    const qsizetype length
        = dump.out.mid(dump.out.indexOf("BodyLength: ") + 12).split('\n').first().toLongLong();
    const QString body = t.user.file(QStringLiteral("body.rtf"));
    QFile rtf(body);
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write(dump.out.right(length));
    rtf.close();
    const ScoretoolResult paras = RunScoretool({ QStringLiteral("rtf-paras"), body });
    ASSERT_EQ(paras.exitCode, 0);
    const QList<QByteArray> lines = paras.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6);
    const int right = form->layoutIndents(0).second;
    EXPECT_EQ(lines[0], QStringLiteral("para 1 875 %1 610 4").arg(right).toUtf8());
    EXPECT_EQ(lines[2], QStringLiteral("para 3 875 %1 0 20").arg(right).toUtf8());
}

// Pins brought as close as the ruler lets them leave lines a few pixels wide: forty spaced digits at 24
// points, one line at the page's width, become forty lines, and 8,000 such paragraphs stand taller
// than the window's layout can count. The margins go back and nothing else changes; margins with room
// are taken.
TEST_F(MarginWindow, MarginsThatWouldLeaveTheScoreTooTallAreRefusedAndPutBack)
{
    platform::RichTextBox& box = form->editor();
    box.setText((QStringLiteral("1 ").repeated(40) + QStringLiteral("\r\n")).repeated(8000));
    box.select(0, box.TextLength());
    box.setSelFontSize(24);
    box.setSelStart(0);
    undo().Reset();
    saved() = true;
    const QString before = box.TextRTF();
    const int steps = undo().getUndoCount();
    const auto squeeze = [this](int presses) {
        for (int i = 0; i < presses; ++i) {
            key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier, i > 0);
            key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier, i + 1 < presses);
        }
    };
    squeeze(200);
    EXPECT_EQ(t.prompts->texts(), QStringList { editor::kMarginsRefused });
    EXPECT_EQ(header(), std::pair(820, 820));
    EXPECT_EQ(ruler().nLSpace(), 820);
    EXPECT_TRUE(saved());
    EXPECT_EQ(box.TextRTF(), before);
    EXPECT_EQ(undo().getUndoCount(), steps);

    squeeze(3);
    EXPECT_EQ(header(), std::pair(986, 820));
    expectIndentsOf(986, 820);
    EXPECT_EQ(undo().getUndoCount(), steps + 1);
    EXPECT_EQ(t.prompts->texts().size(), 1);
}

// Exact spacing sets each line's height: 90,000 lines 100 pixels apart stand taller than the window's
// layout can count, 40 pixels apart they do not.
TEST_F(MarginWindow, ASpacingThatWouldMakeTheScoreTooTallIsRefused)
{
    platform::RichTextBox& box = form->editor();
    box.setText(QStringLiteral("1\r\n").repeated(90'000));
    undo().Reset();
    const QString before = box.TextRTF();
    const int steps = undo().getUndoCount();
    margins().spaceLines(1, 1500);
    EXPECT_EQ(t.prompts->texts(), QStringList { editor::kSpacingRefused });
    EXPECT_EQ(box.TextRTF(), before);
    EXPECT_EQ(undo().getUndoCount(), steps);

    margins().spaceLines(1, 600);
    EXPECT_EQ(paragraphs()[1000].lineSpacing, 600);
    EXPECT_EQ(undo().getUndoCount(), steps + 1);
    EXPECT_EQ(t.prompts->texts().size(), 1);
}

// The test tool's ruler on a score: a drag and its undo, as the tool prints them.
TEST(MarginTool, ADragOnTheScoreAndItsUndo)
{
    const ScoretoolResult run = RunScoretool({ QStringLiteral("ruler"), QStringLiteral("--score"),
        QStringLiteral(TUNVALE_BUILD_DIR "/data/vls/liangzhilaohu.vls"), QStringLiteral("press pin1 40 1"),
        QStringLiteral("move pin1 -60 1"), QStringLiteral("release pin1"), QStringLiteral("undo"),
        QStringLiteral("redo") });
    ASSERT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    EXPECT_EQ(lines.mid(0, 3),
        (QList<QByteArray> { "event aChangBegin", "event LRValueChang 820 920", "event aChangOver" }));
    EXPECT_TRUE(run.out.contains("\nmargins 820 920\n"));
    EXPECT_TRUE(run.out.contains("\nheader 820 920 0\nundo 1\npara 1 820 "));
}

} // namespace
