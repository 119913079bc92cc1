#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running the editor need, skipping
# those already installed. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
    # toolchain and test frameworks
    g++ cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # libraries
    qt6-base-dev qt6-svg-dev libgl-dev librtmidi-dev librtaudio-dev libjack-jackd2-dev libasound2-dev
    libstb-dev
    # fonts compiled into the editor
    fonts-roboto-unhinted fonts-dseg fonts-fork-awesome fonts-font-awesome
    # a MIDI/audio server that runs without a sound card, with jack_wait
    jackd2
    # a private X server for the desktop tests, and the tools to drive and photograph it
    xvfb x11-utils xdotool imagemagick
    # installing: man pages from --help, the checks of the installed tree, the Debian package's
    # library dependencies (cpack -G DEB)
    help2man man-db desktop-file-utils appstream dpkg-dev
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
