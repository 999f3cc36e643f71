#include "app/editor/editing/font_limit.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_symbols.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "get_symbol.h"
#include "tests/editing/score_builder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rtf_reader.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int kKeyMarker = 0x634F;
constexpr int kKeyC = 0x6341;

// The window with its editing and the symbol palette, on a score of seven lines: a title, the key
// line, a notation line, three lyric lines and a notation line; the palette reads the test kinds.
class SymbolWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::copy(
            testDataPath(QStringLiteral("symbolpick/kinds.ini")), user.file(QStringLiteral("Note.ini")));
        form.addPart<MainFormEditing>();
        form.addPart<MainFormSymbols>();
        FillScore(editor,
            { { kSong, QStringLiteral("标题") }, { kNote, Codes({ kKeyMarker, kKeyC }) },
                { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) },
                { kSong, QStringLiteral("歌词") }, { kSong, QStringLiteral("第五") },
                { kSong, QStringLiteral("第六行") }, { kNote, Codes({ kBar, Note(5) }) } });
        undo().Reset();
        form.show();
    }

    UndoEngine& undo() { return form.part<MainFormEditing>().undo(); }
    MainFormSymbols& symbols() { return form.part<MainFormSymbols>(); }
    QWidget* palette() const { return form.findChild<QWidget*>(QStringLiteral("GetNote")); }
    template <typename T> T* control(const char* name) const { return palette()->findChild<T*>(name); }
    int lineStart(int line) const { return editor.LineIndex(line - 1); }

    void openAt(int position)
    {
        editor.select(position, 0);
        form.action(QStringLiteral("D_word"))->trigger();
    }

    // Picks cell `cell` of kind `kind` with the palette's options, then presses Insert.
    void pick(int kind, int cell, bool bold = false, const QString& size = {}, bool raise = false)
    {
        control<QTabBar>("TabStrip1")->setCurrentIndex(kind - 1);
        control<QCheckBox>("Check2")->setChecked(bold);
        control<QCheckBox>("Check1")->setChecked(!size.isEmpty());
        control<QLineEdit>("Text1")->setText(size);
        control<QCheckBox>("Check3")->setChecked(raise);
        const QPoint centre((280 + 500 * (cell % 8)) / 15, (617 + 1175 * (cell / 8)) / 15);
        QTest::mouseClick(control<QLabel>("PicMdi"), Qt::LeftButton, {}, centre);
        control<QPushButton>("Command1")->click();
    }

    void press(int key, const QString& text = {})
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.editorView(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.editorView(), &up);
    }

    // The character at `position` with its format, as the score stores it.
    std::pair<QChar, platform::RunFormat> stored(int position) const
    {
        const std::optional<platform::RichContent> content
            = platform::ReadRtf(editor.TextRTF(), platform::DefaultTextFont());
        int at = 0;
        for (const platform::RichParagraph& paragraph : *content) {
            for (const platform::TextRun& run : paragraph.runs) {
                if (position < at + run.text.size())
                    return { run.text[position - at], run.format };
                at += int(run.text.size());
            }
            at += 2;
        }
        return {};
    }

    ScopedUserFolder user;
    ScopedPrompts prompts;
    MainForm form;
    platform::RichTextBox& editor = form.editor();
};

TEST_F(SymbolWindow, OpensOnANotationLineTheKeyLineAndLineSixOnly)
{
    openAt(lineStart(4) + 1);
    EXPECT_EQ(prompts->texts(), QStringList { "必须插入到简谱行或“1=”行!" });
    EXPECT_FALSE(symbols().SymbolPickerOpen());
    EXPECT_EQ(palette(), nullptr);

    for (const int line : { 6, 2, 3 }) {
        openAt(lineStart(line) + 1);
        EXPECT_TRUE(symbols().SymbolPickerOpen()) << line;
        ASSERT_NE(palette(), nullptr);
        EXPECT_TRUE(palette()->isVisible()) << line;
        control<QPushButton>("Command2")->click();
        EXPECT_FALSE(symbols().SymbolPickerOpen()) << line;
    }
    EXPECT_EQ(prompts->shown.size(), 1u);
}

TEST_F(SymbolWindow, PicksGoInAtTheAdvancingCaretEachInItsFormatAndEachUndoesAlone)
{
    const QString before = editor.Text();
    const int at = lineStart(3) + 1;
    openAt(at);
    pick(1, 0);
    pick(2, 10, true, QStringLiteral("20"));
    pick(3, 1, false, {}, true);
    EXPECT_EQ(editor.SelStart(), at + 3) << "the caret stands behind the last sign";
    EXPECT_EQ(undo().getUndoCount(), 3);

    const auto [fermata, plain] = stored(at);
    EXPECT_EQ(fermata, QChar(0x5FEB));
    EXPECT_EQ(plain.font, kNote);
    EXPECT_EQ(plain.halfPoints, 32) << "the size it found";
    EXPECT_FALSE(plain.bold);
    const auto [tempo, large] = stored(at + 1);
    EXPECT_EQ(tempo, QChar(0x5F8A));
    EXPECT_EQ(large.font, kSymbol);
    EXPECT_EQ(large.halfPoints, 40);
    EXPECT_TRUE(large.bold);
    const auto [bow, raised] = stored(at + 2);
    EXPECT_EQ(bow, QChar(u'M'));
    EXPECT_EQ(raised.halfPoints, 18) << "24 points less the 15 it is raised by";
    EXPECT_EQ(raised.offset, 30) << "raised 15 points";
    EXPECT_EQ(stored(at + 3).first, QChar(Note(1))) << "the score goes on behind the signs";

    for (const int left : { 2, 1, 0 }) {
        undo().undo(1);
        EXPECT_EQ(stored(at + left).first, QChar(Note(1)));
    }
    EXPECT_EQ(editor.Text(), before);
}

// On a score in as many fonts as the window shows, a sign made bold or resized into a font of its own
// is refused before it goes in; one in a font the score uses goes in.
TEST_F(SymbolWindow, APickAddsNoFontBeyondTheMost)
{
    ASSERT_EQ(PadToFontLimit(editor), platform::kMostFonts);
    undo().Reset();
    frame::Process().ScoreHeader.ScoreSaved = true;
    const QString before = editor.TextRTF();
    const int at = lineStart(3) + 1;
    openAt(at);
    pick(1, 0, true);
    pick(1, 0, false, QStringLiteral("20"));
    EXPECT_EQ(prompts->texts(), QStringList(2, kFontsRefused));
    EXPECT_EQ(editor.TextRTF(), before);
    EXPECT_EQ(undo().getUndoCount(), 0);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    pick(1, 0);
    EXPECT_EQ(stored(at).first, QChar(0x5FEB));
    EXPECT_EQ(undo().getUndoCount(), 1);
}

TEST_F(SymbolWindow, TypingAfterAPickTakesTheFormatFromBeforeThePick)
{
    const int at = lineStart(3) + 1;
    openAt(at);
    pick(3, 0, true, QStringLiteral("30"), true);
    press(Qt::Key_1, QStringLiteral("1"));
    undo().FlushSnapshot();
    const auto [note, format] = stored(at + 1);
    EXPECT_EQ(note, QChar(Note(1)));
    EXPECT_EQ(format.font, kNote);
    EXPECT_EQ(format.halfPoints, 32);
    EXPECT_FALSE(format.bold);
    EXPECT_EQ(format.offset, 0);
    EXPECT_EQ(undo().getUndoCount(), 2) << "the pick and the note are steps of their own";
}

TEST_F(SymbolWindow, TheSizeBoxFollowsTheCaretOnKeyUpAndTheCommandAgain)
{
    openAt(lineStart(3) + 1);
    auto* sizeBox = control<QLineEdit>("Text1");
    EXPECT_EQ(sizeBox->text(), QStringLiteral("16"));
    editor.select(lineStart(4) + 1, 0);
    EXPECT_EQ(sizeBox->text(), QStringLiteral("16")) << "a move without a key";
    press(Qt::Key_Right);
    EXPECT_EQ(sizeBox->text(), QStringLiteral("12"));
    // A selection of mixed sizes leaves the box as it is.
    sizeBox->setText(QStringLiteral("7"));
    editor.select(lineStart(3) + 2, 6);
    press(Qt::Key_Shift);
    EXPECT_EQ(sizeBox->text(), QStringLiteral("7"));

    editor.select(lineStart(7) + 1, 0);
    form.action(QStringLiteral("D_word"))->trigger();
    EXPECT_EQ(sizeBox->text(), QStringLiteral("16"));
    EXPECT_EQ(form.findChildren<QWidget*>(QStringLiteral("GetNote")).size(), 1);
}

TEST_F(SymbolWindow, ClosingThePaletteOrTheWindowLeavesNothingOpen)
{
    openAt(lineStart(3) + 1);
    control<QPushButton>("Command2")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(palette()->isVisible());
    EXPECT_TRUE(form.findChildren<symbolpick::GetSymbol*>().isEmpty());

    openAt(lineStart(3) + 1);
    ASSERT_TRUE(palette()->isVisible());
    form.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(palette()->isVisible());
    EXPECT_FALSE(symbols().SymbolPickerOpen());
    EXPECT_TRUE(form.findChildren<symbolpick::GetSymbol*>().isEmpty());
}

} // namespace
