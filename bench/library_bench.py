#!/usr/bin/env python3
"""Speed of zeCompare on a whole simulated clone library.

Generates the library once with tools/zeGenLibrary (default 300,000 clones,
one bands file per gel of 96, seed 1, --perfect: without the errors of a
real library, the library of the earlier measurements) in a work directory,
runs zeCompare over every bands file at the default tolerance and cutoff,
and prints the wall time, the user and system CPU time, the peak memory and
the number of pairs written. The machine's load average is printed first:
the CPU times are the figures to compare on a busy machine.

    bench/library_bench.py [--build DIR] [--work DIR] [--clones N] [-j N]

With --check, ze_compare_bench --check also compares the scan with the
plain scan of every pair on the same library (fit for about 20,000 clones;
the plain scan of 300,000 would take days).
"""
import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def library(build, work, clones):
    """The library's bands files, generated unless already there."""
    lib = os.path.join(work, "library-%d" % clones)
    files = [os.path.join(lib, "%d.bands" % g) for g in range(1, (clones + 95) // 96 + 1)]
    if not all(os.path.exists(f) for f in files):
        subprocess.run([os.path.join(build, "tools", "zeGenLibrary"), "--out", lib,
                        "--clones", str(clones), "--seed", "1", "--perfect"], check=True)
    return lib, files


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--work", default="/tmp/ze-library-bench")
    ap.add_argument("--clones", type=int, default=300000)
    ap.add_argument("-j", dest="threads", type=int, default=2)
    ap.add_argument("--check", action="store_true")
    a = ap.parse_args()
    os.makedirs(a.work, exist_ok=True)
    lib, files = library(a.build, a.work, a.clones)
    print("load average before: %.2f %.2f %.2f" % os.getloadavg())
    out = os.path.join(a.work, "pairs-%d.tsv" % a.clones)
    compare = os.path.join(a.build, "compare", "zeCompare")
    t0 = time.perf_counter()
    with open(out, "wb") as sink:
        pid = os.fork()
        if pid == 0:
            os.dup2(sink.fileno(), 1)
            os.execv(compare, [compare, "-j", str(a.threads)] + files)
        _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - t0
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("zeCompare failed")
    with open(out, "rb") as f:
        rows = sum(1 for _ in f) - 1
    n = a.clones
    print("zeCompare -j %d on %d fingerprints (%d pairs): %.1f s wall, %.1f s user, "
          "%.1f s system, %.0f MB peak, %d pairs written" %
          (a.threads, n, n * (n - 1) // 2, wall, usage.ru_utime, usage.ru_stime,
           usage.ru_maxrss / 1024, rows))
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())
    if a.check:
        bench = os.path.join(a.build, "bench", "ze_compare_bench")
        sys.exit(subprocess.run([bench, "--check", lib]).returncode)


if __name__ == "__main__":
    main()
