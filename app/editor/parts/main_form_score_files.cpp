#include "app/editor/parts/main_form_score_files.h"

#include "app/drums/bar_strip.h"
#include "app/editor/actions/build_gate.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/start_up.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/frame/recent_files.h"
#include "app/notation/play_order.h"
#include "app/notation/score_template.h"
#include "app/playback/play_note.h"
#include "app/playback/playback_state.h"
#include "platform/desktop/dpi.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>

namespace tunvale::editor {

namespace {

frame::ScoreFileServices withOwnId(frame::ScoreFileServices services)
{
    if (services.ownId == 0)
        services.ownId = QCoreApplication::applicationPid();
    return services;
}

} // namespace

MainFormScoreFiles& MainFormScoreFiles::of(MainForm& form, frame::ScoreFileServices services)
{
    if (auto* existing = form.findChild<MainFormScoreFiles*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new MainFormScoreFiles(form, withOwnId(std::move(services)));
}

MainFormScoreFiles::MainFormScoreFiles(MainForm& form, frame::ScoreFileServices services)
    : QObject(&form)
    , form_(form)
    , orderScore_(form.editor(), frame::Process().ScoreHeader)
    , raiser_(*this, services.ownId)
{
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
    form_.connectItem(QStringLiteral("InputVls(0)"), [this] { commands_->InputVls_Click(0); });
    form_.connectItem(QStringLiteral("SaveVls"), [this] { commands_->save(); });
    form_.connectItem(QStringLiteral("SaveVlsAs"), [this] { commands_->saveAs(); });
    form_.connectArray(QStringLiteral("mLastFile"), [this](int index) {
        commands_->openRecentFile(form_.action(QStringLiteral("mLastFile"), index)->data().toString());
    });
    // Index 0 is the open dialog, 1 the search window of the window itself.
    form_.defineCommand(QStringLiteral("InputVls"), [this](int index) {
        if (index == 1)
            form_.InputVls_Click(1);
        else
            commands_->InputVls_Click(index);
    });
    form_.defineCommand(QStringLiteral("SaveVls"), [this](int) { commands_->save(); });
    form_.hooks.save = [this] { return commands_->save(); };
    form_.hooks.ShowRecentFiles = [this] { ShowRecentFiles(); };
    // Other windows record files too: the menu shows the list as it is when it opens.
    connect(form_.menu(QStringLiteral("File")), &QMenu::aboutToShow, this, [this] { ShowRecentFiles(); });
}

bool MainFormScoreFiles::listen() { return raiser_.listen(); }

bool MainFormScoreFiles::OpenStartScore(const QString& fileName)
{
    const QString blank = notation::TemplatePath();
    // The name may be the header's own, which the window's first load starts without.
    const QString start = fileName.isEmpty() ? blank : fileName;
    header().CurrentFile.clear();
    // The window holds no score of its own yet: there are no changes to ask about.
    commands_->OpenVls(start, true);
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

bool MainFormScoreFiles::PrintStart() const { return frame::Process().start.PrintStart != 0; }

QWidget* MainFormScoreFiles::dialogOwner() { return &form_; }

int MainFormScoreFiles::screenDpi() const { return platform::GetDpi(); }

void MainFormScoreFiles::fillSoundList()
{
    if (!playback::NotePlayer)
        return;
    const playback::SoundList sounds = playback::NotePlayer->fill_sound_list();
    QComboBox* box = form_.Toolbar1->ComSounds;
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(sounds.items);
    box->setToolTip(sounds.toolTip);
}

void MainFormScoreFiles::showScoreValues() { form_.showScoreValues(); }

int MainFormScoreFiles::instrumentIndex() const { return form_.Toolbar1->ComSounds->currentIndex(); }

QString MainFormScoreFiles::speedText() const { return form_.Toolbar1->Text_Speed->text(); }

QString MainFormScoreFiles::volumeText() const { return form_.Toolbar1->Text_Volume->text(); }

bool MainFormScoreFiles::drumPZChecked() const { return form_.action(QStringLiteral("DrumPZ"))->isChecked(); }

void MainFormScoreFiles::setCaption(const QString& caption) { form_.setWindowTitle(caption); }

void MainFormScoreFiles::setBarPanelText(const QString& text) { form_.StatusBar1->setPanelText(5, text); }

void MainFormScoreFiles::resetCaret()
{
    form_.editorState.CaretLine = 1;
    form_.editor().setSelStart(0);
}

void MainFormScoreFiles::JzRTB(bool userRightSpace) { form_.JzRTB(userRightSpace ? 1 : 0); }

void MainFormScoreFiles::UndoReset()
{
    if (form_.Editing)
        form_.Editing->Undo.Reset();
}

void MainFormScoreFiles::RefreshDrumSlider(int bar)
{
    std::vector<bool> haveDrum;
    for (const notation::DrumRecord& record : XjDrums())
        haveDrum.push_back(record.HaveDrum != 0);
    form_.CtrlSlider1->GetValueLong(haveDrum, bar);
}

void MainFormScoreFiles::forgetPreviousScore() { form_.hooks.scoreReplaced(); }

int MainFormScoreFiles::XJInteger() const { return form_.Editing ? form_.Editing->Undo.XJInteger() : 0; }

void MainFormScoreFiles::keepCurrentFile(const QString& path) { keptFile_ = path; }

QString MainFormScoreFiles::WindowPos() const
{
    const double twips = form_.twipsPerPixel();
    const QRect frame = form_.frameGeometry();
    // The outer size, frame included, as start-up's placing reads it.
    return frame::FormatWinPos(frame.x() * twips, frame.y() * twips, frame.width() * twips,
        frame.height() * twips, form_.isMaximized());
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
