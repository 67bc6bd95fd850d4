#include "zeHitsFile.h"

#include <map>
#include <utility>

#include "zeHeadedTable.h"
#include "zeTextFile.h"

bool parseHitsFile(const std::string& bytes, const std::string& name, std::vector<HitLine>& hits,
                   std::string& error) {
    hits.clear();
    std::map<std::pair<std::string, std::string>, long> firstLine;
    return parseHeadedTable(
        bytes, name, {"clone", "marker"},
        [&](const std::vector<std::string>& f, long line) -> std::string {
            auto first = firstLine.emplace(std::make_pair(f[0], f[1]), line);
            hits.push_back({f[0], f[1], line, first.second ? 0 : first.first->second});
            return "";
        },
        error);
}

bool readHitsFile(const std::string& path, std::vector<HitLine>& hits, std::string& error) {
    std::string bytes;
    return readWholeFile(path, bytes, error) && parseHitsFile(bytes, path, hits, error);
}
