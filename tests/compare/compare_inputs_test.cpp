// zeCompare's inputs: a page never written over a bands file, a file never
// compared with itself by being given twice, a warning when two files carry
// one gel number, and copies of a clone told apart by their ordinals.
#include <gtest/gtest.h>

#include <unistd.h>

#include "compareTestSupport.h"

using namespace zetest;

namespace {

const std::string TWO_COPIES = "         bA 2 5\n10\n20\n-1\n         bA 2 5\n11\n21\n-1\n";

} // namespace

TEST(CompareInputs, APageThatIsAnInputIsRefusedBeforeAnythingIsRead) {
    TempDir t;
    std::string x = t / "x.bands", y = t / "y.bands", link = t / "link.html";
    writeFile(x, TWO_COPIES);
    writeFile(y, "         bB 1 6\n10\n-1\n");
    ASSERT_EQ(symlink(x.c_str(), link.c_str()), 0);
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--html", x, y, x}, "ERROR: the page '" + x + "' is the bands file '" + x +
                                  "': it would be written over\n"},
        {{"--html", link, y, x}, "ERROR: the page '" + link + "' is the bands file '" + x +
                                     "': it would be written over\n"},
        {{"--html", x, link}, "ERROR: the page '" + x + "' is the bands file '" + link +
                                  "': it would be written over\n"},
        {{y, y}, "ERROR: the bands file '" + y + "' is given twice\n"},
        {{x, y, link}, "ERROR: the bands files '" + x + "' and '" + link +
                           "' are one file, given twice\n"},
        {{x, t.path() + "/./x.bands"}, "ERROR: the bands files '" + x + "' and '" + t.path() +
                                           "/./x.bands' are one file, given twice\n"},
        // Refused even when another input is unreadable: nothing is read.
        {{"--html", y, t / "missing.bands", y}, "ERROR: the page '" + y + "' is the bands file '" +
                                                    y + "': it would be written over\n"},
    };
    for (const Case& c : cases) {
        RunResult r = runCompare(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(readFile(x), TWO_COPIES);
    // A page that does not exist yet clashes with nothing.
    RunResult fresh = runCompare({"--html", t / "new.html", x, y});
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_TRUE(fileExists(t / "new.html"));
}

TEST(CompareInputs, AGelNumberInTwoFilesIsWarnedAboutOnce) {
    TempDir t;
    std::string a = t / "a.bands", b = t / "b.bands", c = t / "c.bands";
    writeFile(a, "         bA 1 17\n10\n-1\n         bB 1 18\n10\n-1\n");
    writeFile(b, "         bC 1 17\n10\n-1\n         bD 1 17\n10\n-1\n         bE 1 19\n10\n-1\n");
    writeFile(c, "         bF 1 18\n10\n-1\n         bG 1 17\n10\n-1\n");
    RunResult r = runCompare({a, b, c});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "WARNING: gel number '17' is in both '" + a + "' and '" + b + "'\n"
                     "WARNING: gel number '18' is in both '" + a + "' and '" + c + "'\n"
                     "WARNING: gel number '17' is in both '" + a + "' and '" + c + "'\n");
    EXPECT_EQ(runCompare({a, t / "none.bands"}).err.find("WARNING"), std::string::npos);
}

// A file of no fingerprints is most likely the wrong one: the run goes on
// with the others, and says so.
TEST(CompareInputs, AFileOfNoFingerprintsIsWarnedAbout) {
    TempDir t;
    std::string a = t / "a.bands", empty = t / "empty.bands", blank = t / "blank.bands";
    writeFile(a, TWO_COPIES);
    writeFile(empty, "");
    writeFile(blank, "\n\n");
    RunResult r = runCompare({"-c", "1", empty, a, blank});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "WARNING: '" + empty + "' holds no fingerprints\n"
                     "WARNING: '" + blank + "' holds no fingerprints\n");
    EXPECT_EQ(r.out, runCompare({"-c", "1", a}).out);
}

TEST(CompareInputs, OrdinalsTellCopiesOfACloneApart) {
    TempDir t;
    std::string x = t / "x.bands", y = t / "y.bands";
    writeFile(x, TWO_COPIES);
    writeFile(y, "         bA 2 6\n10\n20\n-1\n");
    RunResult r = runCompare({"-c", "1", x, y});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "clone1\tgel1\tordinal1\tbands1\tclone2\tgel2\tordinal2\tbands2\tshared\tscore\tdice\n"
              "bA\t5\t1\t2\tbA\t5\t2\t2\t2\t3.69e-05\t1.000\n"
              "bA\t5\t1\t2\tbA\t6\t1\t2\t2\t3.69e-05\t1.000\n"
              "bA\t5\t2\t2\tbA\t6\t1\t2\t2\t3.69e-05\t1.000\n");
}
