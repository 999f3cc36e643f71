#include "tests/editor/window_fixture.h"

#include "app/dialogs/color_dialog.h"
#include "app/dialogs/color_picker.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/frame/process_state.h"
#include "app/frame/read_vls.h"
#include "app/notation/score_template.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/program_folder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

using namespace tunvale;
using namespace tunvale::testing;
using dialogs::ColorDialog;
using dialogs::ColorOption;

namespace {

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kGrey = 0x404040;

class ScriptedPicker final : public dialogs::ColorPicker
{
public:
    explicit ScriptedPicker(std::deque<std::int32_t>& answers)
        : answers_(answers)
    {
    }
    std::optional<std::int32_t> pick(QWidget*, std::int32_t) override
    {
        if (answers_.empty())
            return std::nullopt;
        const std::int32_t answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    std::deque<std::int32_t>& answers_;
};

// The window on a sample score, with a picker that answers from `picks`.
class ColorWindow : public WindowTest, public ::testing::Test
{
protected:
    ColorWindow()
    {
        editor::MainFormServices services = FakeServices();
        services.colorPicker = std::make_unique<ScriptedPicker>(picks);
        frame::Process().ScoreHeader.CurrentFile = sampleScore(QStringLiteral("molihua.vls"));
        form = std::make_unique<editor::MainForm>(std::move(services));
        form->load();
    }

    // Runs "颜色..." with `script` acting on the open dialog.
    void chooseColors(const std::function<void(ColorDialog&)>& script)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ColorDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            ran = true;
            script(*dialog);
        });
        form->action(QStringLiteral("MycolorSet"))->trigger();
        EXPECT_TRUE(ran);
    }

    editor::UndoEngine& undo() const { return form->part<editor::MainFormEditing>().undo(); }
    bool saved() const { return frame::Process().ScoreHeader.ScoreSaved; }
    notation::ColorScheme& scheme() const { return frame::Process().ColorScheme; }
    QColor colorAt(int position) const
    {
        platform::RichTextBox probe(form->editor().document());
        probe.select(position, 1);
        return probe.SelColor();
    }
    static void press(ColorDialog& dialog, ColorOption option)
    {
        QTest::mousePress(dialog.option(option), Qt::LeftButton);
    }

    std::deque<std::int32_t> picks;
};

// The first notation line of the sample and the lyric line under it; the notation wraps at the page's
// width into two lines.
constexpr int kNotationLine = 2;
constexpr int kLyricLine = 4;

} // namespace

// Cancel after picks for every option, the selected lyrics among them: the text, the selection, both
// undo stacks, the saved flag, the colours and the background are as before the dialog.
TEST_F(ColorWindow, CancelPutsEverythingBack)
{
    platform::RichTextBox& editor = form->editor();
    editor.setSelStart(editor.LineIndex(kLyricLine));
    editor.setSelText(QStringLiteral("x"));
    undo().FlushSnapshot();
    undo().undo(1);
    editor.select(editor.LineIndex(kNotationLine) + 2, 40);
    frame::Process().ScoreHeader.ScoreSaved = true;
    const QString before = editor.TextRTF();
    const notation::ColorScheme colors = scheme();
    const QColor background = form->editorView()->palette().color(QPalette::Base);

    picks = { kGrey, kBlue, kRed, kRed, kBlue, kRed };
    chooseColors([&](ColorDialog& dialog) {
        EXPECT_TRUE(dialog.lyricsOnly()->isEnabled());
        EXPECT_TRUE(dialog.notationOnly()->isEnabled());
        for (ColorOption option : { ColorOption::Background, ColorOption::NotationLines,
                 ColorOption::PlayedNote, ColorOption::PlayedNoteBack, ColorOption::LyricLines })
            press(dialog, option);
        dialog.lyricsOnly()->click();
        press(dialog, ColorOption::LyricLines);
        EXPECT_EQ(form->editorView()->palette().color(QPalette::Base), QColor(0x40, 0x40, 0x40));
        EXPECT_NE(editor.TextRTF(), before);
        dialog.cancelButton()->click();
    });
    EXPECT_EQ(editor.TextRTF(), before);
    EXPECT_EQ(editor.SelStart(), editor.LineIndex(kNotationLine) + 2);
    EXPECT_EQ(editor.SelLength(), 40);
    EXPECT_EQ(undo().getUndoCount(), 0);
    EXPECT_EQ(undo().getRedoCount(), 1);
    EXPECT_TRUE(saved());
    EXPECT_EQ(scheme(), colors);
    EXPECT_EQ(form->editorView()->palette().color(QPalette::Base), background);
    undo().Redo(1);
    EXPECT_TRUE(editor.LineText(kLyricLine).startsWith(u'x'));
}

// OK, Esc and the close box keep what was applied: each recolouring is one undo step and the score is
// modified. Closed without a pick, the saved flag is as it was.
TEST_F(ColorWindow, KeptColoursAreUndoStepsOfAModifiedScore)
{
    enum class Way { Ok, Esc, CloseBox };
    platform::RichTextBox& editor = form->editor();
    const int note = editor.LineIndex(kNotationLine) + 1;
    const int word = editor.LineIndex(kLyricLine) + 3;
    for (const Way way : { Way::Ok, Way::Esc, Way::CloseBox }) {
        frame::Process().ScoreHeader.ScoreSaved = true;
        const QString before = editor.TextRTF();
        const int steps = undo().getUndoCount();
        picks = { kBlue, kRed };
        chooseColors([&](ColorDialog& dialog) {
            press(dialog, ColorOption::NotationLines);
            press(dialog, ColorOption::LyricLines);
            if (way == Way::Ok)
                dialog.okButton()->click();
            else if (way == Way::Esc)
                QTest::keyClick(dialog.option(ColorOption::LyricLines), Qt::Key_Escape);
            else
                dialog.close();
        });
        EXPECT_EQ(colorAt(note), QColor(Qt::blue));
        EXPECT_EQ(colorAt(word), QColor(Qt::red));
        EXPECT_EQ(undo().getUndoCount(), steps + 2);
        EXPECT_FALSE(saved());
        undo().undo(2);
        EXPECT_EQ(editor.TextRTF(), before);
    }

    frame::Process().ScoreHeader.ScoreSaved = true;
    chooseColors([](ColorDialog& dialog) { dialog.okButton()->click(); });
    EXPECT_TRUE(saved());
}

// "只对选中简谱有效": only the notation the selection holds takes the colour; the selection then starts at
// its first piece with its old length.
TEST_F(ColorWindow, SelectedNotationOnly)
{
    platform::RichTextBox& editor = form->editor();
    const int first = editor.LineIndex(kNotationLine);
    editor.select(first + 3, editor.LineIndex(kLyricLine) + 4 - first - 3);
    const int length = editor.SelLength();
    picks = { kRed };
    chooseColors([&](ColorDialog& dialog) {
        dialog.notationOnly()->click();
        press(dialog, ColorOption::NotationLines);
        dialog.okButton()->click();
    });
    EXPECT_NE(colorAt(first + 2), QColor(Qt::red));
    EXPECT_EQ(colorAt(first + 3), QColor(Qt::red));
    EXPECT_EQ(colorAt(editor.LineIndex(kLyricLine) - 3), QColor(Qt::red));
    EXPECT_NE(colorAt(editor.LineIndex(kLyricLine) + 1), QColor(Qt::red));
    EXPECT_EQ(editor.SelStart(), first + 3);
    EXPECT_EQ(editor.SelLength(), length);
    EXPECT_EQ(undo().getUndoCount(), 1);
}

// While the dialog is open the played-note highlighter marks its sample; after it, the play view again.
TEST_F(ColorWindow, TheHighlighterComesBackToThePlayView)
{
    platform::RichTextBox& play = form->playbackView()->box();
    chooseColors([](ColorDialog& dialog) { dialog.cancelButton()->click(); });
    frame::Process().Highlighter->APIHighlightHard(0, 1, Qt::yellow);
    QTextCursor cursor(play.document());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().background().color(), QColor(Qt::yellow));
}

// "同时保存为初始颜色": a new score then starts in the saved colours, with every other setting of its header
// as the shipped template gives it.
TEST_F(ColorWindow, InitialColoursChangeNothingElseOfANewScore)
{
    picks = { kBlue };
    chooseColors([](ColorDialog& dialog) {
        press(dialog, ColorOption::NotationLines);
        dialog.saveAsInitial()->setChecked(true);
        dialog.okButton()->click();
    });
    const notation::ColorScheme saved = scheme();
    ASSERT_EQ(saved.JpLineColor, kBlue);

    form.reset();
    load();
    const frame::VlsDocument shipped
        = frame::ReadVls(platform::ProgramFolder::dataPath(notation::kTemplateFileName), {}, {});
    const notation::ScoreHeader& expected = shipped.header;
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    EXPECT_TRUE(notation::IsTemplatePath(header.CurrentFile));
    EXPECT_EQ(header.FileVer, expected.FileVer);
    EXPECT_EQ(header.ScreenDpi, expected.ScreenDpi);
    EXPECT_EQ(header.RapDrum, expected.RapDrum);
    EXPECT_EQ(header.Instrument, expected.Instrument);
    EXPECT_EQ(header.Speed, expected.Speed);
    EXPECT_EQ(header.Volume, expected.Volume);
    EXPECT_EQ(header.LeftSpace, expected.LeftSpace);
    EXPECT_EQ(header.RightSpace, expected.RightSpace);
    EXPECT_EQ(header.DrumPZ, expected.DrumPZ);
    EXPECT_EQ(header.PZType, expected.PZType);
    EXPECT_EQ(header.SameSpeed, expected.SameSpeed);
    EXPECT_EQ(header.HeYing, expected.HeYing);
    EXPECT_EQ(scheme(), saved);
}
