#!/usr/bin/env python3
"""The map and the placements of real genomes under many sites, depths and
tolerances: a search for inputs the programs mishandle.

For each genome of the Debian packages ragout-examples (E. coli, H. pylori,
S. aureus, V. cholerae), kleborate-examples (four K. pneumoniae, 57% GC,
xz-compressed: unpacked into the work folder first) and abacas-examples
(S. suis, 41% GC), bowtie-examples (E. coli 536, a pathogenic strain) and
sibelia-examples (S. aureus NCTC 8325) that is installed (--genomes picks
some by a part of their names), each restriction site of --sites and each depth
and tolerance of --runs, writes a library and its draft from the genome
(tools/zeGenLibrary --genome-from --site --draft), builds the map with
every output (map/zeContig --mtp --gff --html) and places the draft on it
(place/zePlace --agp --gff --map-gff --html). A run fails when a program
exits other than 0 (the generator may refuse a genome without the site,
with an ERROR line) or writes a sanitizer report; otherwise its row gives
the contigs, the false joins and the Spearman of bench/map_quality.py
against the truth, and the rows placed. Build with -DZE_SANITIZE=ON for
the reports to mean something.

    bench/real_sweep.py [--build DIR] [--keep DIR] [--sites SITE...]
                        [--runs DEPTH:TOL...] [--seed N] [--genomes NAME...]

A depth is the clones over the genome's length (150 kb clones). The rows
are measurements, not thresholds: a low Spearman is a map to look at.
"""
import argparse
import glob
import lzma
import os
import shutil
import subprocess
import sys

import map_quality
from bench_support import ROOT, work_folder
from place_bench import DOCS

KLEBORATE = "/usr/share/doc/kleborate/examples/data"
# (name, Debian package, FASTA file, length in bp)
GENOMES = [("E. coli", "ragout-examples", DOCS + "/E.Coli/references/MG1655-K12.fasta.gz", 4.64e6),
           ("H. pylori", "ragout-examples", DOCS + "/H.Pylori/references/SJM180.fasta.gz", 1.66e6),
           ("S. aureus", "ragout-examples", DOCS + "/S.Aureus/references/COL.fasta.gz", 2.81e6),
           ("V. cholerae", "ragout-examples", DOCS + "/V.Cholerae/references/H1.fasta.gz", 4.03e6),
           ("K. pneumoniae Kp1084", "kleborate-examples", KLEBORATE + "/Klebs_Kp1084.fna.xz", 5.39e6),
           ("K. pneumoniae HS11286", "kleborate-examples", KLEBORATE + "/Klebs_HS11286.fna.xz", 5.68e6),
           ("K. pneumoniae MGH78578", "kleborate-examples", KLEBORATE + "/MGH78578.fna.xz", 5.69e6),
           ("K. pneumoniae NTUH-K2044", "kleborate-examples", KLEBORATE + "/NTUH-K2044.fna.xz", 5.47e6),
           ("S. suis", "abacas-examples", "/usr/share/doc/abacas-examples/SS_SC84.dna.gz", 2.10e6),
           ("E. coli 536", "bowtie-examples", "/usr/share/doc/bowtie/examples/genomes/NC_008253.fna.gz",
            4.94e6),
           ("S. aureus NCTC 8325", "sibelia-examples",
            "/usr/share/doc/sibelia/examples/C-Sibelia/Staphylococcus_aureus/NCTC8325.fasta.gz", 2.82e6)]
SANITIZER = ("runtime error", "AddressSanitizer", "LeakSanitizer")


def run_logged(command, log):
    """Exit status of command with its output in log, and whether the log
    holds a sanitizer report."""
    with open(log, "w") as f:
        status = subprocess.run(command, stdout=f, stderr=subprocess.STDOUT).returncode
    with open(log, errors="replace") as f:
        text = f.read()
    return status, any(s in text for s in SANITIZER), text.strip().splitlines()[-1:] or [""]


def readable(fasta, work):
    """fasta itself, or its xz-compressed content unpacked once into work
    (the generator reads plain and gzip-compressed files)."""
    if not fasta.endswith(".xz"):
        return fasta
    plain = os.path.join(work, os.path.basename(fasta)[:-3])
    if not os.path.exists(plain):
        with lzma.open(fasta) as f, open(plain + ".part", "wb") as out:
            shutil.copyfileobj(f, out)
        os.replace(plain + ".part", plain)
    return plain


def one_run(a, work, genome, site, depth, tolerance, seed):
    name, fasta, length = genome
    lib = os.path.join(work, "lib")
    clones = max(2, round(depth * length / 150000))
    status, sanitized, last = run_logged(
        [os.path.join(a.build, "tools", "zeGenLibrary"), "--out", lib, "--clones", str(clones),
         "--seed", str(seed), "--genome-from", fasta, "--site", site, "--draft"],
        os.path.join(work, "gen.log"))
    if status != 0 or sanitized:
        return "generator exit %d%s: %s" % (status, ", sanitizer" if sanitized else "", last[0])
    bands = sorted(glob.glob(os.path.join(lib, "*.bands")))
    out = {k: os.path.join(work, k) for k in ("c.tsv", "m.tsv", "m.gff3", "m.html", "p.tsv",
                                              "p.agp", "p.gff3", "p.html")}
    status, sanitized, last = run_logged(
        [os.path.join(a.build, "map", "zeContig"), "-t", str(tolerance), "-o", out["c.tsv"],
         "--mtp", out["m.tsv"], "--gff", out["m.gff3"], "--html", out["m.html"]] + bands,
        os.path.join(work, "contig.log"))
    if status != 0 or sanitized:
        return "FAIL zeContig exit %d%s: %s" % (status, ", sanitizer" if sanitized else "", last[0])
    status, sanitized, last = run_logged(
        [os.path.join(a.build, "place", "zePlace"), "--map", out["c.tsv"], "--site", site,
         "-t", str(tolerance), "-o", out["p.tsv"], "--agp", out["p.agp"], "--gff", out["p.gff3"],
         "--map-gff", out["m.gff3"], "--html", out["p.html"],
         os.path.join(lib, "draft.fasta")] + bands,
        os.path.join(work, "place.log"))
    if status != 0 or sanitized:
        return "FAIL zePlace exit %d%s: %s" % (status, ", sanitizer" if sanitized else "", last[0])
    truth = map_quality.read_truth(os.path.join(lib, "truth.tsv"))
    m = map_quality.measure(truth, map_quality.read_table(out["c.tsv"], truth), coverage=depth)
    with open(out["p.tsv"]) as f:
        placed = sum(1 for line in f.read().splitlines()[1:] if not line.endswith("\tunplaced"))
    spearman = "-" if m["spearman"] is None else "%.4f" % m["spearman"]
    return "%d clones: %d contigs, %d false joins, Spearman %s; %d rows placed" % (
        clones, m["contigs"], m["false_joins"], spearman, placed)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--keep", help="write each run into a folder here and keep it")
    ap.add_argument("--sites", nargs="+", default=["AAGCTT", "GAATTC", "GGATCC", "GATC", "GCGGCCGC"])
    ap.add_argument("--runs", nargs="+", default=["3:7", "10:3", "10:7", "10:15", "40:7"],
                    help="DEPTH:TOL pairs (default 3:7 10:3 10:7 10:15 40:7)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--genomes", nargs="+", metavar="NAME",
                    help="only the genomes whose names hold one of these (say 536 'NCTC 8325')")
    a = ap.parse_args()
    wanted = [g for g in GENOMES if not a.genomes or any(n in g[0] for n in a.genomes)]
    genomes = [g for g in wanted if os.path.exists(g[2])]
    missing = sorted({g[1] for g in wanted if not os.path.exists(g[2])})
    if not genomes:
        sys.exit("ERROR: no genome: apt-get install %s" % " ".join(missing))
    if missing:
        print("(not installed, their genomes left out: %s)" % " ".join(missing))
    runs = []
    for r in a.runs:
        depth, _, tolerance = r.partition(":")
        try:
            runs.append((float(depth), int(tolerance)))
        except ValueError:
            ap.error("a run is DEPTH:TOL, not %r" % r)
    failed = 0
    with work_folder(a.keep, "real-sweep-") as work:
        n = 0
        for name, _, fasta, length in genomes:
            genome = (name, readable(fasta, work), length)
            for site in a.sites:
                for depth, tolerance in runs:
                    n += 1
                    folder = os.path.join(work, "%d" % n)
                    os.makedirs(folder, exist_ok=True)
                    row = one_run(a, folder, genome, site, depth, tolerance, a.seed + n)
                    failed += row.startswith("FAIL")
                    print("%s, %s, %gx, -t %d: %s" % (genome[0], site, depth, tolerance, row),
                          flush=True)
    print("%d runs, %d failed" % (n, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
