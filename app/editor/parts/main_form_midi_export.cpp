#include "app/editor/parts/main_form_midi_export.h"

#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"

#include <QLineEdit>

namespace tunvale::editor {

MainFormMidiExport::MainFormMidiExport(
    MainForm& form, MainFormPlayback& playback, frame::MidiExportServices services)
    : MainFormPart(form)
    , playback_(playback)
    , services_(std::move(services))
{
    form_.connectItem(QStringLiteral("OutputMid"), [this] { exportMidi(); });
}

void MainFormMidiExport::exportMidi() { frame::exportMidi(*this, services_); }

QWidget* MainFormMidiExport::dialogOwner() const { return &form_; }

platform::RichTextSnapshot MainFormMidiExport::scoreSnapshot() const { return playback_.scoreSnapshot(); }

std::pair<int, int> MainFormMidiExport::selection() const
{
    const platform::RichTextBox& editor = form_.editor();
    return { editor.SelStart(), editor.SelStart() + editor.SelLength() };
}

QString MainFormMidiExport::Text_Speed() const { return form_.toolbar().Text_Speed->text(); }

QString MainFormMidiExport::Text_Volume() const { return form_.toolbar().Text_Volume->text(); }

int MainFormMidiExport::ComSoundsListIndex() const { return playback_.instrument(); }

void MainFormMidiExport::SetTonicFromKey() { playback_.commands().SetTonicFromKey(); }

int MainFormMidiExport::ScoreKey() const { return playback_.commands().ScoreKey(); }

const notation::DrumStore& MainFormMidiExport::XjDrums() const { return playback_.drumStores().XjDrums; }

notation::PlayOrderSource MainFormMidiExport::playOrderSource() const { return playback_.playOrderSource(); }

} // namespace tunvale::editor
