#!/usr/bin/env python3
"""zePlace at genome scale: its wall time, CPU time and peak memory.

Writes a library with its draft assembly (tools/zeGenLibrary --draft;
by default 300,000 clones of 150 kb at 10x, a 4.5 Gb genome, and a draft
of mean piece 10 kb), builds its map once (map/zeContig -j 2), and times
zePlace on it with /usr/bin/time -v: wall, user + system CPU and the peak
resident memory, with the draft's size and the placement's row counts.
The draft placed is every k-th sequence of the generator's (longest
first), k chosen so that about --draft-bases bases are placed (default
1 Gb: about 100,000 pieces from all along the genome); 0 places it all.

    bench/place_scale.py [--build DIR] [--clones N] [--seed N]
                         [--genome-length BP] [--draft-mean BP] [--draft-bases BP]
                         [--keep DIR] [--library DIR] [-- zeGenLibrary flags...]

--keep DIR works in DIR and keeps the library (DIR/lib) and the map
(DIR/contigs.tsv): a later run with the same DIR reuses both and times
zePlace alone. --library DIR takes a library written before (its bands,
sizes and draft.fasta). The genome itself (genome.fasta) is not needed
and is removed as soon as it is written. Without --keep the work folder
is removed afterwards.

The figures are measurements; the goal (3 minutes on 2 cores) is printed
beside them.
"""
import collections
import os
import re
import shutil
import subprocess
import sys

from bench_support import arguments, run, work_folder

TIME = "/usr/bin/time"
# Room for the genome (removed at once), the draft and its part, the bands
# and sizes files and the map of the default library, with a margin.
SPACE_NEEDED = 12 * 10**9


def bands_of(library):
    return sorted(os.path.join(library, n) for n in os.listdir(library) if n.endswith(".bands"))


def ensure_library(a, library):
    """The library's bands files: the one in `library` when its draft is
    there, else a new one written there."""
    draft = os.path.join(library, "draft.fasta")
    if os.path.isfile(draft) and bands_of(library):
        print(f"library: reusing {library}")
        return bands_of(library)
    free = shutil.disk_usage(os.path.dirname(os.path.abspath(library))).free
    if free < SPACE_NEEDED:
        sys.exit(f"ERROR: {free / 1e9:.1f} GB free beside {library}: the library needs about "
                 f"{SPACE_NEEDED / 1e9:.0f} GB")
    if os.path.isdir(library) and not os.path.islink(library):
        shutil.rmtree(library)
    length = ["--genome-length", "%d" % a.genome_length] if a.genome_length else []
    print(f"library: writing {a.clones} clones ({' '.join(length) or '10x'}), "
          f"draft mean {a.draft_mean:g} bp into {library}", flush=True)
    run([os.path.join(a.build, "tools", "zeGenLibrary"), "--out", library,
         "--clones", str(a.clones), "--seed", a.seed] + length +
        ["--draft", "--draft-mean", "%d" % a.draft_mean] + a.library_flags)
    genome = os.path.join(library, "genome.fasta")
    if os.path.isfile(genome) and not os.path.islink(genome):
        os.unlink(genome)
    return bands_of(library)


def time_v(command, log):
    """Runs command under /usr/bin/time -v; its (wall s, user+sys s, peak KiB)."""
    status = subprocess.run([TIME, "-v", "-o", log] + command).returncode
    if status != 0:
        sys.exit(f"ERROR: {os.path.basename(command[0])} failed (exit status {status})")
    with open(log) as f:
        text = f.read()

    def field(name):
        found = re.search(r"^\s*" + re.escape(name) + r": (.*)$", text, re.M)
        if not found:
            sys.exit(f"ERROR: no '{name}' in /usr/bin/time's report {log}")
        return found.group(1).strip()

    clock = [float(x) for x in field("Elapsed (wall clock) time (h:mm:ss or m:ss)").split(":")]
    wall = sum(x * 60 ** k for k, x in enumerate(reversed(clock)))
    cpu = float(field("User time (seconds)")) + float(field("System time (seconds)"))
    return wall, cpu, int(field("Maximum resident set size (kbytes)"))


def draft_part(library, work, bases):
    """The draft to place: every k-th sequence of draft.fasta, k chosen from
    the lengths in draft-truth.tsv so that about `bases` are kept, written to
    work/draft-part.fasta (the whole draft when bases is 0 or more than it
    holds)."""
    draft = os.path.join(library, "draft.fasta")
    lengths = collections.OrderedDict()
    with open(os.path.join(library, "draft-truth.tsv")) as f:
        next(f)
        for line in f:
            name, _, _, end = line.split("\t")[:4]
            lengths[name] = max(lengths.get(name, 0), int(end))
    total = sum(lengths.values())
    if not bases or bases >= total:
        return draft
    k = max(1, round(total / bases))
    kept = {name for n, name in enumerate(lengths) if n % k == 0}
    part = os.path.join(work, "draft-part.fasta")
    if os.path.isfile(part):
        return part
    with open(draft, "rb") as f, open(part + ".part", "wb") as out:
        keep = False
        for line in f:
            if line.startswith(b">"):
                keep = line[1:].split()[0].decode() in kept
            if keep:
                out.write(line)
    os.rename(part + ".part", part)
    return part


def draft_figures(path):
    """(records, bases) of a FASTA file."""
    records = bases = 0
    with open(path, "rb") as f:
        for line in f:
            if line.startswith(b">"):
                records += 1
            else:
                bases += len(line.rstrip())
    return records, bases


def main():
    ap = arguments(__doc__, clones=300000)
    ap.add_argument("--seed", default="3")
    ap.add_argument("--genome-length", type=float, help="default: from 10x coverage")
    ap.add_argument("--draft-bases", type=float, default=1e9)
    ap.add_argument("--draft-mean", type=float, default=10000)
    ap.add_argument("--library", help="a library written before (bands, sizes, draft.fasta)")
    a = ap.parse_args()
    if not os.access(TIME, os.X_OK):
        sys.exit(f"ERROR: {TIME} is needed (GNU time) for the wall, CPU and memory figures")
    with work_folder(a.keep, "place-scale.") as work:
        library = a.library or os.path.join(work, "lib")
        bands = bands_of(library) if a.library else ensure_library(a, library)
        if not bands or not os.path.isfile(os.path.join(library, "draft.fasta")):
            sys.exit(f"ERROR: {library} holds no bands files or no draft.fasta")
        draft = draft_part(library, work, a.draft_bases)
        table = os.path.join(work, "contigs.tsv")
        if os.path.isfile(table):
            print(f"map: reusing {table}")
        else:
            wall, cpu, peak = time_v([os.path.join(a.build, "map", "zeContig"), "-j", "2",
                                      "-o", table] + bands, os.path.join(work, "zeContig.time"))
            print(f"map: zeContig -j 2 {wall:.0f} s wall, {cpu:.0f} s CPU, {peak / 1024:.0f} MiB")
        placed = os.path.join(work, "placements.tsv")
        wall, cpu, peak = time_v([os.path.join(a.build, "place", "zePlace"), "--map", table,
                                  "--enzyme", "HindIII", "-o", placed, draft] + bands,
                                 os.path.join(work, "zePlace.time"))
        records, bases = draft_figures(draft)
        contigs = set()
        with open(table) as f:
            next(f)
            for line in f:
                contig = line.split("\t", 1)[0]
                if contig != "0":
                    contigs.add(contig)
        statuses = collections.Counter()
        with open(placed) as f:
            next(f)
            for line in f:
                statuses[line.rstrip("\n").rsplit("\t", 1)[-1]] += 1
        print(f"draft: {records} sequences, {bases / 1e9:.3f} Gb; map: {len(bands)} gels, "
              f"{len(contigs)} contigs")
        print("rows: " + ", ".join(f"{k} {v}" for k, v in sorted(statuses.items())))
        print(f"zePlace: {wall:.1f} s wall, {cpu:.1f} s CPU (user + system), "
              f"{peak / 1024:.0f} MiB peak  (goal: at most 180 s on 2 cores)")


if __name__ == "__main__":
    main()
