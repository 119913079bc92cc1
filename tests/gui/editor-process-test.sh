#!/usr/bin/env bash
# editor-process-test.sh <ctrlwave-stomplet>: the editor as a program. --help, a bad argument, a
# quiet start without MIDI, --demo with --screenshot, an unwritable settings folder, one editor per
# folder, a crash.
set -uo pipefail
editor=$1
work=$(mktemp -d)
export TMPDIR=$work # the editors make their local sockets there: keep them in ours
pids=()
trap 'kill -9 "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
failed=0
check() { # check <name> <condition as a command>
    local name=$1
    shift
    "$@" || { failed=$((failed + 1)) && echo "FAILED: $name"; }
}

"$editor" --help >"$work/help" 2>&1 && grep -q -- '--settings-dir' "$work/help"
check "--help exits 0 and names the options" test $? -eq 0

"$editor" --settings-dir "$work/bad" --midi-api bogus >/dev/null 2>"$work/err"
check "a bad --midi-api exits 1" test $? -eq 1
check "with one line of ours on stderr" test "$(grep -c "^ctrlwave-stomplet: " "$work/err")" -eq 1

# Mended: a start with no MIDI system printed ALSA's, JACK's, RtMidi's and Qt's own lines. Now
# one line of ours per missing system (MIDI, and audio on a machine without a sound card).
JACK_DEFAULT_SERVER=stomplet-no-such-server timeout 3 "$editor" --settings-dir "$work/quiet" \
    --midi-api jack >/dev/null 2>"$work/err"
check "a start with no MIDI system prints at most three lines" test "$(wc -l <"$work/err")" -le 3
check "all of them its own" test "$(grep -cv "^ctrlwave-stomplet: " "$work/err")" -eq 0
check "one says the JACK server is not running" grep -q "JACK server is not running" "$work/err"

# The built-in box: the status lines its picture shows, and no settings written.
"$editor" --settings-dir "$work/demo" --demo --screenshot "$work/demo.png" >"$work/out"
check "--demo --screenshot exits 0" test $? -eq 0
check "with a picture of 1024 x 768" test "$(od -An -tx1 -j16 -N8 "$work/demo.png" | tr -d ' \n')" = 0000040000000300
check "the demo reaches Interface Mode" test "$(cat "$work/out")" = $'DEVICE: Korvo-Audio ctrlWave Stomplet\nVERSION: 1.2\nSTATE: Interface Mode'
check "without writing settings" test ! -e "$work/demo/settings.ini"
"$editor" --settings-dir "$work/demo" --screenshot "$work/no-such-folder/shot.png" >/dev/null 2>&1
check "a picture that cannot be saved is status 1" test $? -eq 1

touch "$work/file"
timeout 3 "$editor" --settings-dir "$work/file/settings" >/dev/null 2>"$work/err"
check "an unwritable settings folder keeps the editor running" test $? -eq 124
check "and says so on stderr" grep -qi 'settings' "$work/err"

# One editor per settings folder. Sockets of the editors stopped above are cleared first.
rm -f "$work"/ctrlWaveStomplet-*
"$editor" --settings-dir "$work/one" >/dev/null 2>&1 &
first=$!
pids+=("$first")
for _ in $(seq 200); do [ -e "$work/one/settings.ini" ] && break; sleep 0.1; done
timeout 10 "$editor" --settings-dir "$work/one" >/dev/null 2>&1
check "a second start with the same folder hands over and exits 0" test $? -eq 0
check "the first editor still runs" kill -0 "$first"
timeout 3 "$editor" --settings-dir "$work/two" >/dev/null 2>&1
check "an editor with another folder starts on its own" test $? -eq 124
kill -9 "$first"
wait "$first" 2>/dev/null
timeout 3 "$editor" --settings-dir "$work/one" >/dev/null 2>&1
check "a lock and a socket left by a crash do not block a start" test $? -eq 124

# Mended: two starts at the same moment both stayed, and the later one took the first one's
# socket away. Twenty rounds on one folder, each ended by a crash of the editor that stayed.
raised="a later start asked this editor to raise its window"
for round in $(seq 20); do
    STOMPLET_TRACE=1 "$editor" --settings-dir "$work/race" >/dev/null 2>"$work/a.err" &
    a=$!
    STOMPLET_TRACE=1 "$editor" --settings-dir "$work/race" >/dev/null 2>"$work/b.err" &
    b=$!
    pids+=("$a" "$b")
    wait -n "$a" "$b"
    check "round $round: one start hands over and exits 0" test $? -eq 0
    if kill -0 "$a" 2>/dev/null; then stayed=$a err=$work/a.err; else stayed=$b err=$work/b.err; fi
    check "round $round: the other editor stays" kill -0 "$stayed"
    for _ in $(seq 100); do grep -q "$raised" "$err" && break; sleep 0.1; done
    check "round $round: the request reaches the editor that stayed" grep -q "$raised" "$err"
    kill -9 "$a" "$b" 2>/dev/null
    wait "$a" "$b" 2>/dev/null
done
[ "$failed" -eq 0 ]
