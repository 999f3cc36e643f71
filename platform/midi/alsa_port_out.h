#pragma once

#include "platform/midi/midi_out.h"

#include <QStringList>

#include <memory>

class RtMidiOut;

namespace tunvale::platform {

// The ALSA sequencer's output ports, by name. Empty, and silent, on a machine without a sequencer.
QStringList alsaOutputPorts();

// One ALSA sequencer output port, reached through RtMidi as the client "Tunvale".
class AlsaPortOut final : public MidiOut
{
public:
    explicit AlsaPortOut(QString portName);
    ~AlsaPortOut() override;

    // Finds the port by its name, so a port list taken earlier stays usable after others come and go.
    bool open() override;
    void close() override;
    bool send(const ShortMessage& message) override;
    QString name() const override { return portName_; }
    QString lastError() const override { return lastError_; }

private:
    static void onError(int type, const std::string& text, void* self);

    QString portName_;
    QString lastError_;
    bool errorRaised_ = false;
    std::unique_ptr<RtMidiOut> out_;
};

} // namespace tunvale::platform
