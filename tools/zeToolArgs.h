// The generators' command lines, read by the shared option reader
// (zeOptions.h), and their output directory. A bad command line ends the
// program with "ERROR: <what> (<program> -h for help)" and status 1, the
// shape of every usage error of the package.
#ifndef ZE_TOOLARGS_H
#define ZE_TOOLARGS_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeOptions.h"

// The program named in usage errors; set once, first thing in main.
void setUsageProgram(const char* program);

[[noreturn]] void failUsage(const std::string& what);

// argv read against rules; a malformed line ends the program.
CommandLine readToolCommandLine(int argc, char** argv, const std::vector<OptionRule>& rules);

// The help text or version line on standard output, then the end of the
// program: status 0, or 1 when it could not be written.
[[noreturn]] void printAndExit(const std::string& text);

// The option's value checked as zeOptions.h says; a bad one ends the
// program.
long wholeValue(const GivenOption& given, long lowest, long highest);
uint64_t unsignedValue(const GivenOption& given);
double realValue(const GivenOption& given, double lowest, bool lowestExcluded);
double realRangeValue(const GivenOption& given, double lowest, double highest);

// Creates path and its missing parents; ends the program with an ERROR
// line when one cannot be created or path is not a directory.
void makeDirectories(const std::string& path);

#endif
