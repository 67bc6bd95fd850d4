#include "zePlaceRun.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "zeChromosomeInput.h"
#include "zeChromosomeTable.h"
#include "zeCloneSizes.h"
#include "zeContigTableReader.h"
#include "zeBandsInput.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeLoneHits.h"
#include "zeMapFragments.h"
#include "zeMapGff.h"
#include "zeOptions.h"
#include "zePlaceAgp.h"
#include "zePlaceGff.h"
#include "zePlacementTable.h"
#include "zePlaceOptions.h"
#include "zePlacePage.h"
#include "zePlaceSequences.h"
#include "zeProgramOutput.h"
#include "zeSequenceChains.h"
#include "zeSizeScale.h"
#include "zeVersion.h"

namespace {

// The markers read and the contigs anchored, with the warnings on standard error.
bool placeOnChromosomes(const PlaceOptions& o, const std::vector<ContigTableRow>& rows,
                        ChromosomePlaces& out, std::string& error) {
    std::vector<HitLine> hits;
    if (!readMarkerMap(o.markerMap, out.map, error) || !readHitsFile(o.markers, hits, error))
        return false;
    ChromosomeInput in = gatherChromosomeInput(rows, hits, out.map, {o.map, o.markers, o.markerMap});
    for (const std::string& warning : in.warnings)
        std::cerr << warning << "\n";
    if (!o.files.empty()) {
        // Placing sequences reads the files again, and tells their warnings then.
        std::ostringstream told;
        std::vector<Fingerprint> prints;
        if (!readBandsFiles(o.files, prints, error, o.placesSequences() ? told : std::cerr) ||
            !confirmLoneHits(in, rows, prints, o.place.chains.tolerance, error))
            return false;
    }
    out.anchors = anchorContigs(in.contigs, out.map, in.repeatProbes);
    out.table = chromosomeTableHeader();
    for (const ContigAnchor& a : out.anchors)
        appendChromosomeRow(out.table, a, out.map);
    out.markers = o.markers;
    out.markerMap = o.markerMap;
    return true;
}

// Each contig's highest right end, by contig number ([0] unused): the
// regions of zeContig's GFF3.
std::vector<long> contigEnds(const std::vector<ContigTableRow>& rows) {
    std::vector<long> ends;
    for (const ContigTableRow& r : rows) {
        if (r.contig <= 0) continue;
        if ((size_t)r.contig >= ends.size()) ends.resize((size_t)r.contig + 1, 0);
        ends[(size_t)r.contig] = std::max(ends[(size_t)r.contig], r.right);
    }
    return ends;
}

} // namespace

int runPlace(int argc, char** argv) {
    PlaceOptions o;
    std::string error;
    if (!readPlaceOptions(argc, argv, o, error)) return failure(error);
    if (o.help || o.version) return printHelpOrVersion(o.help ? placeUsage() : versionLine("zePlace"));
    std::vector<std::string> inputs = o.files;
    for (const std::string& bands : o.files)
        inputs.push_back(sizesPathOf(bands));
    for (const std::string* input : {&o.sequences, &o.map, &o.mapGff, &o.markers, &o.markerMap})
        if (!input->empty()) inputs.push_back(*input);
    if (!inputsAreDistinct(inputs,
                           {{"table", o.output}, {"AGP file", o.agp}, {"GFF file", o.gff},
                            {"page", o.html}, {"chromosome table", o.chromosomes}},
                           error))
        return failure(error);

    // The outputs' places are tried before the inputs are read.
    CheckedOutput table = openOutput(o.output, o.placesSequences()), agp = openOutput(o.agp, false),
                  gff = openOutput(o.gff, false), page = openOutput(o.html, false),
                  chromosomeTable = openOutput(o.chromosomes, false);
    for (const CheckedOutput* out : {&table, &agp, &gff, &page, &chromosomeTable})
        if (!out->ok()) return failure(out->failureText());

    std::vector<ContigTableRow> rows;
    if (!readContigTable(o.map, rows, error)) return failure(error);
    MapGff mapGff;
    if (!o.mapGff.empty() && !readMapGff(o.mapGff, contigEnds(rows), mapGff, error))
        return failure(error);
    ChromosomePlaces chromosomes;
    if (!o.chromosomes.empty()) {
        if (!placeOnChromosomes(o, rows, chromosomes, error)) return failure(error);
    }
    PlacePageInput in;
    in.map = o.map;
    in.chromosomes = o.chromosomes.empty() ? nullptr : &chromosomes;
    if (!o.placesSequences()) {
        if (!writeOutput(chromosomeTable, chromosomes.table, error)) return failure(error);
        if (!o.html.empty() && !writeOutput(page, placePage(in), error)) return failure(error);
        return 0;
    }

    std::vector<SizedClone> clones;
    if (!readSizedClones(o.files, clones, error)) return failure(error);
    SizeScale scale;
    if (!fitSizeScale(clones, scale, error)) return failure(error);
    PlaceMap map;
    if (!buildPlaceMap(rows, clones, scale, matchTolerance(o.place.chains), map, error))
        return failure(error);
    clones.clear();

    std::vector<PlacementRow> placements;
    if (!placeSequences(o.sequences, o.site, scale, map, o.place, placements, error))
        return failure(error);

    if (!o.chromosomes.empty() && !writeOutput(chromosomeTable, chromosomes.table, error))
        return failure(error);
    std::string text = placementTableHeader();
    for (const PlacementRow& r : placements)
        appendPlacementRow(text, r);
    if (!writeOutput(table, text, error)) return failure(error);
    if (!o.agp.empty() && !writeOutput(agp, placementAgp(placements), error)) return failure(error);
    if (!o.gff.empty() &&
        !writeOutput(gff, o.mapGff.empty() ? placementGff(placements) : placementGff(mapGff, placements),
                     error))
        return failure(error);
    if (!o.html.empty()) {
        std::vector<long> ends;
        for (const ContigClones& c : map.contigs)
            ends.push_back(c.end);
        in.sequences = o.sequences;
        in.site = o.site;
        in.files = o.files;
        in.settings = o.place;
        in.rows = &placements;
        in.contigEnds = &ends;
        if (!writeOutput(page, placePage(in), error)) return failure(error);
    }
    return 0;
}
