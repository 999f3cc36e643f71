#pragma once

#include "platform/desktop/prompts.h"

namespace tunvale::playback {

// Shows a message from any thread. The box is posted to the GUI thread and shown there later, so a
// playback thread (often holding the send lock) never waits for the user.
void postMessage(platform::PromptRequest request);

} // namespace tunvale::playback
