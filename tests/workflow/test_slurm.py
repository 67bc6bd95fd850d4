#!/usr/bin/env python3
"""The many-gels workflow through its Slurm profile, as the README writes
the command, on a one-node cluster started here (see slurm_cluster.py).
The good gels' outputs must equal a run by hand and the broken gel must show
as failed with its error line. The target compare then runs its parts as
Slurm jobs and joins them into the table of one whole zeCompare run, and
the target map runs zeContig as one more job; both run again for a new
tolerance, the map with the numbers of its first build and marker hits,
and the target place runs zePlace as one more job. Exits 77
(skipped) with the reason when the cluster cannot start: not root, or a
daemon failing.

    test_slurm.py ZESTEP5 ZEREPORT ZEGENPROJECT ZECOMPARE ZECONTIG ZEPLACE
"""
import os
import sys
import tempfile
import unittest

from slurm_cluster import ClusterUnavailable, OneNodeCluster
from workflow_support import (BROKEN, COMPARE_CONFIG, GELS, MAP_CONFIG, Programs, bands_files,
                              compare_table, copy_tree, map_outputs, place_outputs,
                              readme_command, run_shell, step_outputs, summary_rows,
                              whole_comparison, whole_map, whole_place, write_markers,
                              write_sequences)

SKIPPED = 77
PROGRAMS = None
CLUSTER = None
TMP = None


class SlurmBatch(unittest.TestCase):
    def test_profile_runs_every_gel_as_a_job_like_a_local_run(self):
        template = os.path.join(TMP, "template")
        PROGRAMS.make_gels(template)
        hand = os.path.join(TMP, "hand")
        copy_tree(template, hand)
        good = [g for g in GELS if g != BROKEN]
        PROGRAMS.run_by_hand(hand, good)
        tree = os.path.join(TMP, "slurm")
        copy_tree(template, tree)

        # CI=true: Snakemake then looks at its waiting sbatch processes every
        # second instead of every ten.
        r = run_shell(readme_command("--profile"), tree,
                      PROGRAMS.env(TMP, SLURM_CONF=CLUSTER.conf, CI="true"))
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertIn("failed gel %s: ERROR: corrupted norm-facs file" % BROKEN, r.stderr)
        for gel in good:
            self.assertEqual(step_outputs(os.path.join(tree, "gels", gel)),
                             step_outputs(os.path.join(hand, "gels", gel)), gel)
        rows = summary_rows(tree)
        self.assertEqual({g: rows[g]["status"] for g in GELS},
                         {g: "failed" if g == BROKEN else "done" for g in GELS})
        self.assertEqual(rows[BROKEN]["first_error"], "ERROR: corrupted norm-facs file")
        # Every gel was a Slurm job of its own, with the memory the workflow
        # declares (the traces file plus 32 MiB), and Slurm saw the failure.
        jobs = CLUSTER.finished_jobs()
        self.assertEqual(sorted(jobs), sorted("zestep-" + g for g in GELS))
        for gel in GELS:
            traces = os.path.getsize(os.path.join(tree, "gels", gel, "traces"))
            self.assertEqual(jobs["zestep-" + gel]["MinMemoryNode"],
                             "%dM" % -(-(traces + 32 * 2**20) // 2**20))
            self.assertEqual(jobs["zestep-" + gel]["ExitCode"], "1:0" if gel == BROKEN else "0:0")

        # The comparison of the gels that are done, in three Slurm jobs, each
        # with the memory it declares (their raw-bands files plus 64 MiB),
        # and their map in one more (8 times their bands files plus 64 MiB);
        # the broken gel, failed again, is left out.
        targets = " all compare map" + COMPARE_CONFIG + MAP_CONFIG
        r = run_shell(readme_command("--profile") + targets, tree,
                      PROGRAMS.env(TMP, SLURM_CONF=CLUSTER.conf, CI="true"))
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertIn("left out: %s\n" % BROKEN, r.stderr)
        self.assertEqual(compare_table(tree), whole_comparison(PROGRAMS, tree, good))
        first = whole_map(PROGRAMS, tree, good)
        self.assertEqual(map_outputs(os.path.join(tree, "batch")), first)
        raw = sum(os.path.getsize(os.path.join(tree, "gels", g, "raw-bands")) for g in good)
        bands = sum(os.path.getsize(os.path.join(tree, path)) for path in bands_files(good))
        jobs = CLUSTER.finished_jobs()
        for part in (1, 2, 3):
            job = jobs["zecompare-%d-of-3" % part]
            self.assertEqual(job["MinMemoryNode"], "%dM" % -(-(raw + 64 * 2**20) // 2**20))
            self.assertEqual(job["ExitCode"], "0:0")
        self.assertEqual(jobs["zecontig"]["MinMemoryNode"],
                         "%dM" % -(-(8 * bands + 64 * 2**20) // 2**20))
        self.assertEqual(jobs["zecontig"]["ExitCode"], "0:0")

        # A new tolerance runs the parts and the map again as Slurm jobs,
        # which read the settings as the main process left them; the map
        # reads the table of its first build and, with marker hits, uses
        # them. The map is then placed on the genome in one more job.
        kept = os.path.join(TMP, "first-contigs.tsv")
        with open(kept, "wb") as f:
            f.write(first["contigs.tsv"])
        hits, marker_map = write_markers(first["contigs.tsv"], TMP)
        sequences = write_sequences(TMP)
        r = run_shell(readme_command("--profile") + targets.replace(" compare map", " compare map place", 1)
                      + " compare_tolerance=3 map_tolerance=3 markers=%s marker_map=%s "
                      "place_sequences=%s" % (hits, marker_map, sequences), tree,
                      PROGRAMS.env(TMP, SLURM_CONF=CLUSTER.conf, CI="true"))
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.count("rule compare_part:"), 3, r.stderr)
        self.assertEqual(r.stderr.count("rule map_build:"), 1, r.stderr)
        self.assertEqual(r.stderr.count("rule place_build:"), 1, r.stderr)
        self.assertEqual(compare_table(tree),
                         whole_comparison(PROGRAMS, tree, good, ["-t", "3", "-c", "1"]))
        self.assertEqual(map_outputs(os.path.join(tree, "batch")),
                         whole_map(PROGRAMS, tree, good, ["-t", "3", "-c", "0.1", "--markers", hits],
                                   previous=kept))
        placed = place_outputs(os.path.join(tree, "batch"))
        self.assertEqual(sorted(placed), ["chromosomes.tsv", "map.agp", "place.html",
                                          "placements.tsv"])
        self.assertEqual(placed, whole_place(PROGRAMS, tree, good, [
            "-t", "3", "--site", "AAGCTT", "-o", "batch/placements.tsv", "--agp", "batch/map.agp",
            "--markers", hits, "--marker-map", marker_map, "--chromosomes",
            "batch/chromosomes.tsv", "--html", "batch/place.html", sequences]))
        self.assertIn("\tanchored\n", placed["chromosomes.tsv"].decode())
        bands = sum(os.path.getsize(os.path.join(tree, path)) for path in bands_files(good))
        job = CLUSTER.finished_jobs()["zeplace"]
        self.assertEqual(job["MinMemoryNode"], "%dM" % -(-(8 * bands + os.path.getsize(sequences)
                                                            + 128 * 2**20) // 2**20))
        self.assertEqual(job["ExitCode"], "0:0")


def main():
    global PROGRAMS, CLUSTER, TMP
    PROGRAMS = Programs(sys.argv)
    with tempfile.TemporaryDirectory(prefix="zeslurm-") as tmp:
        TMP = tmp
        cluster_dir = os.path.join(tmp, "cluster")
        os.mkdir(cluster_dir)
        try:
            CLUSTER = OneNodeCluster(cluster_dir).__enter__()
        except ClusterUnavailable as e:
            print("SKIPPED: one-node Slurm cluster unavailable:", e)
            return SKIPPED
        try:
            result = unittest.main(argv=sys.argv[:1], verbosity=2, exit=False).result
        finally:
            CLUSTER.stop()
        return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
