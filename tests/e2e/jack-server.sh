#!/usr/bin/env bash
# Starts or stops a private JACK server on the dummy driver, so end-to-end tests need no sound
# card and no desktop session. Clients reach it with JACK_DEFAULT_SERVER=<name>.
#   jack-server.sh start|stop <name> <state-dir>
set -euo pipefail
action=$1 name=$2 pid_file="$3/jackd-$2.pid" log_file="$3/jackd-$2.log"
export JACK_NO_AUDIO_RESERVATION=1 JACK_NO_START_SERVER=1 JACK_DEFAULT_SERVER=$name
stop() {
    [ -f "$pid_file" ] || return 0
    pid=$(cat "$pid_file")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pid_file"
}
[ "$action" = stop ] && { stop; exit 0; }
mkdir -p "$3"
stop
# Without real-time scheduling a client that misses a cycle loses its MIDI: 1024 frames at 48 kHz
# (21 ms, not 5) leave the clients time on a busy machine and still show the pacing of firmware
# blocks sent 100 ms apart.
setsid jackd --no-realtime -n "$name" -d dummy -r 48000 -p 1024 >"$log_file" 2>&1 &
echo $! >"$pid_file"
if ! jack_wait -w -t 10 >/dev/null 2>&1; then
    echo "the JACK dummy server '$name' did not come up; its log:" >&2
    cat "$log_file" >&2
    stop
    exit 1
fi
