#include "app/dialogs/recorder_window.h"

#include "platform/desktop/prompts.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tunvale::dialogs {

RecorderWindow::RecorderWindow(playback::TapInstaller installTap, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , recorder_(std::move(installTap))
{
    setObjectName(QStringLiteral("RecorderWindow"));
    setWindowTitle(QStringLiteral("录音..."));
    labPath = new QLabel(this);
    labPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labPath->setWordWrap(true);
    labState = new QLabel(this);
    cmdStart = new QPushButton(QStringLiteral("开始录音"), this);
    cmdPause = new QPushButton(QStringLiteral("暂停录音"), this);
    cmdFinish = new QPushButton(QStringLiteral("完成"), this);
    connect(cmdStart, &QPushButton::clicked, this, &RecorderWindow::startRecording);
    connect(cmdPause, &QPushButton::clicked, this, &RecorderWindow::pauseRecording);
    connect(cmdFinish, &QPushButton::clicked, this, &RecorderWindow::finishRecording);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->addWidget(new QLabel(QStringLiteral("录音文件："), this), 0, 0, Qt::AlignTop);
    grid->addWidget(labPath, 0, 1, 1, 3);
    grid->addWidget(labState, 1, 0, 1, 4);
    grid->addWidget(cmdStart, 2, 1);
    grid->addWidget(cmdPause, 2, 2);
    grid->addWidget(cmdFinish, 2, 3);
    grid->setColumnStretch(0, 0);
    setMinimumWidth(420);
    showState();
}

RecorderWindow::~RecorderWindow()
{
    // A recording still going when a new one replaces it or the main window closes is finished here,
    // where a file that cannot be written can still be told.
    if (recorder_.RecorderState() != playback::WavRecorder::Finished && !recorder_.finish())
        platform::Prompts::current().information(recorder_.error());
}

void RecorderWindow::OpenRecorder()
{
    recorder_.OpenRecorder();
    showState();
    show();
    raise();
    activateWindow();
}

void RecorderWindow::WavFileName(const QString& path)
{
    recorder_.WavFileName(path);
    labPath->setText(QDir::toNativeSeparators(path));
}

void RecorderWindow::startRecording()
{
    const short before = recorder_.RecorderState();
    if (!recorder_.start())
        platform::Prompts::current().information(recorder_.error());
    showState();
    tellChange(before);
}

void RecorderWindow::pauseRecording()
{
    const short before = recorder_.RecorderState();
    recorder_.pause();
    showState();
    tellChange(before);
}

void RecorderWindow::finishRecording()
{
    const short before = recorder_.RecorderState();
    if (!recorder_.finish())
        platform::Prompts::current().information(recorder_.error());
    showState();
    hide();
    tellChange(before);
}

void RecorderWindow::closeEvent(QCloseEvent* event)
{
    if (recorder_.RecorderState() != playback::WavRecorder::Finished)
        finishRecording();
    event->accept();
}

void RecorderWindow::tellChange(short before)
{
    if (recorder_.RecorderState() != before)
        emit stateChanged(recorder_.RecorderState());
}

void RecorderWindow::showState()
{
    const short state = recorder_.RecorderState();
    switch (state) {
    case playback::WavRecorder::Recording:
        labState->setText(QStringLiteral("正在录音，演奏从头开始。"));
        break;
    case playback::WavRecorder::NotRecording:
        labState->setText(QStringLiteral("未录音。按“开始录音”开始。"));
        break;
    default:
        labState->setText(QStringLiteral("录音已结束。"));
        break;
    }
    cmdStart->setEnabled(state == playback::WavRecorder::NotRecording);
    cmdPause->setEnabled(state == playback::WavRecorder::Recording);
    cmdFinish->setEnabled(state != playback::WavRecorder::Finished);
}

} // namespace tunvale::dialogs
