// A run of zeStep5 that fails must say so: exit status 1, one "ERROR: "
// line, and nothing left behind that looks complete but isn't. Full disks
// are made three ways: a project file linked to /dev/full, a file size
// limit for files in Results (which every step recreates), and, as root, a
// small tmpfs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "projectBuilder.h"
#include "testSupport.h"

using namespace zetest;

namespace {

using Snapshot = std::map<std::string, std::string>;

void makeExecutable(const std::string& path, const std::string& script) {
    writeFile(path, script);
    chmod(path.c_str(), 0755);
}

// A compression command whose output does not depend on the time of the
// run (gzip stores the picture's name and time unless told not to).
std::string stableGzip(const TempDir& tools) {
    std::string path = tools / "gzipn";
    makeExecutable(path, "#!/bin/sh\nexec gzip -n \"$@\"\n");
    return path;
}

void generate(const std::string& dir, int lanes, int markerRepeat, const std::string& compression) {
    RunResult r = run(ZE_GENERATOR_BIN, {"--out", dir, "--lanes", std::to_string(lanes),
                                         "--marker-repeat", std::to_string(markerRepeat),
                                         "--compression", compression});
    ASSERT_EQ(r.status, 0) << r.err;
}

std::string gunzip(const std::string& bytes) {
    TempDir t;
    writeFile(t / "x.gz", bytes);
    return run("/bin/gzip", {"-dc", t / "x.gz"}).out;
}

// Every file a failed run left must equal the file a run with room wrote.
// A picture whose compression failed stays uncompressed; it must then hold
// what the compressed one holds.
void expectOnlyCompleteFiles(const Snapshot& left, const Snapshot& reference,
                             const std::string& context) {
    for (const auto& file : left) {
        const std::string& name = file.first;
        auto same = reference.find(name);
        if (same != reference.end()) {
            EXPECT_TRUE(file.second == same->second) << context << ": " << name << " differs";
            continue;
        }
        auto compressed = reference.find(name + ".gz");
        ASSERT_TRUE(compressed != reference.end()) << context << ": unexpected " << name;
        EXPECT_TRUE(file.second == gunzip(compressed->second)) << context << ": " << name;
    }
}

// The path named by the one "couldn't write" line of err.
std::string failedWritePath(const std::string& err) {
    const std::string head = "ERROR: couldn't write '";
    std::vector<std::string> lines = linesStartingWith(err, head);
    if (lines.size() != 1) return "";
    const std::string& l = lines[0];
    return l.substr(head.size(), l.rfind("': ") - head.size());
}

// --------------------------------------------------------------------------
// Write errors

TEST(StepWriteFailures, ProjectFileOnAFullDeviceFailsAndLeavesTheLink) {
    TempDir tools;
    std::string gzipn = stableGzip(tools);
    for (const char* target : {"map.17.gel", "17.bands", "17.sizes"}) {
        TempDir dir;
        generate(dir.path(), 5, 4, gzipn);
        ASSERT_EQ(runStep(dir.path()).status, 0);
        Snapshot reference = snapshotFiles(dir.path());

        std::string link = dir / target;
        ASSERT_EQ(unlink(link.c_str()), 0);
        ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
        RunResult r = runStep(dir.path());
        EXPECT_EQ(r.status, 1) << target;
        EXPECT_EQ(r.err, "ERROR: couldn't write '" + link + "': No space left on device\n");
        // Neither the link nor the device it points to is removed.
        char buf[64] = {};
        EXPECT_EQ(readlink(link.c_str(), buf, sizeof buf - 1), 9) << target;
        EXPECT_STREQ(buf, "/dev/full");
        EXPECT_TRUE(isCharacterDevice("/dev/full"));
        // The process ended at once: no per-clone file was written.
        EXPECT_TRUE(listDir(dir / "Results").empty()) << target;
        expectOnlyCompleteFiles(snapshotFiles(dir.path()), reference, target);
    }
}

// Limits below the sizes of the gel file, an ICS data file and a picture:
// each run fails on a different file, and whatever it leaves is complete.
TEST(StepWriteFailures, FileSizeLimitFailsTheRunWithCompleteFilesOnly) {
    TempDir tools;
    std::string gzipn = stableGzip(tools);
    std::set<std::string> failedKinds;
    for (int lanes : {3, 5}) {
        TempDir dir;
        generate(dir.path(), lanes, lanes - 1, gzipn);
        Snapshot inputs = snapshotFiles(dir.path());
        ASSERT_EQ(runStep(dir.path()).status, 0);
        Snapshot reference = snapshotFiles(dir.path());
        for (long limit : {1024L, 6144L, 10240L, 30720L, 4L << 20}) {
            std::string context = std::to_string(lanes) + " lanes, limit " + std::to_string(limit);
            RunResult r = runWithFileSizeLimit(limit, zeStep5Path(), {dir.path(), "map"});
            Snapshot left = snapshotFiles(dir.path());
            if (r.status == 0) {
                EXPECT_EQ(r.err, "") << context;
                EXPECT_TRUE(left == reference) << context;
                continue;
            }
            EXPECT_EQ(r.status, 1) << context;
            std::string path = failedWritePath(r.err);
            ASSERT_FALSE(path.empty()) << context << ": " << r.err;
            EXPECT_NE(r.err.find("': File too large\n"), std::string::npos) << r.err;
            EXPECT_FALSE(fileExists(path)) << context;
            failedKinds.insert(path.substr(path.rfind('.')));
            expectOnlyCompleteFiles(left, reference, context);
            for (const auto& input : inputs)
                EXPECT_TRUE(left.at(input.first) == input.second) << context;
        }
    }
    EXPECT_EQ(failedKinds, (std::set<std::string>{".gel", ".ids", ".ppm"}));
}

// The most realistic check: disks of many sizes, each too small for some
// part of the outputs. A run exits 0 only when every output is there.
TEST(StepWriteFailures, SmallDisksLeaveOnlyCompleteFiles) {
    TempDir dir, tools;
    std::string gzipn = stableGzip(tools);
    std::string mountPoint = dir / "disk";
    std::string gel = mountPoint + "/gel";
    Snapshot reference;
    {
        SmallDisk roomy(mountPoint, 16384);
        if (!roomy.mounted()) GTEST_SKIP() << "no tmpfs: " << roomy.reason();
        generate(gel, 5, 4, gzipn);
        ASSERT_EQ(runStep(gel).status, 0);
        reference = snapshotFiles(gel);
    }
    int failed = 0, succeeded = 0;
    for (long kib = 124; kib <= 380; kib += 16) {
        SmallDisk disk(mountPoint, kib);
        ASSERT_TRUE(disk.mounted()) << disk.reason();
        generate(gel, 5, 4, gzipn);
        RunResult r = runStep(gel);
        std::string context = std::to_string(kib) + " KiB";
        Snapshot left = snapshotFiles(gel);
        if (r.status == 0) {
            succeeded++;
            EXPECT_TRUE(left == reference) << context;
            continue;
        }
        failed++;
        EXPECT_EQ(r.status, 1) << context;
        EXPECT_FALSE(linesStartingWith(r.err, "ERROR: ").empty()) << context << r.err;
        expectOnlyCompleteFiles(left, reference, context);
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(succeeded, 0);
}

// --------------------------------------------------------------------------
// Failures the step goes on after

TEST(StepExitStatus, FailedCompressionIsReportedAndKeepsThePicture) {
    TempDir tools;
    std::string killer = tools / "killer";
    makeExecutable(killer, "#!/bin/sh\nkill -9 $$\n");
    struct Case {
        std::string command;
        std::string ending; // of the message, after the command
    };
    const Case cases[] = {
        {"false", "' failed with exit status 1"},
        {"no-such-compressor", "' failed with exit status 127"},
        // A shell may report its killed child as 128 + 9.
        {killer, "' was killed by signal 9"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        generate(dir.path(), 5, 4, c.command);
        RunResult r = runStep(dir.path());
        EXPECT_EQ(r.status, 1) << c.command;
        std::vector<std::string> echoed = linesStartingWith(r.out, c.command + " ");
        std::vector<std::string> errors = linesStartingWith(r.err, "ERROR: ");
        ASSERT_EQ(echoed.size(), 3u) << r.out;
        ASSERT_EQ(errors.size(), echoed.size()) << r.err;
        for (size_t i = 0; i < echoed.size(); i++) {
            std::string head = "ERROR: compression command '" + echoed[i];
            std::string ending = c.ending;
            if (c.command == killer && errors[i] != head + ending)
                ending = "' failed with exit status 137";
            EXPECT_EQ(errors[i], head + ending);
            // Every sample was still handled, its picture left uncompressed.
            std::string ppm = echoed[i].substr(c.command.size() + 1);
            EXPECT_TRUE(fileExists(ppm)) << ppm;
        }
    }
}

TEST(StepExitStatus, FailedFirstPairStillRunsTheSecondInFull) {
    TempDir dir, tools;
    std::string gzipn = stableGzip(tools);
    std::string good = dir / "good";
    generate(good, 5, 4, gzipn);
    ASSERT_EQ(runStep(good).status, 0);
    Snapshot alone = snapshotFiles(good);

    RunResult r = run(zeStep5Path(), {dir / "missing", "map", good, "map"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: failed to load project file\n");
    EXPECT_TRUE(snapshotFiles(good) == alone);
}

// rm cannot remove a mount point (as root) nor, for anyone else, the
// entries of a directory without write permission.
TEST(StepExitStatus, ResultsDirectoryThatCannotBeRecreated) {
    TempDir dir, tools;
    generate(dir.path(), 5, 4, stableGzip(tools));
    std::string stuck = dir / "Results/stuck";
    ASSERT_EQ(mkdir((dir / "Results").c_str(), 0755), 0);
    if (geteuid() == 0) {
        SmallDisk mount(stuck, 64);
        if (!mount.mounted()) GTEST_SKIP() << "no tmpfs: " << mount.reason();
        RunResult r = runStep(dir.path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(linesStartingWith(r.err, "ERROR: "),
                  std::vector<std::string>{"ERROR: couldn't recreate results directory '" +
                                           (dir / "Results") + "'"});
        // The step went on.
        EXPECT_EQ(linesStartingWith(r.out, "Emit normalised bands").size(), 1u);
    } else {
        writeFile(stuck, "stale");
        chmod((dir / "Results").c_str(), 0555);
        RunResult r = runStep(dir.path());
        chmod((dir / "Results").c_str(), 0755);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("ERROR: couldn't recreate results directory '" + (dir / "Results") +
                             "'\n"),
                  std::string::npos);
    }
}

} // namespace
