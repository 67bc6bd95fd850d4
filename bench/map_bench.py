#!/usr/bin/env python3
"""Quality, time and memory of zeContig's physical map on simulated libraries.

For each run: writes a library with tools/zeGenLibrary into a work
directory, runs map/zeContig over its bands files (wall time, and peak
memory through /usr/bin/time where there is one; it also writes its
minimal tiling path), runs compare/zeCompare at the same tolerance and
cutoff to measure the overlap at which half of the overlapping pairs pass,
and prints the figures of bench/map_quality.py as one Markdown row. The
tiling path's figures follow as a second table, a row per run.

    bench/map_bench.py [--build DIR] [--clones N] [--seed N] [--coverage X]
                       [--threads N] [--tolerance T] [--cutoff C] [--keep DIR]
                       [--library DIR] [--suite [small]] [-- zeGenLibrary flags...]

--library DIR measures one run on the library already in DIR (its bands
files and truth.tsv, as a run kept by --keep holds in its library folder)
instead of writing one: a change to zeContig measured on the same library
without writing it again. --clones, --seed and the generator's flags must
still describe it (the coverage and the genome length are read from them).

--suite runs 20,000 clones at 10x and at 15x, each --perfect and with the
default errors, 20,000 at 10x with 5% and with 10% of the genome in repeat
families (--repeats 0.05, 0.1), and 300,000 at 10x with errors; --suite
small leaves out the 300,000. Further zeGenLibrary flags after -- apply to
every run.

A library of more than --theta-clones clones (default 60,000) has its pass
rate measured on the gels of its first --theta-clones clones only: the rate
at a given overlap does not depend on the library's size, and all pairs of
300,000 clones take minutes. Fewer than 60,000 leave too few overlapping
pairs per overlap bin (about 100 for 20,000 of 300,000), and the noise pulls
the measured overlap down.

The figures are measurements, not thresholds.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

import map_quality

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# zeCompare's defaults, passed to both programs so that both use the same.
DEFAULT_TOLERANCE = "7"
DEFAULT_CUTOFF = "1e-12"
TIME = "/usr/bin/time"
SUITE = [(20000, 10, ["--perfect"]), (20000, 10, []),
         (20000, 15, ["--perfect"]), (20000, 15, []),
         (20000, 10, ["--repeats", "0.05"]), (20000, 10, ["--repeats", "0.1"]),
         (300000, 10, [])]


class RunFailed(Exception):
    pass


def run(command, stdout=None, name=None):
    """Runs a program to its end; its wall seconds."""
    start = time.perf_counter()
    status = subprocess.run(command, stdout=stdout).returncode
    if status != 0:
        raise RunFailed("%s failed (exit status %d)" %
                        (name or os.path.basename(command[0]), status))
    return time.perf_counter() - start


def run_measured(command, work):
    """Runs a program to its end; its wall seconds and peak memory in MB.
    GNU time forks the program from its own small process: the rusage of a
    child forked from this script would count this script's memory too (the
    high-water mark carries over into the exec)."""
    if not os.access(TIME, os.X_OK):
        return run(command), None
    report = os.path.join(work, "time.txt")
    seconds = run([TIME, "-f", "%M", "-o", report] + command,
                  name=os.path.basename(command[0]))
    with open(report) as f:
        return seconds, int(f.read().split()[-1]) / 1024  # kB


def bands_files(directory, gels):
    return [os.path.join(directory, "%s.bands" % gel) for gel in sorted(gels, key=int)]


def genome_length(flags):
    """The --genome-length among the generator's flags, or None."""
    for i, flag in enumerate(flags):
        if flag.startswith("--genome-length="):
            return float(flag.split("=", 1)[1])
        if flag == "--genome-length" and i + 1 < len(flags):
            return float(flags[i + 1])
    return None


def one_run(a, work, clones, coverage, flags):
    """The cells of one run's row in the map's table and in the path's."""
    library = a.library or os.path.join(work, "library")
    if not a.library:
        run([os.path.join(a.build, "tools", "zeGenLibrary"), "--out", library,
             "--clones", str(clones), "--seed", str(a.seed), "--coverage", str(coverage)] + flags)
    truth = map_quality.read_truth(os.path.join(library, "truth.tsv"))
    gels = {clone.gel for clone in truth.values()}

    table, mtp = os.path.join(work, "contigs.tsv"), os.path.join(work, "mtp.tsv")
    seconds, megabytes = run_measured([os.path.join(a.build, "map", "zeContig"),
                                       "-t", a.tolerance, "-c", a.cutoff, "-j", str(a.threads),
                                       "-o", table, "--mtp", mtp] + bands_files(library, gels),
                                      work)

    compared = None
    if clones > a.theta_clones:
        compared = map_quality.gels_of_first(truth, a.theta_clones)
        gels = {truth[name].gel for name in compared}
    pairs = os.path.join(work, "pairs.tsv")
    with open(pairs, "wb") as sink:
        run([os.path.join(a.build, "compare", "zeCompare"), "-t", a.tolerance, "-c", a.cutoff,
             "-j", str(a.threads)] + bands_files(library, gels), stdout=sink)

    length = genome_length(flags)
    rows = map_quality.read_table(table, truth)
    m = map_quality.measure(truth, rows, coverage=None if length else coverage,
                            genome_length=length, passing=map_quality.read_pairs(pairs),
                            compared=compared, path=map_quality.read_path(mtp, rows))
    which = [str(clones), "%g" % coverage, " ".join(flags) or "defaults"]
    return (which + map_quality.row_cells(m) +
            ["%.1f" % seconds, "-" if megabytes is None else "%.0f" % megabytes],
            which + map_quality.row_cells(m, map_quality.PATH_COLUMNS))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--clones", type=int, help="clones of the one run (default 20000)")
    ap.add_argument("--coverage", type=float, help="coverage of the one run (default 10)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--threads", type=int, default=2, help="-j of zeContig and zeCompare")
    ap.add_argument("--tolerance", default=DEFAULT_TOLERANCE)
    ap.add_argument("--cutoff", default=DEFAULT_CUTOFF)
    ap.add_argument("--theta-clones", type=int, default=60000)
    ap.add_argument("--keep", help="write each run into a folder here and keep it")
    ap.add_argument("--library", help="measure on the library in this folder, not a new one")
    ap.add_argument("--suite", nargs="?", const="full", choices=("full", "small"))
    ap.add_argument("library_flags", nargs="*", help="further zeGenLibrary flags (after --)")
    a = ap.parse_args()
    if a.suite and (a.clones or a.coverage):
        ap.error("--suite sets the clones and the coverage itself")
    if a.suite and a.library:
        ap.error("--library is one library: not with --suite")
    if a.library and not os.path.isfile(os.path.join(a.library, "truth.tsv")):
        ap.error("no truth.tsv in %s" % a.library)
    if a.suite:
        runs = [r for r in SUITE if a.suite == "full" or r[0] <= 20000]
    else:
        runs = [(a.clones or 20000, a.coverage or 10, [])]

    for program in ("tools/zeGenLibrary", "map/zeContig", "compare/zeCompare"):
        if not os.access(os.path.join(a.build, program), os.X_OK):
            print("ERROR: no %s in %s (build it, or give --build)" % (program, a.build),
                  file=sys.stderr)
            return 1
    print("seed %d, tolerance %s, cutoff %s, -j %d; theta of a library of more than %d "
          "clones from the gels of its first %d; load average %.2f %.2f %.2f" %
          ((a.seed, a.tolerance, a.cutoff, a.threads, a.theta_clones, a.theta_clones) +
           os.getloadavg()))
    print(map_quality.markdown(["clones", "coverage", "library"] + map_quality.header_cells() +
                               ["zeContig s", "peak MB"]))
    print(map_quality.markdown(["---"] * (len(map_quality.COLUMNS) + 5)), flush=True)
    path_rows, status = [], 0
    for clones, coverage, flags in runs:
        flags = flags + a.library_flags
        if a.keep:
            # A flag's value may be a path (--genome-from): the folder is
            # one name, its file name standing for it.
            name = "-".join(["%d-%gx" % (clones, coverage)] +
                            [os.path.basename(f.lstrip("-")) for f in flags])
            work = os.path.join(a.keep, name)
            os.makedirs(work, exist_ok=True)
        else:
            work = tempfile.mkdtemp(prefix="ze_map_bench.")
        try:
            cells, path_cells = one_run(a, work, clones, coverage, flags)
            print(map_quality.markdown(cells), flush=True)
            path_rows.append(path_cells)
        except (RunFailed, map_quality.Failure, OSError) as e:
            print("ERROR: %s" % e, file=sys.stderr)
            status = 1
            break
        finally:
            if not a.keep:
                shutil.rmtree(work)
    # The path's figures of the runs done, even when a later one failed.
    if path_rows:
        print()
        print(map_quality.markdown(["clones", "coverage", "library"] +
                                   map_quality.header_cells(map_quality.PATH_COLUMNS)))
        print(map_quality.markdown(["---"] * (len(map_quality.PATH_COLUMNS) + 3)))
        for cells in path_rows:
            print(map_quality.markdown(cells))
    return status


if __name__ == "__main__":
    sys.exit(main())
