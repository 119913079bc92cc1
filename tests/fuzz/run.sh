#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ in ./build-fuzz (or $BUILD_DIR) and runs each for a
# bounded number of inputs (default 200000) from its seeds (corpus/<name>/) and the inputs that
# once found a fault (regressions/<name>/); new inputs go to a scratch folder. A finding stops the
# run with a non-zero status; its input is saved in the build folder's fuzz-artifacts/.
#   tests/fuzz/run.sh [inputs per target]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${BUILD_DIR:-build-fuzz}
[[ $build_dir = /* ]] || build_dir=$root/$build_dir
# Some targets write a small file per input; in memory that costs no disk synchronisation.
[ -n "${TMPDIR:-}" ] || [ ! -w /dev/shm ] || export TMPDIR=/dev/shm
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTOMPLET_BUILD_FUZZERS=ON -DSTOMPLET_BUILD_GUI=OFF >/dev/null
cmake --build "$build_dir" --target fuzzers -j "$(nproc)"
mkdir -p "$build_dir/fuzz-artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "$build_dir"/tests/fuzz/fuzz_*; do
    name=${target##*/}
    # New inputs go to the first folder, a scratch one; then corpus/<name>/ (every target has
    # seeds) and regressions/<name>/ where there is one.
    corpora=("$(mktemp -d -p "$scratch")" "$root"/tests/fuzz/*/"${name#fuzz_}"/)
    echo "== $name: ${1:-200000} inputs"
    "$target" -runs="${1:-200000}" -artifact_prefix="$build_dir/fuzz-artifacts/$name-" \
        "${corpora[@]}" 2>"$scratch/$name.log" || { tail -n 60 "$scratch/$name.log"; exit 1; }
done
echo "fuzzing: every target ran without a failure"
