#include "app/editor/parts/main_form_output.h"

#include "app/dialogs/rtf_print_preview.h"
#include "app/editor/editing/paragraph_indents.h"
#include "app/editor/editing/stored_color.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/playback/play_note.h"
#include "app/playback/playback_state.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextStream>
#include <QTimer>

namespace tunvale::editor {

namespace {

// The editor wraps at the text width of an A4 page with margins of an inch, or at its window.
constexpr int kInch = 1440;
constexpr int kWrapPageWidth = 11930;
constexpr int kWrapPageHeight = 16860;
// The margins of a "/p" print.
constexpr int kPrintStartLeft = 450;
constexpr int kPrintStartRight = 550;
constexpr int kRecorderPollMs = 1000;

} // namespace

MainFormOutput::MainFormOutput(MainForm& form, frame::SaveDialog saveDialog, dialogs::PrintServices printing)
    : MainFormPart(form)
    , saveDialog_(std::move(saveDialog))
    , printing_(std::move(printing))
    , recorderTimer_(new QTimer(this))
{
    printing_.dialogOwner = &form_;
    recorderTimer_->setInterval(kRecorderPollMs);
    connect(recorderTimer_, &QTimer::timeout, this, [this] { recording_.pollRecorder(*this); });

    form_.connectItem(QStringLiteral("PrintPreview1"), [this] { frame::previewScore(*this); });
    form_.connectItem(QStringLiteral("PRt"), [this] { frame::printScore(*this); });
    form_.connectItem(QStringLiteral("OutputPic"), [this] { frame::exportPicture(*this, saveDialog_); });
    form_.connectItem(QStringLiteral("OutputRTF"), [this] { frame::exportRtf(*this, saveDialog_); });
    form_.connectItem(QStringLiteral("Tape"), [this] { recording_.record(*this); });
    // After the recent files are listed, the print and RTF items open whatever locked them.
    connect(form_.menu(QStringLiteral("File")), &QMenu::aboutToShow, this, [this] {
        for (const char* name : { "PrintPreview1", "PRt", "OutputRTF" })
            form_.action(QString::fromLatin1(name))->setEnabled(true);
    });
    form_.hooks().printStartScore = [this] { return printStartScore(); };
}

MainFormOutput::~MainFormOutput() = default;

// The margins go onto every paragraph as a layout change, which the undo engine does not record; the
// caret and the selection stay.
void MainFormOutput::setMargins(int left, int right)
{
    form_.state().LayoutBusy = true;
    SetParagraphIndents(*form_.editorView()->document(), left, right);
    form_.state().LayoutBusy = false;
}

void MainFormOutput::PrintMode()
{
    // The print layout lays the lines out anew and may scroll the editor; the view of the editing layout
    // comes back with it.
    if (!editingScroll_) {
        const platform::RichTextEdit& view = *form_.editorView();
        editingScroll_ = QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    }
    // Output never marks a score modified: margins and pages are no edit.
    const QScopedValueRollback kept(frame::Process().ScoreHeader.ScoreSaved);
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    setMargins(header.LeftSpace, header.RightSpace);
}

void MainFormOutput::EditMode()
{
    const QScopedValueRollback kept(frame::Process().ScoreHeader.ScoreSaved);
    const notation::ScoreHeader& header = frame::Process().ScoreHeader;
    setMargins(header.LeftSpace, header.RightSpace);
    // The editor wraps at its window again, as the window's layout has it: a window narrower than the
    // page wraps at the page's width.
    form_.applyLayout();
}

bool MainFormOutput::printStartScore()
{
    setMargins(kPrintStartLeft, kPrintStartRight);
    dialogs::SetRtfTargetWidth(
        *form_.editorView(), kInch, kInch, kInch, kInch, kWrapPageWidth, kWrapPageHeight, true);
    const std::unique_ptr<dialogs::PrintPreviewWindow> preview = unseenPreview();
    preview->load();
    const dialogs::PrintResult result = preview->printRTF(0);
    preview->unload();
    if (!result.message.isEmpty())
        QTextStream(stderr) << "Tunvale: " << result.message << '\n';
    return result.outcome == dialogs::PrintResult::Outcome::Printed;
}

void MainFormOutput::windowClosing()
{
    // A recording in progress keeps what it has.
    recorderTimer_->stop();
    recording_ = {};
    if (preview_)
        preview_->close();
}

QWidget* MainFormOutput::dialogOwner() const { return &form_; }

platform::RichTextSnapshot MainFormOutput::scoreSnapshot() const { return form_.editor().snapshot(); }

void MainFormOutput::MakeWorkingCopy() { form_.MakeWorkingCopy(); }

void MainFormOutput::RestoreScoreView() { form_.RestoreScoreView(); }

void MainFormOutput::JzRTB(int userRightSpace) { form_.JzRTB(userRightSpace); }

std::unique_ptr<dialogs::PrintPreviewWindow> MainFormOutput::unseenPreview()
{
    return std::make_unique<dialogs::PrintPreviewWindow>(*this, printing_, &form_);
}

void MainFormOutput::openPreview()
{
    // A preview already open goes first; its closing puts the editor back into editing layout.
    if (preview_) {
        preview_->close();
        PrintMode();
    }
    auto* preview = new dialogs::PrintPreviewWindow(*this, printing_, &form_);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview_ = preview;
    preview->load();
    preview->show();
}

void MainFormOutput::printThroughPreview()
{
    const std::unique_ptr<dialogs::PrintPreviewWindow> preview = unseenPreview();
    preview->load();
    preview->printRTF(0);
    preview->unload();
}

frame::PictureSaved MainFormOutput::savePicture(const QString& path)
{
    const std::unique_ptr<dialogs::PrintPreviewWindow> preview = unseenPreview();
    preview->load();
    const dialogs::PictureSave saved = preview->savePicture(path);
    preview->unload();
    switch (saved.status) {
    case dialogs::PictureSave::Saved:
        return { frame::PictureSaved::Saved };
    case dialogs::PictureSave::TooLarge:
        return { frame::PictureSaved::Refused };
    case dialogs::PictureSave::Failed:
        break;
    }
    return { frame::PictureSaved::Failed, saved.error };
}

QByteArray MainFormOutput::exportedRtf() const
{
    // Laid out on a copy: the score on screen keeps its margins while the file is written and while a
    // failure's message is up. The copy takes the editor's content as the working copy does; a clone
    // of the document would lose the format of the last paragraph's mark.
    platform::RichTextBox copy;
    platform::SetContent(*copy.document(), platform::ExtractContent(*form_.editorView()->document()));
    const auto [left, right] = form_.layoutIndents(1);
    SetParagraphIndents(*copy.document(), left, right);
    return copy.TextRTFBytes();
}

std::unique_ptr<frame::SoundRecorder> MainFormOutput::newRecorder()
{
    auto recorder = std::make_unique<dialogs::RecorderWindow>(
        [](platform::BuiltInSynth::FrameTap tap) {
            return playback::NotePlayer && playback::NotePlayer->tapBuiltInSynth(std::move(tap));
        },
        &form_);
    // A change the buttons make is taken at once, not at the next tick, which might not see it. Queued:
    // the end of the recording releases the window whose button is still being clicked.
    connect(
        recorder.get(), &dialogs::RecorderWindow::stateChanged, this,
        [this, window = recorder.get()](short state) {
            if (recorderWindow_ == window)
                recording_.recorderChanged(*this, state);
        },
        Qt::QueuedConnection);
    recorderWindow_ = recorder.get();
    return recorder;
}

void MainFormOutput::setRecorderTimer(bool running)
{
    if (running)
        recorderTimer_->start();
    else
        recorderTimer_->stop();
}

void MainFormOutput::setRecordingPanel(const QString& text)
{
    form_.statusPanels().setPanelText(StatusPanel::Recording, text);
}

void MainFormOutput::playFromStart()
{
    playback::PlayCommands& commands = form_.part<MainFormPlayback>().commands();
    if (commands.PlayBusy())
        commands.stop();
    commands.play(0);
    emit playbackStartedForRecording();
}

void MainFormOutput::stopPlay()
{
    playback::PlayCommands& commands = form_.part<MainFormPlayback>().commands();
    if (commands.PlayBusy())
        commands.stop();
}

const QTextDocument& MainFormOutput::scoreDocument() const { return *form_.editorView()->document(); }

void MainFormOutput::setEditorBackground(const QColor& color) { form_.editorView()->setPageColor(color); }

QColor MainFormOutput::editingBackground() const
{
    return StoredColor(frame::Process().ColorScheme.EditBackColor);
}

void MainFormOutput::focusPage()
{
    if (editingScroll_) {
        platform::RichTextEdit& view = *form_.editorView();
        view.horizontalScrollBar()->setValue(editingScroll_->x());
        view.verticalScrollBar()->setValue(editingScroll_->y());
        editingScroll_.reset();
    }
    // Typing after a preview, a print or a picture goes on in the score.
    form_.editorView()->setFocus();
}

} // namespace tunvale::editor
