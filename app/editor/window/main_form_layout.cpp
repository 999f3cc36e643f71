#include "app/editor/window/main_form.h"

#include "app/editor/window/window_geometry.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/editing/paragraph_indents.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "platform/desktop/dpi.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <cmath>

namespace tunvale::editor {

double MainForm::twipsPerPixel() const { return 1440.0 / platform::GetDpi(); }

void MainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    applyLayout();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        applyLayout();
        marginTimer_->start();
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 2; ++i) {
            if (watched == coverPIC[i])
                coverPIC_Click(i);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::applyLayout()
{
    QWidget* client = centralWidget();
    const double tpp = twipsPerPixel();
    const auto& start = frame::Process().start;
    const auto toPixels = [tpp](double twips) { return static_cast<int>(std::lround(twips / tpp)); };
    const auto place = [&](QWidget* widget, const TwipsRect& r) {
        widget->setGeometry(toPixels(r.left), toPixels(r.top), std::max(0, toPixels(r.width)),
            std::max(0, toPixels(r.height)));
    };

    LayoutInput in;
    in.SW = client->width() * tpp;
    in.SH = client->height() * tpp;
    in.W = frameGeometry().width() * tpp;
    in.H = frameGeometry().height() * tpp;
    in.PW = start.PageWidthTwips;
    in.PH = start.PageHeightTwips;
    in.SB = start.ScrollBarTwips;
    in.mode = editorState.ToolbarMode;
    in.toolbarHeight = Toolbar1->sizeHint().height() * tpp;
    in.toolbarVisible = !Toolbar1->isHidden();
    in.rulerHeight = 左右边距控件->bcHeight();
    in.rulerVisible = !左右边距控件->isHidden();
    in.stripChecked = action(QStringLiteral("GroupBar"), 0)->isChecked();
    in.statusChecked = action(QStringLiteral("GroupBar"), 1)->isChecked();
    in.statusHeight = StatusBar1->sizeHint().height() * tpp;
    in.stripHeight = PicXj->height() * tpp;
    in.sliderHeight = CtrlSlider1->height() * tpp;
    in.tiled = action(QStringLiteral("Other"))->isChecked();

    const LayoutResult out = LayoutMainForm(in);
    setMinimumSize(toPixels(out.minWidth), toPixels(out.minHeight));
    Toolbar1->setGeometry(0, 0, client->width(), toPixels(in.toolbarHeight));
    Toolbar1->setVisible(out.toolbarVisible);
    左右边距控件->setVisible(out.rulerVisible);
    StatusBar1->setVisible(out.statusVisible);
    StatusBar1->setGeometry(
        0, client->height() - toPixels(in.statusHeight), client->width(), toPixels(in.statusHeight));
    PicXj->setVisible(out.stripVisible);
    place(coverPIC[0], out.cover0);
    place(coverPIC[1], out.cover1);
    rightCoverTwips_ = out.cover1.width;
    place(PicXj, out.strip);
    CtrlSlider1->setGeometry(0, 0, toPixels(out.sliderWidth), CtrlSlider1->height());
    place(RichTextBox1, out.editor);
    place(RichTextBox2, out.editor);
    YYPic->setGeometry(0, YYPic->y(), YYPic->width(), toPixels(out.yyPic.height));
    if (out.lineShow) {
        place(PicLineShow, *out.lineShow);
        place(RichTextBox5, *out.lineShowText);
    }
    // The ruler keeps its strip's height; its left is the editor's, where the page starts.
    左右边距控件->setGeometry(0, 0, client->width(), 左右边距控件->height());
    左右边距控件->setBcLeft(static_cast<int>(std::lround(out.editor.left)));
    coverPIC[1]->raise();
    coverPIC[0]->raise();
    PicXj->raise();
}

void MainForm::MakeWorkingCopy()
{
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSavedKept = header.ScoreSaved;
    const platform::RichContent score = platform::ExtractContent(*RichTextBox1->document());
    platform::SetContent(*RichTextBox2->document(), score);
    RichTextBox2->box().select(editor().SelStart(), 0);
    platform::SetContent(*RichTextBox3.document(), score);
    RichTextBox2->raise();
    coverPIC[1]->raise();
    coverPIC[0]->raise();
    PicXj->raise();
    for (int panel = 4; panel <= 8; ++panel)
        StatusBar1->setPanelEnabled(panel, false);
}

void MainForm::RestoreScoreView()
{
    RichTextBox1->raise();
    coverPIC[1]->raise();
    coverPIC[0]->raise();
    PicXj->raise();
    HookWheel(RichTextBox1->viewport());
    for (int panel = 4; panel <= 8; ++panel)
        StatusBar1->setPanelEnabled(panel, true);
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = header.ScoreSavedKept;
}

void MainForm::JzRTB(int userRightSpace)
{
    auto& header = frame::Process().ScoreHeader;
    const std::int16_t saved = header.ScoreSaved;
    editorState.LayoutBusy = 1;
    const int left = userRightSpace ? 200 : header.LeftSpace;
    const int right
        = userRightSpace ? 200 : header.RightSpace + static_cast<int>(std::lround(rightCoverTwips_));
    SetParagraphIndents(*RichTextBox1->document(), left, right);
    SetParagraphIndents(*RichTextBox2->document(), left, right);
    editorState.LayoutBusy = 0;
    header.ScoreSaved = saved;
}

} // namespace tunvale::editor
