#!/usr/bin/env python3
"""The map's job script (workflow/scripts/map_batch.py) on its own: the
figures it reads from a contig table, the table of the last build, which
only a build that succeeded replaces and which is left alone when it is
not a regular file, and the write-then-rename it is kept by. A stand-in
for zeContig records its command line and writes the table it is told
to; the workflow tests run the real one."""
import os
import sys
import tempfile
import textwrap
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))), "workflow", "scripts"))
from map_batch import map_figures, n50, run_map  # noqa: E402
from replaced_file import replaced  # noqa: E402

HEADER = "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"

# Writes "built <run>" as the table (-o), records its arguments in
# args-<run>, and fails when told to by the file "fail".
STAND_IN = textwrap.dedent("""\
    #!/bin/sh
    dir=$(dirname "$0")
    run=$(ls "$dir" | grep -c '^args-')
    printf '%s\\n' "$@" > "$dir/args-$run"
    [ -e "$dir/fail" ] && { echo "ERROR: told to fail" >&2; exit 1; }
    while [ $# -gt 0 ]; do
        [ "$1" = -o ] && printf 'built %s\\n' "$run" > "$2"
        shift
    done
    exit 0
""")


class Figures(unittest.TestCase):
    def test_n50_is_the_size_at_which_half_of_the_sum_is_reached(self):
        self.assertEqual(n50([]), 0)
        self.assertEqual(n50([10, 20, 40, 30]), 30)  # 40 + 30 of 100
        self.assertEqual(n50([1, 4, 3]), 4)          # exactly half
        self.assertEqual(n50([2, 3, 2]), 2)          # an odd sum: 3 alone is less than half of 7

    def test_figures_of_a_table_with_gaps_in_its_numbers(self):
        with tempfile.TemporaryDirectory(prefix="zemapfig-") as tmp:
            table = os.path.join(tmp, "contigs.tsv")
            rows = [(4, 0, 12), (4, 5, 40), (4, 30, 38), (9, 0, 20), (9, 3, 25), (12, 0, 30),
                    (12, 2, 22)]
            with open(table, "w") as f:
                f.write(HEADER)
                for i, (contig, left, right) in enumerate(rows):
                    f.write("%d\tc%d\t1\t%d\t%d\t%d\tok\t-\t-\n" % (contig, i, i + 1, left, right))
                f.write("0\tlone\t1\t8\t-\t-\tok\t-\t-\n0\tjoin\t2\t1\t-\t-\tchimeric\t-\t4,9\n")
            # Lengths 40, 25 and 30 (of 95); clones 3, 2 and 2 (of 7).
            self.assertEqual(map_figures(table), {"contigs": 3, "n50_length": 30,
                                                  "n50_clones": 2, "placed": 7,
                                                  "fingerprints": 9})
            with open(table, "a") as f:
                f.write("3\tc\t1\t9\t-\t-\tok\t-\t-\n")
            with self.assertRaisesRegex(ValueError, "line 11 is not a zeContig row"):
                map_figures(table)
            with open(table, "w") as f:
                f.write("clone_a\tclone_b\tshared\n")
            with self.assertRaisesRegex(ValueError, "not a zeContig table"):
                map_figures(table)


class KeptTable(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="zemapjob-")
        self.bin = os.path.join(self.tmp.name, "bin")
        os.mkdir(self.bin)
        self.zecontig = os.path.join(self.bin, "zeContig")
        with open(self.zecontig, "w") as f:
            f.write(STAND_IN)
        os.chmod(self.zecontig, 0o755)
        self.project = os.path.join(self.tmp.name, "gels", "g 1")
        os.makedirs(self.project)
        with open(os.path.join(self.project, "report-summary.tsv"), "w") as f:
            f.write("lanes\t9\ngel_number\t7\n")
        self.state = os.path.join(self.tmp.name, "batch")
        self.folder = os.path.join(self.state, "map")
        os.makedirs(self.folder)
        self.outputs = {key: os.path.join(self.state, name) for key, name in
                        (("table", "contigs.tsv"), ("mtp", "mtp.tsv"), ("gff", "map.gff3"),
                         ("html", "map.html"))}
        self.log = os.path.join(self.folder, "zeContig.log")
        self.previous = os.path.join(self.folder, "previous-contigs.tsv")

    def tearDown(self):
        self.tmp.cleanup()

    def run_map(self, projects=None):
        return run_map(self.zecontig, ["-t", "5"], projects or [self.project], 2, self.outputs,
                       self.folder, self.log)

    def args(self, run):
        with open(os.path.join(self.bin, "args-%d" % run)) as f:
            return f.read().splitlines()

    def test_each_build_reads_the_last_good_ones_table(self):
        self.assertEqual(self.run_map(), 0)
        o = self.outputs
        self.assertEqual(self.args(0), ["-t", "5", "-j", "2", "-o", o["table"], "--mtp", o["mtp"],
                                        "--gff", o["gff"], "--html", o["html"],
                                        os.path.join(self.project, "7.bands")])
        self.assertEqual(read(self.previous), "built 0\n")
        self.assertIn("numbered afresh", read(self.log))

        self.assertEqual(self.run_map(), 0)
        self.assertEqual(self.args(1)[-3:], ["--previous", self.previous,
                                             os.path.join(self.project, "7.bands")])
        self.assertEqual(read(self.previous), "built 1\n")

        # A build that fails leaves the table of the last good one.
        open(os.path.join(self.bin, "fail"), "w").close()
        os.unlink(o["table"])
        self.assertEqual(self.run_map(), 1)
        self.assertEqual(read(self.previous), "built 1\n")
        self.assertTrue(read(self.log).endswith("ERROR: told to fail\n"
                                                "job ended with exit status 1\n"))
        self.assertEqual(sorted(os.listdir(self.folder)), ["previous-contigs.tsv", "zeContig.log"])

    def test_a_link_in_the_tables_place_is_left_alone_and_nothing_runs(self):
        outside = os.path.join(self.tmp.name, "elsewhere.tsv")
        with open(outside, "w") as f:
            f.write("kept\n")
        os.symlink(outside, self.previous)
        self.assertEqual(self.run_map(), 1)
        self.assertEqual(read(self.log), "ERROR: %s is not a regular file; move it away\n"
                         "job ended with exit status 1\n" % self.previous)
        self.assertFalse(os.path.exists(os.path.join(self.bin, "args-0")))
        self.assertEqual(os.readlink(self.previous), outside)
        self.assertEqual(read(outside), "kept\n")

    def test_a_gel_without_its_number_is_one_error_line(self):
        other = os.path.join(self.tmp.name, "gels", "g2")
        os.makedirs(other)
        self.assertEqual(self.run_map([self.project, other]), 1)
        self.assertEqual(read(self.log), "ERROR: no gel number in %s/report-summary.tsv\n"
                         "job ended with exit status 1\n" % other)
        self.assertFalse(os.path.exists(os.path.join(self.bin, "args-0")))


def read(path):
    with open(path) as f:
        return f.read()


class Replaced(unittest.TestCase):
    """The one write-then-rename of the job scripts, which the table of the
    last build is kept by."""

    def test_a_failed_write_leaves_the_old_file_and_no_temporary(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "compare.tsv")
            with open(path, "w") as f:
                f.write("old\n")
            with self.assertRaises(RuntimeError):
                with replaced(path) as out:
                    out.write("half of a new")
                    raise RuntimeError("the job failed")
            with open(path) as f:
                self.assertEqual(f.read(), "old\n")
            self.assertEqual(os.listdir(folder), ["compare.tsv"])
            with replaced(path) as out:
                out.write("new\n")
            with open(path) as f:
                self.assertEqual(f.read(), "new\n")
            self.assertEqual(os.listdir(folder), ["compare.tsv"])
            umask = os.umask(0)
            os.umask(umask)
            self.assertEqual(os.stat(path).st_mode & 0o777, 0o666 & ~umask)


if __name__ == "__main__":
    unittest.main(verbosity=2)
