#include "app/dialogs/print_preview_window.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_output.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editor/window_fixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>

#include <tuple>

#include <gtest/gtest.h>

using namespace tunvale;
using tunvale::testing::WindowTest;

TEST(MainFormOutput, PreviewAndExportsLeaveTheScoreAsItWas)
{
    WindowTest t;
    const QString picture = t.user.file("song.bmp");
    const QString exported = t.user.file("song.rtf");
    editor::MainFormServices services = tunvale::testing::FakeServices();
    QStringList answers { picture, exported };
    services.outputSaveDialog
        = [&answers](const platform::FileDialogRequest&) { return answers.takeFirst(); };
    frame::Process().ScoreHeader.CurrentFile = t.sampleScore();
    t.form = std::make_unique<editor::MainForm>(std::move(services));
    ASSERT_TRUE(t.form->load());
    editor::MainForm& form = *t.form;
    // Shown, the editor's right margin reaches under the right cover, unlike the printed page's.
    form.resize(1000, 720);
    form.show();
    form.applyLayout();
    form.JzRTB(0);
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
    EXPECT_TRUE(QFileInfo(exported).size() > 0);

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
