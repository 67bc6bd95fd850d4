#!/usr/bin/env bash
# The example run: installs what building needs, builds zeStep5, zeReport
# and zeCompare, runs them on a fresh copy of the bundled example project
# (never on the committed files: every step recreates Results) and ends
# with a short summary. What the programs print goes to log files that the
# summary names.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build

mkdir -p build
build_log=build/demo-build.log
# A first configure leaves the tests out, so that GoogleTest is not needed;
# a build directory that scripts/test.sh configured keeps its tests.
options=()
[ -f build/CMakeCache.txt ] || options=(-DZE_BUILD_TESTS=OFF)
echo "building zeStep5, zeReport and zeCompare (log: $build_log)"
if ! { cmake -S . -B build -G Ninja "${options[@]}" &&
       cmake --build build -j "$(nproc)" --target zeStep5 zeReport zeCompare; } >"$build_log" 2>&1; then
    tail -n 20 "$build_log"
    echo "demo: the build failed; see $build_log" >&2
    exit 1
fi

demo=build/demo
project=$demo/project
rm -rf "$demo"
mkdir -p "$demo"
cp -r examples/project "$project"

# Runs one program with its output in a log; a failure shows its ERROR
# lines and ends the demo.
run_logged() {
    local log=$1; shift
    echo "running: $* (log: $log)"
    local status=0
    "$@" >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ] || grep -q '^ERROR: ' "$log"; then
        grep '^ERROR: ' "$log" || tail -n 20 "$log"
        echo "demo: $1 failed (status $status); see $log" >&2
        exit 1
    fi
}
run_logged "$demo/zeStep5.log" ./build/zeStep5 "$project" map1
run_logged "$demo/zeReport.log" ./build/report/zeReport "$project"

# zeReport writes its key figures beside the page, one "key<TAB>value" a line.
figure() { awk -F'\t' -v k="$1" '$1 == k { print $2 }' "$project/report-summary.tsv"; }
pairs=$demo/pairs.tsv
run_logged "$pairs" ./build/compare/zeCompare --html "$project/compare.html" "$project/$(figure gel_number).bands"
written=$(cd "$project" && ls -d *.gel *.bands *.sizes 2>/dev/null | tr '\n' ' ')
report=$(cd "$project" && pwd)/report.html
compare=$(cd "$project" && pwd)/compare.html

echo
echo "== Summary =="
echo "zeStep5 normalised $(figure samples) named samples ($(figure lanes) lanes) of $project."
echo "  wrote: ${written}and $(ls "$project/Results" | wc -l) files in Results/"
echo "         (per sample a band table, the trace as an ICS image, the lane strip)"
echo "  bands: $(figure accepted_bands) kept, $(figure dropped_bands) dropped (the page says why, per sample)"
echo "zeReport wrote the page with the calibration curves and the normalised strips:"
echo "  $report"
if command -v xdg-open >/dev/null 2>&1; then
    echo "  open it: xdg-open '$report'"
else
    echo "  open this file in a browser"
fi
echo "  warnings on the page: $(figure calibration_warnings) calibration, $(figure replicate_warnings) replicate"
echo "zeCompare scored every pair of the bands file: $(($(wc -l <"$pairs") - 1)) pairs within the default cutoff in $pairs,"
echo "  and the page with the strongest pairs, a similarity tree and a heatmap:"
echo "  $compare"
echo "Logs: $demo/zeStep5.log (one line per compressed picture), $demo/zeReport.log, $build_log"
