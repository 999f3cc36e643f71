#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tunvale::platform {

// One channel message as the outputs take it: a status byte and two data bytes.
struct ShortMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    // A packed message holds the status in its low byte, then data1, then data2.
    static ShortMessage unpack(std::uint32_t packed);
    std::uint32_t packed() const;

    // A channel message (status 0x80..0xEF) with 7-bit data; anything else must not reach an output.
    bool isValid() const;
    int kind() const { return status & 0xF0; }
    int channel() const { return status & 0x0F; }

    // The bytes on the wire: program change and channel pressure carry one data byte, the others two.
    std::vector<unsigned char> wireBytes() const;

    friend bool operator==(const ShortMessage&, const ShortMessage&) = default;
};

// A MIDI output device: the built-in synthesizer, an ALSA sequencer port or a recording sink.
// Calls may come from several threads; the caller serialises them.
class MidiOut
{
public:
    virtual ~MidiOut() = default;

    // False when the device cannot be used; lastError() then says why.
    virtual bool open() = 0;
    virtual void close() = 0;
    // False when the message could not be delivered; lastError() then says why.
    virtual bool send(const ShortMessage& message) = 0;
    virtual QString name() const = 0;
    virtual QString lastError() const = 0;
};

} // namespace tunvale::platform
