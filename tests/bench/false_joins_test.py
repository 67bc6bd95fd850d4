#!/usr/bin/env python3
"""bench/false_joins.py on a hand-made library: a contig joining two places
through a pair of clones that hold copies of one repeat family, a true
contig beside it, and inputs it must refuse."""
import contextlib
import io
import os
import sys
import tempfile
import unittest
from types import SimpleNamespace

sys.dont_write_bytecode = True
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import false_joins  # noqa: E402

TRUTH = ("clone\tgel\tstart\tend\tchimeric\tfirst_fragment\tlast_fragment\t"
         "start2\tend2\tfirst_fragment2\tlast_fragment2\n"
         "A1\t1\t0\t100000\t0\t0\t24\t-\t-\t-\t-\n"
         "A2\t1\t50000\t150000\t0\t12\t36\t-\t-\t-\t-\n"
         "B1\t1\t500000\t600000\t0\t125\t149\t-\t-\t-\t-\n"
         "C1\t1\t900000\t1000000\t0\t225\t249\t-\t-\t-\t-\n"
         "C2\t1\t950000\t1050000\t0\t237\t261\t-\t-\t-\t-\n")
TABLE = ("contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"
         "1\tA1\t1\t1\t0\t25\tok\t-\t-\n"
         "1\tA2\t1\t2\t12\t37\tok\t-\t-\n"
         "1\tB1\t1\t3\t20\t45\tburied\tA2\t-\n"
         "2\tC1\t1\t4\t0\t25\tok\t-\t-\n"
         "2\tC2\t1\t5\t12\t37\tok\t-\t-\n")
PAIRS_HEADER = "clone1\tclone2\tshared\tscore\n"
PAIRS = PAIRS_HEADER + "A1\tA2\t15\t1e-14\nA2\tB1\t18\t3e-13\nC1\tC2\t16\t1e-13\n"
# Family 3 covers the second half of A2 and 60 kb of B1.
REPEATS = "block\tstart\tend\n3\t100000\t150000\n3\t520000\t580000\n"


class FalseJoins(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="zefalsejoins-")

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        path = os.path.join(self.tmp.name, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def run_script(self, pairs=PAIRS, repeats=REPEATS):
        """The command's exit status and outputs, run in this process."""
        args = [self.write("truth.tsv", TRUTH), self.write("contigs.tsv", TABLE),
                self.write("pairs.tsv", pairs)]
        if repeats is not None:
            args += ["--repeats", self.write("repeats.tsv", repeats)]
        out, err = io.StringIO(), io.StringIO()
        with contextlib.redirect_stdout(out), contextlib.redirect_stderr(err):
            status = false_joins.main(args)
        return SimpleNamespace(returncode=status, stdout=out.getvalue(), stderr=err.getvalue())

    def test_the_pair_across_the_stretches_and_its_repeat_shares(self):
        done = self.run_script()
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout.splitlines(), [
            "contig 1: 3 clones; stretches 0:0-150 1:500-600; clones 0:2 1:1",
            "  A2 0 ok 50 kb F3:50% -- B1 1 buried 500 kb F3:60%: 18 shared, score 3e-13",
            "1 false joins; 1 passing pairs across their stretches, 1 of them between clones "
            "lying at least 50% in copies of one family"])

    def test_without_repeats_no_pair_is_on_a_repeat(self):
        done = self.run_script(repeats=None)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("  A2 0 ok 50 kb - -- B1 1 buried 500 kb -: 18 shared", done.stdout)
        self.assertTrue(done.stdout.endswith(", 0 of them between clones lying at least 50% "
                                             "in copies of one family\n"))

    def test_refuses_a_pairs_table_without_scores(self):
        done = self.run_script(pairs="clone1\tclone2\nA1\tA2\n")
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, "")
        self.assertIn("pairs.tsv: no column shared, score in the header", done.stderr)

    def test_refuses_a_short_repeats_row(self):
        done = self.run_script(repeats="block\tstart\tend\n3\t100000\n")
        self.assertEqual(done.returncode, 1)
        self.assertIn("repeats.tsv line 2: 2 fields, not 3", done.stderr)


if __name__ == "__main__":
    unittest.main()
