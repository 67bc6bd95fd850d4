#!/usr/bin/env bash
# Builds the fuzz harnesses with clang-14 (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds, printing one
# summary line per harness:
#
#   fuzz/run_fuzzers.sh SECONDS [HARNESS...]
#   fuzz/run_fuzzers.sh --build-only        (builds the harnesses, runs none)
#
# Harnesses: info rawbands traces names normfac step configure bands fasta
# contigtable hits markermap mapgff contigoptions chromosomes placeoptions
# compareoptions map place (default all).
# Environment:
#   ZE_FUZZ_BUILD  build directory (default: build-fuzz in the repository)
#   ZE_FUZZ_JOBS   harnesses run at the same time (default 1)
#   ZE_FUZZ_KEEP   1: keep the grown corpora in $ZE_FUZZ_BUILD/corpus between
#                  runs (default: start from the committed seeds each time)
# Each harness works on a copy of its seeds (fuzz/corpus/<harness>); crash,
# leak, timeout and out-of-memory inputs land in $ZE_FUZZ_BUILD/artifacts/.
# Exit status: 0 when every harness ran without a finding, 1 otherwise, 2
# when the harnesses did not build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: run_fuzzers.sh SECONDS [HARNESS...] | --build-only}
shift
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] ||
    harnesses=(info rawbands traces names normfac step configure bands fasta contigtable hits
    markermap mapgff contigoptions chromosomes placeoptions compareoptions map place)
build=${ZE_FUZZ_BUILD:-$root/build-fuzz}
jobs=${ZE_FUZZ_JOBS:-1}

for tool in clang-14 clang++-14; do
    command -v "$tool" >/dev/null || { echo "run_fuzzers: $tool not found" >&2; exit 2; }
done

mkdir -p "$build"
if ! { CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$build" -G Ninja &&
       cmake --build "$build" -j 2; } >"$build/build.log" 2>&1; then
    tail -n 40 "$build/build.log"
    echo "run_fuzzers: the harnesses did not build; see $build/build.log" >&2
    exit 2
fi
[ "$seconds" != --build-only ] || exit 0

# Longest input per harness: big enough for every file format's interesting
# structure, small enough that one run stays in the millisecond range.
max_len() {
    case $1 in
        step) echo 16384 ;;
        traces) echo 8192 ;;
        *) echo 4096 ;;
    esac
}

run_one() {
    local h=$1
    local corpus=$build/corpus/$h artifacts=$build/artifacts/$h log=$build/logs/$h.log
    if [ "${ZE_FUZZ_KEEP:-0}" != 1 ]; then rm -rf "$corpus"; fi
    mkdir -p "$corpus" "$artifacts" "$build/logs"
    cp -n "$root/fuzz/corpus/$h/"* "$corpus/" 2>/dev/null || true
    local status=0
    # readline has no frame pointers: unwind slowly for the configure
    # harness, so that its leak suppression sees through readline's frames.
    local unwind=""
    [ "$h" = configure ] && unwind=":fast_unwind_on_malloc=0"
    # The harnesses that draw their input as bits, not text, have no dictionary.
    local dict=()
    [ -f "$root/fuzz/dict/$h.dict" ] && dict=(-dict="$root/fuzz/dict/$h.dict")
    # Allocations above 2.5 GiB, or a process above 4 GiB, count as findings:
    # the step's own limits keep every sound or unsound project below that.
    (cd "$build" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0$unwind \
        LSAN_OPTIONS=suppressions="$root/fuzz/lsan.supp":print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz_$h" "$corpus" -max_total_time="$seconds" -max_len="$(max_len "$h")" \
        -timeout=30 -rss_limit_mb=4096 -malloc_limit_mb=2560 -print_final_stats=1 \
        "${dict[@]}" -artifact_prefix="$artifacts/" >"$log" 2>&1) || status=$?
    local execs units result
    # A run that ended before its statistics has none: still reported below.
    execs=$({ grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" || true; } | grep -o '[0-9]*$' | tail -1 || true)
    units=$(ls "$corpus" | wc -l)
    if [ "$status" -eq 0 ]; then
        result=ok
    else
        local kind artifact
        kind=$(grep -o -m1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer): [a-z-]+' "$log" ||
            grep -o -m1 -E 'runtime error|fuzz invariant broken|Assertion .* failed' "$log" || echo "exit $status")
        artifact=$(grep -o -m1 -E "Test unit written to [^ ]+" "$log" | sed 's/Test unit written to //' || true)
        result="FAIL ($kind) ${artifact:-see $log}"
    fi
    printf '%-10s executions %-10s corpus %-6s %s\n' "$h" "${execs:-?}" "$units" "$result"
    [ "$status" -eq 0 ]
}

failed=0
pids=()
for h in "${harnesses[@]}"; do
    [ -x "$build/fuzz_$h" ] || { echo "run_fuzzers: no harness '$h'" >&2; failed=1; continue; }
    run_one "$h" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
