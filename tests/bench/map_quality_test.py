#!/usr/bin/env python3
"""The map benchmark's figures (bench/map_quality.py) on hand-made truths and
contig tables whose values are worked out by hand: a false join, touching
clones, order errors with ties, a reversed contig, displaced clones, chimera
flags, the overlap at which half of the pairs pass and the tiling path's
cover and gaps; and the command on the generator's older four-column truth,
on a path at the edge of 99% and on tables it must refuse. Every case also
checks that the demo's scripts/map-against-truth.sh, which computes the map's
figures without Python, gives the same ones."""
import math
import os
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BENCH = os.path.join(ROOT, "bench")
AGAINST_TRUTH = os.path.join(ROOT, "scripts", "map-against-truth.sh")
sys.path.insert(0, BENCH)
import map_quality as mq  # noqa: E402

TRUTH_HEADER = ("clone\tgel\tstart\tend\tchimeric\tfirst_fragment\tlast_fragment\t"
                "start2\tend2\tfirst_fragment2\tlast_fragment2\n")
TABLE_HEADER = "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"
PATH_HEADER = "contig\tclone\tgel\tordinal\tleft\tright\tweak\n"
# The figures scripts/map-against-truth.sh gives too.
SHELL_FIGURES = ("clones", "in_contigs", "contigs", "n50", "false_joins", "adjacent_errors",
                 "displaced")


class MapQuality(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="zemapquality-")

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        path = os.path.join(self.tmp.name, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def truth(self, clones):
        """clones: (name, start, end, first fragment[, chimeric]); a chimeric
        clone's second piece lies far away, or where chimeric gives it as
        (start2, end2)."""
        lines = []
        for name, start, end, first, *chimeric in clones:
            second = "-\t-\t-\t-"
            if chimeric:
                piece = chimeric[0] if isinstance(chimeric[0], tuple) else (900000, 900100)
                second = "%d\t%d\t0\t0" % piece
            lines.append("%s\t1\t%d\t%d\t%d\t%d\t%d\t%s\n" % (
                name, start, end, 1 if chimeric else 0, first, first + 1, second))
        return mq.read_truth(self.write("truth.tsv", TRUTH_HEADER + "".join(lines)))

    def measure(self, truth, rows, path=None, **options):
        """rows: (contig, clone, left, status[, right]); right is left + 5
        unless given. path: (contig, clone, weak) of the tiling path."""
        table = "".join("%d\t%s\t1\t1\t%s\t%s\t%s\t-\t-\n" % (
            contig, name, "-" if contig == 0 else left,
            "-" if contig == 0 else (right[0] if right else left + 5), status)
            for contig, name, left, status, *right in rows)
        rows = mq.read_table(self.write("t.tsv", TABLE_HEADER + table), truth)
        if path is not None:
            steps = "".join("%d\t%s\t1\t1\t0\t5\t%s\n" % step for step in path)
            path = mq.read_path(self.write("mtp.tsv", PATH_HEADER + steps), rows)
        m = mq.measure(truth, rows, path=path, **options)
        self.assertEqual(self.against_truth(), {key: m[key] for key in SHELL_FIGURES})
        return m

    def run_against_truth(self):
        return subprocess.run(["bash", AGAINST_TRUTH, os.path.join(self.tmp.name, "truth.tsv"),
                               os.path.join(self.tmp.name, "t.tsv")],
                              capture_output=True, text=True)

    def against_truth(self):
        """The figures of scripts/map-against-truth.sh on truth.tsv and t.tsv,
        its counts turned into measure()'s shares."""
        done = self.run_against_truth()
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        f = {key: None if value == "-" else int(value)
             for key, value in (line.split("\t") for line in done.stdout.splitlines())}
        return {"clones": f["clones"], "in_contigs": f["in_contigs"] / f["clones"],
                "contigs": f["contigs"], "n50": f["n50"], "false_joins": f["false_joins"],
                "adjacent_errors": f["neighbour_errors"] / f["neighbours"] if f["neighbours"]
                else None,
                "displaced": f["displaced"] / f["ordered"] if f["ordered"] else None}

    def test_false_join_spans_and_touching_clones(self):
        truth = self.truth([("a", 0, 100, 0), ("b", 50, 150, 1), ("c", 1000, 1100, 9),
                            ("d", 1050, 1250, 10), ("e", 2000, 2100, 20), ("f", 2100, 2200, 21),
                            ("g", 5000, 5300, 50), ("h", 5000, 5100, 50), ("i", 7000, 7100, 70)])
        m = self.measure(truth, [(1, "a", 0, "ok"), (1, "b", 1, "ok"), (1, "c", 2, "ok"),
                                 (1, "d", 3, "ok"), (2, "e", 0, "ok"), (2, "f", 1, "ok"),
                                 (3, "g", 0, "ok"), (3, "h", 0, "buried"), (0, "i", 0, "ok")])
        # Contig 1 lies in two stretches, [0,150) and [1000,1250); contig 2's
        # clones only touch, so also two; contig 3 is one stretch of 300.
        self.assertEqual(m["contigs"], 3)
        self.assertEqual(m["false_joins"], 2)
        self.assertAlmostEqual(m["parts"], 5 / 3)
        self.assertEqual(m["n50"], 250)  # spans 250, 100, 300
        self.assertAlmostEqual(m["in_contigs"], 8 / 9)
        self.assertEqual(mq.n50([300, 250, 200]), 250)
        self.assertEqual(mq.n50([100, 200, 100]), 200)  # exactly half
        self.assertIsNone(mq.n50([]))

    def test_order_with_ties(self):
        # Sorted by left, right, name: a, b (same left), c, d. c before d is
        # the one error; a and b tie on left, so their pair is no error.
        truth = self.truth([("a", 4, 100, 1), ("b", 0, 100, 0), ("c", 12, 100, 3),
                            ("d", 8, 100, 2)])
        m = self.measure(truth, [(1, "a", 0, "ok"), (1, "b", 0, "ok"), (1, "c", 1, "ok"),
                                 (1, "d", 2, "ok")])
        self.assertAlmostEqual(m["adjacent_errors"], 1 / 3)
        # Ranks by left 1.5 1.5 3 4, by truth 2 1 4 3.
        self.assertAlmostEqual(m["spearman"], 3.5 / math.sqrt(4.5 * 5))
        self.assertEqual(m["displaced"], 0)
        self.assertEqual(mq.average_ranks([5, 1, 5, 3]), [3.5, 1, 3.5, 2])

    def test_neighbours_by_right_after_left(self):
        # b (left 0, right 3) comes before a (left 0, right 9): a then c is
        # an error; with a before b there would be none.
        truth = self.truth([("a", 20, 100, 5), ("b", 0, 100, 0), ("c", 4, 100, 1)])
        m = self.measure(truth, [(1, "a", 0, "ok", 9), (1, "b", 0, "ok", 3), (1, "c", 1, "ok")])
        self.assertAlmostEqual(m["adjacent_errors"], 1 / 2)

    def test_reversed_contig_is_in_order(self):
        truth = self.truth([(n, 10 * k, 10 * k + 100, k) for k, n in enumerate("abcde")])
        m = self.measure(truth, [(1, n, 4 - k, "ok") for k, n in enumerate("abcde")])
        self.assertEqual((m["adjacent_errors"], m["displaced"]), (0, 0))
        self.assertAlmostEqual(m["spearman"], 1)

    def test_displaced_clones(self):
        # Contig 1: f (last on the genome) placed first, 5 ranks off: displaced.
        # Contig 2: s placed first, 3 ranks off: not displaced. Buried and
        # chimeric clones are not ordered.
        names1, names2 = "abcdef", "pqrst"
        clones = [(n, 10 * k, 10 * k + 100, k) for k, n in enumerate(names1)]
        clones += [(n, 5000 + 10 * k, 5100 + 10 * k, 500 + k) for k, n in enumerate(names2)]
        truth = self.truth(clones + [("x", 20, 90, 99), ("y", 3000, 3100, 98, "chimeric")])
        rows = [(1, "f", 0, "ok")] + [(1, n, k + 1, "ok") for k, n in enumerate("abcde")]
        rows += [(2, "s", 0, "ok")] + [(2, n, k + 1, "ok") for k, n in enumerate("pqr")]
        rows += [(2, "t", 4, "ok")]
        m = self.measure(truth, rows + [(1, "x", 0, "buried"), (1, "y", 0, "ok")])
        self.assertAlmostEqual(m["displaced"], 1 / 11)
        self.assertAlmostEqual(m["contigs_displaced"], 1 / 2)
        self.assertAlmostEqual(m["adjacent_errors"], 2 / 9)
        # Contig 1: ranks 1..6 against 6,1..5; contig 2: 1..5 against 4,1,2,3,5.
        self.assertAlmostEqual(m["spearman"], (6 * 2.5 / 17.5 + 5 * 4 / 10) / 11)
        self.assertEqual(m["false_joins"], 0)  # y lies elsewhere but is chimeric

    def test_chimera_flags(self):
        truth = self.truth([("w", 0, 100, 0, "c"), ("x", 10, 110, 1, "c"), ("y", 20, 120, 2, "c"),
                            ("z", 30, 130, 3, "c"), ("p", 40, 140, 4), ("q", 50, 150, 5),
                            ("r", 60, 160, 6), ("s", 70, 170, 7), ("t", 80, 180, 8)])
        m = self.measure(truth, [(0, "w", 0, "chimeric"), (1, "x", 0, "Q"), (1, "y", 1, "ok"),
                                 (0, "z", 0, "ok"), (1, "p", 2, "ok"), (1, "q", 3, "Q"),
                                 (0, "r", 0, "chimeric"), (0, "s", 0, "ok"),
                                 (1, "t", 4, "buried")])
        self.assertAlmostEqual(m["chimeras_flagged"], 3 / 4)  # all but y
        self.assertAlmostEqual(m["others_flagged"], 2 / 4)  # q and r of p, q, r, t

    def test_half_pass_overlap_and_expectation(self):
        truth = self.truth([("a", 0, 100, 0), ("b", 10, 110, 0), ("c", 80, 180, 0),
                            ("d", 1000, 1100, 0), ("e", 1040, 1340, 0), ("f", 2000, 2100, 0),
                            ("g", 2070, 2170, 0), ("h", 5, 95, 0, "chimeric")])
        # Shares of the shorter clone: a-b 0.9 and d-e 0.6 pass; a-c 0.2, b-c 0.3, f-g 0.3 do not.
        passing = {("a", "b"), ("d", "e"), ("a", "h")}
        m = self.measure(truth, [(0, n, 0, "ok") for n in "abcdefgh"], coverage=2.0,
                         passing=passing)
        self.assertEqual(m["theta_pairs"], 5)
        self.assertAlmostEqual(m["theta"], 0.305 + 0.5 * 0.3)
        self.assertAlmostEqual(m["expected"], 8 * math.exp(-1.09) * (1 - math.exp(-1.09)))
        # Among a, b and c only: 0.2 and 0.3 fail, 0.9 passes.
        m = self.measure(truth, [(0, n, 0, "ok") for n in "abcdefgh"], coverage=2.0,
                         passing=passing, compared={"a", "b", "c"})
        self.assertEqual(m["theta_pairs"], 3)
        self.assertAlmostEqual(m["theta"], 0.305 + 0.5 * 0.6)
        # The first bin already passes: its centre.
        m = self.measure(truth, [(0, n, 0, "ok") for n in "abcdefgh"], coverage=2.0,
                         passing=passing, compared={"a", "b"})
        self.assertAlmostEqual(m["theta"], 0.905)

    def test_tiling_path_cover_and_gaps(self):
        truth = self.truth([
            # Contig 1: the path a, c covers [0,200); a and c only touch.
            ("a", 0, 100, 0), ("b", 50, 150, 1), ("c", 100, 200, 2),
            # Contig 2: the path d, f leaves [1100,1150) and [1300,1400) of [1000,1400).
            ("d", 1000, 1100, 10), ("e", 1050, 1200, 11), ("f", 1150, 1300, 12),
            ("g", 1250, 1400, 13),
            # Contig 3: longest stretch [5000,5700), j a stretch of its own; the
            # chimera k fills [5300,5450) with its second piece.
            ("h", 5000, 5300, 50), ("i", 5200, 5500, 52), ("l", 5450, 5700, 54),
            ("j", 9000, 9100, 90), ("k", 20000, 20100, 200, (5300, 5450)),
            # Contig 4: no ok clone, no path; contig 5 holds one clone only.
            ("m", 3000, 3100, 30), ("n", 3050, 3150, 31), ("o", 7000, 7100, 70)])
        rows = [(1, n, k, "ok") for k, n in enumerate("abc")]
        rows += [(2, n, k, "ok") for k, n in enumerate("defg")]
        rows += [(3, n, k, "ok") for k, n in enumerate("hiljk")]
        rows += [(4, "m", 0, "Q"), (4, "n", 1, "buried"), (5, "o", 0, "ok")]
        path = [(1, "a", "-"), (1, "c", "-"), (2, "d", "-"), (2, "f", "weak"),
                (3, "h", "-"), (3, "k", "-"), (3, "l", "-"), (3, "j", "weak"), (5, "o", "-")]
        m = self.measure(truth, rows, path)
        # Contig 5 of one clone counts nowhere.
        self.assertEqual(m["path_clones"], 8)
        self.assertAlmostEqual(m["path_share"], 8 / 14)
        self.assertAlmostEqual(m["path_mean"], (2 / 3 + 2 / 4 + 4 / 5 + 0) / 4)
        self.assertAlmostEqual(m["path_covers"], (1 + 250 / 400 + 1 + 0) / 4)
        self.assertEqual(m["path_below"], 2)
        self.assertEqual(m["path_gaps"], 3)  # two in contig 2, contig 4's whole stretch
        self.assertEqual(m["path_gap_length"], 50 + 100 + 150)
        self.assertEqual(m["weak_steps"], 2)
        # The true greedy paths: a b c (a and c only touch), d e f g, h i l
        # (the chimera and the stretch of j left out), m n.
        self.assertEqual(m["true_path"], 3 + 4 + 3 + 2)
        self.assertAlmostEqual(m["of_true_path"], 8 / 12)
        # The longest reach first, then the furthest of those starting inside.
        self.assertEqual(mq.greedy_cover((0, 100), [(0, 30), (0, 40), (10, 60), (39, 70),
                                                    (50, 100), (65, 100), (200, 300)]), 3)
        self.assertIsNone(mq.greedy_cover((0, 100), [(0, 50), (50, 100)]))
        self.assertEqual(mq.uncovered((0, 100), [(-5, 10), (10, 20), (30, 40), (35, 200)]),
                         [(20, 30)])
        self.assertEqual(mq.uncovered((0, 100), [(100, 200)]), [(0, 100)])
        # Without a path there are no path figures.
        self.assertNotIn("path_clones", self.measure(truth, rows))

    def test_path_refused(self):
        truth = self.truth([("a", 0, 100, 0), ("b", 50, 150, 1), ("c", 2000, 2100, 20)])
        rows = mq.read_table(self.write("t.tsv", TABLE_HEADER + "1\ta\t1\t1\t0\t5\tok\t-\t-\n"
                                        "1\tb\t1\t2\t1\t6\tok\t-\t-\n0\tc\t1\t3\t-\t-\tok\t-\t-\n"),
                             truth)
        for steps in ("1\ta\t1\t1\t0\t5\t-\n1\ta\t1\t1\t0\t5\t-\n",  # twice
                      "2\ta\t1\t1\t0\t5\t-\n",  # another contig than the table's
                      "0\tc\t1\t3\t0\t5\t-\n",  # in no contig
                      "1\tz\t1\t1\t0\t5\t-\n",  # no such clone
                      "1\ta\t1\t1\t0\t5\tstrong\n",
                      "1\ta\t1\t1\t5\t5\t-\n",
                      "1\ta\t1\t1\t0\t5\n"):
            with self.assertRaises(mq.Failure):
                mq.read_path(self.write("mtp.tsv", PATH_HEADER + steps), rows)

    def run_cli(self, truth, table, *options):
        return subprocess.run([sys.executable, os.path.join(BENCH, "map_quality.py"),
                               self.write("truth.tsv", truth), self.write("t.tsv", table),
                               "--genome-length", "300"] + list(options),
                              capture_output=True, text=True)

    def test_command_on_four_column_truth(self):
        # The first fragment is start // 4000; no chimeras.
        truth = "clone\tgel\tstart\tend\nA\t1\t0\t100\nB\t1\t8000\t8100\nC\t1\t4000\t4100\n"
        table = TABLE_HEADER + "1\tA\t1\t1\t0\t5\tok\t-\t-\n1\tC\t1\t3\t1\t6\tok\t-\t-\n" \
                               "1\tB\t1\t2\t2\t7\tok\t-\t-\n"
        done = self.run_cli(truth, table)
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        lines = done.stdout.splitlines()
        self.assertEqual(len(lines), 3)
        figures = dict(zip(mq.header_cells(), lines[2].strip("| ").split(" | ")))
        self.assertEqual(figures["contigs >= 2"], "1")
        self.assertEqual(figures["false joins"], "1")
        self.assertEqual(figures["parts/contig"], "3.000")  # three disjoint clones
        self.assertEqual(figures["adjacent errors"], "0.00%")
        self.assertEqual(figures["Spearman"], "1.0000")
        self.assertEqual(figures["chimeras flagged"], "-")
        self.assertEqual(figures["theta"], "-")
        self.assertEqual(self.against_truth()["false_joins"], 1)

    def test_command_with_a_path_at_99_percent(self):
        # The stretch [0,1000) of p, q and r; the path p, r leaves [600,610).
        truth = "clone\tgel\tstart\tend\np\t1\t0\t600\nq\t1\t500\t1000\nr\t1\t610\t1000\n"
        table = TABLE_HEADER + "1\tp\t1\t1\t0\t5\tok\t-\t-\n1\tq\t1\t2\t1\t6\tok\t-\t-\n" \
                               "1\tr\t1\t3\t2\t7\tok\t-\t-\n"
        mtp = self.write("mtp.tsv", PATH_HEADER + "1\tp\t1\t1\t0\t5\t-\n1\tr\t1\t3\t2\t7\tweak\n")
        done = self.run_cli(truth, table, "--mtp", mtp)
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        lines = done.stdout.splitlines()
        self.assertEqual(len(lines), 7)
        self.assertEqual(lines[3], "")
        self.assertEqual(lines[4], mq.markdown(mq.header_cells(mq.PATH_COLUMNS)))
        figures = dict(zip(mq.header_cells(mq.PATH_COLUMNS), lines[6].strip("| ").split(" | ")))
        self.assertEqual(figures, {"path clones": "2", "of contigs' clones": "66.7%",
                                   "per contig": "66.7%", "span covered": "99.00%",
                                   "contigs < 99%": "0", "gaps": "1", "gaps kb": "0.0",
                                   "weak steps": "1", "greedy true path": "2",
                                   "path / true": "1.000"})

    def test_command_refuses_bad_tables(self):
        truth = TRUTH_HEADER + "A\t1\t0\t100\t0\t0\t1\t-\t-\t-\t-\n" \
                               "B\t1\t50\t150\t0\t0\t1\t-\t-\t-\t-\n"
        a = "1\tA\t1\t1\t0\t5\tok\t-\t-\n"
        # by_script: the demo's script refuses it too (it checks only that the
        # table names each clone of the truth once).
        for table, by_script in ((a, True),  # B has no row
                                 (a + "1\tB\t1\t2\t0\t5\tfine\t-\t-\n", False),
                                 (a + "1\tB\t1\t2\t5\t5\tok\t-\t-\n", False),
                                 (a + "1\tZ\t1\t2\t0\t5\tok\t-\t-\n", True)):
            done = self.run_cli(truth, TABLE_HEADER + table)
            runs = [done, self.run_against_truth()] if by_script else [done]
            for done in runs:
                self.assertEqual(done.returncode, 1)
                self.assertEqual(done.stdout, "")
                self.assertRegex(done.stderr, r"^ERROR: [^\n]+\n$")


if __name__ == "__main__":
    unittest.main()
