// zeReport over a damaged project: the damage is reported in one ERROR
// line that names the file, and the exit status is 1. One damage of each
// file, and the spline's, which fails only after the lanes are read, runs
// as the middle one of three projects: the other two pages are written as
// they would be alone. Every kind of damage runs in one test, beside the
// same two intact projects, so that their pages alone are made once.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "reportTestSupport.h"

using namespace zetest;

namespace {

std::string copyOfExample(const std::string& dir) {
    RunResult r = run("/bin/cp", {"-r", std::string(ZE_SOURCE_DIR) + "/examples/project", dir});
    if (r.status != 0) ADD_FAILURE() << r.err;
    return dir;
}

void replaceIn(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = readFile(path);
    size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << path;
    writeFile(path, text.replace(at, from.size(), to));
}

// The first n lines of the file.
void keepLines(const std::string& path, int n) {
    std::string text = readFile(path);
    size_t end = 0;
    for (int i = 0; i < n; i++)
        end = text.find('\n', end) + 1;
    writeFile(path, text.substr(0, end));
}

void removeFile(const std::string& path) {
    ASSERT_EQ(std::remove(path.c_str()), 0) << path;
}

struct Damage {
    std::string name;
    // Run between two intact projects (the others run alone).
    bool betweenOthers;
    // Damages the example project in dir.
    std::function<void(const std::string& dir)> apply;
    // The ERROR line's text with "@" standing for the project directory.
    std::string message;
};

std::string withDir(const std::string& message, const std::string& dir) {
    std::string out;
    for (char c : message)
        out += c == '@' ? dir : std::string(1, c);
    return out;
}

// Every kind of damage the readers report. The example's norm-fac file has
// marker blocks of 16 pairs for lanes 0, 4, ..., 24, with fragment sizes.
std::vector<Damage> everyDamage() {
    return {
        Damage{"InfoMissing", true, [](const std::string& d) { removeFile(d + "/info"); },
               "@/info: failed to load project file"},
        Damage{"InfoEnumeratedValue", false,
               [](const std::string& d) {
                   replaceIn(d + "/info", "normmethod = nonlinear", "normmethod = Linear");
               },
               "@/info: normmethod should be linear or nonlinear"},
        Damage{"InfoComponentOrder", false,
               [](const std::string& d) {
                   replaceIn(d + "/info", "componentorder = 1,2,3,4", "componentorder = 1,2,x");
               },
               "@/info: parsing componentorder tag."},
        Damage{"InfoGeometry", false,
               [](const std::string& d) {
                   replaceIn(d + "/info", "lanenumber = 25", "lanenumber = -3");
               },
               "@/info: lanenumber must not be negative, not -3"},
        Damage{"InfoMarkerLanes", false,
               [](const std::string& d) {
                   replaceIn(d + "/info", "markerrepeat = 4", "markerrepeat = 5");
               },
               "@/info: lanenumber 25 does not end on a marker lane: lanenumber - 1 is not a "
               "multiple of markerrepeat 5"},
        Damage{"RawBandsHeader", true,
               [](const std::string& d) { replaceIn(d + "/raw-bands", "BANDS ", "BAND "); },
               "@/raw-bands: loading raw-bands"},
        Damage{"TracesHeader", false,
               [](const std::string& d) { writeFile(d + "/traces", "TRACES x\n"); },
               "couldn't read the header of trace file '@/traces'"},
        Damage{"TracesTooLarge", true,
               [](const std::string& d) {
                   writeFile(d + "/traces", "TRACES 1\nROWS 200000000\na\nb\n");
               },
               "trace file '@/traces' is too large to hold in memory"},
        Damage{"NormFacMissing", false, [](const std::string& d) { removeFile(d + "/norm-fac"); },
               "couldn't open file '@/norm-fac'"},
        Damage{"NormFacHeader", false,
               [](const std::string& d) {
                   replaceIn(d + "/norm-fac", "NORMFACTORS", "NORMFACTOR");
               },
               "wrong header in '@/norm-fac'"},
        Damage{"NormFacLaneIds", false,
               [](const std::string& d) {
                   replaceIn(d + "/norm-fac", "\n4 118 126.05", "\n5 118 126.05");
               },
               "@/norm-fac: corrupted norm-facs file"},
        Damage{"NormFacEndsEarly", true, [](const std::string& d) { keepLines(d + "/norm-fac", 18); },
               "norm-fac file '@/norm-fac' ends before the block of lane 4"},
        Damage{"SplineCannotEvaluateGel", false,
               [](const std::string& d) {
                   replaceIn(d + "/norm-fac", "0 373 202.18", "0 373 123.91");
               },
               "@/norm-fac: lane 0: standard pairs 0 and 1 share the gel position 123.91, where "
               "the spline cannot be evaluated"},
        Damage{"SplineCannotEvaluateSize", true,
               [](const std::string& d) {
                   replaceIn(d + "/norm-fac", "0 4261 1238.79 82", "0 4261 1238.79 55");
               },
               "@/norm-fac: lane 0: size pairs 14 and 15 share the log size 4.00733, where the "
               "spline cannot be evaluated"},
        Damage{"NamesMissing", false, [](const std::string& d) { removeFile(d + "/names"); },
               "can't open @/names"},
        Damage{"NamesHeader", false, [](const std::string& d) { replaceIn(d + "/names", "NAMES", "NAME"); },
               "wrong header for names file '@/names'"},
        Damage{"NamesTooFew", true, [](const std::string& d) { keepLines(d + "/names", 3); },
               "reading @/names"}};
}

// A report page and its figures.
using Pages = std::pair<std::string, std::string>;

Pages pagesOf(const std::string& dir) {
    return {readFile(dir + "/report.html"), readFile(dir + "/report-summary.tsv")};
}

// The pages a run writes, removed (regular files the runs created), so
// that a run that leaves them out is seen.
void removePages(const std::string& dir) {
    std::remove((dir + "/report.html").c_str());
    std::remove((dir + "/report-summary.tsv").c_str());
}

// zeReport over a copy of the example with the damage, between p1 and p3,
// whose pages alone are given, when the damage says so.
void checkDamage(const Damage& damage, const std::string& p1, const std::string& p3,
                 const std::map<std::string, Pages>& alone) {
    TempDir t;
    std::string p2 = copyOfExample(t / "p2");
    damage.apply(p2);
    auto before = snapshot(p2);
    removePages(p1);
    removePages(p3);

    RunResult r = damage.betweenOthers ? runReport({p1, p2, p3}) : runReport({p2});
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: " + withDir(damage.message, p2) + "\n");
    EXPECT_TRUE(snapshot(p2) == before) << "the damaged project was written to";
    if (!damage.betweenOthers) return;

    // The pages around the damaged project are those of a run on each alone.
    for (const std::string& dir : {p1, p3}) {
        ASSERT_TRUE(fileExists(dir + "/report.html")) << dir;
        ASSERT_TRUE(fileExists(dir + "/report-summary.tsv")) << dir;
        Pages pages = pagesOf(dir);
        EXPECT_EQ(pages.first, alone.at(dir).first) << dir;
        EXPECT_EQ(pages.second, alone.at(dir).second) << dir;
    }
}

} // namespace

TEST(ReportDamagedProject, EachIsReportedInOneLineAndTheOthersStillGetTheirPages) {
    TempDir t;
    std::string p1 = copyOfExample(t / "p1"), p3 = copyOfExample(t / "p3");
    std::map<std::string, Pages> alone;
    for (const std::string& dir : {p1, p3}) {
        RunResult r = runReport({dir});
        ASSERT_EQ(r.status, 0) << r.err;
        alone[dir] = pagesOf(dir);
    }
    for (const Damage& damage : everyDamage()) {
        SCOPED_TRACE(damage.name);
        checkDamage(damage, p1, p3, alone);
    }
}
