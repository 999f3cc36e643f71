#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// The drum pattern of one bar, byte for byte as score files and "Drum.dat" store it and as the MIDI
// file export reads it in place.
namespace tunvale::notation {

struct DrumRecord {
    std::uint8_t DrumVer = 0; // version byte, carried unchanged
    std::array<std::uint8_t, 32> DrumName {}; // GBK, padded with NULs
    std::uint8_t DrumChannel = 0; // track t on when bit 7 - t is set
    std::array<std::uint8_t, 8> DrumVolume {}; // velocity per track
    std::array<std::uint8_t, 8> DrumSounds {}; // drum-list index per track (MIDI key - 13)
    std::uint8_t DrumTrack = 0; // carried unchanged
    std::uint8_t DrumTimeSignature = 0; // TimeSigCode 0..40
    std::uint8_t DrumSpeed = 0; // beats per minute, 0 for none
    std::array<std::uint8_t, 32> DrumRhythms {}; // four bytes per track, first step in the top bit
    std::array<std::uint8_t, 8> DrumSoundImage {}; // pan per track, 0..127
    std::uint8_t BarsOfSong = 0; // carried unchanged
    std::uint8_t HaveDrum = 0; // non-zero when the bar has a pattern
    std::array<std::uint8_t, 4> XJLong {}; // 32-bit little-endian, carried unchanged
    std::array<std::uint8_t, 4> sTimetmp {}; // carried unchanged

    static constexpr int Size = 103;
    static constexpr int Tracks = 8;
    static constexpr int Steps = 32;

    const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(this); }
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(this); }

    friend bool operator==(const DrumRecord&, const DrumRecord&) = default;
};

static_assert(sizeof(DrumRecord) == DrumRecord::Size, "a drum record is 103 bytes without padding");
static_assert(alignof(DrumRecord) == 1, "drum records lie 103 bytes apart in a store");
static_assert(std::is_standard_layout_v<DrumRecord> && std::is_trivially_copyable_v<DrumRecord>);
static_assert(offsetof(DrumRecord, DrumName) == 1 && offsetof(DrumRecord, DrumChannel) == 33
    && offsetof(DrumRecord, DrumVolume) == 34 && offsetof(DrumRecord, DrumSounds) == 42
    && offsetof(DrumRecord, DrumTrack) == 50 && offsetof(DrumRecord, DrumTimeSignature) == 51
    && offsetof(DrumRecord, DrumSpeed) == 52 && offsetof(DrumRecord, DrumRhythms) == 53
    && offsetof(DrumRecord, DrumSoundImage) == 85 && offsetof(DrumRecord, BarsOfSong) == 93
    && offsetof(DrumRecord, HaveDrum) == 94 && offsetof(DrumRecord, XJLong) == 95
    && offsetof(DrumRecord, sTimetmp) == 99);

// A store of records, contiguous: data() and size() are the block the MIDI file export reads.
using DrumStore = std::vector<DrumRecord>;

// The text and sixteenth steps of a TimeSigCode: 0..7 the plain signatures, 9..40 one of them with 1..4
// extra steps (" +n"), above 40 "2/4". Code 8 has no text: `text` is left as passed and the steps are 0.
int TimeSigSteps(int code, QString& text);

// The drum stores of the process, selected by DrumType 0..5 in this order. The last three hold one
// record each and start all zero.
struct DrumStores {
    DrumStore XjDrums; // one record per bar of the open score
    DrumStore DrumTemplates; // the patterns of "Drum.dat"
    DrumStore AuditionDrum; // the record the drum editor auditions
    DrumRecord DrumClip; // clipboard and transfer record of the drum operations
    DrumRecord DrumEdit; // the pattern in the drum editor
    DrumRecord DrumScratch; // the drum editor's buffer for playing one sound
};

// The one set of stores of this process; used on the GUI thread only.
DrumStores& ProcessDrumStores();

} // namespace tunvale::notation
