#include "app/editor/parts/score_search.h"

#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/score_file_commands.h"

#include <QAction>

#include <search.h>

namespace tunvale::editor {

namespace {

const QString kSearchCaption = QStringLiteral("搜索并打开...");

} // namespace

QString SearchForScore(QWidget* owner)
{
    const std::unique_ptr<search::SearchandOpen> component = search::createSearchandOpen();
    component->VlsPath(frame::ScoreBrowseFolder());
    component->ShowSearchandOpenForm(owner);
    return component->GetVlsFileName();
}

void MainForm::InputVls_Click(int Index)
{
    if (Index != 1)
        return;
    // One search window at a time: its command waits while the window is open.
    QAction* items[] = { action(QStringLiteral("InputVls"), 1), Toolbar1->dropDownItem(kSearchCaption) };
    for (QAction* item : items)
        item->setEnabled(false);
    const QString P = SearchForScore(this);
    for (QAction* item : items)
        item->setEnabled(true);
    if (P.isEmpty())
        return;
    StatusBar1->setPanelText(5, QStringLiteral("小节：1/..."));
    // The open decides whether this window, another one showing the score or a new one takes it.
    MainFormScoreFiles::of(*this).commands().OpenVls(P);
}

} // namespace tunvale::editor
