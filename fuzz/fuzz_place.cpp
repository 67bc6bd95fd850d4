// zePlace's placement of sequences on a small map drawn from the input: a
// genome of 64 restriction fragments (sizes from a seed, HindIII sites
// between them, bases of A and C only elsewhere so that no other site
// arises), clones as runs of its fragments with their bands and sizes,
// laid out in one or two contigs (bands and places a few units off where
// the input says), and sequences cut from the genome, some turned round,
// some with N or an IUPAC code. The size scale, the map's fragments, the
// placements, the table, the AGP, the GFF3 and the page are made, and what
// the rows and the AGP promise is checked.
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
    auto next = [&state]() { return xorshiftNext(state); };
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

// What AGP 2.1 asks of every line: nine columns, parts numbered from 1 per
// object, object coordinates contiguous from 1, a component as long as its
// span of the object and within its sequence; and zePlace's gaps of 100.
void checkAgp(const std::string& agp, const std::vector<int64_t>& lengths) {
    std::string object;
    long part = 0, end = 0;
    for (const std::string& line :
         splitInput((const uint8_t*)agp.data(), agp.size(), "\n", 100000)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = splitInput((const uint8_t*)line.data(), line.size(), "\t", 20);
        if (f.size() != 9) fuzzFail("an AGP line that is not nine columns");
        if (f[0] != object) {
            object = f[0];
            part = end = 0;
        }
        const long from = std::stol(f[1]), to = std::stol(f[2]);
        if (std::stol(f[3]) != ++part) fuzzFail("AGP parts not numbered 1, 2, ... in an object");
        if (from != end + 1 || to < from) fuzzFail("AGP object coordinates not contiguous");
        end = to;
        if (f[4] == "N") {
            if (to - from + 1 != 100 || f[5] != "100") fuzzFail("an AGP gap not of 100");
        } else {
            const long first = std::stol(f[6]), last = std::stol(f[7]);
            const size_t k = (size_t)std::stoi(f[5].substr(1));
            if (f[4] != "W" || first < 1 || last - first != to - from || last > lengths[k] ||
                (f[8] != "+" && f[8] != "-" && f[8] != "?"))
                fuzzFail("an AGP component not within its sequence");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    PlaceSettings settings;
    settings.chains.tolerance = 1 + in.takeByte() % 12;
    settings.cutoff = std::pow(10.0, -(in.takeByte() % 8));
    const Genome genome = genomeOf(xorshiftSeed(in.takeByte()));
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
        // Gel noise: a band a few units off its size's place.
        const int noise = flags & 64 ? flags % 7 - 3 : 0;
        for (auto s = sizes.rbegin(); s != sizes.rend(); ++s)
            c.print.bands.push_back(std::max(0, positionOf(*s) + noise));
        std::sort(c.print.bands.begin(), c.print.bands.end());
        c.sizes = sizes;
        ContigTableRow row;
        row.clone = c.print.clone;
        row.gel = c.print.gel;
        row.ordinal = c.print.ordinal;
        // Two contigs where the flags say so: the map's break at fragment 32.
        row.contig = (flags & 32) && start >= 32 ? 2 : 1;
        // The layout's places are a few units off too.
        row.left = start + (flags & 128 ? 2 : 0);
        row.right = row.left + length;
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
    checkAgp(placementAgp(placements), lengths);
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
