#pragma once

#include <QByteArray>

#include <cstdint>

// One track of a Standard MIDI File built in memory: its events, the running status of its notes and
// its running time, from which every event's ticks are taken.
namespace tunvale::sequor {

inline constexpr int TicksPerQuarter = 120;
inline constexpr int TicksPerSixteenth = TicksPerQuarter / 4;

// The variable-length quantity of a value below 2^28: seven bits a byte, most significant first.
QByteArray EncodeVarLen(std::uint32_t value);

// A data byte: values outside 0..127 are clamped into it.
std::uint8_t DataByte(double value);

class MidiTrack
{
public:
    // `channel` is 1..16.
    explicit MidiTrack(int channel);

    // A note of `length` sixteenth units from where the previous event ended: a note-on, the ticks
    // that the note covers of the track's running time, and a note-on of velocity 0 under running status.
    // Velocity above 127 is 127, rounded half to even. A note longer than notation::MaxNoteLength (tied
    // notes, a fermata) ends there, so its ticks fit the four bytes a delta may take.
    void WriteNote(double length, int pitch, double velocity);
    // A tempo event in beats per minute (clamped into 10..300), a quarter note lasting 4 / beatUnit beats.
    void WriteTempo(int bpm, int beatUnit);
    void WriteProgramChange(int program);
    // Clears the running status too, so that a note after it always carries its status byte.
    void WriteController(int controller, int value);
    // Any event at delta 0 that is not a note.
    void WriteMeta(std::uint8_t type, const QByteArray& data);
    // Raw bytes of an event whose delta the caller wrote.
    void append(const QByteArray& bytes) { events_ += bytes; }

    // "MTrk", the length and the events, ended by the end-of-track event.
    QByteArray chunk() const;
    bool RunningStatusOn() const { return runningStatus_; }

private:
    int channel_;
    QByteArray events_;
    bool runningStatus_ = false;
    double elapsed_ = 0; // sixteenth units
};

} // namespace tunvale::sequor
