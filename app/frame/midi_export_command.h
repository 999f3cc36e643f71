#pragma once

#include "app/frame/save_dialog.h"
#include "app/notation/drum_record.h"
#include "app/notation/performance_compiler.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <sequor/make_mid.h>

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace tunvale::frame {

// What the MIDI export command needs of the main window. The main window implements it; tests use a
// fake.
class MidiExportWindow
{
public:
    virtual ~MidiExportWindow() = default;

    virtual QWidget* dialogOwner() const = 0;
    // The score as the mirror box holds it, and the editor's selection (start, end).
    virtual platform::RichTextSnapshot scoreSnapshot() const = 0;
    virtual std::pair<int, int> selection() const = 0;
    // The toolbar's tempo and volume boxes and the instrument list's index.
    virtual QString Text_Speed() const = 0;
    virtual QString Text_Volume() const = 0;
    virtual int ComSoundsListIndex() const = 0;
    // Sets ScoreKey from the score's key mark; 31 is C.
    virtual void SetTonicFromKey() = 0;
    virtual int ScoreKey() const = 0;
    virtual const notation::DrumStore& XjDrums() const = 0;
    // The order the play commands use.
    virtual notation::PlayOrderSource playOrderSource() const = 0;
};

// The services the command runs through; tests put scripted ones in.
struct MidiExportServices {
    SaveDialog saveDialog = ProgramSaveDialog();
    // One export object for the command, over the window.
    std::function<std::unique_ptr<sequor::MakeMid>(QWidget* owner)> makeMid;
    // Where the component looks up "genmidi.txt" and the ini files: the user folder, then the data folder.
    QStringList folders;
};

// The services of the running program.
MidiExportServices ProgramMidiExportServices();

// File → "导出Mid...": asks for the file, collects the score's settings and hands them to the export
// component, which shows its options and its messages. A cancel does nothing.
void exportMidi(MidiExportWindow& window, const MidiExportServices& services);

} // namespace tunvale::frame
