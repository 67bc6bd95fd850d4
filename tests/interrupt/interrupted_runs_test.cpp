// zeStep5 stopped or doubled while its compression command runs, through
// the real program on a generated gel. The compression command is a script
// that announces itself with a file and then waits, so every moment is
// reached by synchronisation, never by a sleep.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <string>

#include "interruptSupport.h"
#include "testSupport.h"

using namespace zeinterrupt;

namespace {

const std::string BUSY = "ERROR: project 'gel' is being processed by another zeStep5\n";

// A gel (named "gel" in base, like its undisturbed twin "reference/gel")
// whose pictures are compressed by `script`, a shell script written into
// base; the undisturbed twin uses plain gzip. The outputs do not depend on
// the command.
class Gel {
  public:
    explicit Gel(const std::string& scriptBody) {
        std::string script = tmp / "compress";
        zetest::writeFile(script, "#!/bin/sh\nT='" + tmp.path() + "'\n" + scriptBody);
        chmod(script.c_str(), 0755);
        generate(tmp / "gel", script);
        mkdir((tmp / "reference").c_str(), 0777);
        generate(tmp / "reference/gel", "gzip");
        BackgroundRun undisturbed(ZESTEP5_BIN, {"gel", "map"}, tmp / "reference");
        EXPECT_EQ(undisturbed.finish(), 0) << undisturbed.err();
        reference = outputsByKey(projectOutputs(tmp / "reference/gel"));
    }
    std::string operator/(const std::string& name) const { return tmp / name; }
    const std::string& dir() const { return tmp.path(); }
    // Files the gel's runs left that differ from the undisturbed run.
    std::vector<std::string> differing() const {
        return differences(reference, projectOutputs(tmp / "gel"));
    }
    size_t referenceFiles() const { return reference.size(); }

  private:
    void generate(const std::string& dir, const std::string& compression) {
        zetest::RunResult r = zetest::run(ZE_GENERATOR_BIN, {"--out", dir, "--seed", "7", "--lanes", "9",
                                                             "--rows", "6", "--row-length", "400",
                                                             "--compression", compression});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    zetest::TempDir tmp;
    std::map<std::string, std::string> reference;
};

// Announces the first picture and waits there for good; `survived` tells
// of a command that outlived its step.
const char* const WAITS_ONCE =
    "if [ ! -e \"$T/waiting\" ]; then\n"
    "  touch \"$T/waiting\"\n"
    "  sleep 30 </dev/null >/dev/null 2>&1\n"
    "  touch \"$T/survived\"\n"
    "fi\n"
    "exec gzip \"$1\"\n";

void expectKilledBy(int status, int sig, const std::string& err) {
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << describe(status) << "\n" << err;
}

TEST(InterruptedCompression, SignalToTheStepAloneEndsTheCommandAndTheStep) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE("signal " + std::to_string(sig));
        Gel gel(WAITS_ONCE);
        BackgroundRun run(ZESTEP5_BIN, {"gel", "map"}, gel.dir());
        ASSERT_TRUE(waitForFile(gel / "waiting"));
        // SIGINT included: system() would have ignored it here.
        run.signalProgram(sig);
        int status = run.finish(); // standard output ends when the command has ended too
        expectKilledBy(status, sig, run.err());
        EXPECT_FALSE(zetest::fileExists(gel / "survived"));
        // The picture being compressed stays, complete and uncompressed.
        EXPECT_EQ(gel.differing(), std::vector<std::string>());
    }
}

TEST(InterruptedCompression, CtrlCReachingTheWholeGroupStopsTheStep) {
    Gel gel(WAITS_ONCE);
    BackgroundRun run(ZESTEP5_BIN, {"gel", "map"}, gel.dir());
    ASSERT_TRUE(waitForFile(gel / "waiting"));
    run.signalGroup(SIGINT);
    expectKilledBy(run.finish(), SIGINT, run.err());
    EXPECT_FALSE(zetest::fileExists(gel / "survived"));
    EXPECT_EQ(gel.differing(), std::vector<std::string>());
}

TEST(InterruptedCompression, CommandEndedBySigintStopsTheStep) {
    // The shell itself, and a program the shell ran (status 130 from sh).
    for (const char* body : {"kill -INT $$\n", "sh -c 'kill -INT $$'\nexit $?\n"}) {
        SCOPED_TRACE(body);
        Gel gel(body);
        BackgroundRun run(ZESTEP5_BIN, {"gel", "map"}, gel.dir());
        expectKilledBy(run.finish(), SIGINT, run.err());
        EXPECT_EQ(gel.differing(), std::vector<std::string>());
        // The step stopped at the first picture.
        std::vector<std::string> pictures;
        for (const OutputFile& f : projectOutputs(gel / "gel"))
            if (f.key.size() > 4 && f.key.compare(f.key.size() - 4, 4, ".ppm") == 0) pictures.push_back(f.name);
        EXPECT_EQ(pictures.size(), 1u);
    }
}

// Each picture's command announces itself and waits for "go"; "free" lets
// every later one through at once.
const char* const WAITS_EACH_TIME =
    "if [ ! -e \"$T/free\" ]; then\n"
    "  touch \"$T/waiting\"\n"
    "  while [ ! -e \"$T/go\" ] && [ ! -e \"$T/free\" ]; do sleep 0.01; done\n"
    "  rm -f \"$T/waiting\" \"$T/go\"\n"
    "fi\n"
    "exec gzip \"$1\"\n";

TEST(TwoRuns, SecondRunFailsAtOnceAndTouchesNothing) {
    Gel gel(WAITS_EACH_TIME);
    BackgroundRun first(ZESTEP5_BIN, {"gel", "map"}, gel.dir());
    for (int picture = 0; picture < 4; picture++) {
        SCOPED_TRACE("during picture " + std::to_string(picture));
        ASSERT_TRUE(waitForFile(gel / "waiting"));
        std::map<std::string, std::string> before = zetest::snapshotFiles(gel / "gel");
        zetest::RunResult second = zetest::run(ZESTEP5_BIN, {"gel", "map"}, "", gel.dir());
        EXPECT_EQ(second.status, 1);
        EXPECT_EQ(second.err, BUSY);
        EXPECT_EQ(second.out, "");
        // Two steps on one command line: the busy one fails, the other runs.
        if (picture == 1) {
            zetest::run("/bin/mkdir", {gel / "other"});
            zetest::run("/bin/cp", {"-r", gel / "reference/gel/info", gel / "reference/gel/raw-bands",
                                    gel / "reference/gel/traces", gel / "reference/gel/norm-fac",
                                    gel / "reference/gel/names", gel / "other"});
            zetest::RunResult both = zetest::run(ZESTEP5_BIN, {"gel", "map", "other", "map"}, "", gel.dir());
            EXPECT_EQ(both.status, 1);
            EXPECT_EQ(both.err, BUSY);
            EXPECT_TRUE(zetest::fileExists(gel / "other/map.17.gel"));
        }
        // zeReport reads nothing a step is rewriting.
        if (picture == 2) {
            zetest::RunResult report = zetest::run(ZEREPORT_BIN, {"gel"}, "", gel.dir());
            EXPECT_EQ(report.status, 1);
            EXPECT_EQ(report.err, "ERROR: project 'gel' is being processed by zeStep5\n");
            EXPECT_FALSE(zetest::fileExists(gel / "gel/report.html"));
        }
        EXPECT_EQ(zetest::snapshotFiles(gel / "gel"), before);
        // The command has taken its turn once "go" is gone again.
        zetest::writeFile(gel / "go", "");
        ASSERT_TRUE(waitUntilGone(gel / "go"));
    }
    zetest::writeFile(gel / "free", "");
    EXPECT_EQ(first.finish(), 0) << first.err();
    EXPECT_EQ(first.err(), "");
    EXPECT_EQ(gel.differing(), std::vector<std::string>());
    EXPECT_EQ(projectOutputs(gel / "gel").size(), gel.referenceFiles());
    // Once the step has ended, the report runs.
    zetest::RunResult report = zetest::run(ZEREPORT_BIN, {"gel"}, "", gel.dir());
    EXPECT_EQ(report.status, 0) << report.err;
}

} // namespace
