#!/usr/bin/env bash
# Builds everything and runs every test: once in a plain optimised build,
# once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

echo "== plain build =="
run_suite build
echo "== sanitized build (address, undefined) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DZE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug

# The hostile-input sweep and the corpus replays ran with the suites above;
# a few seconds of live fuzzing per harness follow (fuzz/README.md has the
# longer runs).
bash fuzz/smoke.sh
