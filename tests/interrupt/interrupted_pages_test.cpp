// zeReport and zeCompare interrupted while their pages are still being made:
// the previous complete files stay as they were, and nothing else is left.
// Each moment is reached by synchronisation: zeReport waits on a names file
// that is a named pipe, zeCompare on a full standard output.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "interruptSupport.h"
#include "testSupport.h"

using namespace zeinterrupt;

namespace {

const std::string PREVIOUS_PAGE = "previous page\n";
const std::string PREVIOUS_SUMMARY = "previous summary\n";

void expectKilledBy(int status, int sig, const std::string& err) {
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << describe(status) << "\n" << err;
}

// Opens the named pipe for writing once a reader has opened it; -1 after
// a generous guard against a reader that never comes.
int openWhenRead(const std::string& fifo) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
        int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0 || errno != ENXIO || std::chrono::steady_clock::now() > end) return fd;
        usleep(2000);
    }
}

TEST(InterruptedPages, ReportKeepsThePreviousPageAndHoldsOffAStep) {
    zetest::TempDir tmp;
    std::string gel = tmp / "gel";
    zetest::RunResult made = zetest::run(ZE_GENERATOR_BIN, {"--out", gel, "--seed", "7", "--lanes", "5",
                                                            "--rows", "4", "--row-length", "200"});
    ASSERT_EQ(made.status, 0) << made.err;
    zetest::writeFile(gel + "/report.html", PREVIOUS_PAGE);
    zetest::writeFile(gel + "/report-summary.tsv", PREVIOUS_SUMMARY);
    // The names file, read last, is a pipe: the run waits there with its
    // pages already begun.
    std::string names = zetest::readFile(gel + "/names");
    ASSERT_EQ(unlink((gel + "/names").c_str()), 0);
    ASSERT_EQ(mkfifo((gel + "/names").c_str(), 0600), 0);
    std::vector<std::string> before = zetest::listDir(gel);

    BackgroundRun report(ZEREPORT_BIN, {"gel"}, tmp.path());
    int writer = openWhenRead(gel + "/names");
    ASSERT_GE(writer, 0);
    // Its pages' places were tried before the project was read.
    EXPECT_NE(zetest::listDir(gel), before);
    // The step is refused and names what holds the project.
    zetest::RunResult step = zetest::run(ZESTEP5_BIN, {"gel", "map"}, "", tmp.path());
    EXPECT_EQ(step.status, 1);
    EXPECT_EQ(step.err, "ERROR: project 'gel' is being processed by zeReport\n");

    report.signalGroup(SIGINT);
    expectKilledBy(report.finish(), SIGINT, report.err());
    close(writer);
    EXPECT_EQ(zetest::listDir(gel), before);
    EXPECT_EQ(zetest::readFile(gel + "/report.html"), PREVIOUS_PAGE);
    EXPECT_EQ(zetest::readFile(gel + "/report-summary.tsv"), PREVIOUS_SUMMARY);

    // An undisturbed run replaces both.
    ASSERT_EQ(unlink((gel + "/names").c_str()), 0);
    zetest::writeFile(gel + "/names", names);
    zetest::RunResult again = zetest::run(ZEREPORT_BIN, {"gel"}, "", tmp.path());
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(zetest::readFile(gel + "/report.html").compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_NE(zetest::readFile(gel + "/report-summary.tsv"), PREVIOUS_SUMMARY);
    EXPECT_EQ(zetest::listDir(gel), before);
}

// 120 fingerprints of 20 bands each: every pair's row (-c 1) makes a table
// far larger than a pipe holds.
std::string manyFingerprints() {
    std::string text;
    unsigned state = 12345;
    for (int clone = 0; clone < 120; clone++) {
        text += "         c" + std::to_string(clone) + " 20 1\n";
        int position = 0;
        for (int band = 0; band < 20; band++) {
            state = state * 1103515245u + 12345u;
            position += 10 + (int)((state >> 16) % 200);
            text += std::to_string(position) + "\n";
        }
        text += "-1\n";
    }
    return text;
}

TEST(InterruptedPages, CompareKeepsThePreviousPageAndItsLink) {
    zetest::TempDir tmp;
    zetest::writeFile(tmp / "1.bands", manyFingerprints());
    zetest::writeFile(tmp / "real.html", PREVIOUS_PAGE);
    ASSERT_EQ(chmod((tmp / "real.html").c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.html", (tmp / "page.html").c_str()), 0);
    std::vector<std::string> before = zetest::listDir(tmp.path());

    // Stopped while it writes the table: the header is out, the rest
    // waits for a reader that does not come.
    BackgroundRun compare(ZECOMPARE_BIN, {"-c", "1", "--html", "page.html", "1.bands"}, tmp.path());
    ASSERT_TRUE(compare.waitForLines(1));
    compare.signalGroup(SIGINT);
    expectKilledBy(compare.finish(), SIGINT, compare.err());
    EXPECT_EQ(zetest::listDir(tmp.path()), before);
    EXPECT_EQ(zetest::readFile(tmp / "real.html"), PREVIOUS_PAGE);

    // An undisturbed run replaces what the link points to, with its mode,
    // and the link stays.
    zetest::RunResult again = zetest::run(ZECOMPARE_BIN, {"--html", "page.html", "1.bands"}, "", tmp.path());
    EXPECT_EQ(again.status, 0) << again.err;
    struct stat st;
    ASSERT_EQ(lstat((tmp / "page.html").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat((tmp / "real.html").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(zetest::readFile(tmp / "real.html").compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_EQ(zetest::listDir(tmp.path()), before);
}

} // namespace
