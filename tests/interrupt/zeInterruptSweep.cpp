// Interrupt sweep through the real zeStep5: a generated gel with real gzip
// compression is run once undisturbed, then run again and again with
// SIGTERM or SIGINT sent to its process group (as Ctrl-C in a terminal or
// a scheduler's time limit sends it) at moments spread over the whole run:
// each moment is "after the n-th line of progress output, plus a little".
// Every interrupted run must end by the signal, and every file it leaves
// must equal that file of the undisturbed run (pictures compared
// decompressed; an uncompressed picture stands for its compressed twin);
// no other file may appear. A run the signal reached only after it had
// finished must have left the whole normal result.
//
//   zeInterruptSweep ZESTEP5 ZEGENPROJECT [--moments N]
//
// Prints the figures; exit status 1 when any run broke a rule.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "interruptSupport.h"
#include "testSupport.h"

using namespace zeinterrupt;

namespace {

struct Figures {
    int moments = 0, interrupted = 0, finished = 0, filesCompared = 0, differing = 0, broken = 0;
};

// A gel of a dozen named samples: long enough for moments inside every
// stage, short enough for the sanitized build.
void generateGel(const std::string& generator, const std::string& dir) {
    zetest::RunResult r = zetest::run(generator, {"--out", dir, "--seed", "19", "--lanes", "13",
                                                  "--rows", "12", "--row-length", "1200"});
    if (r.status != 0) {
        fprintf(stderr, "zeInterruptSweep: generator failed: %s\n", r.err.c_str());
        exit(2);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s ZESTEP5 ZEGENPROJECT [--moments N]\n", argv[0]);
        return 2;
    }
    // Absolute: the runs start in the sweep's own directory.
    char* step = realpath(argv[1], nullptr);
    char* gen = realpath(argv[2], nullptr);
    if (!step || !gen) {
        fprintf(stderr, "zeInterruptSweep: cannot find %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    std::string zeStep5 = step, generator = gen;
    free(step);
    free(gen);
    int moments = 24;
    for (int i = 3; i < argc; i++)
        if (!strcmp(argv[i], "--moments") && i + 1 < argc) moments = atoi(argv[++i]);

    zetest::TempDir tmp;
    std::string pristine = tmp / "gel";
    generateGel(generator, pristine);

    // The undisturbed run: the yardstick, and the number of progress lines.
    // Every run names its project "gel" from a directory of its own: the
    // name is part of the outputs.
    std::string referenceDir = tmp / "reference/gel";
    mkdir((tmp / "reference").c_str(), 0777);
    copyInputs(pristine, referenceDir);
    BackgroundRun undisturbed(zeStep5, {"gel", "map"}, tmp / "reference");
    int status = undisturbed.finish();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "zeInterruptSweep: undisturbed run: %s\n%s", describe(status).c_str(),
                undisturbed.err().c_str());
        return 2;
    }
    std::vector<OutputFile> referenceFiles = projectOutputs(referenceDir);
    std::map<std::string, std::string> reference = outputsByKey(referenceFiles);
    int lines = 0;
    for (char c : undisturbed.out())
        lines += c == '\n';
    printf("undisturbed run: %d progress lines, %zu files\n", lines, referenceFiles.size());

    Figures f;
    for (int m = 0; m < moments; m++) {
        int sig = m % 2 == 0 ? SIGTERM : SIGINT;
        // Lines 0 .. all of them, and a few milliseconds more in steps, so
        // that moments fall inside the writes as well as between them; the
        // last moment comes after the end of the output.
        int afterLines = moments > 1 ? (int)((long)m * (lines + 1) / (moments - 1)) : 0;
        useconds_t extra = (useconds_t)((m * 7) % 5) * 1500;
        std::string trial = tmp / ("trial" + std::to_string(m));
        std::string dir = trial + "/gel";
        mkdir(trial.c_str(), 0777);
        copyInputs(pristine, dir);
        BackgroundRun run(zeStep5, {"gel", "map"}, trial);
        run.waitForLines(afterLines);
        if (extra) usleep(extra);
        run.signalGroup(sig);
        int ended = run.finish();
        f.moments++;

        std::vector<std::string> problems;
        std::vector<OutputFile> left = projectOutputs(dir);
        if (WIFSIGNALED(ended) && WTERMSIG(ended) == sig) {
            f.interrupted++;
        } else if (WIFEXITED(ended) && WEXITSTATUS(ended) == 0) {
            // The signal came after the end: the whole normal result.
            f.finished++;
            if (left.size() != referenceFiles.size()) problems.push_back("finished run left " +
                std::to_string(left.size()) + " files, not " + std::to_string(referenceFiles.size()));
        } else {
            problems.push_back("ended with " + describe(ended) + ", not by signal " + std::to_string(sig));
        }
        std::vector<std::string> differing = differences(reference, left);
        f.filesCompared += (int)left.size();
        f.differing += (int)differing.size();
        problems.insert(problems.end(), differing.begin(), differing.end());
        if (!problems.empty()) {
            f.broken++;
            printf("moment %d (signal %d after %d lines + %u us): %s\n", m, sig, afterLines,
                   (unsigned)extra, describe(ended).c_str());
            for (const std::string& p : problems)
                printf("  %s\n", p.c_str());
            printf("  stderr: %s\n", run.err().c_str());
        }
        zetest::run("/bin/rm", {"-rf", trial});
    }
    printf("interrupt sweep: %d moments tried (%d ended by the signal, %d had finished), "
           "%d files compared, %d differing, %d runs broke a rule\n",
           f.moments, f.interrupted, f.finished, f.filesCompared, f.differing, f.broken);
    return f.broken == 0 ? 0 : 1;
}
