#include "platform/midi/midi_devices.h"

#include "platform/midi/alsa_port_out.h"
#include "platform/midi/builtin_synth.h"

namespace tunvale::platform {

std::unique_ptr<MidiOut> SystemMidiDevices::builtIn() { return std::make_unique<BuiltInSynth>(); }

QStringList SystemMidiDevices::portNames() { return alsaOutputPorts(); }

std::unique_ptr<MidiOut> SystemMidiDevices::port(const QString& name)
{
    return std::make_unique<AlsaPortOut>(name);
}

} // namespace tunvale::platform
