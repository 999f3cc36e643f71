#pragma once

#include <QString>

#include <cstdint>

// The open score's settings and state, and its colours. Plain records: the score file reader and
// writer fill and store them, the compiler, playback and the editor read them. Booleans are 16-bit
// with -1 for true and 0 for false, as the rest of the program and the stored files expect.
namespace tunvale::notation {

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

struct ScoreHeader {
    std::int16_t ScreenDpi = 96; // screen resolution when the score was saved
    std::int16_t RapDrum = 14; // percussion sound: General MIDI drum note - 13
    std::int16_t Instrument = 0; // General MIDI program
    std::int16_t Speed = 120; // beats per minute
    std::int16_t Volume = 98; // melody velocity
    std::int16_t FileVer = 5; // format version of the file as read
    std::int16_t DrumPZ = kTrue; // drums on
    std::int16_t HeYing = kFalse; // harmony on
    std::int16_t SameSpeed = kTrue; // drum tempo follows the melody tempo
    std::int16_t PlaySelStart = 0; // caret when playback started
    std::int16_t PlayXj = 0; // bar when playback started
    std::int16_t PZType = 0; // accompaniment type
    QString CurrentFile; // the score's path; the template's when untitled
    std::int16_t BaseKey = 31; // key shift the key-restore mark returns to (31: none)
    std::int16_t ScoreSaved = kTrue;
    std::int16_t ScoreSavedKept = kTrue; // the main window's copy of ScoreSaved across the colour dialog
    std::int16_t LeftSpace = 820; // margins in twips
    std::int16_t RightSpace = 820;

    friend bool operator==(const ScoreHeader&, const ScoreHeader&) = default;
};

// Colours in the form &H00BBGGRR, kept as their raw 32-bit pattern so that a system colour with the
// top bit set survives a save. PlayNoteColor and PlayNoteBackColor hold the complement of the colour
// the user picked.
struct ColorScheme {
    std::int32_t EditBackColor = 0xFFFFFF;
    std::int32_t JpLineColor = 0x8000;
    std::int32_t LyricLineColor = 67454;
    std::int32_t PlayNoteBackColor = 0x7F7F7F;
    std::int32_t PlayNoteColor = 0xFFFFFF;

    friend bool operator==(const ColorScheme&, const ColorScheme&) = default;
};

} // namespace tunvale::notation
