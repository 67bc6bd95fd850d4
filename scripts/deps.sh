#!/usr/bin/env bash
# Checks that the build and test dependencies are present. As root on
# Debian the missing ones are installed with apt-get; otherwise the exact
# apt-get line is printed and the script fails.
set -euo pipefail

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libreadline-dev libncurses-dev libics-dev libgsl-dev netpbm valgrind
          clang-14 libclang-rt-14-dev libpng-dev dpkg-dev file man-db chromium)

# Tests of the many-gels workflow (tests/workflow): Snakemake, GNU parallel
# and a one-node Slurm cluster with munge. Neither the build nor the demo
# needs them.
WORKFLOW_TEST_PACKAGES=(snakemake parallel slurmctld slurmd slurm-client munge)
PACKAGES+=("${WORKFLOW_TEST_PACKAGES[@]}")

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

line="apt-get install -y ${missing[*]}"
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
else
    echo "missing build dependencies; run as root:" >&2
    echo "  apt-get update && $line" >&2
    exit 1
fi
