// Overlaps with the clones at another copy of a repeat. The partners of a
// clone that reach past it lie off to its two sides. A clone holding most
// of a repeat family also passes with clones at the family's other copies;
// they too reach past it, into other places, and they match only bands of
// the clone that a partner of its own place matches as well (the family's).
// That partner of its own place may share too few bands with the clone to
// pass the build cutoff (where the contig ends at the copy, the clone's
// place beyond it is only thinly covered): pairs passing a looser cutoff
// may serve as witnesses, though no overlap of theirs is cut.
//
// Partner y of clone x lies at another copy when another partner z of x
// matches every band of x that y matches, but for a few, and more besides,
// while y and z share almost no bands beyond x: they head off to two
// places. On a line that cannot be: two partners reaching past x on one
// side share the bands beyond it, and one on each side each matches bands
// of x that the other lacks. An overlap is cut when each of its clones
// finds the other lying so.
#ifndef ZE_REPEATCOPIES_H
#define ZE_REPEATCOPIES_H

#include <utility>
#include <vector>

#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

// The partners of clone x in g (ascending) that lie at another copy, as
// above: partners with at least settings.copyOwnBands bands that x lacks
// are compared; z matches all of y's matched bands of x but at most
// settings.copySlack, at least settings.copyMargin more, and y and z share
// at most settings.copyApart of the bands x lacks. z may also be a
// partner of x in `witnesses`.
std::vector<int> partnersAtOtherCopies(const OverlapGraph& g, const PrintsView& prints, int x,
                                       const MapSettings& settings,
                                       const OverlapGraph* witnesses = nullptr);

// The overlaps (first < second, ascending, each once) of which each clone
// lies at another copy for the other.
std::vector<std::pair<int, int>> repeatCopyCuts(const OverlapGraph& g, const PrintsView& prints,
                                                const MapSettings& settings,
                                                const OverlapGraph* witnesses = nullptr);

#endif
