#pragma once

#include <QString>
#include <QStringList>

// The names of the 75 drum sounds in "genmidi1.txt", one line per General MIDI note from 13 to 87, as
// the drum editor's and the accompaniment dialog's sound lists show them.
namespace tunvale::drums {

inline constexpr int kDrumSoundCount = 75;
inline constexpr int kFirstDrumNote = 13;
// Note 35, where every list of drum sounds starts.
inline constexpr int kBassDrumSound = 22;
inline const QString kDrumSoundFileName = QStringLiteral("genmidi1.txt");
inline const QString kMissingDrumSoundsMessage = QStringLiteral("鼓音色列表文件 genmidi1.txt 缺失或不完整。");

struct DrumSoundNames {
    // Always 75 items; a line the file does not have shows its note alone.
    QStringList items;
    // The file had all 75 lines.
    bool complete = false;
};

DrumSoundNames DrumSoundNamesFromText(const QString& text);
// From the program folder; a missing file gives the notes alone.
DrumSoundNames LoadDrumSoundNames();

} // namespace tunvale::drums
