// The command lines of our own programs, read with the C library's
// getopt_long: "-x VALUE", "--long VALUE" and "--long=VALUE", options and
// operands in any order, "--" ending the options. getopt's own messages
// are turned off; every usage error comes back as the text of one ERROR
// line ending in "(<program> -h for help)".
#ifndef ZE_OPTIONS_H
#define ZE_OPTIONS_H

#include <string>
#include <vector>

struct OptionSpec {
    char shortName;       // 0: long form only
    std::string longName; // empty: short form only
    bool takesValue;
};

struct GivenOption {
    size_t spec = 0; // index into the specs
    std::string name; // as given, for messages: "-t" or "--html"
    std::string value;
};

struct CommandLine {
    std::vector<GivenOption> options; // in the order given
    std::vector<std::string> operands;
};

// False with `error` set on an unknown option or a missing value.
bool readCommandLine(int argc, char** argv, const std::string& program,
                     const std::vector<OptionSpec>& specs, CommandLine& line, std::string& error);

// "<what> (<program> -h for help)", the tail every usage error carries.
std::string usageProblem(const std::string& program, const std::string& what);

// A whole number of lowest .. highest, digits with an optional leading
// minus only; false with `error` naming the option otherwise.
bool wholeOption(const std::string& program, const GivenOption& given, long lowest, long highest,
                 long& value, std::string& error);

// A finite real number of at least `lowest` (above it when lowestExcluded).
bool realOption(const std::string& program, const GivenOption& given, double lowest,
                bool lowestExcluded, double& value, std::string& error);

#endif
