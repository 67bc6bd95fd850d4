#include "zeToolArgs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "zeError.h"

namespace {

const char* usageProgram = "";

[[noreturn]] void failWith(const std::string& error) {
    printError(error);
    exit(1);
}

} // namespace

void setUsageProgram(const char* program) {
    usageProgram = program;
}

void failUsage(const std::string& what) {
    failWith(usageProblem(usageProgram, what));
}

CommandLine readToolCommandLine(int argc, char** argv, const std::vector<OptionRule>& rules) {
    CommandLine line;
    std::string error;
    if (!readCommandLine(argc, argv, usageProgram, rules, line, error)) failWith(error);
    return line;
}

void printAndExit(const std::string& text) {
    exit(printHelpOrVersion(text));
}

long wholeValue(const GivenOption& given, long lowest, long highest) {
    long v = 0;
    std::string error;
    if (!wholeOption(usageProgram, given, lowest, highest, v, error)) failWith(error);
    return v;
}

uint64_t unsignedValue(const GivenOption& given) {
    uint64_t v = 0;
    std::string error;
    if (!unsignedOption(usageProgram, given, v, error)) failWith(error);
    return v;
}

double realValue(const GivenOption& given, double lowest, bool lowestExcluded) {
    double v = 0;
    std::string error;
    if (!realOption(usageProgram, given, lowest, lowestExcluded, v, error)) failWith(error);
    return v;
}

double realRangeValue(const GivenOption& given, double lowest, double highest) {
    double v = 0;
    std::string error;
    if (!realRangeOption(usageProgram, given, lowest, highest, v, error)) failWith(error);
    return v;
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
