#pragma once

#include "app/notation/drum_record.h"
#include "platform/richtext/rich_text_snapshot.h"

namespace tunvale::testing {

// A song of `bars` bars, four to a notation paragraph with a lyric line under each, mixing notes,
// rests, dots, ties, grace notes, ornaments, accidentals, dynamics and RAP beats, with a tempo term
// every fourth paragraph and a segment mark closing every fourth.
platform::RichTextSnapshot GeneratedSong(int bars);

// `bars` drum bars of the longest time signature (28 steps) at 120 BPM, every track on and hitting
// about every other step.
void FillDrums(notation::DrumStores& stores, int bars);

} // namespace tunvale::testing
