#!/usr/bin/env bash
# The example run: installs what building needs, builds zeStep5, zeReport
# and zeCompare, runs them on a fresh copy of the bundled example project
# (never on the committed files: every step recreates Results), then builds
# the physical map of a small simulated library with zeGenLibrary and
# zeContig and measures it against where the clones really lie. Ends with a
# short summary; what the programs print goes to log files that the summary
# names.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build

mkdir -p build
build_log=build/demo-build.log
# A first configure leaves the tests out, so that GoogleTest is not needed;
# a build directory that scripts/test.sh configured keeps its tests.
options=()
[ -f build/CMakeCache.txt ] || options=(-DZE_BUILD_TESTS=OFF)
programs=(zeStep5 zeReport zeCompare zeGenLibrary zeContig)
echo "building ${programs[*]} (log: $build_log)"
if ! { cmake -S . -B build -G Ninja "${options[@]}" &&
       cmake --build build -j "$(nproc)" --target "${programs[@]}"; } >"$build_log" 2>&1; then
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
# lines and ends the demo. --as TEXT shows TEXT instead of the command line.
run_logged() {
    local shown=
    if [ "$1" = --as ]; then shown=$2; shift 2; fi
    local log=$1; shift
    echo "running: ${shown:-$*} (log: $log)"
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

# A library of a few thousand clones at 10x coverage with a real library's
# errors, its map, and the map against the generator's truth.
library=$demo/library
clones=3000
run_logged "$demo/zeGenLibrary.log" ./build/tools/zeGenLibrary --out "$library" --clones "$clones" --seed 1
map_options=(-o "$library/contigs.tsv" --mtp "$library/mtp.tsv" --html "$library/map.html")
run_logged --as "./build/map/zeContig ${map_options[*]} $library/*.bands" "$demo/zeContig.log" \
    ./build/map/zeContig "${map_options[@]}" "$library"/*.bands
run_logged "$library/against-truth.tsv" \
    bash scripts/map-against-truth.sh "$library/truth.tsv" "$library/contigs.tsv"
truth() { awk -F'\t' -v k="$1" '$1 == k { print $2 }' "$library/against-truth.tsv"; }
in_contigs=$(awk -v a="$(truth in_contigs)" -v b="$(truth clones)" 'BEGIN { printf "%.1f%%", 100 * a / b }')
n50_kb=$(truth n50 | awk '$1 != "-" { printf "%.0f", $1 / 1000 }')
path_clones=$(($(wc -l <"$library/mtp.tsv") - 1))
path_weak=$(awk -F'\t' 'NR > 1 && $7 == "weak"' "$library/mtp.tsv" | wc -l)
map=$(cd "$library" && pwd)/map.html

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
echo "zeGenLibrary simulated $clones clones at 10x with a real library's errors ($(ls "$library"/*.bands | wc -l) gels in $library);"
echo "zeContig mapped them: $(truth contigs) contigs of 2 or more clones, holding $in_contigs of the clones, N50 ${n50_kb:--} kb"
echo "  against the truth: $(truth false_joins) false joins; $(truth neighbour_errors) of $(truth neighbours) neighbours out of order, $(truth displaced) of $(truth ordered) clones more than 3 places off"
echo "  the tiling path: $path_clones clones ($path_weak weak steps) in $library/mtp.tsv; the page:"
echo "  $map"
echo "Logs: $demo/zeStep5.log (one line per compressed picture), $demo/zeReport.log, $demo/zeContig.log, $build_log"
