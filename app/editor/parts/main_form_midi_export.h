#pragma once

#include "app/editor/parts/main_form_part.h"
#include "app/frame/midi_export_command.h"

namespace tunvale::editor {

class MainFormPlayback;

// The MIDI export on the main window: File → "导出Mid..." runs the export over the window, its
// toolbar and its playback (key, kept play order).
class MainFormMidiExport final : public MainFormPart, public frame::MidiExportWindow
{
    Q_OBJECT

public:
    MainFormMidiExport(MainForm& form, MainFormPlayback& playback, frame::MidiExportServices services);

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
    MainFormPlayback& playback_;
    frame::MidiExportServices services_;
};

} // namespace tunvale::editor
