#pragma once

#include "app/notation/code_event.h"

#include <vector>

// The passes that turn the working array (one event per character, in play order) into notes with
// codes, lengths in sixteenth units and velocities. Each runs over the whole array in the order the
// compiler calls them and never reads or writes outside it.
namespace tunvale::notation {

using WorkingEvents = std::vector<CodeEvent>;

// Codes, lengths and velocities of notes, rests, RAP beats and bar lines; dots and dashes lengthen
// the nearest earlier element that takes time.
void Classify(WorkingEvents& events, int scoreKey, int volume);

// Grace notes take their lengths out of their main note; later members of a group become class 5.
void ApplyGraceNotes(WorkingEvents& events);

// An arc end on the same pitch as the nearest earlier pitched note is tied into it (velocity 0).
void ApplyTies(WorkingEvents& events);

// Mordents "B" to "E" spelled out as runs of short notes.
void SpellMordents(WorkingEvents& events);

// Staccato "G" "H", trills "I", turns "J" "K", and the fermata.
void SpellOtherOrnaments(WorkingEvents& events, int volume);

// Tempo terms and in-text key changes get their codes.
void CodeTempoAndKeyMarks(WorkingEvents& events);

// Notes follow the in-text key changes, each an absolute key (31 + k for the change k semitones
// above C); `markKey` is the key of the score's key mark. The key change events fall silent.
void ApplyKeyChanges(WorkingEvents& events, int baseKey, int markKey);

// Accidentals alter their note and the same pitch up to the next bar line or accidental.
void ApplyAccidentals(WorkingEvents& events);

// Dynamics marks and accents change velocities.
void ApplyDynamics(WorkingEvents& events);

} // namespace tunvale::notation
