#!/usr/bin/env bash
# Installs what is missing, builds Tunvale with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
# Formatting and names first: they take a second and fail early.
scripts/check-format.sh
scripts/check-names.py
scripts/build.sh -DTUNVALE_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen JACK_NO_START_SERVER=1
source scripts/compiler_cache.sh

# The clock, worker threads and MIDI sends once more under ThreadSanitizer, and the recorder that
# writes what the synthesizer's thread renders: a second build of those tests alone, so the extra time
# stays small.
cmake -S . -B build-tsan -G Ninja "${cache_args[@]}" -DTUNVALE_BUILD_TESTS=ON -DTUNVALE_TSAN=ON >/dev/null
cmake --build build-tsan --parallel "$(nproc)" --target tunvale_data test_playback test_dialogs test_frame
# ThreadSanitizer cannot place its shadow memory beside a fully randomised address space on newer
# kernels; run without address randomisation where the machine allows it. A hang fails the run.
no_aslr=()
if setarch "$(uname -m)" -R true 2>/dev/null; then
    no_aslr=(setarch "$(uname -m)" -R)
fi
tsan_runs=("test_playback" "test_dialogs --gtest_filter=RecorderWindow.*" "test_frame --gtest_filter=OutputCommands.*")
for run in "${tsan_runs[@]}"; do
    read -r -a words <<<"$run"
    TSAN_OPTIONS="halt_on_error=1" timeout 600 "${no_aslr[@]}" "build-tsan/bin/${words[0]}" "${words[@]:1}" \
        --gtest_brief=1
done

# Score files, rich text, notation, the compiler, the editor with and without its window (the undo
# engine held to whole snapshots), the drums, dialogs, frame, components, playback and the MIDI export
# parser once more under AddressSanitizer and UndefinedBehaviorSanitizer, float-to-integer conversions
# included: damaged and hostile files, typed numbers and menu items rebuilt during a play must run
# without a single report, and the first report ends the run.
# A component is a shared library with its own copy of the notation tables, as the program has; the
# sanitizer's one-definition check would take those copies for a fault. Test discovery runs the test
# programs while they build, so the options hold for the build too.
export ASAN_OPTIONS="detect_odr_violation=0"
asan_tests=(test_scorefile test_richtext test_notation test_compiler test_editing test_editor test_drums test_dialogs
    test_frame test_settings test_margin test_hintballoon test_symbolpick test_playback)
cmake -S . -B build-asan -G Ninja "${cache_args[@]}" -DTUNVALE_BUILD_TESTS=ON -DTUNVALE_ASAN=ON >/dev/null
# The window and tool tests start the program and the test tool of their own build.
cmake --build build-asan --parallel "$(nproc)" --target tunvale_data tunvale scoretool "${asan_tests[@]}"
for test in "${asan_tests[@]}"; do
    ASAN_OPTIONS="$ASAN_OPTIONS:halt_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        timeout 900 "build-asan/bin/$test" --gtest_brief=1
done
cmake --build build-asan --parallel "$(nproc)" --target test_sequor
timeout 600 build-asan/bin/test_sequor --gtest_brief=1 --gtest_filter='SequorParser.*:SequorTracks.NotesAndWaitsEndAtTheLongestDelta'

# Every test suite, last, so the run ends with ctest's summary.
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
