#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "app/dialogs/color_dialog.h"
#include "app/dialogs/color_picker.h"
#include "app/frame/color_block.h"
#include "app/frame/process_state.h"
#include "app/notation/score_template.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/program_folder.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <deque>

using namespace tunvale;
using namespace tunvale::dialogs;
using tunvale::testing::ScopedPrompts;
using tunvale::testing::ScopedUserFolder;

namespace {

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kGrey = 0x404040;

// Answers the picker from a script: a colour or, for no value, a cancel. Records where each started.
class ScriptedPicker final : public ColorPicker
{
public:
    std::optional<std::int32_t> pick(QWidget*, std::int32_t initial) override
    {
        starts.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const std::optional<std::int32_t> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::int32_t>> answers;
    std::vector<std::int32_t> starts;
};

// The score window as a list of what was asked of it.
class FakeWindow final : public ColorSchemeWindow
{
public:
    void recolourLines(bool notation) override { calls << (notation ? "lines notation" : "lines lyrics"); }
    void colourSelectedPieces(bool notation, std::int32_t color) override
    {
        calls << QStringLiteral("pieces %1 %2")
                     .arg(notation ? "notation" : "lyrics")
                     .arg(color, 6, 16, QChar(u'0'));
    }
    void applyBackground() override { calls << "background"; }
    void takeBackChanges() override { calls << "take back"; }
    platform::RichTextBox& playView() override { return play; }

    QStringList calls;
    platform::RichTextBox play;
};

QColor backgroundAt(const platform::RichTextBox& box, int position)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(box.toDocumentPosition(position));
    cursor.setPosition(box.toDocumentPosition(position + 1), QTextCursor::KeepAnchor);
    return cursor.charFormat().background().color();
}

QColor colorAt(platform::RichTextBox& box, int position)
{
    box.select(position, 1);
    return box.SelColor();
}

QColor rgb(std::int32_t bgr) { return { bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF }; }

// A dialog over the fake window with a fresh scheme.
class ColorDialogTest : public ::testing::Test
{
protected:
    ColorDialogTest()
    {
        frame::Process().ColorScheme = {};
        frame::Process().ScoreHeader = {};
    }
    ColorDialog& open()
    {
        dialog = std::make_unique<ColorDialog>(window, picker);
        dialog->enableSelectionChecks(true, true);
        return *dialog;
    }
    notation::ColorScheme& scheme() { return frame::Process().ColorScheme; }
    void press(ColorOption option) { QTest::mousePress(dialog->option(option), Qt::LeftButton); }

    ScopedUserFolder user;
    ScopedPrompts prompts;
    ScriptedPicker picker;
    FakeWindow window;
    std::unique_ptr<ColorDialog> dialog;
};

} // namespace

// The sample is the notation line of eleven signs at 32 points and the lyric line of 17 characters in
// 宋体 at 12 points, shown in the scheme's colours with the third note as played.
TEST_F(ColorDialogTest, SampleShowsTheSchemeAtItsPositions)
{
    scheme() = { .EditBackColor = kGrey,
        .JpLineColor = kBlue,
        .LyricLineColor = kGreen,
        .PlayNoteBackColor = ComplementColor(kRed),
        .PlayNoteColor = ComplementColor(0xFFFFFF) };
    platform::RichTextBox& sample = open().sample();
    const QString text = sample.Text();
    const QList<char16_t> notation
        = { 0x4E00, 0x6351, 0x4E32, 0x4E33, 0x6352, 0x4F5A, 0x51A7, 0x6351, 0x4F2E, 0x517B, 0x635D };
    ASSERT_GE(text.size(), 30);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(text[i].unicode(), notation[i]) << i;
    EXPECT_EQ(text.mid(11, 2), QStringLiteral("\r\n"));
    EXPECT_EQ(text.mid(13, 17), QStringLiteral(" 歌  词 行   颜     色"));
    sample.select(0, 11);
    EXPECT_EQ(sample.SelFontName(), QStringLiteral("KORVA_Note"));
    EXPECT_EQ(sample.SelFontSize(), 32);
    sample.select(13, 17);
    EXPECT_EQ(sample.SelFontName(), QStringLiteral("宋体"));
    sample.select(13, 4);
    EXPECT_EQ(sample.SelFontSize(), 12);

    EXPECT_EQ(dialog->sampleView()->palette().color(QPalette::Base), rgb(kGrey));
    EXPECT_EQ(colorAt(sample, 0), rgb(kBlue));
    EXPECT_EQ(colorAt(sample, 10), rgb(kBlue));
    EXPECT_EQ(colorAt(sample, 3), QColor(Qt::white));
    EXPECT_EQ(backgroundAt(sample, 3), rgb(kRed));
    EXPECT_EQ(colorAt(sample, 13), rgb(kGreen));
    EXPECT_EQ(colorAt(sample, 29), rgb(kGreen));
}

// One pick per row: what the scheme, the sample and the score window get.
TEST_F(ColorDialogTest, EachOptionAppliesItsPick)
{
    const notation::ColorScheme defaults;
    const struct {
        const char* what;
        ColorOption option;
        bool lyricsOnly;
        bool notationOnly;
        std::optional<std::int32_t> picked;
        notation::ColorScheme expected;
        QStringList calls;
    } cases[] = {
        { "played note: stored complemented, shown as picked", ColorOption::PlayedNote, false, false, kRed,
            { .PlayNoteColor = 0xFFFF00 }, {} },
        { "played note's background", ColorOption::PlayedNoteBack, false, false, kGreen,
            { .PlayNoteBackColor = 0xFF00FF }, {} },
        { "background", ColorOption::Background, false, false, kGrey, { .EditBackColor = kGrey },
            { "background" } },
        { "notation lines", ColorOption::NotationLines, false, false, kBlue, { .JpLineColor = kBlue },
            { "lines notation" } },
        { "selected notation only", ColorOption::NotationLines, false, true, kBlue, defaults,
            { "pieces notation ff0000" } },
        { "lyric lines", ColorOption::LyricLines, false, true, kRed, { .LyricLineColor = kRed },
            { "lines lyrics" } },
        { "selected lyrics only", ColorOption::LyricLines, true, false, kRed, defaults,
            { "pieces lyrics 0000ff" } },
        { "a cancelled picker changes nothing", ColorOption::NotationLines, false, false, std::nullopt,
            defaults, {} },
    };
    for (const auto& c : cases) {
        scheme() = defaults;
        window.calls.clear();
        open();
        dialog->lyricsOnly()->setChecked(c.lyricsOnly);
        dialog->notationOnly()->setChecked(c.notationOnly);
        const QColor sampleNotation = colorAt(dialog->sample(), 0);
        picker.answers = { c.picked };
        press(c.option);
        EXPECT_TRUE(dialog->option(c.option)->isChecked()) << c.what;
        EXPECT_EQ(scheme(), c.expected) << c.what;
        EXPECT_EQ(window.calls, c.calls) << c.what;
        EXPECT_EQ(dialog->colorsApplied(), c.picked.has_value()) << c.what;

        platform::RichTextBox& sample = dialog->sample();
        EXPECT_EQ(dialog->sampleView()->palette().color(QPalette::Base), rgb(c.expected.EditBackColor))
            << c.what;
        EXPECT_EQ(colorAt(sample, 0), c.notationOnly ? sampleNotation : rgb(c.expected.JpLineColor))
            << c.what;
        EXPECT_EQ(colorAt(sample, 3), rgb(ComplementColor(c.expected.PlayNoteColor))) << c.what;
        EXPECT_EQ(backgroundAt(sample, 3), rgb(ComplementColor(c.expected.PlayNoteBackColor))) << c.what;
        EXPECT_EQ(colorAt(sample, 20), rgb(c.expected.LyricLineColor)) << c.what;
    }
}

// The picker starts black, then at the colour picked last; an access key marks its option and shows
// no picker.
TEST_F(ColorDialogTest, PickerStartsAtTheLastPickAndAccessKeysOnlyMark)
{
    open().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    picker.answers = { kRed, std::nullopt, kGreen };
    press(ColorOption::PlayedNote);
    press(ColorOption::PlayedNoteBack);
    press(ColorOption::PlayedNoteBack);
    EXPECT_EQ(picker.starts, (std::vector<std::int32_t> { 0, kRed, kRed }));

    // An access key clicks its button as a short animation.
    QTest::keyClick(dialog.get(), Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->option(ColorOption::NotationLines)->isChecked(); }));
    QTest::keyClick(dialog.get(), Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->option(ColorOption::Background)->isChecked(); }));
    EXPECT_EQ(picker.starts.size(), 3u);
    EXPECT_TRUE(window.calls.isEmpty());
}

// After picks for options 1 to 4: OK and Esc keep them, Cancel puts the colours back and has the
// window take its changes back; every way out hands the highlighter back to the play view.
TEST_F(ColorDialogTest, WaysOut)
{
    enum class Way { Ok, Cancel, Esc, EscInSample, CloseBox };
    const notation::ColorScheme before { .EditBackColor = 0xEEEEEE };
    const notation::ColorScheme picked { .EditBackColor = 0xEEEEEE,
        .JpLineColor = kBlue,
        .LyricLineColor = kRed,
        .PlayNoteBackColor = ComplementColor(kGreen),
        .PlayNoteColor = ComplementColor(kGrey) };
    const struct {
        Way way;
        ColorDialogClose closed;
        bool kept;
    } cases[] = {
        { Way::Ok, ColorDialogClose::Ok, true },
        { Way::Cancel, ColorDialogClose::Cancel, false },
        { Way::Esc, ColorDialogClose::Kept, true },
        { Way::EscInSample, ColorDialogClose::Kept, true },
        { Way::CloseBox, ColorDialogClose::Kept, true },
    };
    window.play.setText(QStringLiteral("play"));
    for (const auto& c : cases) {
        scheme() = before;
        window.calls.clear();
        open().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        picker.answers = { kBlue, kGrey, kGreen, kRed };
        for (ColorOption option : { ColorOption::NotationLines, ColorOption::PlayedNote,
                 ColorOption::PlayedNoteBack, ColorOption::LyricLines })
            press(option);
        switch (c.way) {
        case Way::Ok:
            dialog->okButton()->click();
            break;
        case Way::Cancel:
            dialog->cancelButton()->click();
            break;
        case Way::Esc:
            QTest::keyClick(dialog->option(ColorOption::LyricLines), Qt::Key_Escape);
            break;
        case Way::EscInSample:
            QTest::keyClick(dialog->sampleView(), Qt::Key_Escape);
            break;
        case Way::CloseBox:
            dialog->close();
            break;
        }
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->closedBy(), c.closed);
        EXPECT_EQ(scheme(), c.kept ? picked : before);
        EXPECT_EQ(dialog->colorsApplied(), c.kept);
        EXPECT_EQ(window.calls.contains(QStringLiteral("take back")), !c.kept);

        frame::Process().Highlighter->APIHighlightHard(0, 1, Qt::yellow);
        EXPECT_EQ(backgroundAt(window.play, 0), QColor(Qt::yellow));
        EXPECT_NE(backgroundAt(dialog->sample(), 0), QColor(Qt::yellow));
        window.play.setText(QStringLiteral("play"));
    }
}

// A score of format version 0 or 1 has no colours of its own: the dialog starts from the template's.
TEST_F(ColorDialogTest, OldScoresTakeTheTemplatesColours)
{
    const notation::ColorScheme stored { .EditBackColor = kGrey, .JpLineColor = kRed };
    ASSERT_TRUE(frame::WriteColor0(platform::ProgramFolder::userPath(notation::kTemplateFileName), stored));
    const notation::ColorScheme own { .JpLineColor = kGreen };
    for (const int version : { 0, 1, 2, 5 }) {
        frame::Process().ScoreHeader.FileVer = std::int16_t(version);
        scheme() = own;
        open();
        EXPECT_EQ(scheme(), version <= 1 ? stored : own) << version;
        dialog->cancelButton()->click();
        EXPECT_EQ(scheme(), version <= 1 ? stored : own) << version;
    }
}

// "同时保存为初始颜色" stores the scheme in the template; when that fails OK says so and still closes.
TEST_F(ColorDialogTest, OkSavesTheTemplateOrSaysItFailed)
{
    const QString templatePath = platform::ProgramFolder::userPath(notation::kTemplateFileName);
    open();
    picker.answers = { kRed };
    press(ColorOption::LyricLines);
    dialog->saveAsInitial()->setChecked(true);
    dialog->okButton()->click();
    notation::ColorScheme read;
    frame::ReadColor0(templatePath, read);
    EXPECT_EQ(read.LyricLineColor, kRed);
    EXPECT_TRUE(prompts->shown.empty());

    ASSERT_TRUE(QFile::remove(templatePath));
    ASSERT_TRUE(QDir().mkpath(templatePath)); // a folder in the file's place: the write must fail
    open();
    dialog->saveAsInitial()->setChecked(true);
    dialog->okButton()->click();
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("保存失败！") });
    EXPECT_EQ(dialog->closedBy(), ColorDialogClose::Ok);
}
