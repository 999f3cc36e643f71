#pragma once

#include "app/notation/drum_record.h"

// The drum templates the user keeps: "Drum.dat" in the user folder, which start-up reads before the
// shipped one in the data folder.
namespace tunvale::drums {

// Rewrites the user's "Drum.dat" with `templates`. The first save starts from a copy of the shipped
// file (or from an empty drum section when there is none). False when the file could not be written;
// it is then as it was.
bool SaveDrumTemplates(const notation::DrumStore& templates);

} // namespace tunvale::drums
