#pragma once

namespace tunvale::platform {

// alsa-lib writes its own complaints to standard error (a missing sequencer, a missing sound card).
// The program reports what matters itself, so it is silenced once per process before it is used;
// FluidSynth is silenced where it is loaded.
void quietenSoundLibraries();

} // namespace tunvale::platform
