#!/usr/bin/env python3
"""Marker hits for a simulated library, made from its truth (truth.tsv of
tools/zeGenLibrary), for zeContig --markers.

    bench/marker_hits.py TRUTH OUT [--spacing BP] [--miss SHARE] [--false SHARE]
                         [--repeat-probes N] [--seed N]

Places a marker every --spacing bases (default 250,000) from a random
offset along the genome (its length taken as the furthest clone end). A
marker hits each clone lying over it (either piece of a chimeric clone)
but --miss of them (default 0.10); then false hits, --false of all the
true ones (default 0.02), each a marker and a clone drawn at random.
--repeat-probes N more markers hit each place of the genome: every clone
over any of 20 random points. Writes OUT with the header "clone marker",
one line per hit, markers named M1, M2, ... in genome order and R1, ...
for the repeat probes.
"""
import argparse
import bisect
import random

import map_quality

REPEAT_PROBE_PLACES = 20


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("truth")
    ap.add_argument("out")
    ap.add_argument("--spacing", type=float, default=250000)
    ap.add_argument("--miss", type=float, default=0.10)
    ap.add_argument("--false", type=float, default=0.02, dest="false_share")
    ap.add_argument("--repeat-probes", type=int, default=0)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    rnd = random.Random(a.seed)
    truth = map_quality.read_truth(a.truth)
    names = list(truth)
    # Every piece of every clone, by start.
    pieces = []
    for name, clone in truth.items():
        pieces.append((clone.start, clone.end, name))
        if clone.second:
            pieces.append((clone.second[0], clone.second[1], name))
    pieces.sort()
    starts = [p[0] for p in pieces]
    longest = max(end - start for start, end, _ in pieces)
    genome = max(end for _, end, _ in pieces)

    def over(point):
        low = bisect.bisect_left(starts, point - longest)
        high = bisect.bisect_right(starts, point)
        return {pieces[i][2] for i in range(low, high) if pieces[i][1] > point}

    hits = []
    point, number = rnd.uniform(0, a.spacing), 0
    while point < genome:
        number += 1
        hits += [(name, "M%d" % number) for name in sorted(over(point))
                 if rnd.random() >= a.miss]
        point += a.spacing
    for _ in range(round(a.false_share * len(hits))):
        hits.append((rnd.choice(names), "M%d" % rnd.randint(1, number)))
    for probe in range(1, a.repeat_probes + 1):
        held = set()
        for _ in range(REPEAT_PROBE_PLACES):
            held |= over(rnd.uniform(0, genome))
        hits += [(name, "R%d" % probe) for name in sorted(held)]
    with open(a.out, "w") as f:
        f.write("clone\tmarker\n")
        for name, marker in sorted(set(hits), key=lambda h: (h[1], h[0])):
            f.write("%s\t%s\n" % (name, marker))


if __name__ == "__main__":
    main()
