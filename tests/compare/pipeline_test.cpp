// The whole path from a gel to its pairs: zeStep5 then zeCompare on
// generated gels of every shape the generator makes, calibrations that
// reach past the scale's end among them. Every bands file the step writes
// must be read, and every fingerprint must pair with itself, every band
// matched, when a file is compared with a copy of itself.
#include <gtest/gtest.h>

#include <sstream>

#include "compareTestSupport.h"
#include "zeScale.h"

using namespace zetest;

namespace {

struct Shape {
    std::string name;
    std::vector<std::string> knobs;
};

// Small gels keep the test quick; the shapes differ in what the step's
// paths depend on.
const std::vector<std::string> SMALL = {"--row-length", "600", "--rows", "4"};

std::vector<Shape> shapes() {
    std::vector<Shape> s = {
        {"default", {}},
        {"linear, no sizes", {"--method", "linear", "--no-sizes"}},
        {"two dyes, markers every 2nd lane", {"--dyes", "2", "--marker-repeat", "2", "--lanes", "9"}},
        {"three dyes, markers every 6th lane",
         {"--dyes", "3", "--marker-repeat", "6", "--lanes", "13"}},
        {"short rows", {"--row-length", "300", "--rows", "3", "--lanes", "9"}},
        {"long rows", {"--row-length", "3000", "--rows", "3", "--lanes", "5"}},
        {"true replicates", {"--true-replicates"}},
        {"mismatched replicate", {"--mismatched-replicate"}},
        {"ladder to 4650", {"--ladder-top", "4650"}},
        {"ladder to 4830, linear", {"--ladder-top", "4830", "--method", "linear"}},
        {"ladder to 4700, two dyes, no sizes",
         {"--ladder-top", "4700", "--dyes", "2", "--no-sizes", "--lanes", "9"}},
    };
    for (size_t k = 1; k < s.size(); k++) {
        bool sized = false;
        for (const std::string& knob : s[k].knobs)
            sized = sized || knob == "--row-length";
        if (!sized) s[k].knobs.insert(s[k].knobs.end(), SMALL.begin(), SMALL.end());
    }
    return s;
}

// Every band position of a bands file (the lines that are neither a header
// nor "-1").
std::vector<int> positions(const std::string& bandsText) {
    std::vector<int> p;
    std::istringstream in(bandsText);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != ' ' && line != "-1") p.push_back(std::stoi(line));
    return p;
}

int fingerprints(const std::string& bandsText) {
    int n = 0;
    std::istringstream in(bandsText);
    for (std::string line; std::getline(in, line);)
        n += line.rfind("         ", 0) == 0;
    return n;
}

} // namespace

TEST(Pipeline, EveryBandsFileTheStepWritesIsReadAndPairsWithItsCopy) {
    TempDir t;
    std::vector<std::string> files;
    int pastEnd = 0;
    std::vector<Shape> all = shapes();
    for (size_t k = 0; k < all.size(); k++) {
        const Shape& s = all[k];
        std::vector<std::string> knobs = s.knobs;
        knobs.insert(knobs.end(), {"--gel-number", std::to_string(101 + k)});
        std::string bands = normalisedGel(t / ("g" + std::to_string(k)), 11 + (int)k, knobs);
        ASSERT_FALSE(bands.empty()) << s.name;
        std::string text = readFile(bands);
        for (int p : positions(text))
            pastEnd += p >= NORM_SCALE_LENGTH;
        files.push_back(bands);

        std::string copy = t / ("copy" + std::to_string(k) + ".bands");
        writeFile(copy, text);
        RunResult r = runCompare({"-c", "1", bands, copy});
        ASSERT_EQ(r.status, 0) << s.name << ": " << r.err;
        EXPECT_EQ(r.err, "WARNING: gel number '" + std::to_string(101 + k) + "' is in both '" +
                             bands + "' and '" + copy + "'\n");
        // (clone, gel, ordinal) is the same on both sides of a fingerprint's
        // pair with its copy, and of no other pair.
        int selfPairs = 0, n = fingerprints(text);
        for (const auto& row : tableRows(r.out)) {
            if (row[0] == "clone1" || row[0] != row[4] || row[1] != row[5] || row[2] != row[6])
                continue;
            selfPairs++;
            EXPECT_EQ(row[8], row[3]) << s.name << ": " << row[0] << " #" << row[2];
            EXPECT_EQ(row[7], row[3]);
        }
        EXPECT_EQ(selfPairs, n) << s.name;
        EXPECT_GT(n, 0) << s.name;
    }
    EXPECT_GT(pastEnd, 0) << "no gel put a band past the scale's end";

    RunResult r = runCompare(files);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}
