#!/usr/bin/env python3
"""The many-gels workflow on the local cores and the GNU parallel one-liner,
both as the README writes them, on four small gels of which one has a
corrupt norm-fac file (the step ends at once with status 1), with the
comparison and the map of the gels that are done.

    test_local.py ZESTEP5 ZEREPORT ZEGENPROJECT ZECOMPARE ZECONTIG ZEPLACE [CMAKE BUILD_DIR]

With CMAKE and BUILD_DIR, the build is also installed into the test's
directory and the installed workflow runs with the installed programs.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from workflow_support import (BROKEN, COMPARE_CONFIG, GELS, MAP_CONFIG, Programs, compare_table,
                              contig_numbers, copy_tree, map_outputs, place_outputs,
                              readme_build_bindir, readme_command, run_shell, step_outputs,
                              summary_rows, whole_comparison, whole_map, whole_place,
                              write_markers, write_sequences)

PROGRAMS = None
# The README's command line for the gels alone.
GELS_COMMAND = readme_command("-j \"$(nproc)\" --keep-going")
INSTALL = None  # (cmake, build directory)


class Batch(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="zeworkflow-")
        cls.template = os.path.join(cls.tmp.name, "template")
        PROGRAMS.make_gels(cls.template)
        cls.hand = os.path.join(cls.tmp.name, "hand")
        copy_tree(cls.template, cls.hand)
        cls.good = [g for g in GELS if g != BROKEN]
        PROGRAMS.run_by_hand(cls.hand, cls.good)
        # The README's batch of the four gels runs here once, the broken gel
        # failing (tree `ran`), and once more in a copy with that gel fixed
        # (tree `fixed`); test_snakemake_keeps_going_... checks both runs.
        # The methods about what comes after the gels start from a copy of
        # one of the two, made with Snakemake's metadata and the files'
        # times, so that the gels are up to date there.
        env = PROGRAMS.env(cls.tmp.name)
        cls.ran = os.path.join(cls.tmp.name, "ran")
        copy_tree(cls.template, cls.ran)
        cls.ran_run = run_shell(GELS_COMMAND, cls.ran, env)
        cls.fixed = os.path.join(cls.tmp.name, "fixed")
        copy_tree(cls.ran, cls.fixed)
        cls.logs_before_fix = cls.good_gel_log_times(cls.fixed)
        PROGRAMS.fix_broken_gel(cls.fixed)
        cls.fixed_run = run_shell(GELS_COMMAND, cls.fixed, env)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def tree(self, name, source=None):
        """A copy of source (the template: gels not run yet) named name."""
        path = os.path.join(self.tmp.name, name)
        copy_tree(source or self.template, path)
        return path

    @classmethod
    def good_gel_log_times(cls, tree):
        logs = os.path.join(tree, "batch", "logs")
        return {g: os.stat(os.path.join(logs, g + ".log")).st_mtime_ns for g in cls.good}

    def assert_no_gel_ran(self, r):
        self.assertNotIn("rule gel:", r.stderr)

    def assert_good_gels_as_by_hand(self, tree):
        for gel in self.good:
            by_hand = step_outputs(os.path.join(self.hand, "gels", gel))
            self.assertIn("map.%s.gel" % (GELS.index(gel) + 1), by_hand)
            self.assertEqual(step_outputs(os.path.join(tree, "gels", gel)), by_hand, gel)

    def test_snakemake_keeps_going_summarises_and_reruns_only_the_fixed_gel(self):
        # The runs of setUpClass: the first with the broken gel in `ran`,
        # the second in `fixed`, a copy of `ran` with that gel fixed.
        tree, r = self.ran, self.ran_run
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertIn("failed gel %s: ERROR: corrupted norm-facs file" % BROKEN, r.stderr)
        self.assert_good_gels_as_by_hand(tree)

        rows = summary_rows(tree)
        self.assertEqual(sorted(rows), sorted(GELS))
        self.assertEqual(rows[BROKEN]["status"], "failed")
        self.assertEqual(rows[BROKEN]["first_error"], "ERROR: corrupted norm-facs file")
        self.assertEqual(rows[BROKEN]["accepted_bands"], "")
        for gel in self.good:
            self.assertEqual(rows[gel]["status"], "done")
            self.assertEqual(rows[gel]["lanes"], "9")
            self.assertEqual(rows[gel]["first_error"], "")
            with open(os.path.join(tree, "gels", gel, "report-summary.tsv")) as f:
                self.assertIn("accepted_bands\t%s\n" % rows[gel]["accepted_bands"], f.read())
        with open(os.path.join(tree, "batch", "index.html")) as f:
            page = f.read()
        self.assertIn('<a href="../gels/g1/report.html">done</a>', page)
        self.assertIn('<a href="logs/%s.log">failed</a>' % BROKEN, page)
        self.assertIn("ERROR: corrupted norm-facs file", page)

        self.assertEqual(self.logs_before_fix, self.good_gel_log_times(tree))
        tree, r = self.fixed, self.fixed_run
        self.assertEqual(r.returncode, 0, r.stderr)
        # the good gels did not run again
        self.assertEqual(self.good_gel_log_times(tree), self.logs_before_fix)
        self.assertIn("wildcards: gel=%s" % BROKEN, r.stderr)
        self.assertEqual(r.stderr.count("wildcards: gel="), 1)
        rows = summary_rows(tree)
        self.assertEqual({g: rows[g]["status"] for g in GELS}, {g: "done" for g in GELS})

    def test_compare_in_three_parts_equals_one_whole_run_and_the_map_one_zecontig_run(self):
        # The gels as the first batch left them, the broken gel's log gone:
        # that gel has never run.
        tree = self.tree("compare", self.ran)
        os.unlink(os.path.join(tree, "batch", "logs", BROKEN + ".log"))
        command = readme_command("all compare").replace('"$(nproc)"', "2").split(" --config")[0]
        command = command.replace(" all compare", " all compare map") + COMPARE_CONFIG + MAP_CONFIG
        env = PROGRAMS.env(self.tmp.name)
        batch = os.path.join(tree, "batch")
        # The broken gel fails for the first time: it holds the comparison
        # and the map back.
        r = run_shell(command, tree, env)
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertEqual(gels_run(r.stderr), [BROKEN], r.stderr)  # the others are done
        self.assertFalse(os.path.exists(os.path.join(batch, "compare.tsv")))
        self.assertFalse(os.path.exists(os.path.join(batch, "contigs.tsv")))

        # Failed again with nothing changed: left out, the others compared.
        r = run_shell(command, tree, env)
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.count("rule compare_part:"), 3, r.stderr)
        self.assertEqual(compare_table(tree), whole_comparison(PROGRAMS, tree, self.good))
        self.assertEqual(compare_table(tree).count(b"\n"), 1 + 18 * 17 // 2)
        self.assertIn("comparison: 18 fingerprints of 3 gels, 153 pairs in batch/compare.tsv "
                      "(tolerance 7, cutoff 1); left out: %s\n" % BROKEN, r.stderr)
        rows = summary_rows(tree)
        self.assertEqual({g: rows[g]["compared"] for g in GELS},
                         {g: "no" if g == BROKEN else "yes" for g in GELS})
        with open(os.path.join(tree, "batch", "index.html")) as f:
            page = f.read()
        self.assertIn('data-fingerprints="18" data-pairs="153">', page)
        self.assertIn('<a href="compare.tsv">compare.tsv</a>', page)
        self.assertIn('<p class="left-out">Left out: %s (failed)</p>' % BROKEN, page)
        # The map of the same gels, as one zeContig run makes it.
        self.assertEqual(r.stderr.count("rule map_build:"), 1)
        first = whole_map(PROGRAMS, tree, self.good)
        self.assertEqual(map_outputs(batch), first)
        # The table kept for the next build, outside the job's outputs.
        self.assertEqual(read_bytes(os.path.join(batch, "map", "previous-contigs.tsv")),
                         first["contigs.tsv"])
        contigs = len(contig_numbers(first["contigs.tsv"]))
        self.assertGreater(contigs, 0)
        self.assertIn('<p class="map" data-contigs="%d" ' % contigs, page)
        self.assertIn('(tolerance 7, cutoff 0.1): <a href="map.html">map.html</a>, '
                      '<a href="contigs.tsv">contigs.tsv</a></p>', page)
        self.assertIn("map: %d contigs (N50 " % contigs, r.stderr)

        # The fixed gel is redone, and so are the comparison, now of every
        # gel, and the map, which keeps the numbers of the first.
        PROGRAMS.fix_broken_gel(tree)
        r = run_shell(command, tree, env)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.count("rule compare_part:"), 3, r.stderr)
        self.assertEqual(compare_table(tree), whole_comparison(PROGRAMS, tree, GELS))
        self.assertEqual({r["compared"] for r in summary_rows(tree).values()}, {"yes"})
        self.assertEqual(r.stderr.count("rule map_build:"), 1)
        with open(os.path.join(self.tmp.name, "first-contigs.tsv"), "wb") as f:
            f.write(first["contigs.tsv"])
        self.assertEqual(map_outputs(batch),
                         whole_map(PROGRAMS, tree, GELS, previous=f.name))

    def test_compare_reruns_when_its_settings_change_and_drops_parts_of_other_counts(self):
        tree = self.tree("settings", self.fixed)
        command = readme_command("all compare").replace('"$(nproc)"', "2").split(" --config")[0]
        env = PROGRAMS.env(self.tmp.name)
        compare = os.path.join(tree, "batch", "compare")

        runs = []

        def run(parts, tolerance, cutoff, dry_run=False):
            r = run_shell(command + (" -n" if dry_run else "") + " --config compare_parts=%d "
                          "compare_tolerance=%s compare_cutoff=%s" % (parts, tolerance, cutoff),
                          tree, env)
            self.assertEqual(r.returncode, 0, r.stderr)
            runs.append(r)
            return jobs_of(r, "compare_part")

        self.assertEqual(run(3, 3, 1), 3)
        self.assert_no_gel_ran(runs[0])
        at_3 = compare_table(tree)
        self.assertEqual(at_3, whole_comparison(PROGRAMS, tree, GELS, ["-t", "3", "-c", "1"]))
        self.assertEqual(run(3, 3, 1, dry_run=True), 0)  # nothing changed
        # A new tolerance alone, then a new cutoff alone, runs every part again.
        self.assertEqual(run(3, 7, 1), 3)
        self.assertNotEqual(compare_table(tree), at_3)
        self.assertEqual(compare_table(tree),
                         whole_comparison(PROGRAMS, tree, GELS, ["-t", "7", "-c", "1"]))
        # A stale-looking link is no part file the workflow made: it stays,
        # and so does what it points to.
        outside = os.path.join(self.tmp.name, "kept.tsv")
        with open(outside, "w") as f:
            f.write("kept\n")
        os.symlink(outside, os.path.join(compare, "1-of-9.tsv"))
        self.assertEqual(run(2, 7, 0.001), 2)
        self.assertEqual(compare_table(tree),
                         whole_comparison(PROGRAMS, tree, GELS, ["-t", "7", "-c", "0.001"]))
        # The parts of three are gone; the link and its target are not.
        self.assertEqual(sorted(os.listdir(compare)),
                         ["1-of-2.log", "1-of-2.scheduler.log", "1-of-2.tsv", "1-of-9.tsv",
                          "2-of-2.log", "2-of-2.scheduler.log", "2-of-2.tsv", "settings.tsv"])
        with open(outside) as f:
            self.assertEqual(f.read(), "kept\n")
        with open(os.path.join(tree, "batch", "index.html")) as f:
            self.assertIn("gels compared (tolerance 7, cutoff 0.001), ", f.read())

    def test_map_reruns_for_its_own_settings_and_keeps_the_numbers_of_the_last_build(self):
        tree = self.tree("map", self.fixed)
        command = readme_command("all map").replace('"$(nproc)"', "2").split(" --config")[0]
        command += " compare"
        env = PROGRAMS.env(self.tmp.name)
        batch = os.path.join(tree, "batch")

        runs = []

        def run(settings, dry_run=False):
            r = run_shell(command + (" -n" if dry_run else "") + " --config" + MAP_CONFIG + " "
                          + settings, tree, env)
            self.assertEqual(r.returncode, 0, r.stderr)
            runs.append(r)
            return jobs_of(r, "compare_part"), jobs_of(r, "map_build")

        self.assertEqual(run(""), (1, 1))
        self.assert_no_gel_ran(runs[0])
        self.assertEqual(map_outputs(batch), whole_map(PROGRAMS, tree, GELS))
        # The last build's numbers as a lab may have had them: contig 1 is 9.
        kept = os.path.join(batch, "map", "previous-contigs.tsv")
        with open(kept) as f:
            rows = [line.split("\t") for line in f]
        renumbered = os.path.join(self.tmp.name, "renumbered.tsv")
        with open(renumbered, "w") as f:
            f.writelines("\t".join(["9"] + row[1:] if row[0] == "1" else row) for row in rows)
        shutil.copyfile(renumbered, kept)

        # A new map tolerance builds the map again, and only the map, with
        # the numbers of the last build: new contigs come above 9.
        self.assertEqual(run("map_tolerance=3"), (0, 1))
        built = map_outputs(batch)
        self.assertEqual(built, whole_map(PROGRAMS, tree, GELS, ["-t", "3", "-c", "0.1"],
                                          previous=renumbered))
        self.assertGreater(max(contig_numbers(built["contigs.tsv"])), 9)
        self.assertEqual(read_bytes(kept), built["contigs.tsv"])
        with open(os.path.join(batch, "map", "zeContig.log")) as f:
            self.assertIn("zeContig: 4 bands files, numbers from batch/map/previous-contigs.tsv\n",
                          f.read())
        with open(os.path.join(batch, "index.html")) as f:
            self.assertIn("(tolerance 3, cutoff 0.1): <a href=\"map.html\">", f.read())
        # A new comparison tolerance runs the comparison alone.
        self.assertEqual(run("map_tolerance=3 compare_tolerance=3", dry_run=True), (1, 0))
        # A new tolerance for both runs both.
        self.assertEqual(run("map_tolerance=5 compare_tolerance=5"), (1, 1))
        at_3 = os.path.join(self.tmp.name, "contigs-at-3.tsv")
        with open(at_3, "wb") as f:
            f.write(built["contigs.tsv"])
        self.assertEqual(map_outputs(batch),
                         whole_map(PROGRAMS, tree, GELS, ["-t", "5", "-c", "0.1"], previous=at_3))

    def test_place_writes_the_placement_and_reruns_for_its_files_and_settings(self):
        tree = self.tree("place", self.fixed)
        # The README's command: the map comes with the placement.
        command = readme_command("all place").replace('"$(nproc)"', "2").split(" --config")[0]
        command += " --config" + MAP_CONFIG
        env = PROGRAMS.env(self.tmp.name)
        batch = os.path.join(tree, "batch")
        sequences = write_sequences(self.tmp.name)

        runs = []

        def run(settings, dry_run=False):
            r = run_shell((command.replace(" --config", " -n --config") if dry_run else command)
                          + " " + settings, tree, env)
            self.assertEqual(r.returncode, 0, r.stderr)
            runs.append(r)
            return jobs_of(r, "map_build"), jobs_of(r, "place_build")

        # Sequences alone: placed on the contigs, as zePlace places them by hand.
        with_sequences = "place_sequences=" + sequences
        self.assertEqual(run(with_sequences), (1, 1))
        self.assert_no_gel_ran(runs[0])
        placed = place_outputs(batch)
        self.assertEqual(placed, whole_place(PROGRAMS, tree, GELS, [
            "-t", "7", "--site", "AAGCTT", "-o", "batch/placements.tsv", "--agp", "batch/map.agp",
            "--html", "batch/place.html", sequences]))
        self.assertEqual(placed["placements.tsv"].decode().count("\n"), 3)  # header, 2 records
        with open(os.path.join(batch, "index.html")) as f:
            page = f.read()
        self.assertIn('<h2 id="place">Map on the genome</h2>', page)
        self.assertIn('(site AAGCTT, tolerance 7, sequences %s): <a href="placements.tsv">'
                      'placements.tsv</a>, <a href="map.agp">map.agp</a>, '
                      '<a href="place.html">place.html</a></p>' % sequences, page)
        self.assertEqual(run(with_sequences, dry_run=True), (0, 0))  # nothing changed

        # Marker hits: the map is built again with them, and the contigs
        # are placed on the chromosomes too.
        hits, marker_map = write_markers(map_outputs(batch)["contigs.tsv"], self.tmp.name)
        with_markers = with_sequences + " markers=%s marker_map=%s" % (hits, marker_map)
        self.assertEqual(run(with_markers), (1, 1))
        self.assertEqual(map_outputs(batch),
                         whole_map(PROGRAMS, tree, GELS, ["-c", "0.1", "--markers", hits]))
        placed = place_outputs(batch)
        self.assertEqual(placed, whole_place(PROGRAMS, tree, GELS, [
            "-t", "7", "--site", "AAGCTT", "-o", "batch/placements.tsv", "--agp", "batch/map.agp",
            "--markers", hits, "--marker-map", marker_map, "--chromosomes",
            "batch/chromosomes.tsv", "--html", "batch/place.html", sequences]))
        self.assertIn("\tanchored\n", placed["chromosomes.tsv"].decode())

        # New versions of the marker map and the sequences place again,
        # and only place.
        with open(marker_map, "a") as f:
            f.write("unused\tchr3\t1\n")
        with open(sequences, "a") as f:
            f.write(">piece3\nACGTAAGCTTACGT\n")
        self.assertEqual(run(with_markers), (0, 1))
        self.assertEqual(place_outputs(batch)["placements.tsv"].decode().count("\n"), 4)
        # Nothing to place is one clear line.
        r = run_shell(command, tree, env)
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertIn("failed placement: ERROR: nothing to place: set config place_sequences",
                      r.stderr)

    def test_a_program_not_found_is_one_line_and_the_readme_bindir_finds_them(self):
        # The broken gel of the first batch would run again: no job starts.
        tree = self.tree("bindir", self.ran)
        state = os.path.join(tree, "batch")
        before = file_times(state)
        build = os.path.dirname(PROGRAMS.zestep5)
        env = PROGRAMS.env(self.tmp.name, PATH="/usr/bin:/bin")
        command = readme_command("all compare").replace('"$(nproc)"', "2").split(" --config")[0]
        r = run_shell(command + " --config bindir=%s:%s/report" % (build, build), tree, env)
        self.assertEqual(r.returncode, 1, r.stderr)
        errors = [line for line in r.stderr.splitlines() if "ERROR" in line or "Error" in line]
        self.assertEqual(errors, ["ERROR: zeCompare is neither in config bindir ('%s:%s/report') "
                                  "nor on PATH; for a build tree, "
                                  "bindir=BUILD:BUILD/report:BUILD/compare:BUILD/map"
                                  % (build, build)])
        self.assertNotIn("Traceback", r.stderr)
        self.assertEqual(file_times(state), before)
        # zeContig is looked up for the target map.
        bindir = "%s:%s/report:%s" % (build, build, os.path.dirname(PROGRAMS.zecompare))
        r = run_shell(command + " map --config bindir=" + bindir, tree, env)
        self.assertEqual(r.returncode, 1, r.stderr)
        errors = [line for line in r.stderr.splitlines() if "ERROR" in line or "Error" in line]
        self.assertEqual(errors, ["ERROR: zeContig is neither in config bindir ('%s') nor on PATH; "
                                  "for a build tree, bindir=BUILD:BUILD/report:BUILD/compare:"
                                  "BUILD/map" % bindir])
        self.assertEqual(file_times(state), before)
        # The README's bindir for a build tree finds all four.
        r = run_shell(command + " map --config bindir=" + readme_build_bindir(build) + MAP_CONFIG,
                      tree, env)
        self.assertNotIn("is neither in config bindir", r.stderr)
        self.assertEqual(gels_run(r.stderr), [BROKEN], r.stderr)
        self.assertTrue(os.path.exists(os.path.join(tree, "batch", "compare.tsv")), r.stderr)
        self.assertTrue(os.path.exists(os.path.join(tree, "batch", "contigs.tsv")), r.stderr)

    def test_a_job_the_scheduler_ends_is_reported_and_the_rerun_redoes_it(self):
        # The first batch's tree with the gel as the lab gave it and not
        # done: it runs again, and so does the broken gel.
        tree = self.tree("interrupted", self.ran)
        gel = "g2"
        shutil.rmtree(os.path.join(tree, "gels", gel))
        shutil.copytree(os.path.join(self.template, "gels", gel), os.path.join(tree, "gels", gel))
        os.unlink(os.path.join(tree, "batch", "done", gel))
        # The gel's first compression announces its job and waits; later
        # ones compress at once.
        marker = os.path.join(self.tmp.name, "interrupted-job")
        script = os.path.join(self.tmp.name, "compress-once-slowly")
        with open(script, "w") as f:
            f.write("#!/bin/sh\nif [ ! -e '%s' ]; then\n"
                    "  echo $$ > '%s.tmp' && mv '%s.tmp' '%s'\n"
                    "  sleep 120 </dev/null >/dev/null 2>&1\n"
                    "fi\nexec gzip \"$1\"\n" % ((marker,) * 4))
        os.chmod(script, 0o755)
        set_compression(os.path.join(tree, "gels", gel, "info"), script)
        command = readme_command("-j \"$(nproc)\" --keep-going")
        batch = subprocess.Popen(["bash", "-c", command], cwd=tree, env=PROGRAMS.env(self.tmp.name),
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            wait_for_file(marker)
            with open(marker) as f:
                command_pid = int(f.read())
            # A time limit: the scheduler sends SIGTERM to every process of the job.
            for pid in job_processes(command_pid):
                try:
                    os.kill(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
            out, err = batch.communicate(timeout=300)
        finally:
            if batch.poll() is None:
                batch.kill()
                batch.communicate()
        self.assertNotEqual(batch.returncode, 0, err)
        self.assertEqual(gels_run(err), sorted([gel, BROKEN]), err)
        rows = summary_rows(tree)
        self.assertEqual(rows[gel]["status"], "failed")
        self.assertEqual(rows[gel]["first_error"], "interrupted by signal 15")
        self.assertIn("failed gel %s: interrupted by signal 15" % gel, err)
        # Nothing the step left is cut short: every file is the finished
        # run's (the picture being compressed uncompressed).
        hand = step_outputs(os.path.join(self.hand, "gels", gel))
        for name, data in step_outputs(os.path.join(tree, "gels", gel)).items():
            self.assertIn(name if name in hand else name + ".gz", hand)
            if name in hand:
                self.assertEqual(data, hand[name], name)

        PROGRAMS.fix_broken_gel(tree)
        r = run_shell(command, tree, PROGRAMS.env(self.tmp.name))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("wildcards: gel=%s" % gel, r.stderr)
        rows = summary_rows(tree)
        self.assertEqual({g: rows[g]["status"] for g in GELS}, {g: "done" for g in GELS})
        self.assertEqual(step_outputs(os.path.join(tree, "gels", gel)), hand)

    def test_gnu_parallel_joblog_shows_the_broken_gels_exit_value(self):
        tree = self.tree("parallel")
        r = run_shell(readme_command("parallel --jobs"), tree, PROGRAMS.env(self.tmp.name))
        self.assertEqual(r.returncode, 1, r.stderr)  # parallel: the number of failed jobs
        with open(os.path.join(tree, "batch-logs", "joblog")) as f:
            lines = [line.rstrip("\n").split("\t") for line in f]
        self.assertEqual(lines[0][6], "Exitval")
        exits = sorted(fields[6] for fields in lines[1:])
        self.assertEqual(exits, ["0", "0", "0", "1"])
        self.assertEqual([f[6] for f in lines[1:] if "gels/%s " % BROKEN in f[8]], ["1"])
        failed = run_shell(readme_command("awk"), tree, PROGRAMS.env(self.tmp.name))
        self.assertEqual(failed.returncode, 0)
        self.assertEqual(failed.stdout.count("\n"), 1)
        self.assertIn("gels/%s" % BROKEN, failed.stdout)
        with open(os.path.join(tree, "batch-logs", BROKEN + ".log")) as f:
            self.assertIn("ERROR: corrupted norm-facs file\n", f.read())
        self.assert_good_gels_as_by_hand(tree)

    def test_installed_workflow_with_installed_programs(self):
        if INSTALL is None:
            self.skipTest("no build directory given")
        prefix = os.path.join(self.tmp.name, "prefix")
        cmake, build = INSTALL
        subprocess.run([cmake, "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        tree = self.tree("installed")
        env = dict(PROGRAMS.env(self.tmp.name), ZESTEP=os.path.join(prefix, "share", "zestep"),
                   PATH=os.path.join(prefix, "bin") + os.pathsep + "/usr/bin:/bin")
        r = run_shell(readme_command("-j \"$(nproc)\" --keep-going"), tree, env)
        self.assertNotEqual(r.returncode, 0, r.stderr)
        self.assertIn("/prefix/bin/zeStep5 gels/%s map" % BROKEN, r.stderr)  # the failed command
        self.assertEqual(summary_rows(tree)[BROKEN]["status"], "failed")
        self.assert_good_gels_as_by_hand(tree)


def jobs_of(r, rule):
    """How many jobs of rule a Snakemake run shows; a dry run (-n) lists
    them on its standard output, a run on its standard error."""
    return (r.stdout + r.stderr).count("rule %s:" % rule)


def gels_run(log):
    """The gels whose jobs a Snakemake run's log shows started, by name."""
    prefix = "wildcards: gel="
    return sorted(line.strip()[len(prefix):] for line in log.splitlines()
                  if line.strip().startswith(prefix))


def file_times(folder):
    """Relative path -> modification time of every file and folder under
    folder: what a run that starts no job leaves as it was."""
    times = {}
    for dirpath, dirs, names in os.walk(folder):
        for name in dirs + names:
            path = os.path.join(dirpath, name)
            times[os.path.relpath(path, folder)] = os.lstat(path).st_mtime_ns
    return times


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def set_compression(info, command):
    with open(info) as f:
        lines = [line for line in f if not line.startswith("compression ")]
    lines.append("compression = %s\n" % command)
    with open(info, "w") as f:
        f.writelines(lines)


def wait_for_file(path, guard=240):
    """Waits for path to appear; the guard only stops a test that hangs."""
    end = time.monotonic() + guard
    while not os.path.exists(path):
        if time.monotonic() > end:
            raise AssertionError("%s never appeared" % path)
        time.sleep(0.02)


def parent_of(pid):
    with open("/proc/%d/stat" % pid) as f:
        return int(f.read().rsplit(")", 1)[1].split()[1])


def is_snakemake(pid):
    with open("/proc/%d/cmdline" % pid, "rb") as f:
        args = f.read().split(b"\0")[:2]
    return any(os.path.basename(a) == b"snakemake" for a in args)


def job_processes(pid):
    """Every process of the job that pid belongs to: the job's shell (the
    child of Snakemake above pid) and all its descendants."""
    root = pid
    while not is_snakemake(parent_of(root)):
        root = parent_of(root)
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                children.setdefault(parent_of(int(entry)), []).append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    found, todo = [], [root]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


if __name__ == "__main__":
    if len(sys.argv) == 9:
        INSTALL = (sys.argv[7], sys.argv[8])
        del sys.argv[7:]
    PROGRAMS = Programs(sys.argv)
    unittest.main(argv=sys.argv[:1], verbosity=2)
