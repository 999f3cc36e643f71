#pragma once

#include <QString>

#include <cstdint>

// The open score's settings and state, and its colours. Plain records: the score file reader and
// writer fill and store them, the compiler, playback and the editor read them.
namespace tunvale::notation {

struct ScoreHeader {
    std::int16_t ScreenDpi = 96; // screen resolution when the score was saved
    std::int16_t RapDrum = 14; // percussion sound: General MIDI drum note - 13
    std::int16_t Instrument = 0; // General MIDI program
    std::int16_t Speed = 120; // beats per minute
    std::int16_t Volume = 98; // melody velocity
    std::int16_t FileVer = 5; // format version of the file as read
    bool DrumPZ = true; // drums on
    bool HeYing = false; // harmony on
    bool SameSpeed = true; // drum tempo follows the melody tempo
    std::int16_t PlaySelStart = 0; // caret when playback started
    std::int16_t PlayXj = 0; // bar when playback started
    std::int16_t PZType = 0; // accompaniment type
    QString CurrentFile; // the score's path; the template's when untitled
    std::int16_t BaseKey = 31; // key shift the key-restore mark returns to (31: none)
    bool ScoreSaved = true;
    bool ScoreSavedKept = true; // the main window's copy of ScoreSaved across the colour dialog
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
