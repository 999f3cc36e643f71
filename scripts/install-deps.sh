#!/usr/bin/env bash
# Installs the Debian packages that Tunvale needs and that are missing. The package lists live here
# and nowhere else.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   what building and running the tests needs
set -euo pipefail

build=(cmake ninja-build g++ pkg-config
       qt6-base-dev libgl-dev libicu-dev
       libfluidsynth-dev libjack-jackd2-dev librtmidi-dev libasound2-dev
       python3-fonttools python3-munkres
       fonts-dejavu-core fonts-arphic-uming fonts-wqy-microhei fontconfig
       timgm6mb-soundfont qt6-translations-l10n)
run_extra=(fluid-soundfont-gm xvfb xauth)
test_extra=(libgtest-dev libgmock-dev libbenchmark-dev python3-mido poppler-utils abcmidi unicode-data dbus-daemon
            clang-format)

case "${1:-}" in
    run) wanted=("${build[@]}" "${run_extra[@]}") ;;
    test) wanted=("${build[@]}" "${test_extra[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine often runs its own package updates at boot: wait for them instead of failing.
apt=(apt-get -o DPkg::Lock::Timeout=600)
"${sudo[@]}" "${apt[@]}" update -qq
"${sudo[@]}" "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
