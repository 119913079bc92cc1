#!/usr/bin/env bash
# The editor as a program: --help, a bad argument, an unwritable settings folder, the
# single-instance hand-over and a stale socket after a crash.
#   editor-process-test.sh <path to ctrlwave-stomplet>
set -uo pipefail
editor=$1
work=$(mktemp -d)
# The editors' local sockets are made in the temporary folder: keep them in ours.
export TMPDIR=$work
pids=()
cleanup() { for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT

passed=0 failed=0
check() { # check <name> <condition as a command>
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
# Waits up to 20 s for a file to appear.
wait_for_file() { for _ in $(seq 200); do [ -e "$1" ] && return 0; sleep 0.1; done; return 1; }
# Waits up to 20 s for an editor's single-instance socket.
wait_for_socket() {
    for _ in $(seq 200); do compgen -G "$work/ctrlWaveStomplet-*" >/dev/null && return 0; sleep 0.1; done
    return 1
}

"$editor" --help >"$work/help" 2>&1
check "--help exits 0" test $? -eq 0
check "--help names the options" grep -q -- '--settings-dir' "$work/help"

"$editor" --settings-dir "$work/bad" --midi-api bogus >"$work/out" 2>"$work/err"
check "a bad --midi-api exits 1" test $? -eq 1
check "with one line of ours on stderr" test "$(grep -c "^ctrlwave-stomplet: " "$work/err")" -eq 1

# A settings folder that cannot be created: the editor runs on with a clear line.
touch "$work/file"
timeout 3 "$editor" --settings-dir "$work/file/settings" >/dev/null 2>"$work/err"
check "an unwritable settings folder keeps the editor running" test $? -eq 124
check "and says so on stderr" grep -qi 'settings' "$work/err"

# Single instance per settings folder. Sockets of the editors stopped above are cleared first.
rm -f "$work"/ctrlWaveStomplet-*
"$editor" --settings-dir "$work/one" >/dev/null 2>&1 &
first=$!; pids+=("$first")
check "the first editor writes its settings" wait_for_file "$work/one/settings.ini"
check "the first editor listens for later starts" wait_for_socket
timeout 10 "$editor" --settings-dir "$work/one" >/dev/null 2>&1
check "a second start with the same folder hands over and exits 0" test $? -eq 0
check "the first editor still runs" kill -0 "$first"

timeout 3 "$editor" --settings-dir "$work/two" >/dev/null 2>&1
check "an editor with another folder starts on its own" test $? -eq 124

kill -9 "$first"
wait "$first" 2>/dev/null
timeout 3 "$editor" --settings-dir "$work/one" >/dev/null 2>&1
check "a stale socket after a crash does not block a start" test $? -eq 124

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
