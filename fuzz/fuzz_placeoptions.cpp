// zePlace's command line: the input is its arguments, separated by NUL
// bytes (at most 24 of them), read as main reads argv.
#include <string>

#include "fuzzSupport.h"
#include "zePlaceOptions.h"
#include "zeSulston.h"

namespace {

bool isSite(const std::string& site) {
    if (site.size() < 4 || site.size() > 20) return false;
    for (char c : site)
        if (c != 'A' && c != 'C' && c != 'G' && c != 'T') return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    FuzzCommandLine line("zePlace", data, size);
    PlaceOptions o;
    std::string error;
    if (!readPlaceOptions(line.argc(), line.argv(), o, error)) {
        expectUsageHint(error, "zePlace");
        return 0;
    }
    if (o.help || o.version) return 0;
    if (o.map.empty()) fuzzFail("no map, accepted");
    if (o.place.chains.tolerance < 1 || o.place.chains.tolerance > MAX_TOLERANCE)
        fuzzFail("a tolerance out of range");
    if (!(o.place.cutoff > 0)) fuzzFail("a chance cutoff not above 0");
    if (!o.mapGff.empty() && o.gff.empty()) fuzzFail("--map-gff without --gff, accepted");
    const bool chromosomes = !o.chromosomes.empty();
    if (chromosomes != !o.markers.empty() || chromosomes != !o.markerMap.empty())
        fuzzFail("the chromosome files not all given, accepted");
    if (o.placesSequences()) {
        if (!isSite(o.site)) fuzzFail("a site not of 4-20 bases of ACGT");
        if (o.files.empty()) fuzzFail("sequences to place without a bands file, accepted");
    } else {
        if (!chromosomes) fuzzFail("neither sequences nor chromosomes to place, accepted");
        if (!o.output.empty() || !o.agp.empty() || !o.gff.empty())
            fuzzFail("a placements output without sequences, accepted");
    }
    for (const std::string* file : {&o.map, &o.output, &o.agp, &o.gff, &o.mapGff, &o.html,
                                    &o.markers, &o.markerMap, &o.chromosomes, &o.sequences})
        if (file->find('\0') != std::string::npos) fuzzFail("a file name with a NUL");
    return 0;
}
