#include "components/sequor/core/midi_track.h"

#include "app/notation/code_event.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>

namespace tunvale::sequor {

namespace {

static_assert(notation::MaxNoteLength * TicksPerSixteenth + 1 < double(1 << 28));

void AppendBigEndian(QByteArray& bytes, std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        bytes += char(value >> (8 * i) & 0xFF);
}

} // namespace

QByteArray EncodeVarLen(std::uint32_t value)
{
    QByteArray bytes(1, char(value & 0x7F));
    for (value >>= 7; value; value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

std::uint8_t DataByte(double value)
{
    return std::uint8_t(std::clamp(platform::RoundHalfEven(value), 0.0, 127.0));
}

MidiTrack::MidiTrack(int channel)
    : channel_(channel)
{
}

void MidiTrack::WriteNote(double length, int pitch, double velocity)
{
    const double start = elapsed_;
    elapsed_ += std::clamp(length, 0.0, notation::MaxNoteLength);
    const auto ticks = std::uint32_t(platform::RoundHalfEven(elapsed_ * TicksPerSixteenth)
        - platform::RoundHalfEven(start * TicksPerSixteenth));
    events_ += char(0);
    if (!runningStatus_) {
        events_ += char(0x90 + channel_ - 1);
        runningStatus_ = true;
    }
    events_ += char(DataByte(pitch));
    events_ += char(DataByte(std::min(velocity, 127.0)));
    events_ += EncodeVarLen(ticks);
    events_ += char(DataByte(pitch));
    events_ += char(0);
}

void MidiTrack::WriteTempo(int bpm, int beatUnit)
{
    const int clamped = std::clamp(bpm, 10, 300);
    QByteArray tempo;
    AppendBigEndian(tempo, std::uint32_t(60000000LL * beatUnit / (4LL * clamped)), 3);
    WriteMeta(0x51, tempo);
}

void MidiTrack::WriteProgramChange(int program)
{
    runningStatus_ = false;
    events_ += char(0);
    events_ += char(0xC0 + channel_ - 1);
    events_ += char(program >= 0 && program <= 127 ? program : 0);
}

void MidiTrack::WriteController(int controller, int value)
{
    runningStatus_ = false;
    events_ += char(0);
    events_ += char(0xB0 + channel_ - 1);
    events_ += char(DataByte(controller));
    events_ += char(DataByte(value));
}

void MidiTrack::WriteMeta(std::uint8_t type, const QByteArray& data)
{
    runningStatus_ = false;
    events_ += char(0);
    events_ += char(0xFF);
    events_ += char(type);
    events_ += EncodeVarLen(std::uint32_t(data.size()));
    events_ += data;
}

QByteArray MidiTrack::chunk() const
{
    static const QByteArray EndOfTrack = QByteArray::fromHex("00FF2F00");
    QByteArray bytes("MTrk");
    AppendBigEndian(bytes, std::uint32_t(events_.size() + EndOfTrack.size()), 4);
    return bytes + events_ + EndOfTrack;
}

} // namespace tunvale::sequor
