#include "app/frame/output_commands.h"

#include "app/frame/first_text_line.h"
#include "app/frame/process_state.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/desktop_folder.h"
#include "platform/settings/whole_file.h"
#include "platform/settings/write_failure.h"

#include <QScopedValueRollback>

namespace tunvale::frame {

namespace {

const QString kSaveFailed = QStringLiteral("保存失败！");
const QString kRecordingPanel = QStringLiteral("录制WAV...");
const QString kNotRecordingPanel = QStringLiteral("未录音...");

QString askForFile(const OutputWindow& window, const SaveDialog& saveDialog, const QString& title,
    const QStringList& filters, const QString& extension)
{
    platform::FileDialogRequest request;
    request.owner = window.dialogOwner();
    request.title = title;
    request.filters = filters;
    request.fileName = ProposedFileName(window.scoreSnapshot(), extension);
    request.initialFolder = platform::GetSpecialFolder(platform::CSIDL_DESKTOPDIRECTORY);
    request.defaultExtension = extension;
    return saveDialog(request);
}

} // namespace

// Each output command keeps the score's saved flag: output never marks a score modified.
void previewScore(OutputWindow& window)
{
    const QScopedValueRollback kept(Process().ScoreHeader.ScoreSaved);
    window.PrintMode();
    window.openPreview();
}

void printScore(OutputWindow& window)
{
    const QScopedValueRollback kept(Process().ScoreHeader.ScoreSaved);
    window.MakeWorkingCopy();
    window.PrintMode();
    window.printThroughPreview();
    window.RestoreScoreView();
}

void exportPicture(OutputWindow& window, const SaveDialog& saveDialog)
{
    const QString path = askForFile(window, saveDialog, QStringLiteral("保存图片..."),
        { QStringLiteral("图片文件(*.bmp)"), QStringLiteral("*.bmp"), QStringLiteral("其他文件(*.*)"),
            QStringLiteral("*.*") },
        QStringLiteral(".bmp"));
    if (path.isEmpty())
        return;
    const QScopedValueRollback kept(Process().ScoreHeader.ScoreSaved);
    window.PrintMode();
    window.MakeWorkingCopy();
    const PictureSaved saved = window.savePicture(path);
    window.RestoreScoreView();
    if (saved.status == PictureSaved::Failed)
        platform::Prompts::current().information(platform::WriteFailureText(kSaveFailed, path, saved.error));
}

void exportRtf(OutputWindow& window, const SaveDialog& saveDialog)
{
    const QString path = askForFile(window, saveDialog, QStringLiteral("保存RTF..."),
        { QStringLiteral("RTF文件(*.rtf)"), QStringLiteral("*.rtf"), QStringLiteral("其他文件(*.*)"),
            QStringLiteral("*.*") },
        QStringLiteral(".rtf"));
    if (path.isEmpty())
        return;
    if (const platform::WriteResult written = platform::CommitWholeFile(path, window.exportedRtf()); !written)
        platform::Prompts::current().information(
            platform::WriteFailureText(kSaveFailed, path, written.error));
}

QString RecordingCommand::WavPath(const platform::RichTextSnapshot& score)
{
    const QString extension = QStringLiteral(".wav");
    QString name = ProposedFileName(score, extension).remove(u'/');
    if (name.trimmed().isEmpty())
        name = QStringLiteral("录音");
    return platform::GetSpecialFolder(platform::CSIDL_DESKTOPDIRECTORY) + u'/' + name + extension;
}

void RecordingCommand::record(OutputWindow& window)
{
    const QString path = WavPath(window.scoreSnapshot());
    recorder_.reset();
    lastState_ = 0;
    played_ = false;
    recorder_ = window.newRecorder();
    recorder_->OpenRecorder();
    recorder_->WavFileName(path);
    window.setRecorderTimer(true);
}

void RecordingCommand::pollRecorder(OutputWindow& window)
{
    if (recorder_)
        takeState(window, recorder_->RecorderState());
}

void RecordingCommand::recorderChanged(OutputWindow& window, short state)
{
    if (recorder_)
        takeState(window, state);
}

void RecordingCommand::takeState(OutputWindow& window, short state)
{
    switch (state) {
    case 2:
        if (lastState_ != 2) {
            window.setRecordingPanel(kRecordingPanel);
            window.playFromStart();
            played_ = true;
        }
        break;
    case 3:
        if (lastState_ != 3)
            window.setRecordingPanel(kNotRecordingPanel);
        break;
    case 4:
        window.setRecordingPanel(kNotRecordingPanel);
        recorder_.reset();
        window.setRecorderTimer(false);
        // What plays now would go unrecorded: the play ends with the recording it was started for.
        if (played_)
            window.stopPlay();
        played_ = false;
        lastState_ = 0;
        return;
    default:
        break;
    }
    lastState_ = state;
}

} // namespace tunvale::frame
