#!/usr/bin/env bash
# Regenerates the committed example project examples/project with the
# project generator. The seed and knobs below are what the committed files
# were made with; change them only together with the files. Further copies
# of a clone carry its fragments (--true-replicates), as real replicates do.
#
# Usage: scripts/make-example.sh [GENERATOR [OUTDIR]]
#   GENERATOR  path of zeGenProject (default: built in ./build)
#   OUTDIR     where to write (default: examples/project)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

gen=${1:-}
out=${2:-$root/examples/project}
if [ -z "$gen" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
    cmake --build "$root/build" --target zeGenProject >/dev/null
    gen=$root/build/tools/zeGenProject
fi

"$gen" --out "$out" --seed 1 --lanes 25 --dyes 1 --marker-repeat 4 \
    --method nonlinear --sizes --row-length 1500 --rows 14 \
    --output-x 2000 --output-y 30 --gel-number 17 --compression gzip \
    --username demo --true-replicates
