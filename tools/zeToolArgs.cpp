#include "zeToolArgs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "zeError.h"

namespace {
const char* usageProgram = "";
}

void setUsageProgram(const char* program) {
    usageProgram = program;
}

void failUsage(const std::string& what) {
    printError(what + " (" + usageProgram + " -h for help)");
    exit(1);
}

long parseWhole(const std::string& option, const std::string& text, long lo, long hi) {
    errno = 0;
    char* end = nullptr;
    long v = text.empty() ? 0 : strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || v < lo || v > hi)
        failUsage(option + " needs a whole number from " + std::to_string(lo) + " to " +
                  std::to_string(hi) + ", not '" + text + "'");
    return v;
}

uint64_t parseSeed(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    unsigned long long v = text.empty() ? 0 : strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno == ERANGE)
        failUsage("--seed needs an unsigned whole number, not '" + text + "'");
    return (uint64_t)v;
}

void makeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        int err = mkdir(part.c_str(), 0777) == 0 ? 0 : errno;
        if (err != 0 && err != EEXIST) {
            printError(withReason("couldn't create directory '" + part + "'", err));
            exit(1);
        }
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        printError("'" + path + "' is not a directory");
        exit(1);
    }
}
