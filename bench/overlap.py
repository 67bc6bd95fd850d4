#!/usr/bin/env python3
"""Overlap detection of zeCompare on a simulated clone library.

Writes a library with tools/zeGenLibrary (20,000 clones by default), runs
zeCompare over its bands files at each tolerance (default cutoff unless
--cutoff is given) and compares the reported pairs with the truth table:

- the share of the pairs overlapping by at least 50% of the shorter clone
  that are reported, and the same at 30%;
- the number of reported pairs that do not overlap at all.

    bench/overlap.py [--build DIR] [--clones N] [--seed N] [--tolerances 3,5,7]
                     [--cutoff C] [--keep DIR] [-- zeGenLibrary flags...]

The library is generated with --perfect, without the errors of a real
library, so that every overlap in the truth is one the bands can show.
zeGenLibrary flags after -- still apply, error flags among them; the truth
read here is then each clone's first piece only.

Prints one Markdown table row per tolerance. The figures are measurements,
not thresholds.
"""
import bisect
import os
import subprocess
import sys
import time

from bench_support import arguments, work_folder


def read_truth(path):
    clones = {}
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = {name: header.index(name) for name in ("clone", "start", "end")}
        for line in f:
            fields = line.rstrip("\n").split("\t")
            clones[fields[at["clone"]]] = (int(fields[at["start"]]), int(fields[at["end"]]))
    return clones


def overlap_share(a, b):
    """Overlap as a share of the shorter clone (0 when disjoint)."""
    common = min(a[1], b[1]) - max(a[0], b[0])
    return max(0, common) / min(a[1] - a[0], b[1] - b[0])


def overlapping_pairs(clones, least):
    """Every pair of clones overlapping by at least `least` of the shorter."""
    order = sorted(clones.items(), key=lambda kv: kv[1][0])
    starts = [iv[0] for _, iv in order]
    pairs = set()
    for i, (name, iv) in enumerate(order):
        last = bisect.bisect_left(starts, iv[1])  # clones starting before this one ends
        for j in range(i + 1, last):
            other, jv = order[j]
            if overlap_share(iv, jv) >= least:
                pairs.add(frozenset((name, other)))
    return pairs


def reported_pairs(table):
    lines = table.splitlines()
    header = lines[0].split("\t")
    first, second = header.index("clone1"), header.index("clone2")
    pairs = set()
    for line in lines[1:]:
        fields = line.split("\t")
        pairs.add(frozenset((fields[first], fields[second])))
    return pairs


def main():
    parser = arguments(__doc__, clones=20000, keep_help="write the library here and keep it")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--tolerances", default="3,5,7")
    parser.add_argument("--cutoff", help="zeCompare -c (default: its own default)")
    args = parser.parse_args()

    generator = os.path.join(args.build, "tools", "zeGenLibrary")
    compare = os.path.join(args.build, "compare", "zeCompare")
    with work_folder(args.keep, "ze_overlap.") as work:
        subprocess.run([generator, "--out", work, "--clones", str(args.clones),
                        "--seed", str(args.seed), "--perfect"] + args.library_flags, check=True)
        clones = read_truth(os.path.join(work, "truth.tsv"))
        files = sorted((f for f in os.listdir(work) if f.endswith(".bands")),
                       key=lambda f: int(f.split(".")[0]))
        half, third = overlapping_pairs(clones, 0.5), overlapping_pairs(clones, 0.3)
        print(f"{len(clones)} clones, seed {args.seed}; {len(half)} pairs overlap by >= 50% "
              f"of the shorter clone, {len(third)} by >= 30%")
        print("| tolerance | pairs reported | >= 50% overlap found | >= 30% overlap found "
              "| reported, no overlap | seconds |")
        print("|---|---|---|---|---|---|")
        for tolerance in args.tolerances.split(","):
            command = [compare, "-t", tolerance]
            if args.cutoff:
                command += ["-c", args.cutoff]
            start = time.perf_counter()
            table = subprocess.run(command + [os.path.join(work, f) for f in files],
                                   check=True, capture_output=True, text=True).stdout
            seconds = time.perf_counter() - start
            reported = reported_pairs(table)
            disjoint = sum(1 for p in reported if overlap_share(*(clones[c] for c in p)) == 0)
            print(f"| {tolerance} | {len(reported)} | {len(reported & half) / len(half):.1%} "
                  f"| {len(reported & third) / len(third):.1%} | {disjoint} | {seconds:.1f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
