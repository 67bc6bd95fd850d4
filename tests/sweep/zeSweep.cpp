// Hostile-input sweep through the real zeStep5: the example project with
// one input file cut, flipped, given hostile numbers, a foreign header, made
// empty, removed or replaced by a directory. Every run must exit with
// status 0 or 1 (no signal, within the time bound), a run with status 1
// must have printed a line beginning "ERROR: ", and nothing may appear
// beside the project directory.
//
//   zeSweep ZESTEP5 EXAMPLE_PROJECT [--reduced] [--shard K/N] [--timeout SECONDS]
//
// --reduced (or ZE_SWEEP_REDUCED=1) runs about a third of the cases, for
// quick runs by hand. --shard K/N runs every N-th case starting with
// the K-th (1 <= K <= N), so that N processes share the cases and each gets
// a mix of every kind. Prints the figures; exit status 1 when any run broke
// a rule (its project is kept and named).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "sweepCases.h"
#include "sweepProcess.h"
#include "testSupport.h"

namespace {

const char* const INPUT_FILES[] = {"info", "raw-bands", "traces", "norm-fac", "names"};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every path below root except those inside skip, relative to root.
void listTree(const std::string& root, const std::string& rel, const std::string& skip,
              std::set<std::string>& out) {
    DIR* d = opendir((root + rel).c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
        std::string child = rel + "/" + e->d_name;
        out.insert(child);
        struct stat st;
        if (child != skip && lstat((root + child).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            listTree(root, child, skip, out);
    }
    closedir(d);
}

// The first "ERROR: " line with quoted names, paths and numbers replaced,
// so that runs failing for the same reason count together.
std::string messageKind(const std::string& err) {
    std::istringstream lines(err);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 7, "ERROR: ") != 0) continue;
        std::istringstream words(line);
        std::string word, kind;
        bool quoted = false;
        while (words >> word) {
            if (quoted) {
                quoted = word.back() != '\'';
                continue;
            }
            if (word[0] == '\'') {
                quoted = word.size() == 1 || word.back() != '\'';
                word = "'...'";
            } else if (word.find('/') != std::string::npos) {
                word = "PATH";
            } else if (word.find_first_of("0123456789") != std::string::npos) {
                word = "N";
            }
            kind += (kind.empty() ? "" : " ") + word;
        }
        return kind;
    }
    return "";
}

struct Figures {
    int runs = 0;
    int exit0 = 0;
    int exit1 = 0;
    int broken = 0;
    double longest = 0;
    std::string longestLabel;
    std::map<std::string, int> exit0ByKind; // step ended early (or not at all)
    std::map<std::string, int> exit1ByKind;
    std::map<std::string, int> runsByCaseKind;
};

void report(const Figures& f) {
    printf("sweep: %d runs, %d exit 0, %d exit 1, %d broke a rule\n", f.runs, f.exit0, f.exit1,
           f.broken);
    printf("longest run: %.2f s (%s)\n", f.longest, f.longestLabel.c_str());
    printf("runs by change:");
    for (const auto& k : f.runsByCaseKind)
        printf(" %s %d;", k.first.c_str(), k.second);
    printf("\nexit 0 by message:\n");
    for (const auto& k : f.exit0ByKind)
        printf("  %5d  %s\n", k.second, k.first.empty() ? "(no ERROR line: step completed)" : k.first.c_str());
    printf("exit 1 by message:\n");
    for (const auto& k : f.exit1ByKind)
        printf("  %5d  %s\n", k.second, k.first.empty() ? "(no ERROR line)" : k.first.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s ZESTEP5 EXAMPLE_PROJECT [--reduced] [--shard K/N] [--timeout SECONDS]\n",
                argv[0]);
        return 2;
    }
    std::string program = argv[1];
    char here[4096];
    if (program[0] != '/' && getcwd(here, sizeof here)) program = std::string(here) + "/" + program;
    std::string example = argv[2];
    const char* envReduced = getenv("ZE_SWEEP_REDUCED");
    bool reduced = envReduced && strcmp(envReduced, "1") == 0;
    int timeout = 20;
    int shard = 1, shards = 1;
    for (int i = 3; i < argc; i++) {
        if (!strcmp(argv[i], "--reduced")) reduced = true;
        else if (!strcmp(argv[i], "--timeout") && i + 1 < argc) timeout = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--shard") && i + 1 < argc) {
            char end = 0;
            if (sscanf(argv[++i], "%d/%d%c", &shard, &shards, &end) != 2 || shards < 1 || shard < 1 ||
                shard > shards) {
                fprintf(stderr, "zeSweep: --shard wants K/N with 1 <= K <= N, not '%s'\n", argv[i]);
                return 2;
            }
        }
    }

    ProjectFiles project;
    for (const char* name : INPUT_FILES) {
        project[name] = readFile(example + "/" + name);
        if (project[name].empty()) {
            fprintf(stderr, "zeSweep: cannot read %s/%s\n", example.c_str(), name);
            return 2;
        }
    }
    // The pictures' compression command becomes `true`: gzip, run once per
    // sample, was a third of the sweep's time, and the step's running of
    // the command has tests of its own. Every case of the info file still
    // meets the line.
    const std::string gzipLine = "compression = gzip\n";
    size_t compression = project["info"].find(gzipLine);
    if (compression != std::string::npos)
        project["info"].replace(compression, gzipLine.size(), "compression = true\n");
    std::vector<SweepCase> all = buildSweepCases(project, reduced);
    std::vector<SweepCase> cases;
    for (size_t i = shard - 1; i < all.size(); i += shards)
        cases.push_back(all[i]);
    if (shards > 1) printf("shard %d of %d: %zu of %zu cases\n", shard, shards, cases.size(), all.size());

    Figures figures;
    const char* tmp = getenv("TMPDIR");
    std::string scratchTemplate = std::string(tmp && *tmp ? tmp : "/tmp") + "/zesweep.XXXXXX";
    for (const SweepCase& c : cases) {
        std::vector<char> templ(scratchTemplate.begin(), scratchTemplate.end());
        templ.push_back('\0');
        if (!mkdtemp(templ.data())) {
            perror("mkdtemp");
            return 2;
        }
        // The project sits two levels down, so that a path climbing out of
        // it with ".." still lands inside the scratch directory and is seen.
        std::string scratch = templ.data();
        std::string cwd = scratch + "/a/b";
        std::string dir = cwd + "/p";
        mkdir((scratch + "/a").c_str(), 0755);
        mkdir(cwd.c_str(), 0755);
        mkdir(dir.c_str(), 0755);
        for (const auto& f : project)
            writeFile(dir + "/" + f.first, f.second);
        std::string entry = dir + "/" + c.entry;
        zetest::removeTree(entry);
        if (c.shape == EntryShape::FILE) writeFile(entry, c.content);
        if (c.shape == EntryShape::DIRECTORY) mkdir(entry.c_str(), 0755);

        std::set<std::string> before, after;
        listTree(scratch, "", "/a/b/p", before);
        RunOutcome r = runBounded(program, {"p", "map1"}, cwd, timeout);
        listTree(scratch, "", "/a/b/p", after);

        figures.runs++;
        if (r.seconds > figures.longest) {
            figures.longest = r.seconds;
            figures.longestLabel = c.label;
        }
        figures.runsByCaseKind[c.kind]++;
        std::string kind = messageKind(r.err);
        std::string broken;
        if (r.timedOut) broken = "still running after " + std::to_string(timeout) + " s";
        else if (r.signal) broken = "ended by signal " + std::to_string(r.signal);
        else if (r.status != 0 && r.status != 1) broken = "exit status " + std::to_string(r.status);
        else if (r.status == 1 && kind.empty()) broken = "exit status 1 without an ERROR: line";
        else if (before != after) broken = "something was written beside the project directory";

        if (r.status == 0 && broken.empty()) {
            figures.exit0++;
            figures.exit0ByKind[kind]++;
        } else if (r.status == 1 && broken.empty()) {
            figures.exit1++;
            figures.exit1ByKind[kind]++;
        }
        if (!broken.empty()) {
            figures.broken++;
            printf("BROKEN: %s: %s (project kept in %s)\n", c.label.c_str(), broken.c_str(),
                   dir.c_str());
            printf("  stderr: %.400s\n", r.err.c_str());
        } else {
            zetest::removeTree(scratch);
        }
    }
    report(figures);
    return figures.broken == 0 ? 0 : 1;
}
