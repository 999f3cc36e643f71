#pragma once

namespace tunvale::platform {

// alsa-lib and FluidSynth write their own complaints to standard error (a missing sequencer, a
// missing sound card, a refused audio server). The program reports what matters itself, so both are
// silenced once per process before either is used.
void quietenSoundLibraries();

} // namespace tunvale::platform
