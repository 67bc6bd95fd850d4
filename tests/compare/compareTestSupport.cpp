#include "compareTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zetest {

RunResult runCompare(const std::vector<std::string>& args) {
    return run(ZECOMPARE_BIN, args);
}

std::string normalisedGel(const std::string& dir, int seed, const std::vector<std::string>& knobs) {
    std::vector<std::string> args = {"--out", dir, "--seed", std::to_string(seed)};
    args.insert(args.end(), knobs.begin(), knobs.end());
    RunResult g = run(ZE_GENERATOR_BIN, args);
    if (g.status != 0) {
        ADD_FAILURE() << "zeGenProject: " << g.err;
        return "";
    }
    RunResult s = run(ZESTEP5_BIN, {dir, "map1"});
    if (s.status != 0 || !s.err.empty()) {
        ADD_FAILURE() << "zeStep5: " << s.err;
        return "";
    }
    std::string gel = "17";
    for (size_t k = 0; k + 1 < knobs.size(); k++)
        if (knobs[k] == "--gel-number") gel = knobs[k + 1];
    return dir + "/" + gel + ".bands";
}

std::vector<std::vector<std::string>> tableRows(const std::string& tsv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(tsv);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        rows.push_back(fields);
    }
    return rows;
}

} // namespace zetest
