#!/usr/bin/env python3
"""The batch summary on state directories laid out by hand: the status of
each gel, the optional replicate and tolerance columns, the comparison,
the map, error lines of jobs that never started, and gel names that try
to be markup or break the table."""
import csv
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))), "workflow", "scripts"))
from batch_summary import write_summary  # noqa: E402

FIGURES = {"gel_number": "7", "lanes": "25", "samples": "18", "accepted_bands": "400",
           "dropped_bands": "75", "calibration_warnings": "2"}


class Summary(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="zesummary-")
        self.gels = os.path.join(self.tmp.name, "gels")
        self.state = os.path.join(self.tmp.name, "batch")
        for sub in ("done", "logs"):
            os.makedirs(os.path.join(self.state, sub))

    def tearDown(self):
        self.tmp.cleanup()

    def gel(self, name, figures=None, log=None, done=False, scheduler_log=None):
        project = os.path.join(self.gels, name)
        os.makedirs(project)
        write(os.path.join(project, "info"), "")
        if figures is not None:
            write(os.path.join(project, "report-summary.tsv"),
                  "".join("%s\t%s\n" % kv for kv in figures.items()))
        if log is not None:
            write(os.path.join(self.state, "logs", name + ".log"), log)
        if scheduler_log is not None:
            write(os.path.join(self.state, "logs", name + ".scheduler.log"), scheduler_log)
        if done:
            write(os.path.join(self.state, "done", name), "")

    def rows(self):
        with open(os.path.join(self.state, "summary.tsv"), newline="") as f:
            return list(csv.DictReader(f, delimiter="\t", quoting=csv.QUOTE_NONE))

    def page(self):
        with open(os.path.join(self.state, "index.html")) as f:
            return f.read()

    def test_status_figures_and_error_lines(self):
        self.gel("a", FIGURES, "Load project\nERROR: a warning that ended nothing\n", done=True)
        self.gel("b", FIGURES, "Load project\nERROR: corrupted norm-facs file\nERROR: second\n")
        self.gel("c", None, "", scheduler_log="slurmstepd: error: *** JOB 9 CANCELLED ***\n")
        self.gel("d", FIGURES)  # a report from some earlier run, but no log: never run here
        os.makedirs(os.path.join(self.gels, "not-a-gel"))
        write_summary(self.gels, self.state)
        rows = self.rows()
        self.assertEqual([(r["gel"], r["status"]) for r in rows],
                         [("a", "done"), ("b", "failed"), ("c", "failed"), ("d", "not run")])
        self.assertEqual(list(rows[0])[2:7], ["lanes", "samples", "accepted_bands",
                                              "dropped_bands", "calibration_warnings"])
        self.assertEqual(rows[0]["accepted_bands"], "400")
        self.assertEqual(rows[0]["first_error"], "ERROR: a warning that ended nothing")
        self.assertEqual(rows[1]["first_error"], "ERROR: corrupted norm-facs file")
        self.assertEqual(rows[1]["lanes"], "")  # a failed gel's report may be stale
        self.assertEqual(rows[2]["first_error"], "slurmstepd: error: *** JOB 9 CANCELLED ***")
        self.assertEqual(rows[3]["first_error"] + rows[3]["lanes"], "")
        self.assertNotIn("replicate_warnings", rows[0])
        page = self.page()
        self.assertIn("1 done", page)
        self.assertIn("2 failed", page)
        self.assertIn("1 not run", page)
        self.assertIn('<td class="num warn">2</td>', page)  # calibration warnings stand out

    def test_an_interrupted_job_says_so_whatever_it_printed_before(self):
        self.gel("a", FIGURES, "Load project\nERROR: compression command 'gzip x' failed "
                 "with exit status 1\ngzip y\ninterrupted by signal 15\n")
        # A later, complete run is done, whatever an earlier one said.
        self.gel("b", FIGURES, "Load project\n", done=True)
        write_summary(self.gels, self.state)
        rows = self.rows()
        self.assertEqual([(r["status"], r["first_error"]) for r in rows],
                         [("failed", "interrupted by signal 15"), ("done", "")])

    def test_replicate_column_only_when_a_report_has_it(self):
        self.gel("a", dict(FIGURES, replicate_warnings="3"), "", done=True)
        self.gel("b", FIGURES, "", done=True)
        write_summary(self.gels, self.state)
        rows = self.rows()
        self.assertEqual([r["replicate_warnings"] for r in rows], ["3", ""])
        self.assertIn("<th class=\"num\">Replicate warnings</th>", self.page())

    def test_comparison_figures_left_out_gels_and_an_out_of_date_table(self):
        self.gel("a", dict(FIGURES, suggested_tolerance="4"), "", done=True)
        self.gel("b", dict(FIGURES, suggested_tolerance="none"), "", done=True)
        self.gel("c", None, "ERROR: corrupted norm-facs file\n")
        write(os.path.join(self.state, "compare.tsv"), "header\nrow 1\nrow 2\n")
        write(os.path.join(self.state, "compare-gels.tsv"),
              "gel\tbands_file\tfingerprints\na\tgels/a/7.bands\t3\nb\tgels/b/7.bands\t4\n")
        made = os.stat(os.path.join(self.state, "compare.tsv")).st_mtime_ns
        for gel in ("a", "b"):  # done before the comparison
            os.utime(os.path.join(self.state, "done", gel), ns=(made - 10**9, made - 10**9))
        write_summary(self.gels, self.state)
        rows = self.rows()
        self.assertEqual([(r["suggested_tolerance"], r["compared"]) for r in rows],
                         [("4", "yes"), ("none", "yes"), ("", "no")])
        page = self.page()
        self.assertIn("<th class=\"num\">Suggested tolerance</th>", page)
        self.assertIn('<p class="comparison" data-fingerprints="7" data-pairs="2">7 fingerprints '
                      'of 2 gels compared, 2 pairs reported: <a href="compare.tsv">compare.tsv</a>'
                      '</p>\n<p class="left-out">Left out: c (failed)</p>\n<p>', page)

        # Gel b redone after the comparison: the page says it is out of date.
        os.utime(os.path.join(self.state, "done", "b"), ns=(made + 10**9, made + 10**9))
        write_summary(self.gels, self.state)
        self.assertIn("run the target <code>compare</code> again", self.page())

    def test_comparison_names_its_settings_and_says_when_they_changed(self):
        self.gel("a", FIGURES, "", done=True)
        write(os.path.join(self.state, "compare.tsv"), "header\nrow 1\n")
        write(os.path.join(self.state, "compare-gels.tsv"),
              "gel\tbands_file\tfingerprints\na\tgels/a/7.bands\t2\n")
        write(os.path.join(self.state, "compare-settings.tsv"), "tolerance\t3\ncutoff\t\n")
        os.makedirs(os.path.join(self.state, "compare"))
        asked = os.path.join(self.state, "compare", "settings.tsv")
        write(asked, "tolerance\t3\ncutoff\t\n")
        write_summary(self.gels, self.state)
        self.assertIn("2 fingerprints of 1 gels compared (tolerance 3, cutoff default), 1 pairs "
                      "reported", self.page())
        self.assertNotIn("The settings are now", self.page())

        write(asked, "tolerance\t<7>\ncutoff\t1e-12\n")
        write_summary(self.gels, self.state)
        self.assertIn("(tolerance 3, cutoff default)", self.page())
        self.assertIn("The settings are now tolerance &lt;7&gt;, cutoff 1e-12: run the target "
                      "<code>compare</code> again", self.page())

    def test_map_figures_settings_and_a_build_that_failed(self):
        self.gel("a", FIGURES, "", done=True)
        table = os.path.join(self.state, "contigs.tsv")
        # Contigs 2 and 5 (numbers kept from an earlier build leave gaps):
        # lengths 30 and 12, clones 3 and 2; two clones in no contig.
        write(table, "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"
              "2\tx\t7\t1\t0\t20\tok\t-\t-\n2\ty\t7\t2\t4\t18\tburied\tx:7:1\t-\n"
              "2\tz\t7\t3\t15\t30\tQ\t-\t-\n5\tu\t7\t4\t0\t10\tok\t-\t-\n"
              "5\tv\t7\t5\t2\t12\tok\t-\t-\n0\tw\t7\t6\t-\t-\tchimeric\t-\t2,5\n"
              "0\tt\t7\t7\t-\t-\tok\t-\t-\n")
        write(os.path.join(self.state, "map-settings.tsv"), "tolerance\t5\ncutoff\t1e-9\n")
        os.makedirs(os.path.join(self.state, "map"))
        asked = os.path.join(self.state, "map", "settings.tsv")
        write(asked, "tolerance\t5\ncutoff\t1e-9\n")
        made = os.stat(table).st_mtime_ns
        marker = os.path.join(self.state, "done", "a")
        os.utime(marker, ns=(made - 10**9, made - 10**9))
        write_summary(self.gels, self.state)
        self.assertIn('<h2 id="map">Physical map</h2>\n<p class="map" data-contigs="2" '
                      'data-n50="30" data-n50-clones="3" data-placed="5" data-fingerprints="7">'
                      '2 contigs (N50 30 consensus-band units, 3 clones), 5 of 7 clones placed '
                      '(tolerance 5, cutoff 1e-9): <a href="map.html">map.html</a>, '
                      '<a href="contigs.tsv">contigs.tsv</a></p>\n<p>', self.page())

        # Gel a redone since, and new settings asked for: both are said.
        os.utime(marker, ns=(made + 10**9, made + 10**9))
        write(asked, "tolerance\t7\ncutoff\t1e-9\n")
        write_summary(self.gels, self.state)
        self.assertIn("Gels were done since: run the target <code>map</code> again", self.page())
        self.assertIn("The settings are now tolerance 7, cutoff 1e-9: run the target "
                      "<code>map</code> again", self.page())

        # A table that is not zeContig's is named, not counted.
        write(table, "contig\tclone\n")
        write_summary(self.gels, self.state)
        self.assertIn("cannot be read: %s: not a zeContig table; " % table, self.page())

        # The last build failed: Snakemake removed its outputs, its log stays.
        os.unlink(table)
        write(os.path.join(self.state, "map", "zeContig.log"),
              "zeContig: 1 bands files, numbered afresh\nERROR: 7.bands:3: bad band\n"
              "job ended with exit status 1\n")
        write_summary(self.gels, self.state)
        self.assertIn('<p class="failed-part"><a href="map/zeContig.log">Failed map build</a>: '
                      'ERROR: 7.bands:3: bad band</p>\n<p>', self.page())

    def test_names_and_lines_from_outside_are_escaped(self):
        name = "<b>x&y'\"\t"
        self.gel(name, None, "ERROR: <script>alert(1)</script>\tand more\n")
        write_summary(self.gels, self.state)
        rows = self.rows()
        self.assertEqual(len(rows), 1)
        self.assertEqual(rows[0]["gel"], "<b>x&y'\" ")
        self.assertEqual(rows[0]["first_error"], "ERROR: <script>alert(1)</script> and more")
        page = self.page()
        self.assertNotIn("<script", page)
        self.assertNotIn("<b>", page)
        self.assertIn("&lt;b&gt;x&amp;y&#x27;&quot;", page)
        self.assertIn('href="logs/%3Cb%3Ex%26y%27%22%09.log"', page)
        self.assertNotIn("http", page)
        self.assertNotIn("<link", page)


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
