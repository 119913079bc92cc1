#!/usr/bin/env bash
# A private X server (Xvfb, 1280 x 1024, 24 bits; it picks a free display) for the window tests.
#   xvfb-server.sh start|stop <state-dir>
#   xvfb-server.sh run <state-dir> <command> [arguments...]   runs the command there on Qt's xcb
set -euo pipefail
action=$1 dir=$2
shift 2
stop() {
    [ ! -f "$dir/pid" ] || kill "$(cat "$dir/pid")" 2>/dev/null || true
    rm -f "$dir/pid" "$dir/display"
}
case $action in
start)
    mkdir -p "$dir"
    stop
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" &>"$dir/log" &
    echo $! >"$dir/pid"
    for _ in $(seq 100); do [ -s "$dir/display" ] && exit 0; sleep 0.1; done
    cat "$dir/log" >&2; stop; exit 1 ;;
stop) stop ;;
run)
    [ -s "$dir/display" ] || { echo "no private X server runs (xvfb-server.sh start)" >&2; exit 1; }
    DISPLAY=":$(cat "$dir/display")" QT_QPA_PLATFORM=xcb exec "$@" ;;
*) echo "usage: $0 start|stop|run <state-dir> [command...]" >&2; exit 2 ;;
esac
