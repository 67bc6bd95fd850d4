// The command lines of our own programs, read with the C library's
// getopt_long: "-x VALUE", "-xVALUE", "--long VALUE" and "--long=VALUE",
// options and operands in any order, "--" ending the options. Long options
// are taken only when spelt out in full. getopt's own messages are turned
// off; every usage error comes back as the text of one ERROR line ending in
// "(<program> -h for help)".
//
// A program reads its line with readCommandLine, then walks the options in
// the order given, checking each value with the readers below; the help
// and version options take effect once the whole line is good.
#ifndef ZE_OPTIONS_H
#define ZE_OPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

struct OptionRule {
    char shortName;       // 0: long form only
    std::string longName; // empty: short form only
    bool takesValue;
};

// -h, --help and --version, which every program takes. Inline, so that
// they are set up before any table of options built from them at start-up.
inline const OptionRule HELP_OPTION = {'h', "help", false};
inline const OptionRule VERSION_OPTION = {0, "version", false};

struct GivenOption {
    size_t rule = 0; // index into the rules
    std::string name; // as given, for messages: "-t" or "--html"
    std::string value;
};

struct CommandLine {
    std::vector<GivenOption> options; // in the order given
    std::vector<std::string> operands;
};

// False with `error` set on an unknown option, a missing value or a value
// given to an option that takes none.
bool readCommandLine(int argc, char** argv, const std::string& program,
                     const std::vector<OptionRule>& rules, CommandLine& line, std::string& error);

// "<what> (<program> -h for help)", the tail every usage error carries.
std::string usageProblem(const std::string& program, const std::string& what);

// The whole text as a whole number of lowest .. highest: digits with an
// optional leading minus, nothing else. For values made of parts.
bool wholeNumber(const std::string& text, long lowest, long highest, long& value);

// The whole text as a finite real number, without blanks around it.
bool realNumber(const std::string& text, double& value);

// The option's value by wholeNumber; false with `error` naming the option
// and the range otherwise.
bool wholeOption(const std::string& program, const GivenOption& given, long lowest, long highest,
                 long& value, std::string& error);

// Any unsigned 64-bit whole number, digits only (a seed).
bool unsignedOption(const std::string& program, const GivenOption& given, uint64_t& value,
                    std::string& error);

// A finite real number of at least `lowest` (above it when lowestExcluded).
bool realOption(const std::string& program, const GivenOption& given, double lowest,
                bool lowestExcluded, double& value, std::string& error);

// A finite real number of lowest .. highest.
bool realRangeOption(const std::string& program, const GivenOption& given, double lowest,
                     double highest, double& value, std::string& error);

// A help text, printf style, so that the defaults it names are printed
// from the variables that hold them.
std::string helpText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes a help text or version line on standard output. Returns the exit
// status: 0, or 1 after an ERROR line when it could not be written.
int printHelpOrVersion(const std::string& text);

#endif
