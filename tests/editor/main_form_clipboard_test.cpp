#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/frame/write_vls.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editor/parts_window.h"
#include "tests/editor/window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

const QString kLyric = QStringLiteral("歌词");

void key(PartsWindow& w, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(w.form.editorView(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(w.form.editorView(), &up);
}

} // namespace

TEST(MainFormClipboard, CopyAndPasteKeepEveryRunAndThePasteIsOneStep)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1), Note(2), kBar }) }, { kSong, kLyric } });
    w.editor.select(1, 2);
    w.editor.setSelColor(Qt::red);
    w.editor.setSelFontSize(20);
    w.form.show();
    w.form.statusPanels().setFocus();
    w.editor.select(0, 8);
    const platform::RichContent copied = platform::ExtractContent(*w.editor.document());
    w.form.action(QStringLiteral("mnuCopy"))->trigger();
    EXPECT_EQ(w.form.focusWidget(), w.form.editorView());

    w.editor.setSelStart(w.editor.TextLength());
    w.editor.setSelText(QStringLiteral("\r\n"));
    w.editing.undo().FlushSnapshot();
    const QString before = w.editor.TextRTF();
    const int steps = w.steps();
    w.form.action(QStringLiteral("mnuPaste"))->trigger();
    EXPECT_EQ(w.steps(), steps + 1);
    EXPECT_EQ(platform::ExtractContent(*w.editor.document(), w.editor.toDocumentPosition(10)), copied);
    w.editing.undo().undo(1);
    EXPECT_EQ(w.editor.TextRTF(), before);
}

// 4,000 lines at 1638 points stand taller than the window's layout can count: pasted as plain text in
// that size or as RTF, by the menu or by Shift+Insert, they are refused with a message and nothing
// changes. A quarter of them goes in.
TEST(MainFormClipboard, APasteThatWouldMakeTheScoreTooTallIsRefused)
{
    PartsWindow w({ { kSong, kLyric } });
    w.form.show();
    platform::RichTextBox& box = w.editor;
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.setText(QStringLiteral("1\n").repeated(4000));
    box.setSelStart(box.TextLength());
    box.setSelFontSize(1638);
    const QString before = box.TextRTF();
    w.form.action(QStringLiteral("mnuPaste"))->trigger();
    key(w, Qt::Key_Insert, Qt::ShiftModifier);
    auto* rtf = new QMimeData;
    rtf->setData(
        QStringLiteral("text/rtf"), "{\\rtf1 " + QByteArray("\\fs3276 1\\par ").repeated(4000) + "}");
    clipboard.setMimeData(rtf);
    w.form.action(QStringLiteral("mnuPaste"))->trigger();
    EXPECT_EQ(w.prompts->texts(), QStringList(3, kPasteRefused));
    EXPECT_EQ(box.TextRTF(), before);
    EXPECT_EQ(w.steps(), 0);

    clipboard.setText(QStringLiteral("1\n").repeated(1000));
    w.form.action(QStringLiteral("mnuPaste"))->trigger();
    EXPECT_EQ(w.prompts->texts().size(), 3);
    EXPECT_EQ(w.steps(), 1);
    EXPECT_GT(box.TextLength(), 3000);
}

TEST(MainFormClipboard, CtrlXCAndVActAsTheMenuItems)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1), Note(2), kBar }) } });
    const QString text = w.editor.Text();
    w.editor.select(1, 2);
    key(w, Qt::Key_C);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
    key(w, Qt::Key_X);
    EXPECT_EQ(w.editor.Text(), Codes({ kBar, kBar }));
    EXPECT_EQ(w.steps(), 1);
    key(w, Qt::Key_V);
    EXPECT_EQ(w.editor.Text(), text);
    EXPECT_EQ(w.steps(), 2);
}

TEST(MainFormClipboard, APictureAloneLeavesPasteOffAndPastesNothing)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1) }) } });
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QApplication::clipboard()->setImage(picture);
    w.editor.select(0, 1);
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuPaste")));
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuCopy")));
    const QString before = w.editor.TextRTF();
    w.clipboard.paste();
    EXPECT_EQ(w.editor.TextRTF(), before);
    EXPECT_EQ(w.steps(), 0);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    w.editor.select(0, 0);
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuPaste")));
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuCopy")));
}

TEST(MainFormClipboard, SelectAllShowsTheFirstLineAtTheTop)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1) }) } });
    for (int i = 0; i < 80; ++i)
        Append(w.editor, kSong, QStringLiteral("\r\n") + kLyric);
    w.form.resize(600, 400);
    w.form.show();
    w.editor.setSelStart(w.editor.TextLength());
    ASSERT_GT(w.form.editorView()->verticalScrollBar()->value(), 0);
    w.form.action(QStringLiteral("mnuSelAll"))->trigger();
    EXPECT_EQ(w.editor.SelLength(), w.editor.TextLength());
    EXPECT_EQ(w.form.editorView()->verticalScrollBar()->value(), 0);
}

TEST(MainFormClipboard, TheResetQuestionAndWhatEachAnswerDoes)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1) }) } });
    for (const int note : { 2, 3 }) {
        w.editor.setSelStart(w.editor.TextLength());
        w.editor.setSelText(Codes({ Note(note) }));
        w.editing.undo().FlushSnapshot();
    }
    w.editing.undo().undo(1);
    w.prompts->answers = { platform::PromptAnswer::Cancel, platform::PromptAnswer::Ok };
    w.form.action(QStringLiteral("mnuReset"))->trigger();
    ASSERT_EQ(w.prompts->shown.size(), 1u);
    EXPECT_EQ(w.prompts->shown[0].text, QStringLiteral("执行此操作，之前的撤销和重做将无效。确定执行？"));
    EXPECT_EQ(w.prompts->shown[0].buttons, platform::PromptButtons::OkCancel);
    EXPECT_EQ(w.prompts->shown[0].icon, platform::PromptIcon::Information);
    EXPECT_EQ(w.steps(), 1);
    EXPECT_EQ(w.editing.undo().getRedoCount(), 1);
    w.form.action(QStringLiteral("mnuReset"))->trigger();
    EXPECT_EQ(w.steps(), 0);
    EXPECT_EQ(w.editing.undo().getRedoCount(), 0);
}

TEST(MainFormClipboard, TheFontSizePanelAfterAReleaseOrAKey)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1), Note(2) }) } });
    w.editor.select(0, 1);
    w.editor.setSelFontSize(24);
    w.editor.select(1, 1);
    w.editor.setSelFontSize(10.5);
    const auto panel = [&] { return w.form.statusPanels().panelText(StatusPanel::FontSize); };
    w.editor.select(0, 1);
    w.clipboard.mouseReleased(1);
    EXPECT_EQ(panel(), QStringLiteral("字号:24"));
    w.editor.select(1, 1);
    w.clipboard.mouseReleased(2);
    EXPECT_EQ(panel(), QStringLiteral("字号:10.5"));
    w.editor.select(0, 3);
    w.clipboard.mouseReleased(1);
    EXPECT_EQ(panel(), QStringLiteral("字号:"));
    w.editor.select(1, 0);
    key(w, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(panel(), QStringLiteral("字号:10.5"));
    w.editor.select(0, 1);
    key(w, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(panel(), QStringLiteral("字号:"));
}

TEST(MainFormClipboard, TheRightButtonShowsTheEditMenuForTheCaretLine)
{
    PartsWindow w({ { kNote, Codes({ kBar, Note(1) }) }, { kSong, kLyric } });
    QStringList shown;
    int menus = 0;
    w.clipboard.setMenuShower([&](QMenu& menu, const QPoint&) {
        ++menus;
        for (const QAction* item : menu.actions()) {
            if (item->isVisible())
                shown << item->objectName() + (item->isEnabled() ? QString() : QStringLiteral(" off"));
        }
    });
    w.form.show();
    QApplication::clipboard()->setText(kLyric);
    w.editor.setSelStart(6);
    QTest::mousePress(w.form.editorView()->viewport(), Qt::RightButton);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::mouseRelease(w.form.editorView()->viewport(), Qt::RightButton);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(shown,
        QStringList({ "MunJPline", "mnuSelAll", "mnuCopy off", "mnuCut off", "mnuPaste", "Line2_2",
            "GCFont off", "InstrSpace(0) off", "InstrSpace(1) off", "instrZJX(0) off", "instrZJX(1) off",
            "instrDrum off" }));
    EXPECT_FALSE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    for (const char* name : { "mnuUnDo", "mnuRedo", "UndoAll", "RedoAll", "mnuReset", "Line2_3", "Line2_4" })
        EXPECT_TRUE(w.form.action(QString::fromLatin1(name))->isVisible()) << name;
    EXPECT_FALSE(w.form.action(QStringLiteral("Line2_1"))->isVisible());
}

TEST(MainFormClipboard, NotationTypingAtTheEndMakesTheLineANotationLineInOneStep)
{
    PartsWindow w({ { kSong, kLyric }, { kSong, QString() } });
    const QString before = w.editor.TextRTF();
    w.editor.setSelStart(w.editor.TextLength());
    w.editing.enableEditMenu();
    ASSERT_FALSE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    w.form.action(QStringLiteral("MunJPline"))->trigger();
    EXPECT_EQ(w.editor.Text(), kLyric + QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(w.editor.SelStart(), 4);
    EXPECT_TRUE(w.editing.undo().CaretOnNotationLine());
    EXPECT_EQ(w.steps(), 1);
    w.editing.undo().undo(1);
    EXPECT_EQ(w.editor.TextRTF(), before);
}

TEST(MainFormClipboard, HighlightMarksGoWhenAScoreOpensWithoutAnUndoStep)
{
    WindowTest t;
    platform::RichTextBox score;
    FillScore(score, { { kNote, Codes({ kBar, Note(1), Note(2), kBar }) }, { kSong, kLyric } });
    score.setBackground(0, 1, QColor(255, 255, 0));
    score.setBackground(1, 2, QColor(0, 255, 0));
    score.setBackground(7, 1, QColor(0, 0, 255));
    notation::ScoreHeader header;
    header.CurrentFile = t.user.file(QStringLiteral("marked.vls"));
    notation::ColorScheme colors;
    colors.EditBackColor = 0x00CCEEFF;
    const notation::PlayOrder order;
    ASSERT_TRUE(frame::WriteVls(header, colors, score.TextRTF().toLatin1(), {}, order));

    MainForm& form = t.load(header.CurrentFile);
    EXPECT_EQ(form.editor().Text(), score.Text());
    EXPECT_EQ(form.part<MainFormEditing>().undo().getUndoCount(), 0);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    const QString rtf = form.editor().TextRTF();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\highlight1")));
    EXPECT_FALSE(rtf.contains(QStringLiteral("\\highlight2")));
    EXPECT_FALSE(rtf.contains(QStringLiteral("\\highlight3")));
    EXPECT_EQ(form.playbackView()->box().TextRTF(), rtf);
    EXPECT_EQ(form.playbackView()->box().SelStart(), 0);
    EXPECT_EQ(form.editorView()->palette().color(QPalette::Base), QColor(0xFF, 0xEE, 0xCC));
    EXPECT_EQ(form.playbackView()->palette().color(QPalette::Base), QColor(0xFF, 0xEE, 0xCC));
}
