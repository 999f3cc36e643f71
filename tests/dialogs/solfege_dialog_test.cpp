#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "app/dialogs/solfege_dialog.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/gbk.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::dialogs;
using tunvale::testing::ScopedPrompts;
using tunvale::testing::ScopedUserFolder;

namespace {

// The score window: its sung syllables change with every compile.
class FakeSolfegeWindow final : public SolfegeWindow
{
public:
    QString GetmyCM() override { return QStringLiteral("do re mi %1").arg(++compiles); }
    int compiles = 0;
};

// A data folder of its own holding "banzhou.ini", and a user folder without one.
class SolfegeDialogTest : public ::testing::Test
{
protected:
    SolfegeDialogTest() { platform::ProgramFolder::overrideDataDir(data.path()); }
    ~SolfegeDialogTest() override { platform::ProgramFolder::overrideDataDir(QString()); }

    void shipIni(const QByteArray& bytes)
    {
        ASSERT_TRUE(tunvale::testing::writeAll(data.filePath(QStringLiteral("banzhou.ini")), bytes));
    }
    QString userIni() const { return platform::ProgramFolder::userPath(QStringLiteral("banzhou.ini")); }
    QStringList boxes() const
    {
        QStringList texts;
        for (int i = 0; i < SolfegeDialog::kNameCount; ++i)
            texts << dialog->nameBox(i)->text();
        return texts;
    }
    void type(int box, const QString& text)
    {
        dialog->nameBox(box)->setText(text);
        QTest::keyRelease(dialog->nameBox(box), Qt::Key_A);
    }

    QTemporaryDir data;
    ScopedUserFolder user;
    ScopedPrompts prompts;
    FakeSolfegeWindow window;
    std::unique_ptr<SolfegeDialog> dialog;
};

const QByteArray kShipped
    = "[伴奏类型]\nTotalTypes=1\nType1Name=慢四\n\n[唱名]\n0cm=do\n1cm=#do\n2cm=re\n11cm=si\n";

} // namespace

// The window opens on the syllables of the score; each switch back to that tab compiles again. Copy
// is offered only for a selection, and never on the settings tab.
TEST_F(SolfegeDialogTest, SyllablesTabFollowsTheScoreAndTheSelection)
{
    shipIni(kShipped);
    dialog = std::make_unique<SolfegeDialog>(window);
    EXPECT_EQ(dialog->tabs()->currentIndex(), SolfegeDialog::SyllablesTab);
    EXPECT_EQ(dialog->syllableText()->toPlainText(), QStringLiteral("do re mi 1"));
    EXPECT_FALSE(dialog->copyButton()->isEnabled());
    dialog->syllableText()->selectAll();
    EXPECT_TRUE(dialog->copyButton()->isEnabled());

    dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    EXPECT_FALSE(dialog->copyButton()->isEnabled());
    dialog->tabs()->setCurrentIndex(SolfegeDialog::SyllablesTab);
    EXPECT_EQ(dialog->syllableText()->toPlainText(), QStringLiteral("do re mi 2"));
    EXPECT_FALSE(dialog->copyButton()->isEnabled());

    // The right button's release brings the menu up; "全选" selects the whole text.
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QTest::mouseRelease(dialog->syllableText()->viewport(), Qt::RightButton);
    EXPECT_TRUE(dialog->textMenu()->isVisible());
    dialog->textMenu()->actions().first()->trigger();
    dialog->textMenu()->hide();
    EXPECT_EQ(dialog->syllableText()->textCursor().selectedText(), QStringLiteral("do re mi 2"));
    EXPECT_TRUE(dialog->copyButton()->isEnabled());
}

// Saving " la " in box 9: the file and the boxes hold "la", the others are as they were; "确定" waits for
// a key in a box after every switch and after a save.
TEST_F(SolfegeDialogTest, SavingTrimsAndWritesEveryBox)
{
    shipIni(kShipped);
    dialog = std::make_unique<SolfegeDialog>(window);
    dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    QStringList names = { "do", "#do", "re", "", "", "", "", "", "", "", "", "si" };
    EXPECT_EQ(boxes(), names);
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    type(9, QStringLiteral(" la "));
    type(1, QStringLiteral("  "));
    EXPECT_TRUE(dialog->saveButton()->isEnabled());
    ASSERT_TRUE(dialog->saveNames());
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    EXPECT_EQ(platform::ReadIniValue(QStringLiteral("唱名"), QStringLiteral("9cm"), userIni()),
        QStringLiteral("la"));
    names[1] = QString();
    names[9] = QStringLiteral("la");
    const notation::CMingNames read = notation::Readm_YM();
    EXPECT_EQ(QStringList(read.begin(), read.end()), names);

    dialog->tabs()->setCurrentIndex(SolfegeDialog::SyllablesTab);
    dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    EXPECT_EQ(boxes(), names);
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    EXPECT_TRUE(prompts->shown.empty());
}

// Without a [唱名] section every box is empty. The first save copies the shipped file, here in code page
// 936, into the user folder, whose accompaniment styles then still read.
TEST_F(SolfegeDialogTest, FirstSaveKeepsTheShippedFileReadable)
{
    shipIni(platform::GbkEncode(QStringLiteral("[伴奏类型]\r\nTotalTypes=1\r\nType1Name=慢四\r\n")));
    dialog = std::make_unique<SolfegeDialog>(window);
    dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    EXPECT_EQ(boxes(), QStringList(SolfegeDialog::kNameCount, QString()));
    type(0, QStringLiteral("do"));
    ASSERT_TRUE(dialog->saveNames());
    EXPECT_EQ(platform::ReadIniValue(QStringLiteral("伴奏类型"), QStringLiteral("Type1Name"), userIni()),
        QStringLiteral("慢四"));
    EXPECT_EQ(notation::Readm_YM()[0], QStringLiteral("do"));
}

// A file that can't be written: the user is told, and "确定" stays for another try.
TEST_F(SolfegeDialogTest, AFailedSaveSaysSoAndStaysEnabled)
{
    shipIni(kShipped);
    ASSERT_TRUE(QDir().mkpath(userIni()));
    dialog = std::make_unique<SolfegeDialog>(window);
    dialog->tabs()->setCurrentIndex(SolfegeDialog::SettingsTab);
    type(9, QStringLiteral("ti"));
    EXPECT_FALSE(dialog->saveNames());
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("保存失败！") });
    EXPECT_TRUE(dialog->saveButton()->isEnabled());
}
