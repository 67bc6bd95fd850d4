#!/usr/bin/env python3
"""What marker hits do to zeContig's map of a simulated library.

For each seed: writes a library with tools/zeGenLibrary and its marker
hits (markers.tsv: a marker every --spacing bases, --miss of the hits
missed, --false more on random clones, --repeat-probes of the markers
probes of a repeat), and builds the map without markers and with --markers
at each --marker-cutoff. Prints one Markdown row per
build: contigs of >= 2 and of >= 3 clones, the ratio of the first to the
build without markers, false joins, N50 and the order figures of
bench/map_quality.py.

    bench/marker_join_bench.py [--build DIR] [--clones N] [--coverage X]
                               [--seeds N...] [--spacing BP] [--miss SHARE]
                               [--false SHARE] [--repeat-probes SHARE]
                               [--marker-cutoff C...] [--threads N] [--keep DIR]
                               [-- zeGenLibrary flags...]

The figures are measurements, not thresholds.
"""
import os
import subprocess

import map_quality
from bench_support import arguments, generate_library, run, work_folder

COLUMNS = ["seed", "markers", "contigs >= 2", "ratio", "contigs >= 3", "false joins", "N50 kb",
           "adjacent errors", "Spearman", "in contigs", "others flagged", "chimeras flagged"]


def make_library(a, library, seed):
    """The library's directory, written with its marker hits; their path."""
    generate_library(a.build, library,
                     ["--clones", str(a.clones), "--seed", str(seed), "--coverage", str(a.coverage),
                      "--markers", str(a.spacing), "--marker-miss", str(a.miss),
                      "--marker-false", str(a.false_share), "--repeat-probes", str(a.repeat_probes)]
                     + a.library_flags, stdout=subprocess.DEVNULL)
    return os.path.join(library, "markers.tsv")


def measure_build(a, library, truth, table, extra):
    gels = sorted({clone.gel for clone in truth.values()}, key=int)
    run([os.path.join(a.build, "map", "zeContig"), "-j", str(a.threads), "-o", table] + extra +
        [os.path.join(library, "%s.bands" % gel) for gel in gels])
    rows = map_quality.read_table(table, truth)
    sizes = {}
    for row in rows:
        if row.contig:
            sizes[row.contig] = sizes.get(row.contig, 0) + 1
    m = map_quality.measure(truth, rows, coverage=a.coverage)
    m["contigs3"] = sum(size >= 3 for size in sizes.values())
    return m


def cells(seed, which, m, base):
    share = lambda v: "-" if v is None else "%.2f%%" % (100 * v)
    return [str(seed), which, str(m["contigs"]), "%.3f" % (m["contigs"] / base["contigs"]),
            str(m["contigs3"]), str(m["false_joins"]), "%.0f" % (m["n50"] / 1000),
            share(m["adjacent_errors"]), "%.4f" % m["spearman"], share(m["in_contigs"]),
            share(m["others_flagged"]), share(m["chimeras_flagged"])]


def main():
    ap = arguments(__doc__, clones=20000,
                   keep_help="write each library into a folder here and keep it")
    ap.add_argument("--coverage", type=float, default=10)
    ap.add_argument("--seeds", type=int, nargs="+", default=[1, 2])
    ap.add_argument("--spacing", type=int, default=250000)
    ap.add_argument("--miss", type=float, default=0.10)
    ap.add_argument("--false", type=float, default=0.02, dest="false_share")
    ap.add_argument("--repeat-probes", type=float, default=0.02,
                    help="chance that a marker is a repeat probe")
    ap.add_argument("--marker-cutoff", nargs="+", default=[None],
                    help="zeContig's --marker-cutoff (default: its own)")
    ap.add_argument("--threads", type=int, default=2)
    a = ap.parse_args()

    print(map_quality.markdown(COLUMNS))
    print(map_quality.markdown(["---"] * len(COLUMNS)))
    for seed in a.seeds:
        kept = os.path.join(a.keep, "seed%d" % seed) if a.keep else None
        with work_folder(kept, "marker-join-bench.") as work:
            library = os.path.join(work, "library")
            hits = make_library(a, library, seed)
            truth = map_quality.read_truth(os.path.join(library, "truth.tsv"))
            base = measure_build(a, library, truth, os.path.join(work, "plain.tsv"), [])
            print(map_quality.markdown(cells(seed, "none", base, base)), flush=True)
            for cutoff in a.marker_cutoff:
                extra = ["--markers", hits] + (["--marker-cutoff", cutoff] if cutoff else [])
                m = measure_build(a, library, truth, os.path.join(work, "markers.tsv"), extra)
                which = "every %g kb" % (a.spacing / 1000) + (" at %s" % cutoff if cutoff else "")
                print(map_quality.markdown(cells(seed, which, m, base)), flush=True)


if __name__ == "__main__":
    main()
