#!/usr/bin/env bash
# Short fuzz smoke, a few seconds of live fuzzing before a commit: builds the harnesses with clang-14
# (when it is installed) and runs each for a few seconds, two at a time.
# Exit status 1 when any harness finds something; 0, with a note, when
# clang-14 is missing.
#
#   fuzz/smoke.sh            (ZE_FUZZ_SMOKE_SECONDS, default 5, per harness)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v clang++-14 >/dev/null || ! command -v clang-14 >/dev/null; then
    echo "fuzz smoke skipped: clang-14 not installed"
    exit 0
fi
echo "== fuzz smoke (${ZE_FUZZ_SMOKE_SECONDS:-5} s per harness) =="
ZE_FUZZ_JOBS=${ZE_FUZZ_JOBS:-2} exec "$here/run_fuzzers.sh" "${ZE_FUZZ_SMOKE_SECONDS:-5}"
