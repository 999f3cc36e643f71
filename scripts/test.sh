#!/usr/bin/env bash
# Installs what is missing, builds Tunvale with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/build.sh -DTUNVALE_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen JACK_NO_START_SERVER=1
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
