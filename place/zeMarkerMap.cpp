#include "zeMarkerMap.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "zeHeadedTable.h"
#include "zeTextFile.h"

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
    return readHeadedTable(
        path, {"marker", "chromosome", "position"},
        [&](const std::vector<std::string>& f, long line) -> std::string {
            char* end = nullptr;
            errno = 0;
            double at = std::strtod(f[2].c_str(), &end);
            if (*end != '\0' || errno == ERANGE || !std::isfinite(at))
                return "position must be a number, not '" + shownText(f[2]) + "'";
            auto first = lineOf.emplace(f[0], line);
            if (!first.second)
                return "marker " + shownText(f[0]) + " is listed twice (first on line " +
                       std::to_string(first.first->second) + ")";
            map.add(f[0], f[1], at, f[2]);
            return "";
        },
        error);
}
