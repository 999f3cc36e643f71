#pragma once

#include "app/playback/play_clock.h"
#include "app/playback/play_note.h"

#include <QString>

#include <array>
#include <memory>

// What the playback keeps for the whole run, in one place.
namespace tunvale::playback {

// The one MIDI output of the process; the main window creates it while loading and releases it
// while unloading.
inline std::unique_ptr<PlayNote> NotePlayer;

// The name part of each instrument line of "genmidi.txt", by General MIDI program.
inline std::array<QString, 128> InstrumentNames;

// The play clock every player reads.
inline PlayClock PlayTimer;

} // namespace tunvale::playback
