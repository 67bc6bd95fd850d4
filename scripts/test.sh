#!/usr/bin/env bash
# Builds everything and runs every test once, in the sanitized build
# (AddressSanitizer + UndefinedBehaviorSanitizer): the tests of our C++
# code and those of the scripts (the workflow and Slurm tests, the map
# benchmark's figures, the layer check), which run the sanitized programs,
# and the replay of the fuzz harnesses' corpora. Live fuzzing is not part
# of it (fuzz/smoke.sh, fuzz/run_fuzzers.sh): a few seconds per harness
# reach little beyond the committed corpora, and its clang build and runs
# were an eighth of the command's CPU time. The last line sums up all of
# them,
#
#   N passed, M failed          (or: N passed, M failed, K skipped)
#
# (a build that fails counts as one failed test), and the exit status is 1
# when anything failed. It counts CTest tests: each test program runs as
# one CTest test per suite of GoogleTest cases, and each part's line also
# gives the cases it ran. Build output goes to <build dir>/build.log;
# warnings and failures are shown.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test || exit 1

# The tests' temporary directories go to memory where the machine has a
# tmpfs at /dev/shm: the tests create and remove many thousands of files,
# and on a disk file system the kernel's work for that is a third of the
# hostile-input sweep's time. The directory is removed at the end when the
# tests left nothing in it; otherwise it is kept and named (a failing sweep
# case keeps its project there).
test_tmp=
if [ -d /dev/shm ] && [ -w /dev/shm ] && [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then
    test_tmp=$(mktemp -d /dev/shm/ze-tests.XXXXXX) && export TMPDIR=$test_tmp
fi

jobs=$(nproc)
passed=0
failed=0
skipped=0
summary=()

# Adds one part's counts to the totals and to the summary.
count() {
    local what=$1 ok=$2 bad=$3 seconds=$4 skip=${5:-0} cases=${6:-}
    passed=$((passed + ok))
    failed=$((failed + bad))
    skipped=$((skipped + skip))
    local skips=
    [ "$skip" -eq 0 ] || skips=", $skip skipped"
    [ -z "$cases" ] || cases=", GoogleTest: $cases"
    summary+=("$(printf '%-11s %4d passed, %d failed%s  (%d s%s)' "$what:" "$ok" "$bad" "$skips" "$seconds" "$cases")")
}

# Configures and builds DIR with the given cmake options. The output goes
# to DIR/configure.log and DIR/build.log; the status is 1 when the
# configuration failed, 2 when the build did.
build_tree() {
    local dir=$1; shift
    mkdir -p "$dir"
    cmake -S . -B "$dir" -G Ninja -DZE_BUILD_TESTS=ON "$@" >"$dir/configure.log" 2>&1 || return 1
    cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1 || return 2
}

# Shows how the build of DIR went (STATUS from build_tree; START and END in
# the script's seconds) and runs its tests with ctest and any further ctest
# options.
run_suite() {
    local what=$1 dir=$2 start=$3 end=$4 status=$5; shift 5
    echo "== $what build ($dir) =="
    if [ "$status" -eq 1 ]; then
        cat "$dir/configure.log"
        count "$what" 0 1 $((SECONDS - start))
        return
    fi
    if [ "$status" -ne 0 ]; then
        grep -E -A4 'error:|FAILED:' "$dir/build.log" | head -n 60
        echo "build failed: $dir/build.log"
        count "$what" 0 1 $((SECONDS - start))
        return
    fi
    grep -E -A4 'warning:' "$dir/build.log"
    echo "built in $((end - start)) s"

    # One test more than cores, so that a test waiting for a service leaves
    # no core idle. Each test's result line is shown; the start lines of a
    # parallel run are left out.
    ctest --test-dir "$dir" -j $((jobs + 1)) --output-on-failure "$@" 2>&1 |
        grep -v -E '^ +Start +[0-9]+: |^Internal ctest changing into directory' | tee "$dir/ctest.log"
    local counts total bad skip
    counts=$(grep -o -E '[0-9]+ tests? failed out of [0-9]+' "$dir/ctest.log" | tail -n 1)
    if [ -z "$counts" ]; then
        echo "ctest ran no test in $dir"
        count "$what" 0 1 $((SECONDS - start))
        return
    fi
    bad=${counts%% *}
    total=${counts##* }
    # Tests that skipped themselves (a tool missing) count neither way.
    skip=$(grep -c -E '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$dir/ctest.log")
    count "$what" $((total - bad - skip)) "$bad" $((SECONDS - start)) "$skip" "$(gtest_cases "$dir")"
}

# The GoogleTest cases run in DIR's last ctest run, as "N cases" (with
# ", K skipped" when some skipped themselves): each CTest test of a test
# program runs one suite of cases. Empty when none ran.
gtest_cases() {
    local log=$1/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    awk '/^\[  PASSED  \] [0-9]+ tests?\.$/ { passed += $4 }
         /^\[  SKIPPED \] [0-9]+ tests?, listed below:$/ { skipped += $4 }
         /^\[  FAILED  \] [0-9]+ tests?, listed below:$/ { failed += $4 }
         END {
             cases = passed + skipped + failed
             if (cases == 0) exit
             printf "%d cases", cases
             if (skipped) printf ", %d skipped", skipped
             if (failed) printf ", %d failed", failed
         }' "$log"
}

# Removes the tests' temporary directory if they left it empty, or names it.
remove_test_tmp() {
    if [ -n "$test_tmp" ] && ! rmdir "$test_tmp" 2>/dev/null; then
        echo "the tests left files in $test_tmp (in memory; remove it when done)"
    fi
    test_tmp=
}
trap remove_test_tmp EXIT

# The one tree of the tests is optimised for debugging, with line tables
# (-Og -g1): at -O0 its zeStep5 takes a quarter longer over the sweep, and
# -O1 cost 44% more compile time (265 s of CPU for the tree, against
# 184 s) for tests that took the same CPU time; the sanitizers name file
# and line all the same. Its benchmarks are left out.
# No plain optimised tree is built: the tests that ran there (the workflow
# and Slurm tests) spend their time in Snakemake, not in the programs, and
# its build cost more than they gained.
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
start=$SECONDS
status=0
build_tree build-asan -DZE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DZE_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_DEBUG=-Og -g1" "-DCMAKE_C_FLAGS_DEBUG=-Og -g1" || status=$?
run_suite sanitized build-asan "$start" "$SECONDS" "$status"

remove_test_tmp

echo
echo "== all tests =="
printf '%s\n' "${summary[@]}"
if [ "$skipped" -eq 0 ]; then
    echo "$passed passed, $failed failed"
else
    echo "$passed passed, $failed failed, $skipped skipped"
fi
[ "$failed" -eq 0 ]
