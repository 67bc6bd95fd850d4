// A contig's restriction map as its clones show it: the bands of its
// clones that are one genome fragment, found again in the clones that
// overlap there. Taken in order of size (standard units), a band joins a
// fragment of nearly its size (within the tolerance of the fragment's mean)
// whose place it covers (where all the clones holding the fragment
// overlap, narrowing with each) and that holds no band of its clone yet: a
// clone's second band of nearly one size is another fragment's. The
// fragment lies where the most of its clones overlap (zeFragmentPlace.h).
// A fragment seen in fewer than
// FEWEST_SUPPORT clones is left out: an extra band of one gel, or a
// fragment beyond the contig's depth.
#ifndef ZE_MAPFRAGMENTS_H
#define ZE_MAPFRAGMENTS_H

#include <string>
#include <vector>

#include "zeCloneSizes.h"
#include "zeContigTableReader.h"
#include "zeSizeScale.h"

const int FEWEST_SUPPORT = 2;
// A band still joins a fragment whose place lies this many band units
// beyond its clone's ends: the layout's places are not exact.
const double PLACE_SLACK = 3;

// The places of neighbouring fragments, where their clones overlap, lie
// closer together than their density alone says: each place is drawn
// towards the middle of the clones that hold it. Measured on simulated
// libraries (bench/place_bench.py), they move about this share of
// 1 / density per fragment.
const double PLACE_STEP = 0.7;

struct MapFragment {
    int contig = 0;
    double at = 0;    // the middle of its place, in the contig's band units
    double units = 0; // its size on the standard scale
    int support = 0;  // clones holding it
};

struct MapClone {
    long left = 0, right = 0;
    std::vector<double> units; // its sizes on the standard scale, ascending
};

struct ContigClones {
    long end = 0;                // the highest right end
    long longest = 0;            // the longest clone, right - left
    std::vector<MapClone> clones; // by left, then right
};

// The clones of a contig that may lie over left..right (right excluded),
// in their order: those whose left end lies below `right` and less than
// the longest clone before `left`. A place looks at the clones near it,
// not at the whole contig's.
struct ClonesNear {
    const MapClone *from, *to;
    const MapClone* begin() const { return from; }
    const MapClone* end() const { return to; }
};
ClonesNear clonesNear(const ContigClones& c, long left, long right);

struct PlaceMap {
    std::vector<MapFragment> fragments; // ascending by units
    std::vector<ContigClones> contigs;  // by contig number; [0] unused
    double density = 0;                 // fragments per band unit of the contigs
    // How far the places of the map's fragments move per fragment along a
    // contig: PLACE_STEP over their density.
    double unitsPerBand = 1;
};

// The map of the table's contigs from the clones' sizes. False with
// `error` set when a clone of the table is in none of the bands files.
// `tolerance` is the match tolerance (zeSequenceChains.h): the mean of a
// fragment's many bands has next to no error, a band one gel's, as a
// band against an in-silico size.
bool buildPlaceMap(const std::vector<ContigTableRow>& rows, const std::vector<SizedClone>& clones,
                   const SizeScale& scale, double tolerance, PlaceMap& map, std::string& error);

#endif
