#include "zeOptions.h"

#include <getopt.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string usageProblem(const std::string& program, const std::string& what) {
    return what + " (" + program + " -h for help)";
}

bool readCommandLine(int argc, char** argv, const std::string& program,
                     const std::vector<OptionSpec>& specs, CommandLine& line, std::string& error) {
    // A leading '-' hands operands back in place (as code 1), so that they
    // may come between options; a ':' reports a missing value apart from
    // an unknown option.
    std::string shortOptions = ":";
    std::vector<option> longOptions;
    for (size_t k = 0; k < specs.size(); ++k) {
        if (specs[k].shortName) {
            shortOptions += specs[k].shortName;
            if (specs[k].takesValue) shortOptions += ':';
        }
        if (!specs[k].longName.empty())
            longOptions.push_back({specs[k].longName.c_str(),
                                   specs[k].takesValue ? required_argument : no_argument, nullptr,
                                   256 + (int)k});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    line = CommandLine();
    opterr = 0;
    optind = 0; // 0: a full reset, also of a scan begun by an earlier call
    for (;;) {
        int longIndex = -1;
        int c = getopt_long(argc, argv, ("-" + shortOptions).c_str(), longOptions.data(), &longIndex);
        if (c == -1) break;
        if (c == 1) {
            line.operands.push_back(optarg);
            continue;
        }
        std::string given = argv[optind - 1];
        if (c == '?' || c == ':') {
            std::string name = optopt && optopt < 256 ? std::string("-") + (char)optopt
                                                      : given.substr(0, given.find('='));
            error = usageProblem(program, c == ':' ? name + " needs a value"
                                                   : "unknown option '" + name + "'");
            return false;
        }
        size_t spec = 0;
        std::string name;
        if (c >= 256) {
            spec = (size_t)(c - 256);
            name = "--" + specs[spec].longName;
        } else {
            while (specs[spec].shortName != c)
                ++spec;
            name = std::string("-") + (char)c;
        }
        line.options.push_back({spec, name, specs[spec].takesValue && optarg ? optarg : ""});
    }
    for (int i = optind; i < argc; ++i)
        line.operands.push_back(argv[i]);
    return true;
}

bool wholeOption(const std::string& program, const GivenOption& given, long lowest, long highest,
                 long& value, std::string& error) {
    const std::string& text = given.value;
    bool digits = !text.empty() && text != "-";
    for (size_t k = 0; k < text.size(); ++k)
        if (!(text[k] >= '0' && text[k] <= '9') && !(k == 0 && text[k] == '-')) digits = false;
    errno = 0;
    long v = digits ? strtol(text.c_str(), nullptr, 10) : 0;
    if (!digits || errno == ERANGE || v < lowest || v > highest) {
        error = usageProblem(program, given.name + " needs a whole number from " +
                                          std::to_string(lowest) + " to " +
                                          std::to_string(highest) + ", not '" + text + "'");
        return false;
    }
    value = v;
    return true;
}

bool realOption(const std::string& program, const GivenOption& given, double lowest,
                bool lowestExcluded, double& value, std::string& error) {
    const std::string& text = given.value;
    char* end = nullptr;
    double v = text.empty() ? NAN : strtod(text.c_str(), &end);
    bool blank = !text.empty() && (text[0] == ' ' || text[0] == '\t');
    if (text.empty() || blank || *end != '\0' || !std::isfinite(v) || v < lowest ||
        (lowestExcluded && v == lowest)) {
        char bound[64];
        snprintf(bound, sizeof bound, "%g", lowest);
        error = usageProblem(program, given.name + " needs a number " +
                                          (lowestExcluded ? "above " : "of at least ") + bound +
                                          ", not '" + text + "'");
        return false;
    }
    value = v;
    return true;
}
