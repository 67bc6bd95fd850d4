#include "zeMarkerTables.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "zeError.h"

namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (;;) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string::npos) return fields;
        size_t end = line.find_first_of(" \t", at);
        fields.push_back(line.substr(at, end == std::string::npos ? end : end - at));
        at = end;
    }
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

// Reads path line by line: the header must be `header` word for word, and
// every other non-blank row is handed to `row` with its line number; false
// with `error` set at the first fault.
bool readTable(const std::string& path, const std::vector<std::string>& header,
               const std::function<std::string(const std::vector<std::string>&, long)>& row,
               std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = withReason("couldn't read '" + path + "'", errno);
        return false;
    }
    std::string line;
    long number = 0;
    bool headed = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields = fieldsOf(line);
        std::string fault;
        if (!headed) {
            if (fields != header)
                fault = "expected the header '" + joined(header) + "', not '" + line + "'";
            headed = true;
        } else if (!fields.empty()) {
            fault = fields.size() != header.size()
                        ? "expected " + std::to_string(header.size()) + " fields (" +
                              joined(header) + "), not " + std::to_string(fields.size())
                        : row(fields, number);
        }
        if (!fault.empty()) {
            error = path + ":" + std::to_string(number) + ": " + fault;
            return false;
        }
    }
    if (in.bad()) {
        error = withReason("couldn't read '" + path + "'", errno);
        return false;
    }
    if (!headed) {
        error = path + ":1: expected the header '" + joined(header) + "', not an empty file";
        return false;
    }
    return true;
}

} // namespace

void MarkerMap::add(const std::string& name, const std::string& chromosomeName, double at,
                    const std::string& atText) {
    size_t k = 0;
    while (k < chromosomes.size() && chromosomes[k] != chromosomeName)
        ++k;
    if (k == chromosomes.size()) chromosomes.push_back(chromosomeName);
    byName.emplace(name, names.size());
    names.push_back(name);
    chromosome.push_back(k);
    position.push_back(at);
    positionText.push_back(atText);
}

bool readMarkerMap(const std::string& path, MarkerMap& map, std::string& error) {
    std::map<std::string, long> lineOf;
    return readTable(
        path, {"marker", "chromosome", "position"},
        [&](const std::vector<std::string>& f, long line) -> std::string {
            char* end = nullptr;
            errno = 0;
            double at = std::strtod(f[2].c_str(), &end);
            if (*end != '\0' || errno == ERANGE || !std::isfinite(at))
                return "position must be a number, not '" + f[2] + "'";
            auto first = lineOf.emplace(f[0], line);
            if (!first.second)
                return "marker " + f[0] + " is listed twice (first on line " +
                       std::to_string(first.first->second) + ")";
            map.add(f[0], f[1], at, f[2]);
            return "";
        },
        error);
}

bool readMarkerHits(const std::string& path, std::vector<HitLine>& hits, std::string& error) {
    return readTable(
        path, {"clone", "marker"},
        [&](const std::vector<std::string>& f, long line) -> std::string {
            hits.push_back({f[0], f[1], line});
            return "";
        },
        error);
}
