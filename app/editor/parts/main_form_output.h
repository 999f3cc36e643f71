#pragma once

#include "app/dialogs/preview_printing.h"
#include "app/dialogs/print_preview_window.h"
#include "app/dialogs/recorder_window.h"
#include "app/editor/parts/main_form_part.h"
#include "app/frame/output_commands.h"

#include <QPoint>
#include <QPointer>

#include <optional>

class QTimer;

namespace tunvale::editor {

// The main window's output: File → "打印预览...", "打印..." (Ctrl+P), "导出图片格式...", "导出RTF格式...",
// Tools → "录音...", the editor's print and editing layouts, and the print of a "/p" start. The print
// preview paginates the editor's text; the window shows the preview it opened until the user closes it.
class MainFormOutput final : public MainFormPart, public frame::OutputWindow, public dialogs::PreviewHost
{
    Q_OBJECT

public:
    MainFormOutput(MainForm& form, frame::SaveDialog saveDialog, dialogs::PrintServices printing);
    ~MainFormOutput() override;

    // The editor's layouts: the score's margins for the printed page, and back to editing, where the
    // editor wraps at its window. Neither marks the score modified.
    void PrintMode() override;
    void EditMode() override;

    // The "/p" start: the score printed with margins of 450 and 550 twips through the printer dialog.
    // True when it printed; a failure is also written to standard error.
    bool printStartScore();

    // The recording command, its recorder's window and the preview that is open, for the test tool.
    frame::RecordingCommand& recording() { return recording_; }
    dialogs::RecorderWindow* recorderWindow() const { return recorderWindow_; }
    dialogs::PrintPreviewWindow* preview() const { return preview_; }

    // MainFormPart
    void windowClosing() override;

    // frame::OutputWindow
    QWidget* dialogOwner() const override;
    platform::RichTextSnapshot scoreSnapshot() const override;
    void MakeWorkingCopy() override;
    void RestoreScoreView() override;
    void openPreview() override;
    void printThroughPreview() override;
    frame::PictureSaved savePicture(const QString& path) override;
    QByteArray exportedRtf() const override;
    std::unique_ptr<frame::SoundRecorder> newRecorder() override;
    void setRecorderTimer(bool running) override;
    void setRecordingPanel(const QString& text) override;
    void playFromStart() override;
    void stopPlay() override;

    // dialogs::PreviewHost
    const QTextDocument& scoreDocument() const override;
    void setEditorBackground(const QColor& color) override;
    QColor editingBackground() const override;
    void JzRTB(int userRightSpace) override;
    void focusPage() override;

signals:
    // The recording started the playback from the start.
    void playbackStartedForRecording();

private:
    // The margins of every paragraph of the editor, in twips (SetLRspace).
    void setMargins(int left, int right);
    std::unique_ptr<dialogs::PrintPreviewWindow> unseenPreview();

    frame::SaveDialog saveDialog_;
    dialogs::PrintServices printing_;
    frame::RecordingCommand recording_;
    QTimer* recorderTimer_ = nullptr;
    QPointer<dialogs::RecorderWindow> recorderWindow_;
    QPointer<dialogs::PrintPreviewWindow> preview_;
    std::optional<QPoint> editingScroll_; // the editor's scroll position before the print layout
};

} // namespace tunvale::editor
