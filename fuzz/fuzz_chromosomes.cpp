// zePlace --chromosomes on what its readers accept: the contig table, the
// hits file and the marker map, separated by the line "#ZE#", gathered
// and anchored, and the chromosome table written (its positions are the
// map's text, which its reader checked). The readers' refusals
// are the other harnesses' concern; here every accepted input must come
// out as a table of one row per contig with every field filled.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "zeChromosomeInput.h"
#include "zeChromosomeTable.h"
#include "zeTextFile.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) fuzzFail("a table row without its line end");
        out.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    std::vector<std::string> parts = splitInput(data, size, "\n#ZE#\n", 3);
    if (parts.size() != 3) return 0;
    std::vector<ContigTableRow> rows;
    std::vector<HitLine> hits;
    std::string error;
    const std::string mapPath = scratchDir() + "/markers.map";
    writeFile(mapPath, parts[2]);
    MarkerMap map;
    if (!parseContigTable(parts[0] + "\n", "table", rows, error) ||
        !parseHitsFile(parts[1] + "\n", "hits", hits, error) || !readMarkerMap(mapPath, map, error))
        return 0;
    ChromosomeInput in = gatherChromosomeInput(rows, hits, map, {"table", "hits", "map"});
    for (const std::string& w : in.warnings)
        if (w.compare(0, 9, "WARNING: ") != 0 || w.find('\n') != std::string::npos)
            fuzzFail("a warning that is not one WARNING line");
    std::vector<ContigAnchor> anchors = anchorContigs(in.contigs, map, in.repeatProbes);
    std::string table = chromosomeTableHeader();
    std::set<int> contigs;
    for (const ContigAnchor& a : anchors) {
        appendChromosomeRow(table, a, map);
        if (!contigs.insert(a.contig).second) fuzzFail("a contig anchored twice");
    }
    std::vector<std::string> written = lines(table);
    if (written.size() != anchors.size() + 1) fuzzFail("not one row per contig");
    for (const std::string& row : written) {
        std::vector<std::string> f = splitFields(row, '\t');
        if (f.size() != 7) fuzzFail("a row of another width than the header");
        for (const std::string& field : f)
            if (field.empty()) fuzzFail("an empty field");
    }
    return 0;
}
