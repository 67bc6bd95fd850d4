"""Shared pieces of the workflow tests: small generated gels, one of them
broken, the step, the comparison and the map run by hand as the
yardsticks, the README's batch commands, and the batch summary read back."""
import csv
import os
import random
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "workflow", "scripts"))
sys.dont_write_bytecode = True

# The last name holds a blank: every command line must quote the paths.
GELS = ["g1", "g2", "g3", "g 4"]
BROKEN = "g3"
INPUTS = {"info", "raw-bands", "traces", "norm-fac", "names"}
REPORT_FILES = {"report.html", "report-summary.tsv"}
CORRUPT_NORM_FAC = "NORMFACTORS\n2\n0 100 152\n1 3000 1220\n"


class Programs:
    """zeStep5, zeReport, zeGenProject, zeCompare, zeContig and zePlace of
    the build under test, given as the script's arguments."""

    def __init__(self, argv):
        if len(argv) != 7:
            sys.exit("usage: %s ZESTEP5 ZEREPORT ZEGENPROJECT ZECOMPARE ZECONTIG ZEPLACE"
                     % argv[0])
        (self.zestep5, self.zereport, self.generator, self.zecompare, self.zecontig,
         self.zeplace) = (os.path.abspath(a) for a in argv[1:7])

    def env(self, tmp, **more):
        """The environment with the programs' directories first on PATH,
        ZESTEP (the README's name for the checkout) set, and Snakemake's
        cache inside the test's directory tmp."""
        dirs = [os.path.dirname(p) for p in
                (self.zestep5, self.zereport, self.zecompare, self.zecontig, self.zeplace)]
        env = dict(os.environ, PATH=os.pathsep.join(dirs + [os.environ.get("PATH", "")]),
                   ZESTEP=ROOT, XDG_CACHE_HOME=os.path.join(tmp, "cache"),
                   PYTHONDONTWRITEBYTECODE="1")
        env.update(more)
        return env

    def make_gels(self, tree):
        """Four small gels in tree/gels, the third with a corrupt norm-fac."""
        for i, gel in enumerate(GELS):
            self.generate(os.path.join(tree, "gels", gel), i + 1)
        with open(os.path.join(tree, "gels", BROKEN, "norm-fac"), "w") as f:
            f.write(CORRUPT_NORM_FAC)

    def generate(self, project, seed):
        subprocess.run([self.generator, "--out", project, "--seed", str(seed), "--lanes", "9",
                        "--marker-repeat", "4", "--row-length", "300", "--rows", "4",
                        "--gel-number", str(seed)], check=True, stdout=subprocess.DEVNULL)

    def fix_broken_gel(self, tree):
        self.generate(os.path.join(tree, "gels", BROKEN), GELS.index(BROKEN) + 1)

    def run_by_hand(self, tree, gels):
        """zeStep5 on each gel from tree, with the same relative paths as a batch."""
        for gel in gels:
            subprocess.run([self.zestep5, "gels/" + gel, "map"], cwd=tree, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def copy_tree(source, target):
    shutil.copytree(source, target, symlinks=True)


def step_outputs(project):
    """Relative path -> bytes of every file the step wrote into project. A
    gzip header's modification time (bytes 4 to 7), which gzip copies from
    the picture file it compresses, reads as zero: it says when, not what."""
    files = {}
    for dirpath, _, names in os.walk(project):
        for name in names:
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, project)
            if rel in INPUTS or rel in REPORT_FILES:
                continue
            with open(path, "rb") as f:
                data = f.read()
            if rel.endswith(".gz") and data[:2] == b"\x1f\x8b":
                data = data[:4] + b"\0\0\0\0" + data[8:]
            files[rel] = data
    return files


def readme_command(marker):
    """The one command line of the README's many-gels section, inside a
    code block, that contains marker."""
    with open(os.path.join(ROOT, "README.md")) as f:
        text = f.read()
    section = text[text.index("## Processing many gels"):]
    section = section[: section.index("\n## ", 1)]
    blocks = section.split("```")[1::2]  # the insides of the code blocks
    lines = [line for block in blocks for line in block.splitlines()[1:] if marker in line]
    if len(lines) != 1:
        raise AssertionError("README: %d lines with %r" % (len(lines), marker))
    return lines[0]


def run_shell(command, cwd, env, timeout=300):
    return subprocess.run(["bash", "-c", command], cwd=cwd, env=env, capture_output=True,
                          text=True, timeout=timeout)


def summary_rows(tree):
    with open(os.path.join(tree, "batch", "summary.tsv"), newline="") as f:
        return {row["gel"]: row for row in csv.DictReader(f, delimiter="\t")}


# The comparison of the workflow's tests: every pair, so that the parts
# hold rows to join (the gels' clones differ).
COMPARE_CONFIG = " --config compare_parts=3 compare_cutoff=1"


def bands_files(gels):
    """The bands files of gels as the workflow passes them, in its order."""
    return ["gels/%s/%d.bands" % (g, GELS.index(g) + 1) for g in sorted(gels)]


def whole_comparison(programs, tree, gels, options=("-c", "1")):
    """One zeCompare run over the gels' bands files, as the workflow's
    comparison must read."""
    return subprocess.run([programs.zecompare] + list(options) + bands_files(gels), cwd=tree,
                          check=True, capture_output=True).stdout


def readme_build_bindir(build):
    """The README's bindir for a build tree, with the build at build."""
    with open(os.path.join(ROOT, "README.md")) as f:
        text = f.read()
    start = text.index("`bindir=$ZESTEP/build") + len("`bindir=")
    return text[start: text.index("`", start)].replace("$ZESTEP/build", build)


def compare_table(tree):
    with open(os.path.join(tree, "batch", "compare.tsv"), "rb") as f:
        return f.read()


# The map of the workflow's tests: the small gels' fingerprints form a few
# contigs at this cutoff (none at zeContig's default).
MAP_CONFIG = " map_cutoff=0.1"
MAP_OUTPUTS = ("contigs.tsv", "mtp.tsv", "map.gff3", "map.html")


def whole_map(programs, tree, gels, options=("-c", "0.1"), previous=None):
    """zeContig over the gels' bands files, run by hand as the workflow's
    job must run it: name -> bytes of each output. The page names the
    bands files and the table as given, so the run has the workflow's
    relative paths, in a folder beside tree whose gels/ is tree's."""
    hand = tree + "-map-by-hand"
    os.makedirs(os.path.join(hand, "batch"), exist_ok=True)
    if not os.path.lexists(os.path.join(hand, "gels")):
        os.symlink(os.path.join(tree, "gels"), os.path.join(hand, "gels"))
    paths = [os.path.join("batch", name) for name in MAP_OUTPUTS]
    command = [programs.zecontig] + list(options) + ["-j", "1", "-o", paths[0], "--mtp", paths[1],
                                                     "--gff", paths[2], "--html", paths[3]]
    if previous is not None:
        command += ["--previous", previous]
    subprocess.run(command + bands_files(gels), cwd=hand, check=True, capture_output=True)
    return map_outputs(os.path.join(hand, "batch"))


def map_outputs(folder):
    """name -> bytes of the map's outputs in folder."""
    found = {}
    for name in MAP_OUTPUTS:
        with open(os.path.join(folder, name), "rb") as f:
            found[name] = f.read()
    return found


def contig_numbers(table):
    """The contig numbers of a contig table's bytes, 0 left out."""
    rows = table.decode().splitlines()[1:]
    return sorted({int(row.split("\t")[0]) for row in rows} - {0})


PLACE_OUTPUTS = ("placements.tsv", "map.agp", "chromosomes.tsv", "place.html")


def write_markers(table, folder):
    """Marker hits and a marker map for the map in table (a contig table's
    bytes): each contig's clones, in their order along it, hit by two
    markers, its first half by one and the rest by the other, placed in
    that order on chr1 (odd contigs) or chr2. Returns the two paths."""
    contigs = {}
    for row in table.decode().splitlines()[1:]:
        fields = row.split("\t")
        if fields[0] != "0":
            contigs.setdefault(int(fields[0]), []).append((int(fields[4]), fields[1]))
    hits, positions = ["clone\tmarker\n"], ["marker\tchromosome\tposition\n"]
    for contig, clones in sorted(contigs.items()):
        clones.sort()
        for k, (_, clone) in enumerate(clones):
            hits.append("%s\tm%d%s\n" % (clone, contig, "ab"[2 * k >= len(clones)]))
        for half in "ab":
            positions.append("m%d%s\tchr%d\t%d\n" % (contig, half, 2 - contig % 2,
                                                    100 * contig + (50 if half == "b" else 0)))
    paths = os.path.join(folder, "hits.tsv"), os.path.join(folder, "marker-map.tsv")
    for path, lines in zip(paths, (hits, positions)):
        with open(path, "w") as f:
            f.writelines(lines)
    return paths


def whole_place(programs, tree, gels, options):
    """zePlace with options (the sequences, markers and outputs asked
    for, as files of batch/) over the map in tree's batch/contigs.tsv and
    the gels' bands files, run by hand as the workflow's job must run it,
    in a folder beside tree whose gels/ is tree's: name -> bytes of each
    output."""
    hand = tree + "-place-by-hand"
    os.makedirs(os.path.join(hand, "batch"), exist_ok=True)
    if not os.path.lexists(os.path.join(hand, "gels")):
        os.symlink(os.path.join(tree, "gels"), os.path.join(hand, "gels"))
    shutil.copyfile(os.path.join(tree, "batch", "contigs.tsv"),
                    os.path.join(hand, "batch", "contigs.tsv"))
    for name in PLACE_OUTPUTS:
        if os.path.exists(os.path.join(hand, "batch", name)):
            os.unlink(os.path.join(hand, "batch", name))
    command = [programs.zeplace, "--map", "batch/contigs.tsv"] + list(options)
    subprocess.run(command + bands_files(gels), cwd=hand, check=True, capture_output=True)
    return place_outputs(os.path.join(hand, "batch"))


def place_outputs(folder):
    """name -> bytes of the placement's outputs in folder that exist."""
    found = {}
    for name in PLACE_OUTPUTS:
        path = os.path.join(folder, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                found[name] = f.read()
    return found


def write_sequences(folder):
    """A FASTA file of two random records of 30 kb (HindIII sites about
    every 4 kb), for the placement to cut and match: path."""
    draw = random.Random(7)
    path = os.path.join(folder, "draft.fa")
    with open(path, "w") as f:
        for name in ("piece1", "piece2"):
            bases = "".join(draw.choice("ACGT") for _ in range(30000))
            f.write(">%s\n" % name)
            f.writelines(bases[i:i + 60] + "\n" for i in range(0, len(bases), 60))
    return path
