#include "zeOptions.h"

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "zeTextFile.h"
#include "zeWriteCheck.h"

namespace {

// Codes getopt_long returns for long options: above every character.
const int LONG_CODE = 256;

// The option word of an argument: "--name" of "--name=value".
std::string optionWord(const char* argument) {
    std::string word = argument;
    return word.substr(0, word.find('='));
}

std::string numberText(double v) {
    char text[64];
    snprintf(text, sizeof text, "%g", v);
    return text;
}

} // namespace

std::string usageProblem(const std::string& program, const std::string& what) {
    return what + " (" + program + " -h for help)";
}

bool readCommandLine(int argc, char** argv, const std::string& program,
                     const std::vector<OptionRule>& rules, CommandLine& line, std::string& error) {
    // A leading '-' hands operands back in place (as code 1), so that they
    // may come between options; a ':' reports a missing value apart from
    // an unknown option.
    std::string shortOptions = "-:";
    std::vector<option> longOptions;
    for (size_t k = 0; k < rules.size(); ++k) {
        if (rules[k].shortName) {
            shortOptions += rules[k].shortName;
            if (rules[k].takesValue) shortOptions += ':';
        }
        if (!rules[k].longName.empty())
            longOptions.push_back({rules[k].longName.c_str(),
                                   rules[k].takesValue ? required_argument : no_argument, nullptr,
                                   LONG_CODE + (int)k});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    line = CommandLine();
    opterr = 0;
    optind = 0; // 0: a full reset, also of a scan begun by an earlier call
    for (;;) {
        int c = getopt_long(argc, argv, shortOptions.c_str(), longOptions.data(), nullptr);
        if (c == -1) break;
        if (c == 1) {
            line.operands.push_back(optarg);
            continue;
        }
        // The word that named the option: the one before a separate value.
        bool separateValue = optarg && optind >= 2 && optarg == argv[optind - 1];
        std::string name = c == '?' || c == ':' ? optionWord(argv[optind - 1])
                                                : optionWord(argv[optind - (separateValue ? 2 : 1)]);
        size_t rule = 0;
        bool isLong = c >= LONG_CODE || ((c == '?' || c == ':') && optopt >= LONG_CODE);
        if (isLong) {
            rule = (size_t)((c >= LONG_CODE ? c : optopt) - LONG_CODE);
            // getopt also takes a long option cut short; we do not, so
            // that adding an option never changes what a command means.
            if (name != "--" + rules[rule].longName) c = '?', optopt = 0;
        } else if (c == '?' || c == ':') {
            if (optopt) name = std::string("-") + (char)optopt;
        } else {
            while (rules[rule].shortName != c)
                ++rule;
            name = std::string("-") + (char)c;
        }
        if (c == ':') {
            error = usageProblem(program, name + " needs a value");
            return false;
        }
        if (c == '?') {
            error = usageProblem(program, optopt >= LONG_CODE
                                              ? name + " takes no value"
                                              : "unknown option '" + shownText(name) + "'");
            return false;
        }
        line.options.push_back({rule, name, rules[rule].takesValue && optarg ? optarg : ""});
    }
    for (int i = optind; i < argc; ++i)
        line.operands.push_back(argv[i]);
    return true;
}

bool wholeNumber(const std::string& text, long lowest, long highest, long& value) {
    bool digits = !text.empty() && text != "-";
    for (size_t k = 0; k < text.size(); ++k)
        if (!(text[k] >= '0' && text[k] <= '9') && !(k == 0 && text[k] == '-')) digits = false;
    if (!digits) return false;
    errno = 0;
    long v = strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < lowest || v > highest) return false;
    value = v;
    return true;
}

bool realNumber(const std::string& text, double& value) {
    if (text.empty() || isspace((unsigned char)text[0])) return false;
    char* end = nullptr;
    double v = strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool wholeOption(const std::string& program, const GivenOption& given, long lowest, long highest,
                 long& value, std::string& error) {
    if (wholeNumber(given.value, lowest, highest, value)) return true;
    error = usageProblem(program, given.name + " needs a whole number from " +
                                      std::to_string(lowest) + " to " + std::to_string(highest) +
                                      ", not '" + shownText(given.value) + "'");
    return false;
}

bool unsignedOption(const std::string& program, const GivenOption& given, uint64_t& value,
                    std::string& error) {
    const std::string& text = given.value;
    bool digits = !text.empty();
    for (char c : text)
        if (c < '0' || c > '9') digits = false;
    errno = 0;
    unsigned long long v = digits ? strtoull(text.c_str(), nullptr, 10) : 0;
    if (!digits || errno == ERANGE) {
        error = usageProblem(program, given.name + " needs an unsigned whole number, not '" +
                                          shownText(text) + "'");
        return false;
    }
    value = (uint64_t)v;
    return true;
}

bool realOption(const std::string& program, const GivenOption& given, double lowest,
                bool lowestExcluded, double& value, std::string& error) {
    double v = 0;
    if (realNumber(given.value, v) && v >= lowest && !(lowestExcluded && v == lowest)) {
        value = v;
        return true;
    }
    error = usageProblem(program, given.name + " needs a number " +
                                      (lowestExcluded ? "above " + numberText(lowest)
                                                      : "of " + numberText(lowest) + " or more") +
                                      ", not '" + shownText(given.value) + "'");
    return false;
}

bool realRangeOption(const std::string& program, const GivenOption& given, double lowest,
                     double highest, double& value, std::string& error) {
    double v = 0;
    if (realNumber(given.value, v) && v >= lowest && v <= highest) {
        value = v;
        return true;
    }
    error =
        usageProblem(program, given.name + " needs a number from " + numberText(lowest) + " to " +
                                  numberText(highest) + ", not '" + shownText(given.value) + "'");
    return false;
}

std::string helpText(const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0) vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

int printHelpOrVersion(const std::string& text) {
    CheckedOutput out = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
    out.write(text);
    return out.finish() ? 0 : 1;
}
