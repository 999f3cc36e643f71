#include "tests/editor/window_fixture.h"

#include "app/dialogs/solfege_dialog.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/playback/play_commands.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;
using dialogs::SolfegeDialog;

// "获取唱名" opens on the sample's syllables; a syllable saved on the settings tab is in the text when the
// first tab comes back, and in every later compile of the score.
TEST(MainFormSolfege, ASavedSyllableSpellsTheScore)
{
    WindowTest test;
    editor::MainForm& form = test.load(test.sampleScore(QStringLiteral("molihua.vls")));
    const QString shipped = form.part<editor::MainFormPlayback>().commands().GetmyCM();
    ASSERT_TRUE(shipped.contains(QStringLiteral("sol la do")));

    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SolfegeDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        ran = true;
        EXPECT_EQ(dialog->syllableText()->toPlainText(), shipped);
        dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
        dialog->nameBox(0)->setText(QStringLiteral("doh"));
        QTest::keyRelease(dialog->nameBox(0), Qt::Key_H);
        dialog->saveButton()->click();
        dialog->tabs()->setCurrentIndex(SolfegeDialog::SyllablesTab);
        EXPECT_TRUE(dialog->syllableText()->toPlainText().contains(QStringLiteral("sol la doh")));
        dialog->closeButton()->click();
    });
    form.action(QStringLiteral("SHowCM"))->trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(form.part<editor::MainFormPlayback>().commands().GetmyCM(),
        QString(shipped).replace(QStringLiteral("do"), QStringLiteral("doh")));
    EXPECT_TRUE(test.prompts->shown.empty());
}

// The syllables are spelt from the score as it stands: the caret, the selection and the view stay.
TEST(MainFormSolfege, TheCaretAndTheViewStay)
{
    WindowTest test;
    editor::MainForm& form = test.load(test.sampleScore(QStringLiteral("molihua.vls")));
    form.resize(600, 300);
    form.show();
    platform::RichTextBox& editor = form.editor();
    const int start = editor.LineIndex(editor.LineCount() - 1) + 1;
    editor.select(start, 2);
    QScrollBar* bar = form.editorView()->verticalScrollBar();
    ASSERT_GT(bar->value(), 0);
    const int scrolled = bar->value();

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<SolfegeDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
        dialog->tabs()->setCurrentIndex(SolfegeDialog::SyllablesTab);
        dialog->closeButton()->click();
    });
    form.action(QStringLiteral("SHowCM"))->trigger();
    EXPECT_EQ(editor.SelStart(), start);
    EXPECT_EQ(editor.SelLength(), 2);
    EXPECT_EQ(bar->value(), scrolled);
}
