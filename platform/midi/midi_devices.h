#pragma once

#include "platform/midi/midi_out.h"

#include <QStringList>

#include <memory>

namespace tunvale::platform {

// Where outputs come from: the built-in synthesizer and the ports of the system. Tests put fake
// ports and recording sinks in its place.
class MidiDevices
{
public:
    virtual ~MidiDevices() = default;

    virtual std::unique_ptr<MidiOut> builtIn() = 0;
    virtual QStringList portNames() = 0;
    virtual std::unique_ptr<MidiOut> port(const QString& name) = 0;
};

// The built-in synthesizer rendering in real time, and the ALSA sequencer's ports.
class SystemMidiDevices final : public MidiDevices
{
public:
    std::unique_ptr<MidiOut> builtIn() override;
    QStringList portNames() override;
    std::unique_ptr<MidiOut> port(const QString& name) override;
};

} // namespace tunvale::platform
