#!/usr/bin/env bash
# Installs what is missing, builds Tunvale and starts it (under Xvfb when there is no display).
# Without arguments it opens the sample score staged in the build tree; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
scripts/build.sh -DTUNVALE_BUILD_TESTS=OFF
if [ $# -eq 0 ]; then
    set -- "$PWD/build/data/vls/liangzhilaohu.vls"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/tunvale "$@"
fi
exec build/bin/tunvale "$@"
