#include "platform/midi/quiet_backends.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace tunvale::platform {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) { }

} // namespace

void quietenSoundLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(ignoreAlsaError); });
}

} // namespace tunvale::platform
