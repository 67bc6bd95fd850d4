// What one contig's drawing on zeContig's page shows, worked out apart
// from the drawing itself: its clones as rows in the table's order, each
// buried clone folded into the row of the clone it lies in (so a contig
// of hundreds of clones needs a row only per clone that is not buried),
// the depth of clones over its length, and the chimeric clones that join
// it to other contigs.
#ifndef ZE_CONTIGROWS_H
#define ZE_CONTIGROWS_H

#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"

// At most this many clones (rows and the buried clones folded into them)
// are drawn per contig; the rest are counted and left to the table.
const long MOST_DRAWN_CLONES = 1000;

struct DrawnRow {
    int print = 0;             // the row's clone (not buried)
    std::vector<int> folded;   // buried clones it holds, in the table's order
};

// A stretch of a contig covered by `depth` clones.
struct DepthStep {
    long from = 0, to = 0; // consensus-band units, from < to
    int depth = 0;
};

struct DrawingRows {
    int number = 0;
    long length = 0;
    long clones = 0;              // every clone of the contig
    std::vector<DrawnRow> rows;  // drawn, by left, right, clone, gel, ordinal
    long clonesLeftOut = 0;       // of rows past MOST_DRAWN_CLONES, with their folded ones
    std::vector<DepthStep> depth; // from 0 to length, neighbours of unequal depth
};

// The members of contigs 1 .. count (fewer when the map has fewer), each
// in the table's order, from one pass over the map.
std::vector<std::vector<int>> contigMembers(const std::vector<Fingerprint>& prints,
                                            const ContigMap& map, int count);

// For contigs 1 .. count: the chimeric clones that link each, in
// fingerprint order.
std::vector<std::vector<int>> chimericLinks(const ContigMap& map, int count);

// The rows of contig `number` from its members (as contigMembers gives
// them).
DrawingRows drawingRows(const ContigMap& map, int number, const std::vector<int>& members);

#endif
