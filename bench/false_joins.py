#!/usr/bin/env python3
"""The pairs that make each false join of a physical map, against the truth
of a simulated library (tools/zeGenLibrary).

    bench/false_joins.py TRUTH TABLE PAIRS [--repeats REPEATS.tsv]

TRUTH is the generator's truth.tsv, TABLE zeContig's contig table, PAIRS the
table zeCompare writes at the build's tolerance and cutoff (every passing
pair), REPEATS the generator's repeats.tsv (block, start, end of each repeat
copy). For each contig of >= 2 clones whose clones lie in more than one
separate stretch of the genome (a false join, as bench/map_quality.py counts
them), one line: its number, clones, the stretches (kb) and the clones of
each (chimeric clones, which belong to no one stretch, as "x"); then one
line per passing pair between clones of two of its stretches: each clone,
its stretch, status, start (kb) and the share of it lying in copies of each
repeat family ("F7:62%"), and the pair's shared bands and score. The map may
have set some of these pairs aside; the ones left hold the join.

The last line sums up: the false joins, their pairs across stretches, and
how many of those pairs have both clones lying at least half in copies of
one family (a join on a repeat's bands).
"""
import argparse
import sys
from collections import Counter

import map_quality

# A clone lying at least this share in copies of a family is a copy-holding clone.
HOLDS_COPY = 0.5


def read_repeats(path):
    """Each repeat copy as (start, end, family), by start."""
    copies = []
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = map_quality._columns(path, header, ("block", "start", "end"))
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != len(header):
                raise map_quality.Failure("%s line %d: %d fields, not %d" %
                                          (path, number, len(fields), len(header)))
            start = map_quality._whole(path, number, fields[at["start"]])
            end = map_quality._whole(path, number, fields[at["end"]])
            family = map_quality._whole(path, number, fields[at["block"]])
            copies.append((start, end, family))
    return sorted(copies)


def read_passing(path):
    """The pairs of a zeCompare table: clone -> [(other, shared, score)]."""
    partners = {}
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = map_quality._columns(path, header, ("clone1", "clone2", "shared", "score"))
        for line in f:
            fields = line.rstrip("\n").split("\t")
            a, b = fields[at["clone1"]], fields[at["clone2"]]
            pair = (fields[at["shared"]], fields[at["score"]])
            partners.setdefault(a, []).append((b,) + pair)
            partners.setdefault(b, []).append((a,) + pair)
    return partners


def repeat_shares(clone, copies):
    """Family -> the share of the clone's first piece lying in its copies."""
    shares = Counter()
    for start, end, family in copies:
        inside = min(end, clone.end) - max(start, clone.start)
        if inside > 0:
            shares[family] += inside / (clone.end - clone.start)
    return shares


def false_joins(truth, rows, partners, copies):
    """The report's lines, and (false joins, pairs across, pairs on a repeat)."""
    contigs = {}
    for row in rows:
        if row.contig != 0:
            contigs.setdefault(row.contig, []).append(row)
    lines, joined, across, on_repeat = [], 0, 0, 0
    for number in sorted(contigs):
        members = contigs[number]
        stretches = map_quality.runs((truth[r.clone].start, truth[r.clone].end)
                                     for r in members if not truth[r.clone].chimeric)
        if len(members) < 2 or len(stretches) < 2:
            continue
        joined += 1

        def stretch_of(name):
            clone = truth[name]
            if clone.chimeric:
                return "x"
            return next(i for i, (s, e) in enumerate(stretches) if s <= clone.start < e)

        sizes = Counter(stretch_of(r.clone) for r in members)
        lines.append("contig %d: %d clones; stretches %s; clones %s" % (
            number, len(members),
            " ".join("%d:%d-%d" % (i, s // 1000, e // 1000) for i, (s, e) in enumerate(stretches)),
            " ".join("%s:%d" % (k, sizes[k]) for k in sorted(sizes, key=str))))
        status = {r.clone: r.status for r in members}

        def told(name):
            shares = repeat_shares(truth[name], copies)
            return "%s %s %s %d kb %s" % (
                name, stretch_of(name), status[name], truth[name].start // 1000,
                ",".join("F%d:%d%%" % (f, round(100 * shares[f])) for f in sorted(shares)) or "-")

        for row in members:
            a = row.clone
            for b, shared, score in partners.get(a, ()):
                if a < b and b in status and "x" != stretch_of(a) != stretch_of(b) != "x":
                    across += 1
                    sa, sb = repeat_shares(truth[a], copies), repeat_shares(truth[b], copies)
                    if any(sa[f] >= HOLDS_COPY and sb[f] >= HOLDS_COPY for f in sa):
                        on_repeat += 1
                    lines.append("  %s -- %s: %s shared, score %s" % (told(a), told(b), shared,
                                                                      score))
    return lines, (joined, across, on_repeat)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("truth")
    ap.add_argument("table")
    ap.add_argument("pairs")
    ap.add_argument("--repeats", help="the generator's repeats.tsv")
    a = ap.parse_args(argv)
    try:
        truth = map_quality.read_truth(a.truth)
        rows = map_quality.read_table(a.table, truth)
        partners = read_passing(a.pairs)
        copies = read_repeats(a.repeats) if a.repeats else []
    except (map_quality.Failure, OSError) as e:
        print("ERROR: %s" % e, file=sys.stderr)
        return 1
    lines, (joined, across, on_repeat) = false_joins(truth, rows, partners, copies)
    for line in lines:
        print(line)
    print("%d false joins; %d passing pairs across their stretches, %d of them between "
          "clones lying at least %d%% in copies of one family" %
          (joined, across, on_repeat, round(100 * HOLDS_COPY)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
