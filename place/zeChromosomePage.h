// zePlace's page with --chromosomes: each chromosome drawn to the scale of
// its marker map, every anchored contig as a bar from its lowest to its
// highest marker (coloured by strand), the conflicts marked in red where
// their markers lie, and the conflicts listed with their chromosomes.
#ifndef ZE_CHROMOSOMEPAGE_H
#define ZE_CHROMOSOMEPAGE_H

#include <string>

#include "zePlacePage.h"

extern const char* const CHROMOSOME_STYLE;

// The section, one <section> element; `map` is the contig table's name.
std::string chromosomeSection(const ChromosomePlaces& places, const std::string& map);

#endif
