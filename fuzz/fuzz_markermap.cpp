// The marker map of zePlace --chromosomes: the whole input is the file,
// read from a file of the scratch directory as the program reads it.
#include <cmath>
#include <string>

#include "fuzzSupport.h"
#include "zeMarkerMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    const std::string path = scratchDir() + "/markers.map";
    writeFile(path, data, size);
    MarkerMap map;
    std::string error;
    if (!readMarkerMap(path, map, error)) {
        expectRefusalNames(error, path);
        return 0;
    }
    size_t n = map.names.size();
    if (map.chromosome.size() != n || map.position.size() != n || map.positionText.size() != n ||
        map.byName.size() != n)
        fuzzFail("the map's columns of different lengths, or a name twice");
    for (size_t k = 0; k < n; ++k) {
        if (map.chromosome[k] >= map.chromosomes.size()) fuzzFail("a chromosome index out of range");
        if (!std::isfinite(map.position[k])) fuzzFail("a position that is not finite");
        auto at = map.byName.find(map.names[k]);
        if (at == map.byName.end() || at->second != k) fuzzFail("a name indexed wrongly");
    }
    for (size_t c = 0; c < map.chromosomes.size(); ++c)
        for (size_t d = 0; d < c; ++d)
            if (map.chromosomes[c] == map.chromosomes[d]) fuzzFail("a chromosome listed twice");
    return 0;
}
