#!/usr/bin/env python3
"""The map of a circular genome against the map of the same genome laid out
as a line.

    bench/circular_bench.py [--build DIR] [--genome FASTA] [--coverage X]
                            [--seeds N...] [--keep DIR]

A bacterial chromosome is a circle, and a lab's clones run across every
place of it, its origin too. tools/zeGenLibrary lays a genome out as a
line, so the circle is drawn as the genome with its first --wrap bases
again at its end: clones placed there run across the end into the start,
as on the circle (those lying wholly in the repeated stretch double the
coverage there, which is as true to a circle as a deeper stretch). Each
clone's true place is read modulo the genome's length.

For each seed, the line (the genome as it is) and the circle are generated
at the same coverage (150 kb clones) and mapped with map/zeContig; per map:
the contigs of 2 or more clones, the share of the clones in the largest,
and for the contigs of 10 or more clones the least Spearman of their order
against the truth, the truth turned to the place around the circle where
that Spearman is highest (a circle has no first place; for the line the
turn finds its own start), and the share of neighbours in the layout whose
true places step against the contig's direction by more than 20 kb.

The default genome is S. aureus NCTC 8325 of the Debian package
sibelia-examples (one record, 2.82 Mb), else S. aureus COL of
ragout-examples.
"""
import argparse
import collections
import gzip
import os
import sys

import map_quality
from bench_support import ROOT, generate_library, run, work_folder

GENOMES = ["/usr/share/doc/sibelia/examples/C-Sibelia/Staphylococcus_aureus/NCTC8325.fasta.gz",
           "/usr/share/doc/ragout/examples/S.Aureus/references/COL.fasta.gz"]
CLONE_LENGTH = 150000
STEP_BACK = 20000


def read_bases(path):
    with (gzip.open(path, "rt") if path.endswith(".gz") else open(path)) as f:
        return "".join(line.strip() for line in f if not line.startswith(">"))


def write_fasta(path, name, bases):
    with open(path, "w") as f:
        f.write(">%s\n" % name)
        for i in range(0, len(bases), 80):
            f.write(bases[i:i + 80] + "\n")


def turned_spearman(mids, length):
    """The Spearman of the layout order against the true middles, turned to
    the place around the circle where it is highest; and those middles so
    turned."""
    best = None
    for cut in sorted(set(mids)):
        turned = [(m - cut) % length for m in mids]
        rho = map_quality.pearson(map_quality.average_ranks(list(range(len(turned)))),
                                  map_quality.average_ranks(turned))
        if best is None or abs(rho) > abs(best[0]):
            best = (rho, turned)
    return best


def measure(truth_path, table_path, length):
    truth = map_quality.read_truth(truth_path)
    rows = map_quality.read_table(table_path, truth)
    contigs = collections.defaultdict(list)
    for r in rows:
        if r.contig and r.status != "chimeric" and not truth[r.clone].chimeric:
            contigs[r.contig].append(r)
    sizes = [len(c) for c in contigs.values() if len(c) >= 2]
    least, steps, back = None, 0, 0
    for members in contigs.values():
        if len(members) < 10:
            continue
        members.sort(key=lambda r: r.left + r.right)
        mids = [((truth[r.clone].start + truth[r.clone].end) // 2) % length for r in members]
        rho, turned = turned_spearman(mids, length)
        least = abs(rho) if least is None else min(least, abs(rho))
        direction = 1 if rho >= 0 else -1
        steps += len(turned) - 1
        back += sum(1 for a, b in zip(turned, turned[1:]) if (b - a) * direction < -STEP_BACK)
    return {"contigs": len(sizes), "largest": max(sizes) / len(rows) if sizes else 0,
            "spearman": least, "back": back / steps if steps else 0}


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--genome", help="a FASTA file of one circular record (default: see above)")
    ap.add_argument("--coverage", type=float, default=20)
    ap.add_argument("--seeds", type=int, nargs="+", default=list(range(1, 9)))
    ap.add_argument("--wrap", type=int, default=200000,
                    help="bases of the start drawn again at the end (default 200000)")
    ap.add_argument("--keep", help="work in DIR and keep it")
    a = ap.parse_args()
    genome = a.genome or next((g for g in GENOMES if os.path.exists(g)), None)
    if not genome:
        sys.exit("ERROR: no genome: apt-get install sibelia-examples (or give --genome)")
    bases = read_bases(genome)
    length = len(bases)
    if not CLONE_LENGTH < a.wrap < length:
        sys.exit("ERROR: --wrap must lie between a clone's length and the genome's")
    print("%s: %d bases, %gx of %d kb clones, %d bases drawn again for the circle"
          % (os.path.basename(genome), length, a.coverage, CLONE_LENGTH // 1000, a.wrap))
    print("| seed | map | clones | contigs >= 2 | largest's share | least Spearman (turned) | steps back |")
    print("| --- | --- | ---: | ---: | ---: | ---: | ---: |")
    with work_folder(a.keep, "circular-bench.") as work:
        line = os.path.join(work, "line.fasta")
        circle = os.path.join(work, "circle.fasta")
        write_fasta(line, "line", bases)
        write_fasta(circle, "circle", bases + bases[:a.wrap])
        for seed in a.seeds:
            for name, fasta, drawn in (("line", line, length), ("circle", circle, length + a.wrap)):
                clones = round(a.coverage * drawn / CLONE_LENGTH)
                lib = os.path.join(work, "%s-%d" % (name, seed))
                bands = generate_library(a.build, lib, ["--clones", str(clones), "--seed", str(seed),
                                                        "--genome-from", fasta],
                                         stdout=open(os.devnull, "w"))
                table = os.path.join(lib, "contigs.tsv")
                run([os.path.join(a.build, "map", "zeContig"), "-o", table] + bands,
                    stderr=open(os.devnull, "w"))
                m = measure(os.path.join(lib, "truth.tsv"), table, length)
                spearman = "-" if m["spearman"] is None else "%.4f" % m["spearman"]
                print("| %d | %s | %d | %d | %.1f%% | %s | %.2f%% |"
                      % (seed, name, clones, m["contigs"], 100 * m["largest"], spearman,
                         100 * m["back"]))


if __name__ == "__main__":
    main()
