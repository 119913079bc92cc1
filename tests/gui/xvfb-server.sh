#!/usr/bin/env bash
# Starts or stops a private X server (Xvfb, 1280 x 1024, 24 bits) for the tests that watch the
# editor's window as a desktop shows it. The server picks a free display number itself and this
# script keeps it in the state folder, where xvfb-run-test.sh reads it.
#   xvfb-server.sh start <state-dir>
#   xvfb-server.sh stop  <state-dir>
set -euo pipefail
action=$1 state_dir=$2
pid_file="$state_dir/xvfb.pid"
display_file="$state_dir/xvfb.display"
log_file="$state_dir/xvfb.log"

stop() {
    [ -f "$pid_file" ] || return 0
    pid=$(cat "$pid_file")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pid_file" "$display_file"
}

case $action in
start)
    if ! command -v Xvfb >/dev/null; then
        echo "Xvfb is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
    mkdir -p "$state_dir"
    stop
    : >"$display_file"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" \
        >"$log_file" 2>&1 &
    echo $! >"$pid_file"
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    if [ ! -s "$display_file" ]; then
        echo "Xvfb did not come up; its log:" >&2
        cat "$log_file" >&2
        stop
        exit 1
    fi
    echo "Xvfb runs on :$(cat "$display_file") (pid $(cat "$pid_file"))"
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop <state-dir>" >&2
    exit 2
    ;;
esac
