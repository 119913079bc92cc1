#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs the whole test suite.
#   ./test.sh                       the suite in ./build
#   BUILD_DIR=build-asan ./test.sh -DSTOMPLET_ENABLE_ASAN=ON
#   CTEST_ARGS="-L threads" ./test.sh ...   only the tests labelled "threads"
# Extra arguments go to CMake. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

# Under AddressSanitizer, leaks inside third-party libraries are suppressed (see the file).
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

build_dir=${BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build_dir" -G Ninja -DSTOMPLET_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$jobs"
# shellcheck disable=SC2086 # CTEST_ARGS is a list of words
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" ${CTEST_ARGS:-}
