#!/usr/bin/env python3
"""Quality of a physical map (zeContig's contig table) against the truth of a
simulated library (truth.tsv of tools/zeGenLibrary).

    bench/map_quality.py TRUTH TABLE [--coverage C | --genome-length BP]
                         [--cutoff-pairs PAIRS.tsv [--pairs-clones N]] [--mtp PATH.tsv]

Prints a Markdown header and one row:

- contigs of >= 2 clones, and the number Lander-Waterman expects,
  N e^(-c(1-t)) (1 - e^(-c(1-t))): N clones, coverage c, and t the overlap
  (share of the shorter clone) at which half of the truly overlapping pairs
  pass the build's cutoff. t is measured on PAIRS.tsv, the table zeCompare
  writes at the build's tolerance and cutoff; when zeCompare saw only the
  gels of the first N clones of the truth, say so with --pairs-clones N.
  Without --cutoff-pairs there is no t and no expectation;
- the share of clones in contigs, and the N50 of the contigs' true spans;
- false joins: contigs whose clones lie in more than one separate stretch of
  the genome, and the mean number of such stretches ("parts") per contig;
- order: neighbours in the wrong order, displaced clones (rank off by more
  than 3) and the contigs holding one, and the mean Spearman correlation;
- chimeras: the share of chimeric clones flagged (chimeric or Q, or left
  out of every contig), and the share of the other clones flagged.

With --mtp, zeContig's minimal tiling path table, a second table of the
path's figures over the contigs of >= 2 clones:

- the path's clones against the contigs' clones, in all and the mean of
  each contig's share;
- how much of each contig's true span (its longest stretch, as for the
  false joins) the true places of its path clones cover: the mean share,
  and the contigs under 99%. A chimeric path clone counts with whichever of
  its pieces lies in the stretch;
- the uncovered stretches the path leaves inside the longest stretches,
  and their total length; and the path's weak steps;
- the clones of a greedy path drawn from the truth: over each longest
  stretch, the clones lying in it, from the one reaching furthest from
  its start, each next the one reaching furthest of those starting inside
  the one before (the fewest clones that cover the stretch, each
  overlapping the next), and the path's clones as a multiple of these.

The truth's columns are read by name. A truth with only clone, gel, start
and end is read as free of chimeras, with start // 4000 as each clone's
first fragment. measure() is the same computation for any other caller.
"""
import argparse
import bisect
import math
import sys
from collections import namedtuple

# Where a truth has no fragment column: the generator's mean fragment length.
FRAGMENT_STAND_IN = 4000
# A clone is displaced when its two ranks differ by more than this.
DISPLACED_BY = 3
# A contig's path should cover at least this percentage of its true span.
PATH_COVERS = 99
STATUSES = ("ok", "buried", "Q", "chimeric")
FLAGGED = ("chimeric", "Q")

# second: a chimeric clone's second piece (start2, end2), None for the others.
Clone = namedtuple("Clone", "gel start end chimeric first length second")
Row = namedtuple("Row", "contig clone left right status")
Step = namedtuple("Step", "contig clone left right weak")


class Failure(Exception):
    """Input that cannot be measured; the CLI's one ERROR line."""


# ---------------------------------------------------------------- reading

def _columns(path, header, needed):
    missing = [name for name in needed if name not in header]
    if missing:
        raise Failure("%s: no column %s in the header" % (path, ", ".join(missing)))
    return {name: header.index(name) for name in header}


def _whole(path, number, text):
    try:
        return int(text)
    except ValueError:
        raise Failure("%s line %d: '%s' is not a whole number" % (path, number, text)) from None


def read_truth(path):
    """Clone name -> Clone, in the file's order. Half-open base intervals;
    for a chimeric clone, start/end are its first piece."""
    truth = {}
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        _columns(path, header, ("clone", "start", "end"))
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != len(header):
                raise Failure("%s line %d: %d fields, not %d" % (path, number, len(fields),
                                                                 len(header)))
            row = dict(zip(header, fields))
            start, end = _whole(path, number, row["start"]), _whole(path, number, row["end"])
            if not 0 <= start < end:
                raise Failure("%s line %d: start %d and end %d" % (path, number, start, end))
            chimeric = row.get("chimeric", "0") == "1"
            length, second = end - start, None
            if chimeric:
                second = (_whole(path, number, row["start2"]), _whole(path, number, row["end2"]))
                length += second[1] - second[0]
            if "first_fragment" not in row:
                first = start // FRAGMENT_STAND_IN
            elif row["first_fragment"] == "-":
                first = None  # no whole fragment inside: no place in the order
            else:
                first = _whole(path, number, row["first_fragment"])
            if row["clone"] in truth:
                raise Failure("%s: clone %s twice" % (path, row["clone"]))
            truth[row["clone"]] = Clone(row.get("gel", "-"), start, end, chimeric, first, length,
                                        second)
    return truth


def read_table(path, truth):
    """The contig table's rows; every clone of the truth exactly once."""
    rows = []
    seen = set()
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = _columns(path, header, ("contig", "clone", "left", "right", "status"))
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != len(header):
                raise Failure("%s line %d: %d fields, not %d" % (path, number, len(fields),
                                                                 len(header)))
            contig = _whole(path, number, fields[at["contig"]])
            name, status = fields[at["clone"]], fields[at["status"]]
            if name not in truth:
                raise Failure("%s line %d: clone %s is not in the truth" % (path, number, name))
            if name in seen:
                raise Failure("%s line %d: clone %s twice" % (path, number, name))
            if status not in STATUSES:
                raise Failure("%s line %d: status '%s'" % (path, number, status))
            left = right = None
            if contig != 0:
                left = _whole(path, number, fields[at["left"]])
                right = _whole(path, number, fields[at["right"]])
                if not 0 <= left < right:
                    raise Failure("%s line %d: left %d, right %d" % (path, number, left, right))
            seen.add(name)
            rows.append(Row(contig, name, left, right, status))
    if len(seen) != len(truth):
        absent = next(name for name in truth if name not in seen)
        raise Failure("%s: %d clones of the truth have no row (%s, ...)" %
                      (path, len(truth) - len(seen), absent))
    return rows


def read_path(path, rows):
    """The tiling path table's steps: each clone at most once, and in the
    contig the contig table (its rows) puts it in."""
    contig_of = {row.clone: row.contig for row in rows}
    steps, seen = [], set()
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = _columns(path, header, ("contig", "clone", "left", "right", "weak"))
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != len(header):
                raise Failure("%s line %d: %d fields, not %d" % (path, number, len(fields),
                                                                 len(header)))
            contig = _whole(path, number, fields[at["contig"]])
            name, weak = fields[at["clone"]], fields[at["weak"]]
            if name not in contig_of:
                raise Failure("%s line %d: clone %s is not in the truth" % (path, number, name))
            if name in seen:
                raise Failure("%s line %d: clone %s twice" % (path, number, name))
            if contig == 0 or contig != contig_of[name]:
                raise Failure("%s line %d: clone %s in contig %d, in the table %d" %
                              (path, number, name, contig, contig_of[name]))
            if weak not in ("weak", "-"):
                raise Failure("%s line %d: weak '%s'" % (path, number, weak))
            left = _whole(path, number, fields[at["left"]])
            right = _whole(path, number, fields[at["right"]])
            if not 0 <= left < right:
                raise Failure("%s line %d: left %d, right %d" % (path, number, left, right))
            seen.add(name)
            steps.append(Step(contig, name, left, right, weak == "weak"))
    return steps


def read_pairs(path):
    """The pairs of a zeCompare table, as (smaller name, larger name)."""
    pairs = set()
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        at = _columns(path, header, ("clone1", "clone2"))
        for line in f:
            fields = line.rstrip("\n").split("\t")
            a, b = fields[at["clone1"]], fields[at["clone2"]]
            pairs.add((a, b) if a < b else (b, a))
    return pairs


def gels_of_first(truth, count):
    """The clones on the gels that hold the truth's first `count` clones."""
    gels = {clone.gel for clone, _ in zip(truth.values(), range(count))}
    return {name for name, clone in truth.items() if clone.gel in gels}


# ---------------------------------------------------------------- pieces

def runs(intervals):
    """Separate stretches of half-open intervals: a clone starting before the
    current stretch ends extends it; any other starts a new one."""
    stretches = []
    for start, end in sorted(intervals):
        if stretches and start < stretches[-1][1]:
            stretches[-1][1] = max(stretches[-1][1], end)
        else:
            stretches.append([start, end])
    return stretches


def uncovered(stretch, intervals):
    """The parts of the half-open stretch that no interval covers, in order;
    intervals that touch leave nothing between them."""
    start, end = stretch
    gaps, at = [], start
    for s, e in sorted((max(s, start), min(e, end)) for s, e in intervals
                       if s < end and e > start):
        if s > at:
            gaps.append((at, s))
        at = max(at, e)
    if at < end:
        gaps.append((at, end))
    return gaps


def greedy_cover(stretch, intervals):
    """The fewest of the half-open intervals lying in the stretch that cover
    it, each overlapping the next: from the start, each time the one
    reaching furthest of those starting inside the cover so far (at the
    stretch's start for the first). None when they leave a gap."""
    start, end = stretch
    inside = sorted((s, e) for s, e in intervals if start <= s and e <= end)
    at, count, i = start, 0, 0
    while at < end:
        reach = at
        while i < len(inside) and (inside[i][0] < at or (count == 0 and inside[i][0] == at)):
            reach = max(reach, inside[i][1])
            i += 1
        if reach == at:
            return None
        at, count = reach, count + 1
    return count


def pieces(clone):
    """A clone's true intervals: its one piece, or a chimera's two."""
    return [(clone.start, clone.end)] + ([clone.second] if clone.second else [])


def n50(lengths):
    """The length L such that lengths of at least L make half the total."""
    total, running = sum(lengths), 0
    for length in sorted(lengths, reverse=True):
        running += length
        if 2 * running >= total:
            return length
    return None


def average_ranks(values):
    """1-based ranks; equal values share the mean of their ranks."""
    order = sorted(range(len(values)), key=values.__getitem__)
    ranks = [0.0] * len(values)
    i = 0
    while i < len(order):
        j = i
        while j + 1 < len(order) and values[order[j + 1]] == values[order[i]]:
            j += 1
        for k in range(i, j + 1):
            ranks[order[k]] = (i + j) / 2 + 1
        i = j + 1
    return ranks


def pearson(x, y):
    """None when either list has no spread."""
    mx, my = sum(x) / len(x), sum(y) / len(y)
    sxy = sum((a - mx) * (b - my) for a, b in zip(x, y))
    sxx = sum((a - mx) ** 2 for a in x)
    syy = sum((b - my) ** 2 for b in y)
    if sxx == 0 or syy == 0:
        return None
    return sxy / math.sqrt(sxx * syy)


def theta(truth, passing, compared=None):
    """The overlap share of the shorter clone at which half of the truly
    overlapping pairs of non-chimeric clones pass, and the number of such
    pairs. Pairs are binned by share in 1% bins; theta is interpolated between
    the centres of the last bin below one half and the first at or above it
    (the first bin's centre when that one already passes half). None when
    no bin reaches one half."""
    clones = sorted((c.start, c.end, name) for name, c in truth.items()
                    if not c.chimeric and (compared is None or name in compared))
    starts = [c[0] for c in clones]
    total, passed = [0] * 100, [0] * 100
    for i, (start, end, name) in enumerate(clones):
        # The clones starting at or after this one and before its end.
        for j in range(i + 1, bisect.bisect_left(starts, end, i + 1)):
            start2, end2, name2 = clones[j]
            common = min(end, end2) - start2
            share_bin = min(100 * common // min(end - start, end2 - start2), 99)
            total[share_bin] += 1
            passed[share_bin] += ((name, name2) if name < name2 else (name2, name)) in passing
    below = None  # (centre, fraction) of the last bin under one half
    for b in range(100):
        if total[b] == 0:
            continue
        centre, fraction = (b + 0.5) / 100, passed[b] / total[b]
        if fraction >= 0.5:
            if below is None:
                return centre, sum(total)
            return below[0] + (0.5 - below[1]) / (fraction - below[1]) * (centre - below[0]), \
                sum(total)
        below = (centre, fraction)
    return None, sum(total)


def lander_waterman(clones, coverage, overlap):
    """Expected contigs of >= 2 clones: N e^(-c(1-t)) (1 - e^(-c(1-t)))."""
    e = math.exp(-coverage * (1 - overlap))
    return clones * e * (1 - e)


def contig_order(ordered, truth):
    """Order measures of one contig's ordered clones (already sorted by left,
    right, name): neighbour errors, displaced clones and Spearman (None
    when undefined), with the truth positions oriented to the contig."""
    lefts = [row.left for row in ordered]
    positions = [truth[row.clone].first for row in ordered]
    left_ranks = average_ranks(lefts)
    rho = pearson(left_ranks, average_ranks(positions)) if len(ordered) >= 2 else None
    if rho is not None and rho < 0:
        positions = [-p for p in positions]  # the contig reads the genome backwards
    position_ranks = average_ranks(positions)
    rho = pearson(left_ranks, position_ranks) if rho is not None else None
    errors = sum(1 for i in range(len(ordered) - 1)
                 if lefts[i] != lefts[i + 1] and positions[i] > positions[i + 1])
    displaced = sum(1 for a, b in zip(left_ranks, position_ranks) if abs(a - b) > DISPLACED_BY)
    return errors, displaced, rho


# ---------------------------------------------------------------- measure

def path_figures(truth, big, longest, path):
    """The tiling path's figures over the contigs `big` (number -> rows),
    with each one's longest true stretch (number -> (start, end), absent
    when it has none)."""
    steps = {}
    for step in path:
        steps.setdefault(step.contig, []).append(step)
    m = {"path_clones": sum(len(steps.get(number, [])) for number in big)}
    in_big = sum(len(members) for members in big.values())
    m["path_share"] = m["path_clones"] / in_big if big else None
    m["path_mean"] = (sum(len(steps.get(number, [])) / len(members)
                          for number, members in big.items()) / len(big) if big else None)
    m["weak_steps"] = sum(step.weak for number in big for step in steps.get(number, []))
    shares, below, gaps, gap_length, true_path = [], 0, 0, 0, 0
    for number, (start, end) in longest.items():
        true_path += greedy_cover((start, end), [(truth[r.clone].start, truth[r.clone].end)
                                                 for r in big[number]
                                                 if not truth[r.clone].chimeric])
        holes = uncovered((start, end), [piece for step in steps.get(number, [])
                                         for piece in pieces(truth[step.clone])])
        missing = sum(e - s for s, e in holes)
        shares.append(1 - missing / (end - start))
        below += 100 * (end - start - missing) < PATH_COVERS * (end - start)
        gaps += len(holes)
        gap_length += missing
    m["path_covers"] = sum(shares) / len(shares) if shares else None
    m["path_below"] = below
    m["path_gaps"] = gaps
    m["path_gap_length"] = gap_length
    m["true_path"] = true_path
    m["of_true_path"] = m["path_clones"] / true_path if true_path else None
    return m


def measure(truth, rows, coverage=None, genome_length=None, passing=None, compared=None,
            path=None):
    """Every figure of the map, as a dict (None where undefined). coverage
    wins over genome_length; passing is a set of (name, name) pairs that
    pass the build cutoff among the clones `compared` (default: all); path
    is the tiling path's steps (read_path), whose figures are added when
    given."""
    m = {"clones": len(truth)}
    if coverage is None and genome_length:
        coverage = sum(c.length for c in truth.values()) / genome_length
    m["coverage"] = coverage

    contigs = {}
    for row in rows:
        if row.contig != 0:
            contigs.setdefault(row.contig, []).append(row)
    big = {number: members for number, members in contigs.items() if len(members) >= 2}
    m["contigs"] = len(big)
    m["in_contigs"] = sum(len(members) for members in contigs.values()) / len(truth)

    m["theta"] = m["theta_pairs"] = m["expected"] = None
    if passing is not None:
        m["theta"], m["theta_pairs"] = theta(truth, passing, compared)
        if m["theta"] is not None and coverage is not None:
            m["expected"] = lander_waterman(len(truth), coverage, m["theta"])

    spans, parts, joined = [], 0, 0
    pairs = errors = ordered_total = displaced = with_displaced = 0
    rho_sum = rho_weight = 0
    longest = {}  # contig number -> its longest stretch
    for number, members in big.items():
        # False joins: separate stretches of the genome in one contig.
        stretches = runs((truth[r.clone].start, truth[r.clone].end) for r in members
                         if not truth[r.clone].chimeric)
        parts += len(stretches)
        joined += len(stretches) > 1
        if stretches:
            longest[number] = tuple(max(stretches, key=lambda s: s[1] - s[0]))
        spans.append(max((end - start for start, end in stretches), default=0))
        # Order of the placed, non-chimeric clones against their first fragment.
        ordered = sorted((r for r in members if r.status == "ok" and
                          not truth[r.clone].chimeric and truth[r.clone].first is not None),
                         key=lambda r: (r.left, r.right, r.clone))
        e, d, rho = contig_order(ordered, truth)
        pairs += max(len(ordered) - 1, 0)
        errors += e
        ordered_total += len(ordered)
        displaced += d
        with_displaced += d > 0
        if rho is not None:
            rho_sum += rho * len(ordered)
            rho_weight += len(ordered)
    m["n50"] = n50(spans)
    m["false_joins"] = joined
    m["parts"] = parts / len(big) if big else None
    m["adjacent_errors"] = errors / pairs if pairs else None
    m["displaced"] = displaced / ordered_total if ordered_total else None
    m["contigs_displaced"] = with_displaced / len(big) if big else None
    m["spearman"] = rho_sum / rho_weight if rho_weight else None

    # Chimeras: flagged when marked or kept out of every contig. Other clones:
    # flagged when marked; singletons (out of every contig, unmarked) were
    # never judged and do not count.
    chimeric = flagged = judged = wrongly = 0
    for row in rows:
        marked = row.status in FLAGGED
        if truth[row.clone].chimeric:
            chimeric += 1
            flagged += marked or row.contig == 0
        elif row.contig != 0 or marked:
            judged += 1
            wrongly += marked
    m["chimeras"] = chimeric
    m["chimeras_flagged"] = flagged / chimeric if chimeric else None
    m["others_flagged"] = wrongly / judged if judged else None
    if path is not None:
        m.update(path_figures(truth, big, longest, path))
    return m


# ---------------------------------------------------------------- output

def _share(digits):
    return lambda v: "%.*f%%" % (digits, 100 * v)


# (column title, key, format) of the figures, in the order printed.
COLUMNS = [
    ("contigs >= 2", "contigs", str),
    ("LW expected", "expected", lambda v: "%.0f" % v),
    ("theta", "theta", lambda v: "%.3f" % v),
    ("theta pairs", "theta_pairs", str),
    ("in contigs", "in_contigs", _share(1)),
    ("N50 kb", "n50", lambda v: "%.0f" % (v / 1000)),
    ("false joins", "false_joins", str),
    ("parts/contig", "parts", lambda v: "%.3f" % v),
    ("adjacent errors", "adjacent_errors", _share(2)),
    ("displaced", "displaced", _share(2)),
    ("contigs w/ displaced", "contigs_displaced", _share(1)),
    ("Spearman", "spearman", lambda v: "%.4f" % v),
    ("chimeras flagged", "chimeras_flagged", _share(1)),
    ("others flagged", "others_flagged", _share(2)),
]


# The same of the tiling path's figures, a table of their own.
PATH_COLUMNS = [
    ("path clones", "path_clones", str),
    ("of contigs' clones", "path_share", _share(1)),
    ("per contig", "path_mean", _share(1)),
    ("span covered", "path_covers", _share(2)),
    ("contigs < %d%%" % PATH_COVERS, "path_below", str),
    ("gaps", "path_gaps", str),
    ("gaps kb", "path_gap_length", lambda v: "%.1f" % (v / 1000)),
    ("weak steps", "weak_steps", str),
    ("greedy true path", "true_path", str),
    ("path / true", "of_true_path", lambda v: "%.3f" % v),
]


def header_cells(columns=COLUMNS):
    return [title for title, _, _ in columns]


def row_cells(m, columns=COLUMNS):
    return ["-" if m[key] is None else fmt(m[key]) for _, key, fmt in columns]


def markdown(cells):
    return "| " + " | ".join(cells) + " |"


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("truth", help="truth.tsv of zeGenLibrary")
    ap.add_argument("table", help="zeContig's table")
    ap.add_argument("--coverage", type=float, help="the library's coverage")
    ap.add_argument("--genome-length", type=float,
                    help="coverage = total clone length / this (when --coverage is not given)")
    ap.add_argument("--cutoff-pairs", help="zeCompare's pairs at the build's tolerance and cutoff")
    ap.add_argument("--pairs-clones", type=int,
                    help="the pairs compare only the gels of the truth's first N clones")
    ap.add_argument("--mtp", help="zeContig's tiling path table: its figures too")
    a = ap.parse_args(argv)
    try:
        truth = read_truth(a.truth)
        if not truth:
            raise Failure("%s: no clones" % a.truth)
        rows = read_table(a.table, truth)
        passing = read_pairs(a.cutoff_pairs) if a.cutoff_pairs else None
        compared = gels_of_first(truth, a.pairs_clones) if a.pairs_clones else None
        path = read_path(a.mtp, rows) if a.mtp else None
        m = measure(truth, rows, a.coverage, a.genome_length, passing, compared, path)
    except (Failure, OSError) as e:
        print("ERROR: %s" % e, file=sys.stderr)
        return 1
    print(markdown(header_cells()))
    print(markdown(["---"] * len(COLUMNS)))
    print(markdown(row_cells(m)))
    if path is not None:
        print()
        print(markdown(header_cells(PATH_COLUMNS)))
        print(markdown(["---"] * len(PATH_COLUMNS)))
        print(markdown(row_cells(m, PATH_COLUMNS)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
