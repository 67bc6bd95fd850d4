#!/usr/bin/env bash
# Runs both programs under valgrind memcheck on the examples: zeStep5 on a
# copy of examples/project, lumo_configure on examples/configure/lumo_setup.sh
# with piped answers. Fails on any memory error or leak (definite, indirect
# or possible); memory still reachable at exit (readline's own) is allowed.
#
#   scripts/memcheck.sh [BUILD_DIR]     (default: build; configured and built
#                                        here when needed, plain, no sanitizer)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
command -v valgrind >/dev/null || { echo "memcheck: valgrind not installed" >&2; exit 2; }

cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target zeStep5 lumo_configure -j 2 >/dev/null

work=$(mktemp -d /tmp/zememcheck.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$root/examples/project" "$work/project"

vg=(valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
    --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible
    --track-origins=yes --quiet)

status=0
echo "== zeStep5 on the example project =="
if "${vg[@]}" --log-file="$work/zeStep5.vg" "$build/zeStep5" "$work/project" map1 >"$work/zeStep5.out" 2>&1; then
    echo "zeStep5: memcheck clean ($(grep -c '^gzip ' "$work/zeStep5.out") pictures compressed)"
else
    echo "zeStep5: memcheck FAILED (status $?)"
    cat "$work/zeStep5.vg" "$work/zeStep5.out"
    status=1
fi

echo "== lumo_configure on the example script, answers piped =="
printf 'laser\n\n/srv/gels\n   \nAnn\n' >"$work/answers"
if "${vg[@]}" --log-file="$work/lumo.vg" "$build/configure/lumo_configure" \
    "$root/examples/configure/lumo_setup.sh" "$work/lumo_setup.local.sh" <"$work/answers" \
    >"$work/lumo.out" 2>&1; then
    if cmp -s <(wc -c <"$root/examples/configure/lumo_setup.sh") <(wc -c <"$work/lumo_setup.local.sh"); then
        echo "lumo_configure: memcheck clean (output as long as the input)"
    else
        echo "lumo_configure: output length differs from the input"
        status=1
    fi
else
    echo "lumo_configure: memcheck FAILED (status $?)"
    cat "$work/lumo.vg" "$work/lumo.out"
    status=1
fi
# valgrind writes nothing to its log when a run is clean (--quiet).
for log in "$work/zeStep5.vg" "$work/lumo.vg"; do
    if [ -s "$log" ]; then echo "valgrind said:"; cat "$log"; status=1; fi
done
exit $status
