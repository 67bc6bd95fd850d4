// One contig's drawing on zeContig's page: its clones as bars at their
// places, one row per clone that is not buried with the buried clones it
// holds as a thin stripe beneath its bar, Q clones and the tiling path's
// clones marked, in a box of fixed height that scrolls; beneath it the
// depth of clones along the contig in consensus-band units; and the
// chimeric clones that join it to other contigs.
#ifndef ZE_CONTIGDRAWING_H
#define ZE_CONTIGDRAWING_H

#include <ostream>
#include <vector>

#include "zeContigMap.h"
#include "zeContigRows.h"
#include "zeFingerprint.h"

// At most this many chimeric links are listed by a drawing.
const size_t MOST_LISTED_LINKS = 40;
// At most this many buried clones are drawn in one row; all are counted.
const size_t MOST_FOLDED_DRAWN = 50;

struct ContigDrawingInput {
    const std::vector<Fingerprint>* prints = nullptr;
    const ContigMap* map = nullptr;
    // Per fingerprint: on the tiling path. Empty or null: no path is marked.
    const std::vector<char>* tilingPath = nullptr;
};

// "name (gel G, #ordinal)", unescaped.
std::string cloneCaption(const Fingerprint& f);

// The <section> of one contig, with id "contig-<number>": `members` as
// contigMembers gives them, `chimeric` as chimericLinks does.
void writeContigDrawing(std::ostream& out, const ContigDrawingInput& in, const DrawingRows& rows,
                        const std::vector<int>& members, const std::vector<int>& chimeric);

// The key to the drawings' marks, as a small SVG.
void writeDrawingLegend(std::ostream& out, bool tilingPathGiven);

// The drawings' CSS rules.
extern const char* const CONTIG_DRAWING_STYLE;

#endif
