// zeReport end to end: the command line, the page and its figures file
// and nothing else, the page's sections, and names that try to be markup.
#include <gtest/gtest.h>
#include <unistd.h>

#include "projectBuilder.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

std::string copyOfExample(const TempDir& t) {
    std::string dir = t / "example";
    RunResult r = run("/bin/cp", {"-r", std::string(ZE_SOURCE_DIR) + "/examples/project", dir});
    if (r.status != 0) ADD_FAILURE() << r.err;
    return dir;
}

const char* USAGE = "USAGE:  zeReport luprojname...\n"
                    "Writes report.html and report-summary.tsv into each project directory.\n"
                    "  -h, --help   this text\n"
                    "  --version    the version\n"
                    "Exit status 0 when every report was written, 1 otherwise.\n";

} // namespace

TEST(ReportCommandLine, NoArgumentsDoNothing) {
    RunResult r = runReport({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(ReportCommandLine, HelpPrintsTheUsage) {
    RunResult r = runReport({"-h"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, USAGE);
}

TEST(ReportCommandLine, LongHelpAndVersionStandAlone) {
    TempDir t;
    std::string dir = copyOfExample(t);
    RunResult help = runReport({dir, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, USAGE);
    EXPECT_FALSE(fileExists(dir + "/report.html"));
    RunResult version = runReport({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zeReport (zestep) 1.0\n");
}

TEST(ReportCommandLine, BadOptionIsOneErrorLineAndNothingIsReported) {
    TempDir t;
    std::string dir = copyOfExample(t);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-x", dir}, "unknown option '-x'"},
        {{dir, "--bogus"}, "unknown option '--bogus'"},
        {{dir, "--he"}, "unknown option '--he'"},
        {{"-hx", dir}, "unknown option '-x'"},
        {{"--help=yes", dir}, "--help takes no value"},
    };
    for (const auto& [args, what] : cases) {
        RunResult r = runReport(args);
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(r.err, "ERROR: " + what + " (zeReport -h for help)\n");
        EXPECT_FALSE(fileExists(dir + "/report.html")) << what;
    }
}

TEST(ReportCommandLine, ShortHelpAnywhereReportsNothing) {
    TempDir t;
    std::string dir = copyOfExample(t);
    RunResult r = runReport({dir, "-h"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, USAGE);
    EXPECT_FALSE(fileExists(dir + "/report.html"));
    // A help text that cannot be written is a failure.
    r = run("/bin/sh", {"-c", std::string(ZEREPORT_BIN) + " --help > /dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't write 'standard output': No space left on device\n");
    // After "--" a word is a project directory, even when it looks like an option.
    r = runReport({"--", "-h"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("USAGE"), std::string::npos);
}

TEST(ReportCommandLine, MissingProjectFailsAndTheNextIsStillReported) {
    TempDir t;
    std::string good = copyOfExample(t);
    RunResult r = runReport({t / "missing", good});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: " + t / "missing" + "/info: failed to load project file\n");
    EXPECT_FALSE(fileExists(t / "missing"));
    EXPECT_TRUE(fileExists(good + "/report.html"));
}

TEST(ReportCommandLine, WrongNamesHeaderWritesNoReport) {
    TempDir t;
    std::string dir = copyOfExample(t);
    writeFile(dir + "/names", "NAME\n0 - \"x\"\n");
    RunResult r = runReport({dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: wrong header for names file '" + dir + "/names'\n");
    EXPECT_FALSE(fileExists(dir + "/report.html"));
}

TEST(ReportCommandLine, UnwritableReportFails) {
    TempDir t;
    std::string dir = copyOfExample(t);
    run("/bin/mkdir", {dir + "/report.html"}); // a directory where the page should go
    RunResult r = runReport({dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't write '" + dir + "/report.html': Is a directory\n");
}

TEST(ReportCommandLine, ReportOnAFullDiskFailsAndLeavesNoPartialPage) {
    TempDir t;
    std::string dir = copyOfExample(t);
    std::string page = dir + "/report.html";
    // Linked to /dev/full: the write fails, the link and the device stay.
    ASSERT_EQ(symlink("/dev/full", page.c_str()), 0);
    RunResult r = runReport({dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't write '" + page + "': No space left on device\n");
    char target[32] = {};
    EXPECT_EQ(readlink(page.c_str(), target, sizeof target - 1), 9);
    EXPECT_TRUE(isCharacterDevice("/dev/full"));
    // Under a file size limit the page is cut short, then removed.
    ASSERT_EQ(unlink(page.c_str()), 0);
    r = runWithFileSizeLimit(4096, ZEREPORT_BIN, {dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't write '" + page + "': File too large\n");
    EXPECT_FALSE(fileExists(page));
}

// After a step, every file of the project (Results included) keeps its
// bytes and its modification time; report.html and report-summary.tsv are
// the only new entries, and a second run rewrites them to the same bytes.
TEST(ReportFiles, OnlyTheReportAndItsFiguresAreWritten) {
    TempDir t;
    std::string dir = copyOfExample(t);
    ASSERT_EQ(runStep(dir, "map1").status, 0);
    auto before = snapshot(dir);
    ASSERT_TRUE(before.count("Results/bVT238G05.EcoRI.0.ppm.gz"));

    RunResult r = runReport({dir});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto after = snapshot(dir);
    ASSERT_TRUE(after.count("report.html"));
    ASSERT_TRUE(after.count("report-summary.tsv"));
    std::string page = after["report.html"].bytes;
    std::string figures = after["report-summary.tsv"].bytes;
    after.erase("report.html");
    after.erase("report-summary.tsv");
    EXPECT_TRUE(before == after);

    ASSERT_EQ(runReport({dir}).status, 0);
    auto again = snapshot(dir);
    EXPECT_EQ(again["report.html"].bytes, page);
    EXPECT_EQ(again["report-summary.tsv"].bytes, figures);
    again.erase("report.html");
    again.erase("report-summary.tsv");
    EXPECT_TRUE(before == again);
}

// The figures file repeats the page's totals: 18 named samples with 499 raw
// bands, 423 of them in the bands file; the copies of a clone match, and
// their spread suggests a tolerance.
TEST(ReportFiles, FiguresFileHoldsThePageTotals) {
    TempDir t;
    std::string dir = copyOfExample(t);
    ASSERT_EQ(runReport({dir}).status, 0);
    EXPECT_EQ(readFile(dir + "/report-summary.tsv"),
              "gel_number\t17\nlanes\t25\nsamples\t18\naccepted_bands\t423\n"
              "dropped_bands\t76\ncalibration_warnings\t0\nreplicate_warnings\t0\n"
              "suggested_tolerance\t4\n");
    int accepted = 0, dropped = 0;
    for (const ReportRow& row : reportRows(readFile(dir + "/report.html"))) {
        accepted += row.accepted;
        dropped += row.outside + row.negativePosition + row.negativeLogSize + row.otherKind;
    }
    EXPECT_EQ(accepted, 423);
    EXPECT_EQ(dropped, 76);
}

TEST(ReportFiles, ExamplePageHasAllThreeSectionsAndNeedsNothingFromOutside) {
    TempDir t;
    std::string dir = copyOfExample(t);
    ASSERT_EQ(runReport({dir}).status, 0);
    std::string html = readFile(dir + "/report.html");
    EXPECT_EQ(html.compare(0, 15, "<!DOCTYPE html>"), 0);
    for (const char* id : {"summary", "calibration", "gel"})
        EXPECT_EQ(countOf(html, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(html, "<svg class=\"lane-plot\""), 25);
    // 18 named samples: 18 rows, 18 strips.
    EXPECT_EQ(reportRows(html).size(), 18u);
    EXPECT_EQ(gelPictures(html).size(), 18u);
    EXPECT_EQ(countOf(html, "<script"), 0);
    EXPECT_EQ(countOf(html, "<link"), 0);
    EXPECT_EQ(countOf(html, "http"), countOf(html, "xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_NE(html.find("<p class=\"ok\">No warnings"), std::string::npos);
    // Totals over the example: every sample's own bands, 423 accepted.
    EXPECT_NE(html.find("<tfoot><tr><td colspan=\"6\">All named samples</td>"
                        "<td class=\"num\">423</td>"),
              std::string::npos);
}

TEST(ReportFiles, NamesAndPathsFromTheInputAreEscaped) {
    TempDir t;
    std::string dir = t / "p&<b>'x'";
    run("/bin/mkdir", {dir});
    ProjectShape p;
    p.lanes = 2;
    p.gelNumber = "g<1>";
    TraceBody body(p);
    writeProject(dir, {infoText(p), rawBandsText({{0, 10}, {1, 20}}), tracesText(p, body),
                       normFacText(p, linearCalibration(16, 128)),
                       namesText({nameEntry(0, "+", "<script>alert(1)</script>", "a&b"),
                                  nameEntry(1, "+", "<img src=x onerror='y'>", "d>'e'")})});
    RunResult r = runReport({dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(dir + "/report.html");
    // Blanks in names become "_" as in every output of the step.
    // "/" becomes "_" too.
    EXPECT_EQ(countOf(html, "&lt;script&gt;alert(1)&lt;_script&gt;"),
              4); // table, caption, strip x2
    EXPECT_EQ(countOf(html, "&lt;img_src=x_onerror=&#39;y&#39;&gt;"), 4);
    EXPECT_EQ(countOf(html, "<td>a&amp;b</td>"), 1);
    EXPECT_EQ(countOf(html, "<td>d&gt;&#39;e&#39;</td>"), 1);
    EXPECT_EQ(countOf(html, "<code>g&lt;1&gt;</code>"), 1);
    EXPECT_EQ(countOf(html, "p&amp;&lt;b&gt;&#39;x&#39;"), 2); // title and header
    EXPECT_EQ(countOf(html, "<script"), 0);
    EXPECT_EQ(countOf(html, "<img"), 0);
    EXPECT_EQ(countOf(html, "<b>"), 0);
    std::vector<ReportRow> rows = reportRows(html);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].clone, "&lt;script&gt;alert(1)&lt;_script&gt;");
}
