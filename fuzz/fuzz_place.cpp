// zePlace's placement of sequences on a small map drawn from the input: a
// genome of 64 restriction fragments (sizes from a seed, HindIII sites
// between them, bases of A and C only elsewhere so that no other site
// arises), clones as runs of its fragments with their bands and sizes, laid
// out in one or two contigs, and sequences cut from the genome, some turned
// round, some with N or an IUPAC code. The size scale, the map's fragments,
// the placements, the table, the AGP, the GFF3 and the page are made, and
// what the rows promise is checked.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "zeMapFragments.h"
#include "zePlaceAgp.h"
#include "zePlaceGff.h"
#include "zePlacePage.h"
#include "zePlaceSequences.h"
#include "zePlacementTable.h"
#include "zeSizeScale.h"

namespace {

const int FRAGMENTS = 64;
const size_t MOST_CLONES = 40;
const size_t MOST_SEQUENCES = 8;
const std::string SITE = "AAGCTT";

struct Genome {
    std::vector<int> sizes; // of each fragment, bases
    std::string bases;      // the fragments with a site before each but the first
    std::vector<size_t> starts;
};

Genome genomeOf(uint32_t state) {
    auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    Genome g;
    for (int k = 0; k < FRAGMENTS; ++k) {
        const int size = 600 + (int)(next() % 9000);
        g.sizes.push_back(size);
        g.starts.push_back(g.bases.size());
        // The site is cut after its first base: the fragment ends with "A".
        std::string piece = k == 0 ? "" : SITE.substr(1);
        while ((int)piece.size() < size - 1)
            piece += (next() & 1) ? 'A' : 'C';
        piece += 'A';
        g.bases += piece;
    }
    return g;
}

// The standard position of a size, as the step's log-size scale lays them.
int positionOf(int size) {
    const double low = std::log(600.0), high = std::log(9600.0);
    return (int)((high - std::log((double)size)) / (high - low) * 4599);
}

std::string reverseComplement(const std::string& s) {
    std::string out(s.rbegin(), s.rend());
    for (char& c : out)
        c = c == 'A' ? 'T' : c == 'C' ? 'G' : c == 'G' ? 'C' : c == 'T' ? 'A' : c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    PlaceSettings settings;
    settings.chains.tolerance = 1 + in.takeByte() % 12;
    settings.cutoff = std::pow(10.0, -(in.takeByte() % 8));
    const Genome genome = genomeOf(2463534242u ^ (uint32_t)in.takeByte() * 2654435761u);
    const int sequenceCount = 1 + in.takeByte() % (int)MOST_SEQUENCES;

    std::vector<SizedClone> clones;
    std::vector<ContigTableRow> rows;
    std::vector<uint8_t> sequenceBytes;
    for (int k = 0; k < 3 * sequenceCount; ++k)
        sequenceBytes.push_back(in.takeByte());
    while (in.restSize() >= 3 && clones.size() < MOST_CLONES) {
        const int start = in.takeByte() % (FRAGMENTS - 1), length = 1 + in.takeByte() % 30;
        const uint8_t flags = in.takeByte();
        SizedClone c;
        c.print.clone = "C" + std::to_string(clones.size());
        c.print.gel = "1";
        c.print.ordinal = (int)clones.size() + 1;
        std::vector<int> sizes;
        for (int k = start; k < std::min(FRAGMENTS, start + length); ++k)
            if (!(flags & 8) || k % 5 != flags % 5) sizes.push_back(genome.sizes[(size_t)k]);
        if (flags & 16) sizes.push_back(600 + flags * 30);
        std::sort(sizes.begin(), sizes.end());
        for (auto s = sizes.rbegin(); s != sizes.rend(); ++s)
            c.print.bands.push_back(positionOf(*s));
        c.sizes = sizes;
        ContigTableRow row;
        row.clone = c.print.clone;
        row.gel = c.print.gel;
        row.ordinal = c.print.ordinal;
        // Two contigs where the flags say so: the map's break at fragment 32.
        row.contig = (flags & 32) && start >= 32 ? 2 : 1;
        row.left = start;
        row.right = start + length;
        clones.push_back(c);
        rows.push_back(row);
    }
    SizeScale scale;
    PlaceMap map;
    std::string error;
    if (!fitSizeScale(clones, scale, error)) return 0;
    if (!buildPlaceMap(rows, clones, scale, matchTolerance(settings.chains), map, error))
        fuzzFail("a map of the clones' own rows refused");

    std::string fasta;
    std::vector<int64_t> lengths;
    for (int k = 0; k < sequenceCount; ++k) {
        const int first = sequenceBytes[(size_t)(3 * k)] % FRAGMENTS;
        const int last = std::min(FRAGMENTS, first + 1 + sequenceBytes[(size_t)(3 * k + 1)] % 24);
        const uint8_t how = sequenceBytes[(size_t)(3 * k + 2)];
        const size_t end = last < FRAGMENTS ? genome.starts[(size_t)last] : genome.bases.size();
        std::string bases =
            genome.bases.substr(genome.starts[(size_t)first], end - genome.starts[(size_t)first]);
        if (how & 1) bases = reverseComplement(bases);
        if (how & 2) bases[bases.size() / 2] = 'N';
        if (how & 4) bases[bases.size() / 3] = 'R';
        fasta += ">s" + std::to_string(k) + "\n";
        for (size_t at = 0; at < bases.size(); at += 70)
            fasta += bases.substr(at, 70) + "\n";
        lengths.push_back((int64_t)bases.size());
    }
    const std::string path = scratchDir() + "/sequences.fa";
    writeFile(path, fasta);
    std::vector<PlacementRow> placements;
    if (!placeSequences(path, SITE, scale, map, settings, placements, error)) {
        expectRefusalNames(error, path);
        return 0;
    }
    for (const PlacementRow& r : placements) {
        const size_t k = (size_t)std::stoi(r.sequence.substr(1));
        if (r.seqStart < 0 || r.seqStart >= r.seqEnd || r.seqEnd > lengths[k])
            fuzzFail("a piece outside its sequence");
        if ((r.status == PlaceStatus::Unplaced) != (r.contig == 0))
            fuzzFail("an unplaced row on a contig, or a placed one on none");
        if (r.contig != 0 &&
            (r.contig < 1 || (size_t)r.contig >= map.contigs.size() || r.left >= r.right))
            fuzzFail("a place outside the map");
        if (r.matched > r.fragments) fuzzFail("more fragments matched than the piece holds");
    }
    std::string table = placementTableHeader();
    for (const PlacementRow& r : placements)
        appendPlacementRow(table, r);
    for (const std::string& line :
         splitInput((const uint8_t*)table.data(), table.size(), "\n", 10000))
        if (!line.empty() && std::count(line.begin(), line.end(), '\t') != 10)
            fuzzFail("a placement row that is not eleven fields");
    const std::string agp = placementAgp(placements);
    for (const std::string& line : splitInput((const uint8_t*)agp.data(), agp.size(), "\n", 10000))
        if (!line.empty() && line[0] != '#' && std::count(line.begin(), line.end(), '\t') != 8)
            fuzzFail("an AGP line that is not nine columns");
    placementGff(placements);
    std::vector<long> ends;
    for (const ContigClones& c : map.contigs)
        ends.push_back(c.end);
    PlacePageInput page;
    page.settings = settings;
    page.rows = &placements;
    page.contigEnds = &ends;
    placePage(page);
    return 0;
}
