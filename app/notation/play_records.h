#pragma once

#include "app/notation/code_event.h"
#include "app/notation/performance.h"

#include <QString>

#include <array>
#include <vector>

namespace tunvale::notation {

// The twelve solfège syllables by pitch class; note n sings CMingNames[(n + 7) mod 12].
using CMingNames = std::array<QString, 12>;

// The syllables of [唱名] in "banzhou.ini" (user folder first), keys "0cm" to "11cm"; a missing key
// gives "".
CMingNames Readm_YM();

// Writes the syllables into [唱名] of the user folder's "banzhou.ini", made first from the shipped one
// so that its other sections stay readable. False when a write failed.
bool SaveSolfegeNames(const CMingNames& names);

struct PlayRecords {
    std::vector<PlayEvent> PlayEvents;
    QString CMingText; // the sung syllable of every sounding note, separated by blanks
};

// One play record per event of the finished melody, and the solfège string. Only notes at velocity 10
// or more with a MIDI note number give a syllable.
PlayRecords BuildPlayRecords(const std::vector<CodeEvent>& CodeEvents, const CMingNames& names);

} // namespace tunvale::notation
