#pragma once

#include <algorithm>
#include <cstdint>

// Short MIDI messages packed into one 32-bit value as status + data1 * 256 + data2 * 65536, the way
// the players hand them to the MIDI output. Velocities are cut into 0..127 before packing.
namespace tunvale::notation {

inline constexpr std::uint32_t SilentNoteMessage = 0x190; // note-on of note 1 at velocity 0

constexpr std::uint32_t PackShortMessage(int status, int data1, int data2)
{
    return std::uint32_t(status) + std::uint32_t(data1) * 256u + std::uint32_t(data2) * 65536u;
}

constexpr int MidiVelocity(int velocity) { return std::clamp(velocity, 0, 127); }

// Note-on on the melody channel 0.
constexpr std::uint32_t NoteOnMessage(int note, int velocity)
{
    return PackShortMessage(0x90, note, MidiVelocity(velocity));
}

// Note-on on the percussion channel 9 of a drum-list sound (MIDI key = sound + 13).
constexpr std::uint32_t DrumHitMessage(int sound, int velocity)
{
    return PackShortMessage(0x99, sound + 13, MidiVelocity(velocity));
}

// Pan (controller 10) on the percussion channel 9.
constexpr std::uint32_t DrumPanMessage(int pan) { return PackShortMessage(0xB9, 0x0A, pan); }

} // namespace tunvale::notation
