#!/usr/bin/env bash
# Installs what is missing, builds Tunvale with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/build.sh -DTUNVALE_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen JACK_NO_START_SERVER=1
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300

# The clock, worker threads and MIDI sends once more under ThreadSanitizer: a second build of the
# playback tests alone, so the extra time stays small.
cd ..
cmake -S . -B build-tsan -G Ninja -DTUNVALE_BUILD_TESTS=ON -DTUNVALE_TSAN=ON >/dev/null
cmake --build build-tsan --parallel "$(nproc)" --target test_playback
TSAN_OPTIONS="halt_on_error=1" build-tsan/bin/test_playback
