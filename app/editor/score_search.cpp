#include "app/editor/score_search.h"

#include "app/editor/main_form.h"
#include "app/editor/main_toolbar.h"
#include "app/editor/status_panels.h"
#include "platform/settings/program_folder.h"

#include <QAction>
#include <QDir>

#include <search.h>

namespace tunvale::editor {

namespace {

const QString kSearchCaption = QStringLiteral("搜索并打开...");

} // namespace

QString ScoreSearchFolder()
{
    QString users = QDir(platform::ProgramFolder::userDir()).filePath(QStringLiteral("vls"));
    QDir().mkpath(users);
    if (!QDir(users).entryList({ QStringLiteral("*.vls") }, QDir::Files).isEmpty())
        return users;
    return QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls"));
}

QString SearchForScore(QWidget* owner)
{
    const std::unique_ptr<search::SearchandOpen> component = search::createSearchandOpen();
    component->VlsPath(ScoreSearchFolder());
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
    // A score of a newer format closes the window, as at start-up.
    if (!OpenVls(P))
        close();
}

} // namespace tunvale::editor
