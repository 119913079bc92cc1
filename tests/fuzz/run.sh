#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ in ./build-fuzz and runs each one for a bounded number
# of inputs, starting from its seed corpus (corpus/<name>/ beside this script). New inputs it finds
# go to a scratch folder, not into the seeds.
#   tests/fuzz/run.sh              200000 inputs per target
#   tests/fuzz/run.sh 1000000      that many per target
#   BUILD_DIR=build-x tests/fuzz/run.sh
# A crash, leak, undefined behaviour or broken contract stops the run with a non-zero status; the
# input that caused it is saved in the build folder's fuzz-artifacts/ (replay: <target> <file>).
# Inputs that once found a fault are kept in regressions/<name>/ and run with the seeds.
set -euo pipefail
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$fuzz_dir/../.." && pwd)
runs=${1:-200000}
build_dir=${BUILD_DIR:-build-fuzz}
# Some targets write a small file per input; in memory that costs no disk synchronisation.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTOMPLET_BUILD_FUZZERS=ON -DSTOMPLET_BUILD_GUI=OFF \
    >/dev/null
cmake --build "$build_dir" --target fuzzers -j "$(nproc)"

artifacts="$build_dir/fuzz-artifacts"
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

total=0
for target in "$build_dir"/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpora=("$scratch/$name")
    mkdir -p "$scratch/$name"
    seeds="$fuzz_dir/corpus/${name#fuzz_}"
    [ -d "$seeds" ] && corpora+=("$seeds")
    regressions="$fuzz_dir/regressions/${name#fuzz_}"
    [ -d "$regressions" ] && corpora+=("$regressions")
    echo "== $name: $runs inputs"
    start=$(date +%s)
    "$target" -runs="$runs" -print_final_stats=1 -artifact_prefix="$artifacts/$name-" \
        "${corpora[@]}" 2>"$scratch/$name.log" || {
        tail -n 60 "$scratch/$name.log"
        echo "$name failed; the input is in $artifacts" >&2
        exit 1
    }
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
    echo "$name: ${executed:-?} inputs in $(($(date +%s) - start)) s, no failure"
    total=$((total + ${executed:-0}))
done
echo "fuzzing: $total inputs in all"
