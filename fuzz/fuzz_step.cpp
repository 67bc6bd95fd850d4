// One whole step of zeStep5 on a project assembled from the fuzz input: a
// flag byte (bit 0: -v), then the info, raw-bands, traces, norm-fac and
// names files separated by SEPARATOR (a file whose part is missing is not
// written). The step runs through the command-line parser as main runs it.
//
// Shell commands of the step never reach a shell: this harness defines
// system() itself and hands it to the step as its command hook (commands
// from outside the step, such as a merge's workers, go to the shell as
// usual).
// "rm -rf" and "mkdir" of the results directory are carried out directly;
// the compression command is only checked (its argument must be a picture
// in the results directory). So no input can make the harness run a
// program. After the step nothing may exist beside the project directory.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzzSupport.h"
#include "zeCommand.h"
#include "zeStep.h"

namespace {

const char SEPARATOR[] = "\n#ZE#\n";
const char* const FILES[] = {"info", "raw-bands", "traces", "norm-fac", "names"};
const int MAX_SAMPLES = 48; // keeps one run short; bigger gels belong to the reader harnesses

std::string projectDir;
bool insideStep = false;

// The shell as the C library's system() runs it, for the fuzzer's own
// commands (a merge starts its workers that way).
int shellCommand(const char* command) {
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command, (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return status;
}

// Undoes the step's shell quoting: a word of safe characters as it stands,
// or single-quoted pieces joined by \'. False for anything else.
bool unquote(const std::string& word, std::string& out) {
    static const char safe[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@%+=:,./-";
    out.clear();
    if (word.empty()) return false;
    if (word[0] != '\'') {
        if (word.find_first_not_of(safe) != std::string::npos) return false;
        out = word;
        return true;
    }
    size_t i = 0;
    while (i < word.size()) {
        if (word.compare(i, 2, "\\'") == 0) {
            out += '\'';
            i += 2;
            continue;
        }
        if (word[i] != '\'') return false;
        size_t close = word.find('\'', i + 1);
        if (close == std::string::npos) return false;
        out += word.substr(i + 1, close - i - 1);
        i = close + 1;
    }
    return true;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string resultsDir() { return projectDir + "/Results"; }

// Entries of the scratch directory other than the project itself.
bool somethingBesideProject() {
    DIR* d = opendir(scratchDir().c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..") && strcmp(e->d_name, "p"))
            found = true;
    }
    closedir(d);
    return found;
}

} // namespace

extern "C" int system(const char* command) {
    if (!insideStep) return command ? shellCommand(command) : 1;
    if (!command) return 0;
    std::string cmd(command), path;
    if (startsWith(cmd, "rm -rf ")) {
        if (!unquote(cmd.substr(7), path) || path != resultsDir()) fuzzFail("unexpected rm command");
        removeTree(path);
        return 0;
    }
    if (startsWith(cmd, "mkdir ")) {
        if (!unquote(cmd.substr(6), path) || path != resultsDir()) fuzzFail("unexpected mkdir");
        mkdir(path.c_str(), 0775);
        return 0;
    }
    // The compression word holds no blank, so the first blank ends it.
    size_t blank = cmd.find(' ');
    if (blank == std::string::npos || !unquote(cmd.substr(blank + 1), path))
        fuzzFail("compression command without a single quoted argument");
    std::string inResults = resultsDir() + "/";
    if (!startsWith(path, inResults) || path.find('/', inResults.size()) != std::string::npos ||
        path.size() < 4 || path.compare(path.size() - 4, 4, ".ppm") != 0)
        fuzzFail("compression command names something other than a picture in Results");
    struct stat st;
    if (stat(path.c_str(), &st) != 0) fuzzFail("compression command names a missing picture");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    bool verboseRun = in.takeByte() & 1;
    std::vector<std::string> parts = splitInput(in.rest(), in.restSize(), SEPARATOR, 5);

    clearDir(scratchDir());
    projectDir = scratchDir() + "/p";
    mkdir(projectDir.c_str(), 0775);
    for (size_t i = 0; i < parts.size(); i++)
        writeFile(projectDir + "/" + FILES[i], parts[i]);

    // Gels too large for a quick run are skipped (the reader harnesses take
    // those). A gel number that climbs out with ".." puts the gel-level files
    // beside the project (an open point of the driver): such inputs are not
    // held against the step.
    bool gelNumberClimbs = false;
    try {
        ProjInfo p;
        if (p.readFrom((projectDir + "/info").c_str()) &&
            (p.lanenumber > MAX_SAMPLES || p.dyenumber > MAX_SAMPLES ||
             (long)p.lanenumber * p.dyenumber > MAX_SAMPLES))
            return 0;
        gelNumberClimbs = strstr(p.gelnumber.c_str(), "..") != nullptr;
    } catch (const FuzzExit&) {
    }

    verbose = verboseRun;
    giveHelp = false;
    std::string project = projectDir;
    char program[] = "zeStep5";
    char mapping[] = "map";
    char* argv[] = {program, &project[0], mapping, nullptr};
    insideStep = true;
    setShellCommandHook(system);
    try {
        cli c(3, argv, help);
        c += cliParam('h', giveHelp);
        c += cliParam('v', verbose);
        c += cliParam(noParam);
        c.go();
    } catch (const FuzzExit&) {
    }
    insideStep = false;
    if (somethingBesideProject() && !gelNumberClimbs)
        fuzzFail("the step wrote outside its project directory");
    return 0;
}
