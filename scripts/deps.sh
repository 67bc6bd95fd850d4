#!/usr/bin/env bash
# Checks that the Debian packages for a task are present. As root the
# missing ones are installed with apt-get; otherwise the exact apt-get line
# is printed and the script fails.
#
#   scripts/deps.sh build   building and running the programs (scripts/demo.sh)
#   scripts/deps.sh test    that, and everything the tests use (scripts/test.sh);
#                           the default
set -euo pipefail

# Building and running the programs: compiler, CMake, Ninja, readline for
# lumo_configure, libpng for zeReport, gzip for the pictures of zeStep5.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libreadline-dev libncurses-dev libpng-dev gzip)

# Used only by the tests and the developer tools; a new test tool goes here.
TEST_PACKAGES=(
    libgtest-dev libgmock-dev      # the GoogleTest suites
    libbenchmark-dev               # bench/
    libics-dev libgsl-dev netpbm   # independent readers and references the tests compare with
    chromium                       # zeReport's page rendered in a browser
    clang-14 libclang-rt-14-dev    # fuzz harnesses (libFuzzer): fuzz/smoke.sh, fuzz/run_fuzzers.sh
    valgrind                       # scripts/memcheck.sh
    dpkg-dev file man-db           # the Debian package (cpack -G DEB) and the manual pages
    genometools                    # gt gff3validator checks zeContig's GFF3 file
)

# Tests of the many-gels workflow (tests/workflow): Snakemake, GNU parallel
# and a one-node Slurm cluster with munge. Neither the build nor the demo
# needs them.
WORKFLOW_TEST_PACKAGES=(snakemake parallel slurmctld slurmd slurm-client munge)
TEST_PACKAGES+=("${WORKFLOW_TEST_PACKAGES[@]}")

case ${1:-test} in
    build) groups=(build) ;;
    test) groups=(build test) ;;
    *) echo "usage: scripts/deps.sh [build|test]" >&2; exit 2 ;;
esac

missing_of() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            echo "$p"
        fi
    done
}

build_missing=()
test_missing=()
for g in "${groups[@]}"; do
    case $g in
        build) mapfile -t build_missing < <(missing_of "${BUILD_PACKAGES[@]}") ;;
        test) mapfile -t test_missing < <(missing_of "${TEST_PACKAGES[@]}") ;;
    esac
done
missing=("${build_missing[@]}" "${test_missing[@]}")
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

# Every package comes without its recommendations: Snakemake's alone
# (cwltool, ImageMagick, the cloud storage clients, Biopython, ...) were
# two thirds of a fresh machine's install, and no test uses them. What a
# test does need is named above, in its group.
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
    echo "missing packages; run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi
