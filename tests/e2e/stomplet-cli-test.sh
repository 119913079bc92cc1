#!/usr/bin/env bash
# stomplet against stomplet-sim standing for a box behind a generic USB-MIDI interface (ports
# that do not carry the box's name), on the private JACK server: detect finds it and leaves a
# running stomplet's own port alone, --out/--in reach it, diff tells a changed setting, and a
# lenient name sets one.
#   stomplet-cli-test.sh <stomplet> <stomplet-sim> <scratch-dir>
set -uo pipefail
stomplet=$1 sim=$2 scratch=$3
mkdir -p "$scratch"
: >"$scratch/sim.log" && : >"$scratch/monitor.out" && : >"$scratch/monitor.err"
fail() {
    echo "FAIL: $*" >&2
    jack_lsp >&2
    cat "$scratch/sim.log" "$scratch/monitor.err" >&2
    exit 1
}
expect() { [ "$2" = "$3" ] || fail "$1: got \"$2\", expected \"$3\""; }
run() { "$stomplet" --midi-api jack --timeout 5000 "$@"; }
io=(--out "Generic USB MIDI:MIDI In" --in "Generic USB MIDI-01:MIDI Out")

"$sim" --midi-api jack --no-stdin --name "Generic USB MIDI" >"$scratch/sim.log" 2>&1 &
sim_pid=$!
monitor_pid=
trap 'kill $sim_pid $monitor_pid 2>/dev/null; wait 2>/dev/null' EXIT
for _ in $(seq 100); do
    jack_lsp 2>/dev/null | grep -x "${io[3]}" >/dev/null && break
    sleep 0.1
done
# A running stomplet's input port is one detect must not send to.
"$stomplet" --midi-api jack monitor --filter sysex "${io[@]:2}" >"$scratch/monitor.out" \
    2>"$scratch/monitor.err" &
monitor_pid=$!
for _ in $(seq 100); do [ -s "$scratch/monitor.err" ] && break; sleep 0.1; done
expect "monitor's notice" "$(cat "$scratch/monitor.err")" \
    "listening to \"${io[3]}\" (Ctrl+C stops)"

# On a loaded machine the simulator's output client can miss its cycles for seconds after it
# starts (any command then goes unanswered): detect runs once the box has answered a status.
for _ in 1 2 3; do run status "${io[@]}" >/dev/null 2>&1 && break; done
found=$(run detect) || found=$(run detect) || fail "detect found nothing, twice"
expect detect "$found" "out \"${io[1]}\" in \"${io[3]}\" VERSION: 1.2 STATE: Interface Mode"
kill -INT $monitor_pid && wait $monitor_pid || fail "monitor did not end with status 0"
grep -q "Status Reply" "$scratch/monitor.out" || fail "monitor heard no reply"
! grep -q "SysEx  9 bytes" "$scratch/monitor.out" || fail "detect sent to stomplet's own port"

run save "$scratch/rig.csx" "${io[@]}" >/dev/null || fail "save"
run diff "$scratch/rig.csx" "${io[@]}" || fail "diff of the unchanged box"
expect set "$(run set "jack 2 mode" Switches "${io[@]}")" "JACK2 Mode = Switches"
changed=$(run diff "$scratch/rig.csx" "${io[@]}")
expect "diff status" $? 4
expect diff "$changed" "JACK2 Mode: box Switches, file Pedal"
echo "stomplet detect, --in/--out, diff and lenient names: all passed"
