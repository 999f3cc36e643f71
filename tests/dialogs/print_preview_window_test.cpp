#include "app/dialogs/print_preview_window.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/dialogs/paged_score.h"
#include "tests/support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

class FakeHost final : public dialogs::PreviewHost
{
public:
    const QTextDocument& scoreDocument() const override { return document ? *document : *score.document(); }
    void setEditorBackground(const QColor& color) override { log << "background " + color.name(); }
    QColor editingBackground() const override { return QColor(0xf0, 0xe0, 0xd0); }
    void EditMode() override { log << "EditMode"; }
    void JzRTB(int userRightSpace) override { log << QStringLiteral("JzRTB %1").arg(userRightSpace); }
    void focusPage() override { log << "focusPage"; }

    platform::RichTextBox score;
    std::unique_ptr<QTextDocument> document; // instead of the score when set
    QStringList log;
};

} // namespace

TEST(PrintPreviewWindow, ThreePagesShownAndClosingGivesTheEditorItsLayoutBack)
{
    platform::loadNotationFonts();
    FakeHost host;
    FillSong(host.score, 30, 600); // 61 lines: three pages
    dialogs::frmPreview preview(host, {});
    preview.load();
    EXPECT_EQ(host.log, QStringList { "background #ffffff" });
    EXPECT_EQ(preview.windowTitle(), "打印预览");
    ASSERT_EQ(preview.cboPage->count(), 3);
    EXPECT_EQ(preview.cboPage->currentText(), "第1页   共3页");
    EXPECT_EQ(preview.cboPercent->currentText(), "100%");
    EXPECT_FALSE(preview.cmdPrevious->isEnabled());
    EXPECT_TRUE(preview.cmdNext->isEnabled());

    preview.show();
    preview.cmdEnd->click();
    preview.clickToolbarButton(3);
    EXPECT_EQ(preview.cboPage->currentText(), "第3页   共3页");
    EXPECT_EQ(preview.cboPercent->currentText(), "110%");
    EXPECT_FALSE(preview.cmdNext->isEnabled());

    host.log.clear();
    preview.clickToolbarButton(12);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(host.log, (QStringList { "background #f0e0d0", "EditMode", "JzRTB 0", "focusPage" }));
    preview.unload(); // once only
    EXPECT_EQ(host.log.size(), 4);
}

TEST(PrintPreviewWindow, PrintingFromThePreviewIsThePreviewsAndLeavesItInFront)
{
    platform::loadNotationFonts();
    FakeHost host;
    FillSong(host.score, 3, 600); // one page
    QWidget main;
    main.show();
    QWidget* dialogOwner = nullptr;
    dialogs::PrintServices services;
    services.dialogOwner = &main;
    services.dialog = [&](QWidget* owner, QPrinter&, int, dialogs::PrintRange&) {
        dialogOwner = owner;
        // A dialog that closes hands the focus to the window below, as a window manager does.
        main.activateWindow();
        return false;
    };
    dialogs::frmPreview preview(host, services, &main);
    preview.load();
    preview.show();
    preview.activateWindow();
    preview.clickToolbarButton(1);
    EXPECT_EQ(dialogOwner, &preview);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &preview; }, 2000));

    // The print button shows no floppy disk.
    const QList<QAction*> actions = preview.findChildren<QAction*>();
    const auto print = std::find_if(
        actions.begin(), actions.end(), [](const QAction* a) { return a->text() == QStringLiteral("打印"); });
    ASSERT_NE(print, actions.end());
    const QImage floppy = preview.style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(16).toImage();
    EXPECT_NE((*print)->icon().pixmap(16).toImage(), floppy);
}

TEST(PrintPreviewWindow, ATenThousandLineScoreShowsItsLastPage)
{
    platform::loadNotationFonts();
    FakeHost host;
    // 60-point lines: far past 2^23 twips in all.
    host.document = RepeatedParagraphs(10000, QStringLiteral("1234567"), 60);
    dialogs::frmPreview preview(host, {});
    preview.load();
    const int pages = preview.pagination().RtfPageCount;
    ASSERT_GT(pages, 500);
    ASSERT_EQ(preview.cboPage->count(), pages);
    preview.show();
    preview.cmdEnd->click();
    EXPECT_FALSE(preview.grab().isNull());
    EXPECT_EQ(preview.cboPage->currentText(), QStringLiteral("第%1页   共%1页").arg(pages));
    EXPECT_EQ(preview.navigator().CurrentPage(), pages);
}

TEST(PrintPreviewWindow, APictureAboveTheLimitIsRefusedWithAMessageAndNothingWritten)
{
    platform::loadNotationFonts();
    ScopedPrompts prompts;
    QTemporaryDir dir;
    const QString path = dir.filePath("score.bmp");
    FakeHost host;
    host.document = RepeatedParagraphs(7000, QStringLiteral("歌"), 12); // over 110 pages
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    dialogs::frmPreview preview(host, {});
    preview.load();
    EXPECT_EQ(preview.savePicture(path).status, dialogs::PictureSave::TooLarge);
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts()[0].startsWith(QStringLiteral("图片太大，没有导出：")))
        << prompts->texts()[0].toStdString();
    EXPECT_TRUE(prompts->texts()[0].contains(QStringLiteral("256 MB")));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
}
