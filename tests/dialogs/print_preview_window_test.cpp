#include "app/dialogs/print_preview_window.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/dialogs/paged_score.h"

#include <QComboBox>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

class FakeHost final : public dialogs::PreviewHost
{
public:
    const QTextDocument& scoreDocument() const override { return *score.document(); }
    void setEditorBackground(const QColor& color) override { log << "background " + color.name(); }
    QColor editingBackground() const override { return QColor(0xf0, 0xe0, 0xd0); }
    void EditMode() override { log << "EditMode"; }
    void JzRTB(int userRightSpace) override { log << QStringLiteral("JzRTB %1").arg(userRightSpace); }
    void focusPage() override { log << "focusPage"; }

    platform::RichTextBox score;
    QStringList log;
};

} // namespace

TEST(PrintPreviewWindow, ThreePagesShownAndClosingGivesTheEditorItsLayoutBack)
{
    platform::loadNotationFonts();
    FakeHost host;
    FillSong(host.score, 30, 600); // 61 lines: three pages
    dialogs::frmPreview preview(host, {});
    EXPECT_TRUE(preview.load());
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
