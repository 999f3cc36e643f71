#pragma once

#include <QString>

namespace tunvale::platform {
class Prompts;
}

namespace tunvale::keyshift {

struct TransposeResult {
    QString rtf; // the new RTF; "" when out of range
    bool outOfRange = false; // a note would leave the drawable range; the user has been told
};

// Shifts every note of the KORVA_Note font in `rtf` by `step` semitones (2, -2, 1 or -1; any other
// step gives `rtf` back). Signs are read and written as the player reads them: the new text gets a
// sharp or natural wherever the player would otherwise give a note another pitch, in front of an
// ornament spelled from the note, else right in front of the note. Grace notes with their own signs,
// and the key line, keep their characters. A note beyond the drawable octaves cancels everything,
// with one message.
TransposeResult TransposeRtf(const QString& rtf, int step, platform::Prompts& prompts);

// The range message, with the information icon and the program's title.
void ShowRangeWarning(platform::Prompts& prompts);

} // namespace tunvale::keyshift
