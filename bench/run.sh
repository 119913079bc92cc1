#!/usr/bin/env bash
# Builds the benchmark programs in Release and prints one table of the editor's measured figures.
#   bench/run.sh [build-folder]      (default: build-bench, under the source tree)
# Environment: JOBS (parallel build jobs, default 2). Needs jackd and JACK's example tools
# (jack_wait, jack_lsp, jack_midi_latency_test); starts its own JACK dummy server (-p 256 -r 48000)
# and stops it on exit. Progress goes to stderr, the table to stdout.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build-bench}
[[ $build_dir = /* ]] || build_dir=$source_dir/$build_dir
jobs=${JOBS:-2}
state_dir=$build_dir/bench-run
mkdir -p "$state_dir"

note() { echo "run.sh: $*" >&2; }

# --- build -------------------------------------------------------------------------------------
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$source_dir
fi
note "building in $build_dir (log: $state_dir/build.log)"
if ! { cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DSTOMPLET_BUILD_GUI=ON "${launcher[@]}" &&
    cmake --build "$build_dir" -j "$jobs" --target ctrlwave-stomplet render_bench startup_bench \
        audition_latency_bench midi_flood_bench; } >"$state_dir/build.log" 2>&1; then
    tail -30 "$state_dir/build.log" >&2
    exit 1
fi
bench_bin=$build_dir/bench
editor=$build_dir/src/app/ctrlwave-stomplet

# --- a private JACK dummy server ---------------------------------------------------------------
export JACK_NO_AUDIO_RESERVATION=1 JACK_NO_START_SERVER=1
export JACK_DEFAULT_SERVER=stomplet-bench-$$
export QT_QPA_PLATFORM=offscreen
children=()
cleanup() {
    for pid in "${children[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${children[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$state_dir/settings"
}
trap cleanup EXIT
setsid jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 \
    >"$state_dir/jackd.log" 2>&1 &
children+=($!)
if ! jack_wait -w -t 10 >/dev/null 2>&1; then
    note "the JACK dummy server did not come up:"
    cat "$state_dir/jackd.log" >&2
    exit 1
fi

# --- idle CPU from /proc -----------------------------------------------------------------------
clock_ticks=$(getconf CLK_TCK)
# utime + stime of every thread of process $1, in clock ticks.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
# One line per thread of process $1: its id and its utime + stime in clock ticks.
thread_ticks() {
    local task
    for task in /proc/"$1"/task/*; do
        echo "${task##*/} $(sed 's/.*) //' "$task/stat" | awk '{ print $12 + $13 }')"
    done 2>/dev/null
}
# The thread of process $1 that used the most CPU between the lists in files $2 and $3:
# "thread <id> (main|other) <ms> ms".
busiest_thread() {
    join <(sort "$2") <(sort "$3") | awk -v pid="$1" -v hz="$clock_ticks" '
        { d = $3 - $2; if (d > best) { best = d; id = $1 } }
        END { printf "busiest thread: %s %.0f ms", (id == pid ? "main" : "tid " id), best * 1000 / hz }'
}

# Starts the editor with the arguments given, lets it settle for 3 s, measures 10 s and adds a
# row named $1.
idle_row() {
    local what=$1
    shift
    "$editor" "$@" >"$state_dir/idle.log" 2>&1 &
    local pid=$!
    children+=("$pid")
    sleep 3
    if ! kill -0 "$pid" 2>/dev/null; then
        rows+=("| $what | the editor ended early (see $state_dir/idle.log) | at most 1 % of one core | no |")
        return
    fi
    local threads before after pump busiest
    threads=$(ls "/proc/$pid/task" | wc -l)
    before=$(cpu_ticks "$pid")
    thread_ticks "$pid" >"$state_dir/threads-before"
    sleep 10
    after=$(cpu_ticks "$pid")
    thread_ticks "$pid" >"$state_dir/threads-after"
    busiest=$(busiest_thread "$pid" "$state_dir/threads-before" "$state_dir/threads-after")
    pump="pump thread"
    if jack_lsp 2>/dev/null | grep -q '^RtApiJack'; then pump="JACK audio stream"; fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    rows+=("$(awk -v d=$((after - before)) -v hz="$clock_ticks" -v what="$what" -v threads="$threads" \
        -v pump="$pump" -v busiest="$busiest" 'BEGIN {
            ms = d * 1000 / hz; pct = ms / 100
            printf "| %s | %.2f %% of one core (%.0f ms CPU in 10 s, %d threads, %s, pump on the %s) | at most 1 %% of one core | %s |\n",
                what, pct, ms, threads, busiest, pump, (pct <= 1 ? "yes" : "no") }')")
}

rows=()
note "render time"
mapfile -t -O ${#rows[@]} rows < <("$bench_bin/render_bench")
note "idle CPU, demo mode"
idle_row 'idle CPU over 10 s, `--demo` (offscreen)' --demo
note "idle CPU, plain mode on JACK"
mkdir -p "$state_dir/settings"
idle_row 'idle CPU over 10 s, plain `--midi-api jack` (offscreen, scratch settings)' \
    --midi-api jack --settings-dir "$state_dir/settings"
note "start-up"
"$bench_bin/startup_bench" >/dev/null # warms the file cache; not counted
# Both without a JACK server: the demo needs none, and any JACK client (jack_lsp too) peaks near
# 110 MiB resident for a moment while libjack connects, which would hide the editor's own figure.
no_jack=stomplet-bench-absent-$$
empty_peak=$(JACK_DEFAULT_SERVER=$no_jack "$bench_bin/startup_bench" --empty-window)
mapfile -t -O ${#rows[@]} rows < <(JACK_DEFAULT_SERVER=$no_jack \
    STOMPLET_BENCH_EMPTY_PEAK_MIB=$empty_peak STOMPLET_BENCH_LAUNCH_NS=$(date +%s%N) \
    "$bench_bin/startup_bench")
note "audition latency"
mapfile -t -O ${#rows[@]} rows < <("$bench_bin/audition_latency_bench" || true)
note "MIDI flood (20 s)"
mapfile -t -O ${#rows[@]} rows < <("$bench_bin/midi_flood_bench" || true)

# --- the table ---------------------------------------------------------------------------------
echo "### ctrlWave Stomplet editor benchmarks, $(date '+%Y-%m-%d %H:%M'), $(nproc) cores"
echo
echo "| what | figure | target | met |"
echo "|---|---|---|---|"
printf '%s\n' "${rows[@]}"
