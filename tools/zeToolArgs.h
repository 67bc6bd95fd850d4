// The generators' command-line values and output directory. A bad value
// ends the program with "ERROR: <what> (<program> -h for help)" and status
// 1, the shape of every usage error of the package.
#ifndef ZE_TOOLARGS_H
#define ZE_TOOLARGS_H

#include <cstdint>
#include <string>

// The program named in usage errors; set once, first thing in main.
void setUsageProgram(const char* program);

[[noreturn]] void failUsage(const std::string& what);

// A whole number from lo to hi, the value of `option`.
long parseWhole(const std::string& option, const std::string& text, long lo, long hi);

// The value of --seed: any unsigned 64-bit whole number.
uint64_t parseSeed(const std::string& text);

// Creates path and its missing parents; ends the program with an ERROR
// line when one cannot be created or path is not a directory.
void makeDirectories(const std::string& path);

#endif
