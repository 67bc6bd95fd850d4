#!/usr/bin/env python3
"""Where the tiling path loses cover, on a run kept by bench/map_bench.py --keep.

    bench/mtp_loss.py RUN_DIR [--show N] [--name NAME]

For each contig of >= 2 clones whose path covers under 99% of its true span
(map_quality.py's measure): each uncovered stretch, whether it lies at the
contig's left end, its right end (in the contig's own orientation) or
inside, and the contig's clones that truly cover it: their status, their
place in the layout, whether they are on the path; for a stretch inside,
the path's clones either side of it. The first N such contigs in detail,
then the stretches counted by place, by the statuses of their true
coverers and by how many of these there are (a stretch at an end that one
clone alone covers can be told only by that clone's own bands), the bases
lost at each place, and the path's steps between clones that do not truly
overlap.
"""
import argparse
import collections
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import map_quality  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("run")
    ap.add_argument("--show", type=int, default=10)
    ap.add_argument("--name", default="contigs", help="the table NAME.tsv, its path NAME.mtp.tsv"
                    " (map_bench's own: contigs, mtp)")
    ap.add_argument("--path", help="the path table to read, in RUN (default: by --name)")
    a = ap.parse_args()
    truth = map_quality.read_truth(os.path.join(a.run, "library", "truth.tsv"))
    rows = map_quality.read_table(os.path.join(a.run, a.name + ".tsv"), truth)
    path = map_quality.read_path(os.path.join(a.run, a.path or ("mtp.tsv" if a.name == "contigs" else a.name + ".mtp.tsv")), rows)
    contigs = collections.defaultdict(list)
    for r in rows:
        if r.contig:
            contigs[r.contig].append(r)
    on_path = collections.defaultdict(set)
    for s in path:
        on_path[s.contig].add(s.clone)
    causes = collections.Counter()
    lost = collections.Counter()
    shown = 0
    for number, members in sorted(contigs.items()):
        if len(members) < 2:
            continue
        stretches = map_quality.runs((truth[r.clone].start, truth[r.clone].end)
                                     for r in members if not truth[r.clone].chimeric)
        if not stretches:
            continue
        start, end = max(stretches, key=lambda s: s[1] - s[0])
        steps = [s for s in path if s.contig == number]
        holes = map_quality.uncovered((start, end), [p for s in steps
                                                     for p in map_quality.pieces(truth[s.clone])])
        missing = sum(e - s for s, e in holes)
        if 100 * (end - start - missing) >= 99 * (end - start):
            continue
        # Orientation: the layout's left against the true start.
        ok = [r for r in members if not truth[r.clone].chimeric]
        xs = [r.left for r in ok]
        ys = [truth[r.clone].start for r in ok]
        mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
        forward = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) >= 0
        lo = min(r.left for r in members)
        hi = max(r.right for r in members)
        for hs, he in holes:
            if hs == start:
                where = "left" if forward else "right"
            elif he == end:
                where = "right" if forward else "left"
            else:
                where = "inside"
            cover = [r for r in members if not truth[r.clone].chimeric and
                     truth[r.clone].start < he and truth[r.clone].end > hs]
            statuses = "/".join(sorted({r.status for r in cover}))
            # How far the best coverer's layout end lies from the contig's end.
            if where == "inside":
                key = "inside"
            else:
                gaps = [(hi - r.right) if where == "right" else (r.left - lo) for r in cover]
                key = "%s end, cover %s, layout end short by %s" % (
                    where, statuses, min(gaps))
            causes["%s, %s, %s coverer%s" % (where, statuses, min(len(cover), 3) if len(cover) < 3
                                             else "3+", "" if len(cover) == 1 else "s")] += 1
            lost[where] += he - hs
            if shown < a.show:
                print("contig %d (%d clones, span %d-%d, %s): hole %d-%d (%d bp) %s" %
                      (number, len(members), start, end, "forward" if forward else "reverse",
                       hs, he, he - hs, key))
                for r in sorted(cover, key=lambda r: truth[r.clone].start):
                    t = truth[r.clone]
                    print("   %s %s true %d-%d layout %d-%d (contig %d-%d) %s" %
                          (r.clone, r.status, t.start, t.end, r.left, r.right, lo, hi,
                           "PATH" if r.clone in on_path[number] else ""))
                if where == "inside":
                    # The path's clones either side of the hole, and the step between.
                    for k, s in enumerate(steps):
                        t = truth[s.clone]
                        if t.end == hs or t.start == he or (t.second and hs in t.second):
                            print("   path #%d %s true %d-%d layout %d-%d %s" %
                                  (k, s.clone, t.start, t.end, s.left, s.right,
                                   "weak" if s.weak else ""))
                near = [s for s in steps]
                ends = [s.clone for s in near[:1] + near[-1:]]
                for c in ends:
                    t = truth[c]
                    rr = next(r for r in members if r.clone == c)
                    print("   path end %s %s true %d-%d layout %d-%d" %
                          (c, rr.status, t.start, t.end, rr.left, rr.right))
        if shown < a.show:
            shown += 1
            print()
    print("holes by place and the statuses of their true coverers:")
    for k, v in causes.most_common():
        print("  %5d  %s" % (v, k))
    print("bases lost:", dict(lost))
    apart = 0
    for number, members in contigs.items():
        steps = [s for s in path if s.contig == number]
        for a, b in zip(steps, steps[1:]):
            apart += all(min(x[1], y[1]) <= max(x[0], y[0])
                         for x in map_quality.pieces(truth[a.clone])
                         for y in map_quality.pieces(truth[b.clone]))
    print("path steps between clones that do not truly overlap: %d of %d" %
          (apart, len(path) - len({s.contig for s in path})))
    return 0


if __name__ == "__main__":
    sys.exit(main())
