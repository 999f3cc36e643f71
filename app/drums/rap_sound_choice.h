#pragma once

#include <QString>

#include <optional>

// Which list the percussion sound dialog shows and where it stands. The sound of the score's RAP beats
// is kept as a drum-list index, General MIDI note - 13.
namespace tunvale::drums {

// The notes of the short list of common sounds, in its order, three characters an entry.
inline const QString kCommonRapNotes = QStringLiteral("28,31,35,38,39,40,45,47,60,73,76,87");

struct RapSoundList {
    bool full = false; // the 75 drum sounds; else the 12 common ones
    int index = -1; // -1: nothing selected
    QString switchTip; // names the other list
};

// The list a stored sound opens on: the common list when the sound is one of them, else the full list
// on it. A sound outside 0..74 opens the full list with nothing selected.
RapSoundList RapSoundListFor(int rapDrum);
// The other list, on note 28 either way.
RapSoundList SwitchedRapSoundList(bool fullShown);
// The note an item of either list plays: the number its first two characters begin with.
int RapItemNote(const QString& itemText);

} // namespace tunvale::drums
