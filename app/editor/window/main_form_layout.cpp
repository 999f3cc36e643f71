#include "app/editor/window/main_form.h"

#include "app/drums/bar_strip.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/editing/paragraph_indents.h"
#include "app/editor/editing/stored_color.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/wheel_filter.h"
#include "app/editor/window/window_geometry.h"
#include "app/frame/process_state.h"
#include "platform/desktop/dpi.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>

#include <margin_ruler.h>

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
    in.mode = state_.ToolbarMode;
    in.toolbarHeight = toolbar_->sizeHint().height() * tpp;
    in.toolbarVisible = !toolbar_->isHidden();
    in.rulerHeight = marginRuler_->bcHeight();
    in.rulerVisible = !marginRuler_->isHidden();
    in.stripChecked = action(QStringLiteral("GroupBar"), 0)->isChecked();
    in.statusChecked = action(QStringLiteral("GroupBar"), 1)->isChecked();
    in.statusHeight = statusPanels_->sizeHint().height() * tpp;
    in.stripHeight = barStripBox_->height() * tpp;
    in.sliderHeight = barStrip_->height() * tpp;
    in.tiled = action(QStringLiteral("Other"))->isChecked();

    const LayoutResult out = LayoutMainForm(in);
    setMinimumSize(toPixels(out.minWidth), toPixels(out.minHeight));
    toolbar_->setGeometry(0, 0, client->width(), toPixels(in.toolbarHeight));
    toolbar_->setVisible(out.toolbarVisible);
    marginRuler_->setVisible(out.rulerVisible);
    statusPanels_->setVisible(out.statusVisible);
    statusPanels_->setGeometry(
        0, client->height() - toPixels(in.statusHeight), client->width(), toPixels(in.statusHeight));
    barStripBox_->setVisible(out.stripVisible);
    place(covers_[0], out.cover0);
    place(covers_[1], out.cover1);
    rightCoverTwips_ = out.cover1.width;
    place(barStripBox_, out.strip);
    barStrip_->setGeometry(0, 0, toPixels(out.sliderWidth), barStrip_->height());
    placeScoreView(editorView_, out.editor, out.wrapWidth, client->width());
    placeScoreView(playbackView_, out.editor, out.wrapWidth, client->width());
    graceBox_->setGeometry(0, graceBox_->y(), graceBox_->width(), toPixels(out.yyPic.height));
    if (out.lineShow) {
        place(tiledViewBox_, *out.lineShow);
        place(tiledView_, *out.lineShowText);
    }
    // The ruler keeps its strip's height; its left is the editor's, where the page starts.
    marginRuler_->setGeometry(0, 0, client->width(), marginRuler_->height());
    marginRuler_->setBcLeft(static_cast<int>(std::lround(out.editor.left)));
    covers_[1]->raise();
    covers_[0]->raise();
    barStripBox_->raise();
}

void MainForm::placeScoreView(
    platform::RichTextEdit* view, const TwipsRect& page, double wrapWidth, int clientWidth)
{
    const double tpp = twipsPerPixel();
    const int left = static_cast<int>(std::lround(page.left / tpp));
    const int width = static_cast<int>(std::lround(page.width / tpp));
    const int top = static_cast<int>(std::lround(page.top / tpp));
    const int height = std::max(0, static_cast<int>(std::lround(page.height / tpp)));
    // Lines wrap as on the page whatever the window's width, and before the window is first shown:
    // a score opens laid out, with the bars it will show. A window narrower than the page shows what
    // fits, with a scroll bar to reach the line ends; a wide one has no horizontal scroll bar.
    const bool narrow = left + width > clientWidth;
    view->setGeometry(left, top, std::max(0, narrow ? clientWidth - left : width), height);
    const int wrap = std::max(1, static_cast<int>(std::lround(wrapWidth / tpp)));
    view->setLineWrapMode(QTextEdit::FixedPixelWidth);
    // Every new wrap width lays the whole text out again.
    if (view->lineWrapColumnOrWidth() != wrap)
        view->setLineWrapColumnOrWidth(wrap);
    view->setHorizontalScrollBarPolicy(narrow ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void MainForm::MakeWorkingCopy()
{
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSavedKept = header.ScoreSaved;
    const platform::RichContent score = platform::ExtractContent(*editorView_->document());
    platform::SetContent(*playbackView_->document(), score);
    playbackView_->box().select(editor().SelStart(), 0);
    platform::SetContent(*workingCopy_.document(), score);
    playbackView_->show();
    playbackView_->raise();
    covers_[1]->raise();
    covers_[0]->raise();
    barStripBox_->raise();
    statusPanels_->setEditPanelsEnabled(false);
}

void MainForm::RestoreScoreView()
{
    editorView_->raise();
    playbackView_->hide();
    covers_[1]->raise();
    covers_[0]->raise();
    barStripBox_->raise();
    HookWheel(editorView_->viewport());
    statusPanels_->setEditPanelsEnabled(true);
    auto& header = frame::Process().ScoreHeader;
    header.ScoreSaved = header.ScoreSavedKept;
}

std::pair<int, int> MainForm::layoutIndents(int userRightSpace) const
{
    if (userRightSpace)
        return { 200, 200 };
    return marginIndents(frame::Process().ScoreHeader);
}

std::pair<int, int> MainForm::marginIndents(const notation::ScoreHeader& header) const
{
    return { header.LeftSpace, header.RightSpace + static_cast<int>(std::lround(rightCoverTwips_)) };
}

void MainForm::showEditingBackground()
{
    const QColor back = StoredColor(frame::Process().ColorScheme.EditBackColor);
    editorView_->setPageColor(back);
    playbackView_->setPageColor(back);
}

void MainForm::JzRTB(int userRightSpace)
{
    const QScopedValueRollback kept(frame::Process().ScoreHeader.ScoreSaved);
    state_.LayoutBusy = true;
    const auto [left, right] = layoutIndents(userRightSpace);
    SetParagraphIndents(*editorView_->document(), left, right);
    SetParagraphIndents(*playbackView_->document(), left, right);
    state_.LayoutBusy = false;
}

} // namespace tunvale::editor
