#!/usr/bin/env python3
"""How well zePlace puts a draft assembly on the map, against the truth.

Writes a library with its genome and a draft assembly (tools/zeGenLibrary
--draft), builds the map (map/zeContig), places the draft on it
(place/zePlace, with --agp), and measures against truth.tsv and
draft-truth.tsv:

  - each contig's genome span and orientation: a line through its clones'
    centres (contig units against genome bases), fitted again without the
    clones more than 100 kb off it (chimeric clones, misplaced ones); a
    contig whose clones all lie at one place has no line, and a row on it
    is right when its part lies within the clones' genome span (its strand
    is not judged); a
    row's left..right is mapped by the line through the kept clones within
    one clone's span (in units) of it, when there are 3 or more: a long
    contig's units follow the genome only roughly from end to end;
  - a draft piece of at least --least bases (one part: no misjoin) lies in
    a contig when its genome interval lies within the span of the contig's
    well-fitted clones; it is placed right when a placed or split row puts
    it on that contig where the line maps its left..right onto the genome
    overlapping its true interval (within --margin bases);
  - a placed or split row is wrong when that does not hold for the part of
    its sequence that its seq_start..seq_end mostly covers;
  - its strand is right when the part's strand times the contig's
    orientation is the row's;
  - along the AGP, two components in a row are in the wrong order when
    their true genome order runs against the contig's orientation (both
    rows right);
  - a misjoined draft sequence is found when it has split rows;
  - an ambiguous sequence has a right place when one of its rows is right
    (two contigs over one stretch of the genome that the map left apart);
  - chance places: the draft of an unrelated genome (another seed) placed
    on the same map; every row not unplaced is a chance place.

With --real NAME the genome is a real one from a Debian data package
(REAL below; the bench says which package to install when it is absent):
the library comes from its sites (zeGenLibrary --genome-from), and two
drafts are placed on its map: (a) the generator's draft of that genome,
measured against draft-truth.tsv, and (b) the real draft assembly shipped
beside it, whose truth is found here: every 50th 25-mer of each real
contig (either strand) that occurs exactly once in the genome is an
anchor; a contig's strand is its anchors' majority, its part the anchors
on its commonest diagonal (genome position minus contig position, or plus
on the reverse strand, within 1 kb), stretched to the contig's ends. A
contig whose anchors split over diagonals (a misassembly, or the origin of
the circular chromosome) gets one part per diagonal holding at least a
tenth of its anchors; a contig with fewer than 10 anchors has no truth and
counts nowhere. The unrelated draft is the generator's draft of another
species' genome of the same package.

    bench/place_bench.py [--build DIR] [--clones N] [--seed N] [--least BP]
                         [--margin BP] [--keep DIR] [--real NAME] [--strands FILE]
                         [-- zeGenLibrary flags...]

--strands FILE writes every row of the generator's draft whose strand is
judged (sequence, the length of its part, contig, left, right, matched,
fragments, clones, the contig's clones, the row's strand, the true one and
the clones of the contig that truly end among the row's fragments), to
study the wrong ones. A row no clone ends within (none holds some of its
fragments and not all) shows the map nothing of its strand: the bench
counts them among the rows of the generator's draft, and the right
strands of the others.

CPU seconds and peak memory of zeContig and zePlace come from /usr/bin/time.
The figures are measurements, not thresholds; the goals are printed beside.
"""
import collections
import os
import re
import subprocess
import sys
import tempfile

from bench_support import arguments, generate_library, work_folder

TIME = "/usr/bin/time"


def timed(command, stdout=None):
    """Runs a program; (CPU seconds, peak KiB) or (None, None) without /usr/bin/time."""
    prefix, log = [], None
    if os.path.exists(TIME):
        log = tempfile.NamedTemporaryFile(delete=False)
        log.close()
        prefix = [TIME, "-o", log.name, "-f", "%U %S %M"]
    status = subprocess.run(prefix + command, stdout=stdout).returncode
    if status != 0:
        sys.exit(f"{os.path.basename(command[0])} failed with status {status}")
    if not log:
        return None, None
    with open(log.name) as f:
        user, system, peak = f.read().split()[-3:]
    os.unlink(log.name)
    return float(user) + float(system), int(peak)


DOCS = "/usr/share/doc/ragout/examples"
SIBELIA = "/usr/share/doc/sibelia/examples"
# name: (package, genome, real draft or None, unrelated genome)
REAL = {
    "ecoli": ("ragout-examples", DOCS + "/E.Coli/references/MG1655-K12.fasta.gz",
              DOCS + "/E.Coli/mg1655_contigs.fasta.gz", DOCS + "/S.Aureus/references/COL.fasta.gz"),
    "cholerae": ("ragout-examples", DOCS + "/V.Cholerae/references/H1.fasta.gz",
                 DOCS + "/V.Cholerae/h1_contigs.fasta.gz", DOCS + "/S.Aureus/references/COL.fasta.gz"),
    "aureus": ("ragout-examples", DOCS + "/S.Aureus/references/USA300_FPR3757.fasta.gz",
               DOCS + "/S.Aureus/usa300_contigs.fasta.gz", DOCS + "/E.Coli/references/MG1655-K12.fasta.gz"),
    # RN4220 derives from NCTC 8325: its draft is a close strain's, placed
    # on the map of the other.
    "aureus8325": ("sibelia-examples", SIBELIA + "/C-Sibelia/Staphylococcus_aureus/NCTC8325.fasta.gz",
                   SIBELIA + "/C-Sibelia/Staphylococcus_aureus/RN4220.fasta.gz",
                   SIBELIA + "/Sibelia/Helicobacter_pylori/Helicobacter_pylori.fasta.gz"),
    # A HindIII site every 1.1 kb: clones of about 80 bands, crowding the scale.
    "pylori": ("ragout-examples", DOCS + "/H.Pylori/references/SJM180.fasta.gz",
               DOCS + "/H.Pylori/SJM180_contigs.fasta.gz", DOCS + "/E.Coli/references/MG1655-K12.fasta.gz"),
}
K, STEP = 25, 50


def read_fasta(path):
    import gzip
    records, name, chunks = [], None, []
    with (gzip.open(path, "rt") if path.endswith(".gz") else open(path)) as f:
        for line in f:
            if line.startswith(">"):
                if name is not None:
                    records.append((name, "".join(chunks).upper()))
                name, chunks = line[1:].split()[0], []
            else:
                chunks.append(line.strip())
    if name is not None:
        records.append((name, "".join(chunks).upper()))
    return records


def revcomp(s):
    return s.translate(str.maketrans("ACGTN", "TGCAN"))[::-1]


def real_draft_truth(genome_path, draft_path, out_path):
    """draft-truth.tsv of a real draft: its contigs located in the genome
    (records end to end) by unique exact 25-mer anchors; see the docstring."""
    genome = "".join(s for _, s in read_fasta(genome_path))
    contigs = read_fasta(draft_path)
    anchors = {}  # k-mer -> (contig index, position, strand)
    for i, (_, s) in enumerate(contigs):
        for p in range(0, len(s) - K + 1, STEP):
            word = s[p:p + K]
            if "N" in word:
                continue
            anchors.setdefault(word, []).append((i, p, 1))
            anchors.setdefault(revcomp(word), []).append((i, p, -1))
    hits = collections.defaultdict(list)  # word -> genome positions
    for g in range(len(genome) - K + 1):
        word = genome[g:g + K]
        if word in anchors:
            hits[word].append(g)
    per_contig = collections.defaultdict(list)
    for word, places in hits.items():
        owners = anchors[word]
        if len(places) != 1 or len(owners) != 1:
            continue
        i, p, strand = owners[0]
        g = places[0]
        per_contig[i].append((p, g, strand))
    rows = ["sequence\tpart\tseq_start\tseq_end\tgenome_start\tgenome_end\tstrand"]
    located = 0
    for i, (name, s) in enumerate(contigs):
        found = per_contig.get(i, [])
        if len(found) < 10:
            continue
        located += 1
        groups = collections.defaultdict(list)  # (strand, diagonal bin) -> anchors
        for p, g, strand in found:
            diagonal = g - p if strand == 1 else g + p + K
            groups[(strand, diagonal // 1000)].append((p, g, diagonal))
        # Neighbouring bins belong to one diagonal.
        merged = []
        for key in sorted(groups, key=lambda k: -len(groups[k])):
            for m in merged:
                if m[0][0] == key[0] and any(abs(b - key[1]) <= 1 for b in m[1]):
                    m[1].append(key[1])
                    m[2].extend(groups[key])
                    break
            else:
                merged.append([key, [key[1]], list(groups[key])])
        parts = [m for m in merged if len(m[2]) >= len(found) / 10]
        parts.sort(key=lambda m: min(x[0] for x in m[2]))
        for n, (key, _, members) in enumerate(parts):
            strand = key[0]
            diagonal = sorted(x[2] for x in members)[len(members) // 2]
            lo = 0 if n == 0 else min(x[0] for x in members)
            hi = len(s) if n == len(parts) - 1 else max(x[0] for x in members) + K
            if strand == 1:
                g0, g1 = diagonal + lo, diagonal + hi
            else:
                g0, g1 = diagonal - hi, diagonal - lo
            rows.append(f"{name}\t{n + 1}\t{lo}\t{hi}\t{max(0, g0)}\t{min(len(genome), g1)}\t"
                        f"{'+' if strand == 1 else '-'}")
    with open(out_path, "w") as f:
        f.write("\n".join(rows) + "\n")
    multi = sum(1 for r in rows[1:] if r.split("\t")[1] == "2")
    print(f"real draft {os.path.basename(draft_path)}: {len(contigs)} contigs, {located} located "
          f"by unique {K}-mer anchors, {multi} over two or more diagonals")


def cutoff(a):
    return ["-c", a.cutoff] if a.cutoff else []


def rows_of(path):
    with open(path) as f:
        header = f.readline().rstrip("\n").split("\t")
        return [dict(zip(header, line.rstrip("\n").split("\t"))) for line in f if line.strip()]


def fit(points):
    """Least-squares line genome = a + b * unit; (a, b) or None."""
    n = len(points)
    if n < 2:
        return None
    sx = sum(p[0] for p in points)
    sy = sum(p[1] for p in points)
    sxx = sum(p[0] * p[0] for p in points)
    sxy = sum(p[0] * p[1] for p in points)
    spread = n * sxx - sx * sx
    if spread <= 0:
        return None
    b = (n * sxy - sx * sy) / spread
    return (sy - b * sx) / n, b


class Contig:
    def __init__(self, clones):
        points = [((c[0] + c[1]) / 2, (c[2] + c[3]) / 2) for c in clones]
        line = fit(points)
        if line:
            kept = [c for c, p in zip(clones, points)
                    if abs(line[0] + line[1] * p[0] - p[1]) <= 100000]
            line = fit([((c[0] + c[1]) / 2, (c[2] + c[3]) / 2) for c in kept]) or line
            clones = kept or clones
        self.line = line
        self.clones = clones
        self.span = sorted(c[1] - c[0] for c in clones)[len(clones) // 2]
        self.start = min(c[2] for c in clones)
        self.end = max(c[3] for c in clones)
        self.orientation = 1 if line and line[1] > 0 else -1

    def local(self, left, right):
        """The line through the clones near left..right (within a clone's
        span in units), or the contig's: a long contig's units follow the
        genome only roughly along its whole length."""
        near = [((c[0] + c[1]) / 2, (c[2] + c[3]) / 2) for c in self.clones
                if c[1] >= left - self.span and c[0] <= right + self.span]
        return (fit(near) if len(near) >= 3 else None) or self.line

    def genome(self, left, right):
        """The genome interval the line maps left..right onto."""
        a, b = self.local(left, right)
        x, y = a + b * left, a + b * right
        return min(x, y), max(x, y)

    def orientation_at(self, left, right):
        return 1 if self.local(left, right)[1] > 0 else -1


def contigs_of(table, truth):
    where = {r["clone"]: r for r in truth}
    members = collections.defaultdict(list)
    for r in table:
        if r["contig"] == "0":
            continue
        t = where[r["clone"]]
        if t["chimeric"] == "1":
            continue
        members[int(r["contig"])].append((int(r["left"]), int(r["right"]),
                                          int(t["start"]), int(t["end"])))
    return {n: Contig(c) for n, c in members.items() if len(c) >= 2}


def right_place(contigs, row, part, margin):
    contig = contigs.get(int(row["contig"]))
    if not contig:
        return False
    if not contig.line:  # clones all at one place: their span is all there is
        return contig.start - margin < part["genome_end"] and contig.end + margin > part["genome_start"]
    low, high = contig.genome(int(row["left"]), int(row["right"]))
    return low - margin < part["genome_end"] and high + margin > part["genome_start"]


def main():
    ap = arguments(__doc__, clones=4000)
    ap.add_argument("--seed", default="1")
    ap.add_argument("--least", type=int, default=20000)
    ap.add_argument("--margin", type=int, default=50000)
    ap.add_argument("--cutoff", help="zePlace's -c (default: its own)")
    ap.add_argument("--real", choices=sorted(REAL),
                    help="a real genome and draft of a Debian data package")
    ap.add_argument("--strands", metavar="FILE",
                    help="write the rows of the generator's draft whose strand is judged to FILE")
    a = ap.parse_args()
    real = None
    if a.real:
        real = REAL[a.real]
        if not os.path.exists(real[1]):
            sys.exit(f"{real[1]} is missing: install the package {real[0]} (apt-get install {real[0]})")
        a.library_flags = ["--genome-from", real[1]] + a.library_flags
    with work_folder(a.keep, "place-bench.") as work:
        lib = os.path.join(work, "lib")
        bands = generate_library(a.build, lib, ["--clones", str(a.clones), "--seed", a.seed,
                                                "--draft"] + a.library_flags)
        table = os.path.join(work, "contigs.tsv")
        contig_cpu, contig_peak = timed([os.path.join(a.build, "map/zeContig"), "-o", table] + bands)
        placed = os.path.join(work, "placements.tsv")
        agp = os.path.join(work, "map.agp")
        place_cpu, place_peak = timed([os.path.join(a.build, "place/zePlace"), "--map", table,
                                       "--enzyme", "HindIII", "-o", placed, "--agp", agp]
                                      + cutoff(a) + [os.path.join(lib, "draft.fasta")] + bands)
        print("(a) the generator's draft" if real else "the generator's draft")
        report(a, lib, os.path.join(lib, "draft-truth.tsv"), table, placed, agp,
               (contig_cpu, contig_peak, place_cpu, place_peak), strands=a.strands)
        if real and real[2]:
            truth = os.path.join(work, "real-draft-truth.tsv")
            real_draft_truth(real[1], real[2], truth)
            placed = os.path.join(work, "real-placements.tsv")
            agp = os.path.join(work, "real.agp")
            place_cpu, place_peak = timed([os.path.join(a.build, "place/zePlace"), "--map", table,
                                           "--enzyme", "HindIII", "-o", placed, "--agp", agp]
                                          + cutoff(a) + [real[2]] + bands,
                                          stdout=subprocess.DEVNULL)
            print("(b) the real draft")
            report(a, lib, truth, table, placed, agp, (contig_cpu, contig_peak, place_cpu, place_peak),
                   {n: len(q) for n, q in read_fasta(real[2])})
        if real:
            a.library_flags = ["--genome-from", real[3]] + a.library_flags[2:]
        unrelated(a, work, table, bands)


SITE = "AAGCTT"           # HindIII, the enzyme the bench places with
GEL_RANGE = (600, 30000)  # the fragments zeGenLibrary makes bands of, in bp


class CloneEnds:
    """How many clones of a row's contig truly end among the row's fragments
    (hold some of them, not all): with none, the map holds nothing of the
    row's strand."""

    def __init__(self, lib, table, truth):
        self.sequences = dict(read_fasta(os.path.join(lib, "draft.fasta")))
        where = {t["clone"]: t for t in truth}
        self.spans = collections.defaultdict(list)
        for r in table:
            if r["contig"] == "0":
                continue
            t = where[r["clone"]]
            spans = [(int(t["start"]), int(t["end"]))]
            if t["chimeric"] == "1":
                spans.append((int(t["start2"]), int(t["end2"])))
            self.spans[int(r["contig"])].append(spans)

    def count(self, row, where):
        sequence = self.sequences[row["sequence"]]
        start, end = int(row["seq_start"]), int(row["seq_end"])
        sites = [m.start() for m in re.finditer("(?=%s)" % SITE, sequence[start:end])]
        fragments = []
        for a, b in zip(sites, sites[1:]):
            if GEL_RANGE[0] <= b - a <= GEL_RANGE[1]:
                if where["strand"] == "+":
                    g = where["genome_start"] + start + a - where["seq_start"]
                else:
                    g = where["genome_end"] - (start + b - where["seq_start"])
                fragments.append((g, g + b - a))
        ends = 0
        for spans in self.spans[int(row["contig"])]:
            held = sum(any(g0 >= s - 10 and g1 <= e + 10 for s, e in spans) for g0, g1 in fragments)
            ends += 0 < held < len(fragments)
        return ends


def report(a, lib, draft_truth, table, placed, agp, costs, lengths=None, strands=None):
    contigs = contigs_of(rows_of(table), rows_of(os.path.join(lib, "truth.tsv")))
    clone_ends = None if lengths else CloneEnds(lib, rows_of(table), rows_of(os.path.join(lib, "truth.tsv")))
    endless = [0, 0, 0]  # judged rows without a clone end: all, right, given a strand
    parts = collections.defaultdict(list)
    for p in rows_of(draft_truth):
        for key in ("seq_start", "seq_end", "genome_start", "genome_end"):
            p[key] = int(p[key])
        parts[p["sequence"]].append(p)
    rows = rows_of(placed)
    by_sequence = collections.defaultdict(list)
    for r in rows:
        by_sequence[r["sequence"]].append(r)

    def part_of(row):
        s, e = int(row["seq_start"]), int(row["seq_end"])
        if not parts.get(row["sequence"]):
            return None
        return max(parts[row["sequence"]],
                   key=lambda p: min(e, p["seq_end"]) - max(s, p["seq_start"]))

    # Pieces of at least --least bases that lie in a contig.
    lying, right = 0, 0
    by_length = collections.defaultdict(lambda: [0, 0])
    for name, ps in parts.items():
        if len(ps) != 1 or ps[0]["seq_end"] < a.least:
            continue
        p = ps[0]
        home = [n for n, c in contigs.items()
                if c.start <= p["genome_start"] and p["genome_end"] <= c.end]
        if not home:
            continue
        lying += 1
        length_bin = by_length[min(p["seq_end"] // 20000, 4)]
        length_bin[1] += 1
        if any(r["status"] in ("placed", "split") and int(r["contig"]) in home and
               right_place(contigs, r, p, a.margin) for r in by_sequence[name]):
            right += 1
            length_bin[0] += 1
    placed_rows = [r for r in rows if r["status"] in ("placed", "split") and part_of(r)]
    wrong, judged, strand_right, strand_given, good = 0, [], 0, 0, {}
    for r in placed_rows:
        p = part_of(r)
        if p is None:
            continue  # a real contig with no truth
        if not right_place(contigs, r, p, a.margin):
            wrong += 1
            continue
        good[(r["sequence"], r["seq_start"])] = (r, p)
        if not contigs[int(r["contig"])].line:
            continue  # no orientation to judge the strand by
        want = (1 if p["strand"] == "+" else -1) * \
            contigs[int(r["contig"])].orientation_at(int(r["left"]), int(r["right"]))
        right_strand = r["strand"] != "?" and (1 if r["strand"] == "+" else -1) == want
        if r["strand"] != "?":
            strand_given += 1
            strand_right += right_strand
        ends = clone_ends.count(r, p) if clone_ends else "-"
        if ends == 0:
            endless[0] += 1
            endless[1] += right_strand
            endless[2] += r["strand"] != "?"
        judged.append([r["sequence"], int(r["seq_end"]) - int(r["seq_start"]), r["contig"], r["left"], r["right"], r["matched"],
                       r["fragments"], r["clones"], len(contigs[int(r["contig"])].clones), r["strand"],
                       "+" if want > 0 else "-", ends])
    if strands:
        with open(strands, "w") as f:
            f.write("sequence\tlength\tcontig\tleft\tright\tmatched\tfragments\tclones\t"
                    "contig_clones\tstrand\ttrue_strand\tclone_ends\n")
            f.writelines("\t".join(map(str, j)) + "\n" for j in judged)
    pairs, order_errors, last = 0, 0, None
    with open(agp) as f:
        for line in f:
            if line.startswith("#"):
                continue
            col = line.rstrip("\n").split("\t")
            if col[4] != "W":
                continue
            key = (col[5], str(int(col[6]) - 1))
            here = (col[0], good.get(key))
            if last and last[0] == here[0] and last[1] and here[1] and \
                    contigs[int(here[1][0]["contig"])].line:
                pairs += 1
                a_mid = (last[1][1]["genome_start"] + last[1][1]["genome_end"]) / 2
                b_mid = (here[1][1]["genome_start"] + here[1][1]["genome_end"]) / 2
                row = here[1][0]
                orientation = contigs[int(row["contig"])].orientation_at(int(row["left"]), int(row["right"]))
                order_errors += (b_mid - a_mid) * orientation < 0
            last = here
    ambiguous = collections.defaultdict(list)
    for r in rows:
        if r["status"] == "ambiguous":
            ambiguous[r["sequence"]].append(r)
    ambiguous_right = sum(any(part_of(r) and right_place(contigs, r, part_of(r), a.margin) for r in rs)
                          for rs in ambiguous.values())
    misjoined = [n for n, ps in parts.items() if len(ps) > 1]
    lengths = lengths or {n: max(p["seq_end"] for p in ps) for n, ps in parts.items()}
    faults = agp_faults(agp, lengths)
    found = sum(any(r["status"] == "split" for r in by_sequence[n]) for n in misjoined)
    statuses = collections.Counter(r["status"] for r in rows)

    def share(n, d):
        return f"{100 * n / d:.1f}% ({n}/{d})" if d else "- (0/0)"

    contig_cpu, contig_peak, place_cpu, place_peak = costs
    print(f"clones {a.clones}, seed {a.seed}, draft sequences {len(parts)}, "
          f"contigs {len(contigs)}; rows: " +
          ", ".join(f"{k} {v}" for k, v in sorted(statuses.items())))
    print(f"pieces >= {a.least} bp lying in a contig placed right: {share(right, lying)}  (goal >= 90%)")
    print("  by length: " + ", ".join(
        f"{20 * k}-{20 * k + 20} kb {share(*by_length[k])}" if k < 4 else f">= 80 kb {share(*by_length[k])}"
        for k in sorted(by_length)))
    print(f"placed rows wrong:                          {share(wrong, len(placed_rows))}  (goal <= 1%)")
    print(f"right strand of the rows placed right:      {share(strand_right, len(judged))}  (goal >= 95%)")
    print(f"  of those given a strand (not ?):          {share(strand_right, strand_given)}; "
          f"strand given {share(strand_given, len(judged))}")
    if clone_ends:
        given = strand_given - endless[2]
        print(f"  rows no clone of the contig ends within:  {share(endless[0], len(judged))}, "
              f"given a strand {endless[2]}, right {endless[1]}; right strand of the others "
              f"{share(strand_right - endless[1], len(judged) - endless[0])}, of those given one "
              f"{share(strand_right - endless[1], given)}")
    print(f"adjacent order errors along the AGP:        {share(order_errors, pairs)}  (goal <= 5%)")
    print(f"misjoined sequences found split:            {share(found, len(misjoined))}")
    print(f"ambiguous sequences with a right place:     {share(ambiguous_right, len(ambiguous))}")
    print(f"AGP 2.1 faults (columns, part numbers, coordinates, lengths): {faults}")
    if contig_cpu is not None:
        print(f"zeContig {contig_cpu:.2f} s CPU, {contig_peak / 1024:.0f} MB; "
              f"zePlace {place_cpu:.2f} s CPU, {place_peak / 1024:.0f} MB")


def agp_faults(path, lengths):
    """Lines that break AGP 2.1: not 9 columns, parts not numbered from 1 in
    each object, object coordinates not running on from 1, a component
    beyond its sequence or of a length other than its object span."""
    faults, last = 0, {}
    with open(path) as f:
        for line in f:
            if line.startswith("#"):
                continue
            col = line.rstrip("\n").split("\t")
            if len(col) != 9:
                faults += 1
                continue
            part, end = last.get(col[0], (0, 0))
            start, stop = int(col[1]), int(col[2])
            bad = int(col[3]) != part + 1 or start != end + 1 or stop < start
            if col[4] == "W":
                b, e = int(col[6]), int(col[7])
                bad = bad or b < 1 or e > lengths.get(col[5], 0) or e - b != stop - start \
                    or col[8] not in ("+", "-", "?", "na")
            elif col[4] == "N":
                bad = bad or col[5] != str(stop - start + 1) or col[6:] != ["scaffold", "yes", "map"]
            else:
                bad = True
            faults += bad
            last[col[0]] = (int(col[3]), stop)
    return faults


def unrelated(a, work, table, bands):
    other = os.path.join(work, "unrelated")
    generate_library(a.build, other, ["--clones", str(a.clones), "--seed", str(int(a.seed) + 1000),
                                      "--draft"] + a.library_flags)
    placed = os.path.join(work, "unrelated.tsv")
    subprocess.run([os.path.join(a.build, "place/zePlace"), "--map", table, "--enzyme", "HindIII",
                    "-o", placed] + cutoff(a) + [os.path.join(other, "draft.fasta")] + bands,
                   check=True,
                   stderr=subprocess.DEVNULL)
    rows = rows_of(placed)
    names = {r["sequence"] for r in rows}
    chance = {r["sequence"] for r in rows if r["status"] != "unplaced"}
    long_names = {r["sequence"] for r in rows if int(r["seq_end"]) >= a.least}
    print(f"unrelated draft placed by chance:           {100 * len(chance) / len(names):.1f}% "
          f"({len(chance)}/{len(names)}); of those >= {a.least} bp: "
          f"{100 * len(chance & long_names) / max(1, len(long_names)):.1f}% "
          f"({len(chance & long_names)}/{len(long_names)})")


if __name__ == "__main__":
    main()
