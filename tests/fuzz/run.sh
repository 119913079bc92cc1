#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ in ./build-fuzz (or $BUILD_DIR) and runs each for a
# bounded number of inputs (default 200000) from its seeds (corpus/<name>/) and the inputs that
# once found a fault (regressions/<name>/). A finding stops the run with a non-zero status; its
# input is saved in the build folder's fuzz-artifacts/ (replay: <target> <file>).
#   tests/fuzz/run.sh [inputs per target]
set -euo pipefail
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$fuzz_dir/../.." && pwd)
runs=${1:-200000}
build_dir=${BUILD_DIR:-build-fuzz}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac
# Some targets write a small file per input; in memory that costs no disk synchronisation.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTOMPLET_BUILD_FUZZERS=ON -DSTOMPLET_BUILD_GUI=OFF >/dev/null
cmake --build "$build_dir" --target fuzzers -j "$(nproc)"
artifacts="$build_dir/fuzz-artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
total=0
for target in "$build_dir"/tests/fuzz/fuzz_*; do
    name=$(basename "$target")
    corpora=("$scratch/$name") # new inputs go here, not into the seeds
    mkdir -p "$scratch/$name"
    for dir in "$fuzz_dir"/{corpus,regressions}/"${name#fuzz_}"; do
        if [ -d "$dir" ]; then corpora+=("$dir"); fi
    done
    echo "== $name: $runs inputs"
    "$target" -runs="$runs" -print_final_stats=1 -artifact_prefix="$artifacts/$name-" \
        "${corpora[@]}" 2>"$scratch/$name.log" || {
        tail -n 60 "$scratch/$name.log"
        echo "$name failed; the input is in $artifacts" >&2
        exit 1
    }
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
    echo "$name: ${executed:-?} inputs, no failure"
    total=$((total + ${executed:-0}))
done
echo "fuzzing: $total inputs in all"
