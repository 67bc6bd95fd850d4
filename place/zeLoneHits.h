// Lone hits confirmed by the fingerprints. A marker that hits a single
// clone of a contig may be a false hit, or a true one where the marker
// lies at the contig's end and its other clones went to a contig the map
// left apart. In the second case the clone overlaps those clones on the
// genome, and so do the contig's other clones near it, a little: the two
// contigs meet there. A lone hit is confirmed when
//  - its clone shares bands with one of the marker's other hit clones with
//    a Sulston score of at most CONFIRM_CUTOFF, and
//  - another clone of its contig shares bands, at most CONFIRM_CUTOFF too,
//    with a clone near the marker elsewhere: one it hits, or a clone of
//    such a clone's contig that lies within the span of its hit clones.
// The first alone would also confirm a chimeric clone's other piece: its
// clone overlaps the marker's clones, but the rest of its contig lies on
// another part of the genome, often another chromosome. Either test alone
// confirms it, though, where the marker hits at most THIN_SHARE of the
// median number of clones per marker: the map leaves contigs apart where
// few clones cover the genome, so a marker where two contigs meet is hit
// by few (and their overlaps are short: one test may miss), while a
// chimeric clone's other piece or a false hit lies anywhere, most often
// where the coverage is as usual. And a marker whose one hit in the table
// is this clone is confirmed: there is nothing to test it against, and a
// false hit comes beside a marker's true ones, rarely alone.
// A marker that hits this one clone of the whole table is confirmed too:
// there the genome is thinly covered (the marker's other clones, if any,
// showed no hit), and there is nothing to test it against. A false hit
// comes beside a marker's true ones, so a marker rarely has it alone; a
// chimeric clone's other piece alone where nothing else covers the marker
// is as rare.
#ifndef ZE_LONEHITS_H
#define ZE_LONEHITS_H

#include <string>
#include <vector>

#include "zeChromosomeInput.h"
#include "zeContigTableReader.h"
#include "zeFingerprint.h"

// Measured on simulated libraries (bench/chromosome_bench.py): stricter
// cutoffs lose true lone hits, and no chimeric clone passed both tests.
const double CONFIRM_CUTOFF = 1e-4;
// Measured likewise: at half the median no lone hit was confirmed on a
// wrong chromosome at 2, 5 or 10 chromosomes; at two thirds one was.
const double THIN_SHARE = 0.5;

// Marks the confirmed lone hits of in.contigs; the table's rows are found
// among `prints` by clone, gel and ordinal. False with `error` set when a
// row's clone is in none of the bands files.
bool confirmLoneHits(ChromosomeInput& in, const std::vector<ContigTableRow>& rows,
                     const std::vector<Fingerprint>& prints, int tolerance, std::string& error);

#endif
