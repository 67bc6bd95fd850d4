#!/usr/bin/env python3
"""How well zePlace --chromosomes puts the map's contigs on the chromosomes,
against the truth of a simulated library.

Writes a library with chromosomes and markers (tools/zeGenLibrary
--chromosomes --markers), builds the map (map/zeContig), anchors it
(place/zePlace --chromosomes), once from the markers alone and once with
the bands files, whose fingerprints confirm lone hits, and measures each
against truth.tsv and markers-truth.tsv:

  - a contig's true chromosome is that of most of its clones (a chimeric
    clone by its first piece), its true place the median start of those
    clones; a contig is joined across chromosomes when a second chromosome
    holds at least 2 of its clones and a tenth of them;
  - anchored: the share of the clones in contigs of 3 or more clones that
    carry a hit of a marker that is no repeat probe, whose contig is
    anchored (goal: at least 99.5%);
  - wrong chromosome: clones (and contigs) anchored on another chromosome
    than their contig's true one (goal: none);
  - order: per chromosome, Spearman's rho of the output order of the
    contigs anchored on it against their true places (goal: 0.999 or more);
  - strand: of the contigs given a strand whose true orientation is known
    (the sign of the correlation of its clones' left ends with their true
    starts, at least 3 clones on its true chromosome), the share right
    (goal: 99% or more);
  - joined contigs: those joined across chromosomes, by status (goal: each
    a conflict, none anchored), apart those whose markers can show it (each
    chromosome with a marker of its own on 2 or more of the contig's clones
    that lie on it) and the others, which hold no markers of one side. zeContig seldom makes such a join, so a
    copy of the table gets --joins of them by hand (two contigs of 8 or more
    clones on two chromosomes, the second's clones put after the first's
    end), and the bands-file run is measured again on it.

    bench/chromosome_bench.py [--build DIR] [--clones N] [--chromosomes N]
                              [--spacing BP] [--seed N] [--joins N] [--keep DIR]
                              [-- zeGenLibrary flags...]

A simple majority vote (majority_vote below) is measured beside, for
comparison. The figures are measurements, not thresholds; the goals are
printed beside.
"""
import collections
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import map_quality  # noqa: E402
from bench_support import arguments, generate_library, work_folder  # noqa: E402
from place_bench import rows_of  # noqa: E402


def spearman(x, y):
    return map_quality.pearson(map_quality.average_ranks(x), map_quality.average_ranks(y))


def true_contigs(table, truth):
    """contig -> (clone names, chromosome, place, orientation or None, joined)."""
    members = collections.defaultdict(list)
    for r in table:
        if r["contig"] != "0":
            members[int(r["contig"])].append(r)
    contigs = {}
    for number, rows in members.items():
        by_chromosome = collections.Counter(truth[r["clone"]]["chromosome"] for r in rows)
        (chromosome, most), = by_chromosome.most_common(1)
        second = by_chromosome.most_common(2)[1][1] if len(by_chromosome) > 1 else 0
        joined = second >= 2 and second >= len(rows) / 10
        on = [r for r in rows if truth[r["clone"]]["chromosome"] == chromosome]
        starts = sorted(int(truth[r["clone"]]["start"]) for r in on)
        orientation = None
        plain = [r for r in on if truth[r["clone"]]["chimeric"] == "0"]
        if len(plain) >= 3:
            rho = map_quality.pearson([int(r["left"]) for r in plain],
                                      [int(truth[r["clone"]]["start"]) for r in plain])
            if rho is not None and abs(rho) >= 0.5:
                orientation = 1 if rho > 0 else -1
        contigs[number] = ([r["clone"] for r in rows], chromosome, starts[len(starts) // 2],
                           orientation, joined)
    return contigs


def majority_vote(lib, table_path, out_path):
    """The simple rule to compare with, written as zePlace writes its table:
    repeat probes left out as zePlace does, each contig on the chromosome
    of most of its hits, ordered by their mean map position, its strand the
    sign of the correlation of its hit clones' left ends with their markers'
    map positions where two or more markers hit it."""
    place = {r["marker"]: (r["chromosome"], float(r["position"]))
             for r in rows_of(os.path.join(lib, "marker-map.tsv"))}
    table = [r for r in rows_of(table_path) if r["contig"] != "0"]
    row_of = {r["clone"]: r for r in table}
    hits = [r for r in rows_of(os.path.join(lib, "markers.tsv")) if r["marker"] in place]
    per_marker = collections.Counter(r["marker"] for r in hits)
    counts = sorted(per_marker.values())
    most = 3 * counts[len(counts) // 2] + 2
    votes = collections.defaultdict(list)  # contig -> (chromosome, position, clone left)
    for r in hits:
        if r["clone"] in row_of and per_marker[r["marker"]] <= most:
            chromosome, position = place[r["marker"]]
            votes[row_of[r["clone"]]["contig"]].append((chromosome, position,
                                                         int(row_of[r["clone"]]["left"])))
    anchored, rest = [], []
    for contig in sorted({r["contig"] for r in table}, key=int):
        if contig not in votes:
            rest.append(f"{contig}\t-\t-\t-\t.\t0\tunanchored\n")
            continue
        chromosome = collections.Counter(v[0] for v in votes[contig]).most_common(1)[0][0]
        on = [v for v in votes[contig] if v[0] == chromosome]
        positions = [v[1] for v in on]
        strand = "."
        if len({v[1] for v in on}) >= 2:
            rho = spearman([v[2] for v in on], positions)
            strand = "." if not rho else "+" if rho > 0 else "-"
        anchored.append((chromosome, sum(positions) / len(positions),
                         f"{contig}\t{chromosome}\t{min(positions):g}\t{max(positions):g}\t{strand}"
                         f"\t{len(set(positions))}\tanchored\n"))
    with open(out_path, "w") as f:
        f.write("contig\tchromosome\tstart\tend\tstrand\tmarkers\tstatus\n")
        f.write("".join(line for _, _, line in sorted(anchored)) + "".join(rest))


def join_across(table_path, truth_path, out_path, count, seed):
    """A copy of the table with `count` false joins made by hand: pairs of
    contigs of 8 or more clones on two chromosomes, the second's clones put
    after the first's end."""
    truth = {r["clone"]: r for r in rows_of(truth_path)}
    with open(table_path) as f:
        header, lines = f.readline(), [line.rstrip("\n").split("\t") for line in f if line.strip()]
    members = collections.defaultdict(list)
    for fields in lines:
        members[fields[0]].append(fields)
    def chromosome(c):
        return collections.Counter(truth[r[1]]["chromosome"] for r in members[c]).most_common(1)[0][0]
    big = sorted(c for c, rows in members.items() if c != "0" and len(rows) >= 8)
    random.Random(seed).shuffle(big)
    joined = 0
    while joined < count and len(big) >= 2:
        first, second = big.pop(), big.pop()
        if chromosome(first) == chromosome(second):
            continue
        end = max(int(r[5]) for r in members[first])
        for r in members[second]:
            r[0], r[4], r[5] = first, str(int(r[4]) + end), str(int(r[5]) + end)
        joined += 1
    with open(out_path, "w") as f:
        f.write(header + "".join("\t".join(fields) + "\n" for fields in lines))
    return joined


def measure(lib, table_path, chromosomes_path):
    truth = {r["clone"]: r for r in rows_of(os.path.join(lib, "truth.tsv"))}
    repeat = {r["marker"] for r in rows_of(os.path.join(lib, "markers-truth.tsv"))
              if r["repeat_probe"] == "1"}
    hit = {r["clone"] for r in rows_of(os.path.join(lib, "markers.tsv")) if r["marker"] not in repeat}
    contigs = true_contigs(rows_of(table_path), truth)
    out = rows_of(chromosomes_path)
    status = {int(r["contig"]): r for r in out}
    if set(status) != set(contigs):
        sys.exit(f"{chromosomes_path}: {len(status)} contigs, the table has {len(contigs)}")

    carrying = [n for n, c in contigs.items() if len(c[0]) >= 3 and any(x in hit for x in c[0])]
    clones_carrying = sum(len(contigs[n][0]) for n in carrying)
    anchored_carrying = sum(len(contigs[n][0]) for n in carrying if status[n]["status"] == "anchored")
    anchored = [n for n, r in status.items() if r["status"] == "anchored"]
    wrong = [n for n in anchored if status[n]["chromosome"] != contigs[n][1]]
    print(f"contigs {len(contigs)}: anchored {len(anchored)}, "
          f"conflict {sum(r['status'] == 'conflict' for r in out)}, "
          f"unanchored {sum(r['status'] == 'unanchored' for r in out)}")
    print(f"clones in contigs of 3+ clones with a hit: {clones_carrying}, on anchored contigs "
          f"{100 * anchored_carrying / max(1, clones_carrying):.2f}% (goal >= 99.5%)")
    print(f"anchored on a wrong chromosome: {len(wrong)} contigs, "
          f"{sum(len(contigs[n][0]) for n in wrong)} clones (goal 0)")
    rhos = []
    for chromosome in sorted({r["chromosome"] for r in out if r["status"] == "anchored"}):
        order = [int(r["contig"]) for r in out
                 if r["status"] == "anchored" and r["chromosome"] == chromosome
                 and contigs[int(r["contig"])][1] == chromosome]
        if len(order) >= 2:
            rho = spearman(list(range(len(order))), [contigs[n][2] for n in order])
            rhos.append((chromosome, len(order), rho))
    print("order along the chromosomes, Spearman (goal >= 0.999): " +
          ", ".join(f"{c} {rho:.5f} ({n} contigs)" for c, n, rho in rhos))
    stranded = [n for n in anchored if status[n]["strand"] in "+-" and contigs[n][3] is not None
                and n not in wrong]
    right = sum((status[n]["strand"] == "+") == (contigs[n][3] > 0) for n in stranded)
    given = sum(status[n]["strand"] in "+-" for n in anchored)
    print(f"strand given: {given} of {len(anchored)} anchored contigs; right {right} of {len(stranded)} "
          f"with a known orientation, {100 * right / max(1, len(stranded)):.2f}% (goal >= 99%)")
    # A join the markers can show: two chromosomes each with a marker of its
    # own on two or more of the contig's clones that lie on it.
    chromosome_of = {r["marker"]: r["chromosome"] for r in rows_of(os.path.join(lib, "markers-truth.tsv"))}
    hits_of = collections.defaultdict(list)
    for r in rows_of(os.path.join(lib, "markers.tsv")):
        if r["marker"] not in repeat:
            hits_of[r["clone"]].append(r["marker"])

    def shown(n):
        carried = collections.Counter((truth[x]["chromosome"], m) for x in contigs[n][0]
                                      for m in hits_of[x] if chromosome_of[m] == truth[x]["chromosome"])
        return len({chromosome for (chromosome, _), k in carried.items() if k >= 2}) >= 2

    joined = [n for n, c in contigs.items() if c[4]]
    for title, which, goal in (("with shared markers of both", [n for n in joined if shown(n)],
                                " (goal: all conflict)"),
                               ("without", [n for n in joined if not shown(n)], "")):
        by = collections.Counter(status[n]["status"] for n in which)
        print(f"contigs joined across chromosomes, {title}: {len(which)}: " +
              ", ".join(f"{k} {v}" for k, v in sorted(by.items())) + goal)
    unanchored_big = sorted(((len(contigs[n][0]), n) for n in carrying
                             if status[n]["status"] != "anchored"), reverse=True)[:8]
    if unanchored_big:
        print("largest not anchored (clones, contig, status): " +
              ", ".join(f"{k} {n} {status[n]['status']}" for k, n in unanchored_big))


def place_on_chromosomes(build, lib, table, out, bands):
    """zePlace --chromosomes on the table with the library's marker files."""
    subprocess.run([os.path.join(build, "place/zePlace"), "--map", table, "--markers",
                    os.path.join(lib, "markers.tsv"), "--marker-map",
                    os.path.join(lib, "marker-map.tsv"), "--chromosomes", out] + bands,
                   check=True, stderr=subprocess.DEVNULL)


def main():
    ap = arguments(__doc__, clones=20000)
    ap.add_argument("--chromosomes", type=int, default=5)
    ap.add_argument("--spacing", default="250000")
    ap.add_argument("--seed", default="1")
    ap.add_argument("--joins", type=int, default=20,
                    help="false joins across chromosomes made by hand in a copy of the table")
    a = ap.parse_args()
    with work_folder(a.keep, "chromosome-bench.") as work:
        lib = os.path.join(work, "lib")
        bands = generate_library(a.build, lib, ["--clones", str(a.clones), "--seed", a.seed,
                                                "--chromosomes", str(a.chromosomes),
                                                "--markers", a.spacing] + a.library_flags)
        table = os.path.join(work, "contigs.tsv")
        subprocess.run([os.path.join(a.build, "map/zeContig"), "-o", table] + bands, check=True)
        print(f"{a.clones} clones, {a.chromosomes} chromosomes, a marker every {a.spacing} bases, "
              f"seed {a.seed} {' '.join(a.library_flags)}")
        for title, prints in (("markers alone", []), ("with the bands files", bands)):
            placed = os.path.join(work, "chromosomes.tsv")
            place_on_chromosomes(a.build, lib, table, placed, prints)
            print(f"-- {title}")
            measure(lib, table, placed)
        vote = os.path.join(work, "vote.tsv")
        majority_vote(lib, table, vote)
        print("-- a simple majority vote, for comparison")
        measure(lib, table, vote)
        if a.joins:
            joined = os.path.join(work, "joined.tsv")
            made = join_across(table, os.path.join(lib, "truth.tsv"), joined, a.joins, a.seed)
            place_on_chromosomes(a.build, lib, joined, placed, bands)
            print(f"-- with the bands files, on the table with {made} false joins across chromosomes "
                  "made by hand")
            measure(lib, joined, placed)


if __name__ == "__main__":
    main()
