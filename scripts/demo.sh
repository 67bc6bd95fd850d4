#!/usr/bin/env bash
# Builds zeStep5 and runs it on a fresh copy of the bundled example project
# (never on the committed files: every step recreates Results).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target zeStep5

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -r examples/project "$demo/project"

echo "== zeStep5 $demo/project map1 =="
./build/zeStep5 "$demo/project" map1

echo
echo "Outputs (in $demo/project):"
(cd "$demo/project" && ls -1 *.gel *.bands *.sizes 2>/dev/null | sed 's/^/  /')
echo "Per-clone results: $demo/project/Results ($(ls "$demo/project/Results" | wc -l) files)"
first=$(ls "$demo/project/Results" | grep '\.ppm\.gz$' | head -n 1 || true)
if [ -n "$first" ]; then
    echo "To look at a lane strip:"
    echo "  zcat '$demo/project/Results/$first' > strip.ppm && pnmtopng strip.ppm > strip.png"
fi
