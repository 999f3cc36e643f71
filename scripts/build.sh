#!/usr/bin/env bash
# Configures and builds Tunvale into build/ (extra arguments go to CMake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler_cache.sh
cmake -S . -B build -G Ninja "${cache_args[@]}" "$@" >/dev/null
cmake --build build --parallel "$(nproc)"
