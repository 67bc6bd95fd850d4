// A minimal tiling path: per contig, the fewest clones whose places cover
// the contig, each overlapping the next by at least a set number of bands,
// so that a lab can sequence or check the contig through them alone.
//
// The ends first. At each end of a contig, of its placed clones (ok,
// buried or Q) whose end lies within 12 band units of the contig's end, the
// one scoring highest is the end clone of the path's core. A clone scores
// its own bands, those that none of its neighbours in the layout has
// (clones whose places come within 12 band units of its own), less twice
// the band units its end falls short of the contig's; then an ok clone
// wins, then the further end, then the lowest identity. The bands a clone
// has past all the others are shared with none, so the layout takes them
// for extra bands and draws the clone in, and such a clone is often
// buried; its own bands tell.
//
// Past the core's ends: a clone that reaches a few bands past another
// shares enough with it to be buried in it, and the layout draws it in,
// so clones near an end may lie past the core's end clone whatever their
// places. A clone's fresh bands are those that no clone of the path over
// it has, nor 2 of the other clones over it away from the ends (one may
// have lost the band or match it by chance). Of the clones near an end and
// off the path, one lies past the path when it has more fresh bands than
// 99% of the clones away from the ends and off the paths of the whole
// library have (their own extra bands and partial end fragments; where
// fewer than 300 clones lie away from the ends and at least 30 are buried,
// the median of the bands a buried clone's host lacks), or when
// its fresh bands outnumber by 2 those the path's outermost clone there
// would keep with it in its place, by 1 where its inner end lies 3 band
// units or more further out than that clone's (each one's junk as
// likely, the lead is what the one reaches past the other less what the
// other reaches past it; not where its inner end lies more than 12 band
// units further in: its lead is then junk and chance matches), or when it shares at least DEFAULT_MTP_BEYOND of them with another
// such clone (both have the genome's bands out there) and its fresh bands
// trail the outermost clone's by at most 2 (one trailing by more lies
// inside it, the two sharing bands it lost). Its place counts too, by its
// inner end against the path's outermost clone's there: 5 band units or
// more further out, a quarter fewer fresh bands than that 99% will do (a
// clone lying out there is drawn in no further); no further out, it needs a
// quarter more, and shared fresh bands do not count (such a clone mostly
// lies inside the other). The one of these with the most fresh bands the
// other lacks, then the further end, then an ok clone, then the lowest
// identity, joins the path outward of its end, and the clones near the
// end are looked at again, until none lies past. Then a clone of the path
// at or past an end of its core leaves it where its neighbours on the
// path share at least `minShared` bands beyond chance and it has no more
// bands neither of them has than that 99%: a clone past an end often
// covers the core's end clone. Last, a clone of the path between two
// others leaves it where the step from the one to the other is strong (as
// below) and it brings no more than three quarters of that 99% (rounded
// up) of bands that no other clone of the path whose place comes within 12
// band units of its own has; the one bringing fewest leaves first (then
// the highest identity), and the path is looked at again.
//
// Between the end clones the path runs through ok and buried clones (a
// buried clone may reach a little past the one it lies in) ordered by left
// end: each next clone starts inside the one before (left <= its left <
// right) and reaches further (a larger right); the first end clone counts
// as left of all, the last as reaching furthest. A step is strong when the
// two clones overlap by at least `minShared` band units in the layout, less
// half the junk allowance above (a clone's junk makes its offsets too long
// by half its number, so places may lie that far off; the core paths are
// found first without it, to measure that allowance), and share at least
// `minShared` bands beyond chance (zeChanceBands.h: those
// left when the chance matches of their other bands are taken off, the
// chance from how the library's bands crowd the scale); weak
// otherwise. A step's overlap is the lesser of the two. Where a clone has
// no next clone that starts inside it (the clones leave a gap), the clones
// starting first past its end follow it, as a weak step of overlap 0.
//
// Of the paths with no weak step, the one chosen has the fewest clones,
// then the largest weakest overlap, then the lowest clone identities from
// left to right (clone, gel, ordinal, each compared as text). Where every
// path needs a weak step, the one chosen has the fewest weak steps, then
// the largest weakest overlap (the bridges overlap as much as any could),
// then the fewest clones, then the lowest identities.
#ifndef ZE_TILINGPATH_H
#define ZE_TILINGPATH_H

#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"

const int DEFAULT_MTP_SHARED = 4;
// Fresh bands two clones near an end share to lie past the path.
const int DEFAULT_MTP_BEYOND = 3;

struct TilingStep {
    int print = 0;
    int shared = -1;   // bands shared with the clone before; -1 for the first
    bool weak = false; // the step from the clone before is weak
};

// By contig number less 1: each contig's path from left to right, empty
// where the contig has no placed clone (or where its number is unused).
// `junk`, when given, receives the library's junk allowance the paths were
// chosen with (the fresh bands of 99% of the clones away from the ends, or
// the burials' median; see above).
std::vector<std::vector<TilingStep>> tilingPaths(const std::vector<Fingerprint>& prints,
                                                 const ContigMap& map, int minShared,
                                                 int tolerance, size_t* junk = nullptr);

// The same paths as sets of fingerprints: each contig's, ascending.
std::vector<std::vector<int>> tilingPrints(const std::vector<std::vector<TilingStep>>& paths);

#endif
