#!/usr/bin/env bash
# Installs what is missing, builds the editor (Release, in build-run/) and starts it in demo mode:
# on a built-in virtual box that plays its pedals and switches, with no MIDI server, sound card or
# hardware, and without touching the user's settings.ini.
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it renders the demo screen, once the
# box has answered, to demo.png beside this script instead, and says where it is.
#   ./run.sh            build if needed and run
#   BUILD_DIR=dir ./run.sh
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build_dir=${BUILD_DIR:-build-run}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTOMPLET_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target ctrlwave-stomplet stomplet
editor="$build_dir/src/app/ctrlwave-stomplet"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    shot="$PWD/demo.png"
    echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): rendering the demo screen instead."
    QT_QPA_PLATFORM=offscreen "$editor" --demo --screenshot "$shot"
    echo "The demo screen is in $shot"
    echo "The command-line tool: $build_dir/tools/stomplet/stomplet --help"
    exit 0
fi
exec "$editor" --demo
