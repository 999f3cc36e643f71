#include "app/dialogs/print_preview_window.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_output.h"
#include "app/editor/window/main_toolbar.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_edit.h"
#include "sequor/make_mid.h"
#include "tests/editor/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTest>

#include <tuple>

#include <gtest/gtest.h>

using namespace tunvale;
using tunvale::testing::WindowTest;

namespace {

// The window on `score`, shown at its start size: the editor's right margin reaches under the right
// cover, unlike the printed page's.
editor::MainForm& shownWindow(WindowTest& t, editor::MainFormServices services, const QString& score)
{
    frame::Process().ScoreHeader.CurrentFile = score;
    t.form = std::make_unique<editor::MainForm>(std::move(services));
    EXPECT_TRUE(t.form->load());
    t.form->resize(1000, 720);
    t.form->show();
    t.form->applyLayout();
    t.form->JzRTB(0);
    return *t.form;
}

} // namespace

TEST(MainFormOutput, PreviewAndExportsLeaveTheScoreAsItWas)
{
    WindowTest t;
    const QString picture = t.user.file("song.bmp");
    const QString exported = t.user.file("song.rtf");
    editor::MainFormServices services = tunvale::testing::FakeServices();
    QStringList answers { picture, exported };
    services.outputSaveDialog
        = [&answers](const platform::FileDialogRequest&) { return answers.takeFirst(); };
    editor::MainForm& form = shownWindow(t, std::move(services), t.sampleScore());
    auto& editing = form.part<editor::MainFormEditing>();
    editing.undo().FlushSnapshot();
    const QString rtf = form.editor().TextRTF();
    const QColor background = form.editorView()->palette().color(QPalette::Base);
    ASSERT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    ASSERT_FALSE(editing.undo().canUndo());

    form.action("PrintPreview1")->trigger();
    auto& output = form.part<editor::MainFormOutput>();
    ASSERT_TRUE(output.preview());
    // The user looks at the preview for a while: whatever is pending in the undo engine is taken.
    editing.undo().FlushSnapshot();
    // The printed page has the score's own margins, also in a second preview that replaces the first.
    const int rightSpace = frame::Process().ScoreHeader.RightSpace;
    EXPECT_EQ(form.editor().SelRightIndent(), rightSpace);
    form.action("PrintPreview1")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(output.preview());
    EXPECT_EQ(form.editor().SelRightIndent(), rightSpace);
    EXPECT_EQ(form.editorView()->palette().color(QPalette::Base), QColor(Qt::white));
    output.preview()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    editing.undo().FlushSnapshot();
    EXPECT_FALSE(output.preview());
    EXPECT_EQ(form.editorView()->palette().color(QPalette::Base), background);

    // The picture and RTF exports, their save dialogs answered.
    form.action("OutputPic")->trigger();
    form.action("OutputRTF")->trigger();
    EXPECT_TRUE(QFileInfo(picture).size() > 0);
    // The RTF file is the score with margins of 200 twips on both sides, as the editor would write it
    // laid out so; the editor keeps its own.
    const QByteArray file = tunvale::testing::readAll(exported);
    form.JzRTB(1);
    EXPECT_EQ(file, form.editor().TextRTFBytes());
    form.JzRTB(0);

    editing.undo().FlushSnapshot();
    EXPECT_FALSE(editing.undo().canUndo()) << "a layout change became an undo step";
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    EXPECT_EQ(form.editor().TextRTF(), rtf);
}

TEST(MainFormOutput, ThePictureExportAndThePreviewLeaveCaretSelectionAndViewAsTheyWere)
{
    // A window narrower than the page wraps at the page's width, a wide one at its own.
    for (const int width : { 700, 1000 }) {
        WindowTest t;
        const QString picture = t.user.file("song.bmp");
        editor::MainFormServices services = tunvale::testing::FakeServices();
        services.outputSaveDialog = [&picture](const platform::FileDialogRequest&) { return picture; };
        frame::Process().ScoreHeader.CurrentFile = t.sampleScore();
        t.form = std::make_unique<editor::MainForm>(std::move(services));
        ASSERT_TRUE(t.form->load());
        editor::MainForm& form = *t.form;
        form.resize(width, 260); // low enough to scroll
        form.show();
        form.applyLayout();
        form.JzRTB(0);
        platform::RichTextBox& editor = form.editor();
        // A lyric that wraps into fewer lines on the printed page, where no cover narrows them.
        editor.setSelStart(editor.TextLength());
        editor.setSelText(QStringLiteral("\r\n") + QString(600, QChar(u'歌')));
        QScrollBar* bar = form.editorView()->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 0);
        editor.select(editor.TextLength() / 2, 3);
        bar->setValue(bar->maximum());
        const auto where
            = [&] { return std::make_tuple(editor.SelStart(), editor.SelLength(), bar->value()); };
        const auto before = where();

        form.action("OutputPic")->trigger();
        EXPECT_TRUE(QFileInfo::exists(picture));
        EXPECT_EQ(where(), before) << width;

        form.action("PrintPreview1")->trigger();
        auto& output = form.part<editor::MainFormOutput>();
        ASSERT_TRUE(output.preview());
        output.preview()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(where(), before) << width;
    }
}

namespace {

class AcceptedExportOptions final : public sequor::ExportOptionsDialog
{
public:
    std::optional<sequor::ExportOptions> run(const QString&, bool, const QStringList&) override
    {
        return sequor::ExportOptions {};
    }
};

} // namespace

// A save or an export into a folder that does not exist says so, over the score as it was shown: the
// message is up while the user still looks at the page.
TEST(MainFormOutput, AFailedSaveOrExportSaysWhyOverTheScoreAsItWas)
{
    platform::loadNotationFonts();
    WindowTest t;
    const QString missing = t.user.file(QStringLiteral("missing/song"));
    editor::MainFormServices services = tunvale::testing::FakeServices();
    services.outputSaveDialog = [&missing](const platform::FileDialogRequest& request) {
        return missing + request.defaultExtension;
    };
    services.scoreFiles.fileDialog
        = [&missing](const platform::FileDialogRequest&, bool) { return missing + QStringLiteral(".vls"); };
    services.midiExport.saveDialog
        = [&missing](const platform::FileDialogRequest&) { return missing + QStringLiteral(".Mid"); };
    services.midiExport.makeMid = [](QWidget* owner) {
        return sequor::CreateMakeMid(
            platform::Prompts::current(), owner, std::make_unique<AcceptedExportOptions>());
    };
    editor::MainForm& form
        = shownWindow(t, std::move(services), t.sampleScore(QStringLiteral("xiaoxingxing.vls")));
    // The first notes an octave lower, with dots under them; the caret stays still.
    platform::RichTextBox& editor = form.editor();
    editor.select(editor.LineIndex(2), 7);
    form.toolbar().button(23)->trigger();
    editor.setSelStart(editor.LineIndex(2));
    // A caret that does not blink, so that two looks at the page see the same.
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const auto page = [&form] {
        const QWidget* view = form.editorView();
        return view->parentWidget()->grab(view->geometry()).toImage();
    };
    const QImage before = page();
    const QString rtf = editor.TextRTF();

    for (const char* item : { "SaveVlsAs", "OutputPic", "OutputRTF", "OutputMid" }) {
        int messages = 0;
        t.prompts->whileShown = [&](const platform::PromptRequest& request) {
            ++messages;
            EXPECT_TRUE(request.text.endsWith(QStringLiteral("\n文件夹不存在。"))) << item;
            EXPECT_EQ(editor.TextRTF(), rtf) << item;
            EXPECT_TRUE(page() == before) << item;
        };
        form.action(QString::fromLatin1(item))->trigger();
        EXPECT_EQ(messages, 1) << item;
    }
    QApplication::setCursorFlashTime(flashTime);
}

// A picture written or refused leaves the keyboard with the score, as the other exports do: what the
// user types next lands in the text, not in a control that swallows it.
TEST(MainFormOutput, TypingAfterAPictureExportLandsInTheScore)
{
    WindowTest t;
    const QStringList pictures { t.user.file("song.bmp"), t.user.file("missing/song.bmp") };
    QStringList answers = pictures;
    editor::MainFormServices services = tunvale::testing::FakeServices();
    services.outputSaveDialog
        = [&answers](const platform::FileDialogRequest&) { return answers.takeFirst(); };
    editor::MainForm& form = shownWindow(t, std::move(services), t.sampleScore());
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.editorView()->setFocus();
    platform::RichTextBox& editor = form.editor();

    for (const QString& picture : pictures) {
        editor.setSelStart(0);
        const QString before = editor.Text();
        form.action("OutputPic")->trigger();
        EXPECT_EQ(QFileInfo::exists(picture), picture == pictures.front());
        ASSERT_TRUE(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("la"));
        EXPECT_EQ(editor.Text(), QStringLiteral("la") + before) << picture.toStdString();
    }
    EXPECT_EQ(t.prompts->shown.size(), 1U);
}
