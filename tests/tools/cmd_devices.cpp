#include "tests/tools/command_registry.h"

#include "app/playback/play_note.h"
#include "platform/midi/builtin_synth.h"

namespace {

int devices(const QStringList&)
{
    using namespace tunvale;
    playback::PlayNote note;
    for (const playback::DeviceEntry& entry : note.Midi_OutDevsToList())
        scoretool::out(QStringLiteral("%1\t%2").arg(entry.itemData).arg(entry.name));

    platform::BuiltInSynth synth;
    if (!synth.open()) {
        scoretool::out(QStringLiteral("built-in synthesizer: ") + synth.lastError());
        return 1;
    }
    const QString driver = synth.audioDriver();
    scoretool::out(QStringLiteral("built-in synthesizer audio output: ")
        + (driver.isEmpty() ? QStringLiteral("none (renders on its own thread)") : driver));
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "devices", "(MIDI outputs with their item data, and the synthesizer's audio output)", devices);
