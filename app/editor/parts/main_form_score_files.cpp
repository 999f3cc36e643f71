#include "app/editor/parts/main_form_score_files.h"

#include "app/editor/actions/build_gate.h"
#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/start_up.h"
#include "app/editor/window/status_panels.h"
#include "app/editor/window/window_geometry.h"
#include "app/frame/process_state.h"
#include "app/frame/recent_files.h"
#include "app/notation/play_order.h"
#include "app/notation/score_template.h"
#include "app/playback/play_note.h"
#include "app/playback/playback_state.h"
#include "platform/desktop/combo_drop_width.h"
#include "platform/desktop/dpi.h"
#include "platform/desktop/prompts.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

#include <search.h>

namespace tunvale::editor {

namespace {

const QString kSearchCaption = QStringLiteral("搜索并打开...");

// Shows the search window above `owner` where opening starts, waits until it closes and returns the path
// the user picked, or an empty string.
QString SearchForScore(QWidget* owner)
{
    const std::unique_ptr<search::SearchandOpen> component = search::createSearchandOpen();
    component->VlsPath(frame::ScoreBrowseFolder());
    component->ShowSearchandOpenForm(owner);
    return component->GetVlsFileName();
}

} // namespace

MainFormScoreFiles::MainFormScoreFiles(MainForm& form, frame::ScoreFileServices services)
    : MainFormPart(form)
    , orderScore_(form.editor(), frame::Process().ScoreHeader)
    , raiser_(*this, services.ownId == 0 ? QCoreApplication::applicationPid() : services.ownId)
{
    if (services.ownId == 0)
        services.ownId = QCoreApplication::applicationPid();
    if (!services.restoreWindow)
        services.restoreWindow
            = [this](qint64 id, const QString& path) { return raiser_.RestoreWindow(id, path); };
    commands_ = std::make_unique<frame::ScoreFileCommands>(*this, std::move(services));
    notation::ProcessPlayOrder().setScore(&orderScore_);
    connectMenus();
}

MainFormScoreFiles::~MainFormScoreFiles() { notation::ProcessPlayOrder().setScore(nullptr); }

void MainFormScoreFiles::connectMenus()
{
    form_.connectItem(QStringLiteral("NewBuilt"), [this] { commands_->newScore(); });
    form_.connectItem(QStringLiteral("InputVls(0)"), [this] { commands_->openWithDialog(); });
    form_.connectItem(QStringLiteral("InputVls(1)"), [this] { searchAndOpen(); });
    form_.connectItem(QStringLiteral("SaveVls"), [this] { commands_->save(); });
    form_.connectItem(QStringLiteral("SaveVlsAs"), [this] { commands_->saveAs(); });
    form_.connectArray(QStringLiteral("mLastFile"), [this](int index) {
        commands_->openRecentFile(form_.action(QStringLiteral("mLastFile"), index)->data().toString());
    });
    // Index 0 is the open dialog, 1 the search window.
    form_.defineCommand(QStringLiteral("InputVls"), [this](int index) {
        if (index == 1)
            searchAndOpen();
        else if (index == 0)
            commands_->openWithDialog();
    });
    form_.defineCommand(QStringLiteral("SaveVls"), [this](int) { commands_->save(); });
    // Other windows record files too: the menu shows the list as it is when it opens.
    connect(form_.menu(QStringLiteral("File")), &QMenu::aboutToShow, this, [this] { ShowRecentFiles(); });
}

bool MainFormScoreFiles::listen() { return raiser_.listen(); }

void MainFormScoreFiles::searchAndOpen()
{
    // One search window at a time: its command waits while the window is open.
    QAction* items[]
        = { form_.action(QStringLiteral("InputVls"), 1), form_.toolbar().dropDownItem(kSearchCaption) };
    for (QAction* item : items)
        item->setEnabled(false);
    const QString chosen = SearchForScore(&form_);
    for (QAction* item : items)
        item->setEnabled(true);
    if (chosen.isEmpty())
        return;
    setBarPanelText(QStringLiteral("小节：1/..."));
    // The open decides whether this window, another one showing the score or a new one takes it.
    commands_->OpenVls(chosen);
}

bool MainFormScoreFiles::readyToClose()
{
    auto& header = frame::Process().ScoreHeader;
    if (frame::Process().start.PrintStart || header.ScoreSaved)
        return true;
    platform::PromptRequest question;
    question.text = QStringLiteral("需要保存简谱，再退出吗？");
    question.icon = platform::PromptIcon::Question;
    question.buttons = platform::PromptButtons::YesNoCancel;
    // Enter keeps the work: a second look is never needed to save it.
    question.defaultAnswer = platform::PromptAnswer::Yes;
    const platform::PromptAnswer answer = platform::Prompts::current().ask(question);
    if (answer == platform::PromptAnswer::Cancel)
        return false;
    return answer != platform::PromptAnswer::Yes || commands_->save();
}

bool MainFormScoreFiles::OpenStartScore(const QString& fileName)
{
    const QString blank = notation::TemplatePath();
    // The name may be the header's own, which the window's first load starts without.
    const QString start = fileName.isEmpty() ? blank : fileName;
    header().CurrentFile.clear();
    // The window holds no score of its own yet: there are no changes to ask about.
    commands_->OpenVls(start, true);
    // A window that another one started for this score has nothing else to show once it is refused.
    if (header().CurrentFile.isEmpty() && frame::Process().start.OpenFileStart)
        closeAsked_ = true;
    if (!closeAsked_ && header().CurrentFile.isEmpty() && !blank.isEmpty())
        commands_->OpenVls(blank, true);
    const bool keep = !closeAsked_;
    closeAsked_ = false;
    return keep;
}

notation::ScoreHeader& MainFormScoreFiles::header() { return frame::Process().ScoreHeader; }

notation::ColorScheme& MainFormScoreFiles::colors() { return frame::Process().ColorScheme; }

notation::DrumStore& MainFormScoreFiles::XjDrums() { return notation::ProcessDrumStores().XjDrums; }

notation::PlayOrder& MainFormScoreFiles::playOrder() { return notation::ProcessPlayOrder(); }

platform::RichTextBox& MainFormScoreFiles::RichTextBox1() { return form_.editor(); }

bool MainFormScoreFiles::PrintStart() const { return frame::Process().start.PrintStart; }

QWidget* MainFormScoreFiles::dialogOwner() { return &form_; }

int MainFormScoreFiles::screenDpi() const { return platform::GetDpi(); }

void MainFormScoreFiles::fillSoundList()
{
    if (!playback::NotePlayer)
        return;
    const playback::SoundList sounds = playback::NotePlayer->fill_sound_list();
    QComboBox* box = form_.toolbar().ComSounds;
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(sounds.items);
    box->setToolTip(sounds.toolTip);
    platform::FitComboDropWidth(*box, -1);
}

void MainFormScoreFiles::showScoreValues() { form_.showScoreValues(); }

int MainFormScoreFiles::instrumentIndex() const { return form_.toolbar().ComSounds->currentIndex(); }

QString MainFormScoreFiles::speedText() const { return form_.toolbar().Text_Speed->text(); }

QString MainFormScoreFiles::volumeText() const { return form_.toolbar().Text_Volume->text(); }

bool MainFormScoreFiles::drumPZChecked() const { return form_.action(QStringLiteral("DrumPZ"))->isChecked(); }

void MainFormScoreFiles::setCaption(const QString& caption) { form_.setWindowTitle(caption); }

void MainFormScoreFiles::setBarPanelText(const QString& text)
{
    form_.statusPanels().setPanelText(StatusPanel::Bar, text);
    // The text stands while an open runs; whether the score opened here, in another window or not at
    // all, the panel then shows this window's bars again.
    if (auto* editing = form_.findPart<MainFormEditing>())
        QTimer::singleShot(0, editing, &MainFormEditing::showBarPanel);
}

void MainFormScoreFiles::resetCaret()
{
    form_.state().CaretLine = 1;
    form_.editor().setSelStart(0);
}

void MainFormScoreFiles::JzRTB(bool userRightSpace) { form_.JzRTB(userRightSpace ? 1 : 0); }

std::pair<int, int> MainFormScoreFiles::paragraphIndents(const notation::ScoreHeader& header) const
{
    return form_.marginIndents(header);
}

void MainFormScoreFiles::startHighlightCleaner()
{
    // At once: after an open the undo history is reset right after, so the clean-up is no step of its
    // own; in the colour dialog it is one of the steps that its Cancel takes back.
    if (auto* clipboard = form_.findPart<MainFormClipboard>())
        clipboard->cleanHighlightMarks();
}

void MainFormScoreFiles::UndoReset() { form_.part<MainFormEditing>().undo().Reset(); }

void MainFormScoreFiles::RefreshDrumSlider(int bar) { form_.part<MainFormDrums>().RefreshDrumSlider(bar); }

void MainFormScoreFiles::InitDrumUndo() { form_.part<MainFormDrums>().forgetSnapshots(); }

void MainFormScoreFiles::clearDrumUndoLists() { form_.part<MainFormDrums>().forgetShownBars(); }

void MainFormScoreFiles::forgetPreviousScore() { form_.scoreReplaced(); }

int MainFormScoreFiles::XJInteger() const { return form_.part<MainFormEditing>().undo().XJInteger(); }

void MainFormScoreFiles::keepCurrentFile(const QString& path) { keptFile_ = path; }

QString MainFormScoreFiles::WindowPos() const
{
    // The outer size, frame included, as start-up's placing reads it.
    return WinPosValue(form_.frameGeometry(), form_.twipsPerPixel(), form_.isMaximized());
}

void MainFormScoreFiles::ShowRecentFiles()
{
    const frame::RecentMenuItems items = frame::RecentFiles::ShowRecentFiles();
    for (int i = 0; i < frame::kRecentFileCount; ++i) {
        QAction* item = form_.action(QStringLiteral("mLastFile"), i);
        item->setText(items[std::size_t(i)].caption);
        item->setData(items[std::size_t(i)].path);
        item->setVisible(items[std::size_t(i)].visible);
    }
}

void MainFormScoreFiles::closeWindow()
{
    // While the window loads it is not shown yet: the load reports that it must close.
    if (!form_.isVisible()) {
        closeAsked_ = true;
        return;
    }
    QMetaObject::invokeMethod(&form_, &QWidget::close, Qt::QueuedConnection);
}

void MainFormScoreFiles::setDrumPZChecked(bool checked) { form_.setDrumPZChecked(checked); }

void MainFormScoreFiles::setAccompanimentType(int index) { form_.setAccompanimentType(index); }

void MainFormScoreFiles::setSameSpeedChecked(bool checked) { form_.setSameSpeedChecked(checked); }

void MainFormScoreFiles::setHeYingChecked(bool checked) { form_.setHeYingChecked(checked); }

void MainFormScoreFiles::setRulerLeftSpace(int twips) { form_.setRulerLeftSpace(twips); }

void MainFormScoreFiles::setRulerRightSpace(int twips) { form_.setRulerRightSpace(twips); }

bool MainFormScoreFiles::showsScore(const QString& path) const
{
    return form_.isVisible() && frame::Process().ScoreHeader.CurrentFile == path;
}

void MainFormScoreFiles::bringUp() { RestoreWindow(form_); }

} // namespace tunvale::editor
