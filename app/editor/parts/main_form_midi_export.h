#pragma once

#include "app/frame/midi_export_command.h"

#include <QObject>

namespace tunvale::editor {

class MainForm;
class MainFormPlayback;

// The MIDI export on the main window: File → "导出Mid..." runs exportMidi over the window, its
// toolbar and its playback (key, kept play order). Made after the playback and owned by the window.
class MainFormMidiExport final : public QObject, public frame::MidiExportWindow
{
    Q_OBJECT

public:
    MainFormMidiExport(MainForm& form, MainFormPlayback& playback,
        frame::MidiExportServices services = frame::ProgramMidiExportServices());

    void exportMidi();

    // frame::MidiExportWindow
    QWidget* dialogOwner() const override;
    platform::RichTextSnapshot scoreSnapshot() const override;
    std::pair<int, int> selection() const override;
    QString Text_Speed() const override;
    QString Text_Volume() const override;
    int ComSoundsListIndex() const override;
    void SetTonicFromKey() override;
    int ScoreKey() const override;
    const notation::DrumStore& XjDrums() const override;
    notation::PlayOrderSource playOrderSource() const override;

private:
    MainForm& form_;
    MainFormPlayback& playback_;
    frame::MidiExportServices services_;
};

} // namespace tunvale::editor
