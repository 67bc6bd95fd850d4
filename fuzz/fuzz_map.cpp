// zeContig's map on small libraries drawn from the input: a circular genome
// of 64 fragments whose band positions a seed of the input draws, some
// repeating an earlier fragment's (a repeat family), and clones as runs of
// its fragments, some with a band lost, an extra band or a second piece
// from elsewhere (a chimera), and some marker hits. The map, its tiling
// paths, the table, the tiling path table, the GFF3, the page and
// zeCompare's page of the same fingerprints are built; what the map
// promises of every clone is checked, and that three threads of the pair
// scan build the same map as one.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "zeComparePage.h"
#include "zeContigGff.h"
#include "zeContigInput.h"
#include "zeContigPage.h"
#include "zeContigTable.h"
#include "zeContigTableReader.h"
#include "zeMapBuild.h"
#include "zeTilingPath.h"
#include "zeTilingTable.h"

namespace {

const int FRAGMENTS = 64;
const size_t MOST_CLONES = 40;

std::vector<Fingerprint> clonesOf(InputCursor& in, const std::vector<int>& fragment) {
    std::vector<Fingerprint> prints;
    while (in.restSize() >= 3 && prints.size() < MOST_CLONES) {
        const int start = in.takeByte() % FRAGMENTS, length = 1 + in.takeByte() % 28;
        const uint8_t flags = in.takeByte();
        Fingerprint f;
        f.clone = "C" + std::to_string(prints.size());
        f.gel = std::to_string(1 + flags % 3);
        for (int k = 0; k < length; ++k)
            if (!(flags & 8) || k % 5 != flags % 5)
                f.bands.push_back(fragment[(start + k) % FRAGMENTS]);
        if (flags & 16) f.bands.push_back(in.takeByte() * 18);
        if (flags & 32) // a second piece, from the other side of the circle
            for (int k = 0; k < length / 2; ++k)
                f.bands.push_back(fragment[(start + FRAGMENTS / 2 + k) % FRAGMENTS]);
        std::sort(f.bands.begin(), f.bands.end());
        prints.push_back(f);
    }
    sortContigInput(prints); // the order zeContig reads them in
    for (size_t k = 0; k < prints.size(); ++k)
        prints[k].ordinal = (int)k + 1;
    return prints;
}

void checkMap(const std::vector<Fingerprint>& prints, const ContigMap& map) {
    if (map.clones.size() != prints.size()) fuzzFail("a map of another number of clones");
    for (const PlacedClone& c : map.clones) {
        if (c.contig < 0 || c.contig > map.contigs) fuzzFail("a contig number out of range");
        if (c.contig == 0 ? c.left != -1 || c.right != -1 : c.left < 0 || c.left >= c.right)
            fuzzFail("a clone's place out of order");
        if (c.status == CloneStatus::Chimeric && c.contig != 0)
            fuzzFail("a chimeric clone in a contig");
        if (c.buriedIn >= 0 && ((size_t)c.buriedIn >= prints.size() ||
                                map.clones[(size_t)c.buriedIn].contig != c.contig))
            fuzzFail("buried in a clone of another contig");
        if ((c.status == CloneStatus::Buried) != (c.buriedIn >= 0))
            fuzzFail("a burial without its host");
    }
}

void checkPaths(const ContigMap& map, const std::vector<std::vector<TilingStep>>& paths) {
    for (size_t k = 0; k < paths.size(); ++k)
        for (const TilingStep& step : paths[k]) {
            if (step.print < 0 || (size_t)step.print >= map.clones.size() ||
                map.clones[(size_t)step.print].contig != (int)k + 1)
                fuzzFail("a tiling path through a clone of another contig");
            if (map.clones[(size_t)step.print].status == CloneStatus::Chimeric)
                fuzzFail("a chimeric clone on a tiling path");
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    MapSettings s;
    s.tolerance = 1 + in.takeByte() % 12;
    s.cutoff = std::pow(10.0, -(1 + in.takeByte() % 14));
    const int minShared = 1 + in.takeByte() % 8;
    const uint8_t markerBytes = in.takeByte() % 16;
    // The genome from a seed, so that a short input already holds clones.
    uint32_t state = xorshiftSeed(in.takeByte());
    const int repeatEighths = in.takeByte() % 4;
    auto next = [&state]() { return xorshiftNext(state); };
    std::vector<int> fragment(FRAGMENTS);
    for (int k = 0; k < FRAGMENTS; ++k)
        fragment[(size_t)k] = k > 0 && (int)(next() % 8) < repeatEighths
                                  ? fragment[next() % (uint32_t)k]
                                  : (int)(next() % 4600);
    std::vector<uint8_t> markerInput;
    for (int k = 0; k < markerBytes; ++k)
        markerInput.push_back(in.takeByte());
    std::vector<Fingerprint> prints = clonesOf(in, fragment);
    // Marker m hits the clones the bytes name, each once, ascending.
    std::vector<std::vector<int>> hits;
    if (!prints.empty())
        for (uint8_t b : markerInput) {
            if (hits.size() <= (size_t)(b % 4)) hits.resize((size_t)(b % 4) + 1);
            hits[b % 4].push_back((b / 4) % (int)prints.size());
        }
    for (std::vector<int>& h : hits) {
        std::sort(h.begin(), h.end());
        h.erase(std::unique(h.begin(), h.end()), h.end());
    }
    hits.erase(std::remove_if(hits.begin(), hits.end(),
                              [](const std::vector<int>& h) { return h.empty(); }),
               hits.end());

    const ContigMap map = buildMap(prints, s, hits);
    checkMap(prints, map);
    size_t junk = 0;
    const std::vector<std::vector<TilingStep>> paths =
        tilingPaths(prints, map, minShared, s.tolerance, &junk);
    checkPaths(map, paths);
    const std::string table = contigTableRows(prints, map);
    if (std::count(table.begin(), table.end(), '\n') != (long)prints.size())
        fuzzFail("a table of another number of rows");
    // zePlace and zeContig --previous read the table back as it was written.
    std::vector<ContigTableRow> rows;
    std::string error;
    if (!parseContigTable(contigTableHeader() + table, "table", rows, error))
        fuzzFail("a table its reader refuses");
    if (rows.size() != prints.size()) fuzzFail("a table that reads back otherwise");
    for (const ContigTableRow& row : rows) {
        // The clones are C0, C1, ..., each once.
        auto named = std::find_if(prints.begin(), prints.end(),
                                  [&](const Fingerprint& f) { return f.clone == row.clone; });
        if (named == prints.end()) fuzzFail("a table row of no clone");
        const PlacedClone& c = map.clones[(size_t)(named - prints.begin())];
        if (row.contig != c.contig || row.left != c.left || row.right != c.right ||
            row.status != c.status || row.links != c.links)
            fuzzFail("a table that reads back otherwise");
    }
    // The pair scan's threads change nothing.
    MapSettings threaded = s;
    threaded.threads = 3;
    if (contigTableRows(prints, buildMap(prints, threaded, hits)) != table)
        fuzzFail("a map that depends on the number of threads");
    tilingTableRows(prints, map, paths);
    contigGff(prints, map, paths);
    ContigPageInput page;
    page.prints = &prints;
    page.map = &map;
    page.settings = s;
    page.mtpShared = minShared;
    page.pathJunk = (long)junk;
    page.tilingPath.assign(prints.size(), 0);
    for (const std::vector<int>& path : tilingPrints(paths))
        for (int v : path)
            page.tilingPath[(size_t)v] = 1;
    contigPage(page);
    // zeCompare's page of the same fingerprints: its tree and heatmap.
    ComparePageInput compare;
    compare.prints = &prints;
    compare.tolerance = s.tolerance;
    compare.cutoff = s.cutoff;
    comparePage(compare);
    return 0;
}
