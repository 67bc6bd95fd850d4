#include "zePlaceRun.h"

#include <iostream>
#include <string>
#include <vector>

#include "zeCloneSizes.h"
#include "zeContigTableReader.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeMapFragments.h"
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

int runPlace(int argc, char** argv) {
    PlaceOptions o;
    std::string error;
    if (!readPlaceOptions(argc, argv, o, error)) return failure(error);
    if (o.help || o.version) return printHelpOrVersion(o.help ? placeUsage() : versionLine("zePlace"));
    std::vector<std::string> inputs = o.files;
    for (const std::string& bands : o.files)
        inputs.push_back(sizesPathOf(bands));
    inputs.push_back(o.sequences);
    inputs.push_back(o.map);
    if (!inputsAreDistinct(inputs,
                           {{"table", o.output}, {"AGP file", o.agp}, {"GFF file", o.gff},
                            {"page", o.html}},
                           error))
        return failure(error);

    // The outputs' places are tried before the inputs are read.
    CheckedOutput table = openOutput(o.output, true), agp = openOutput(o.agp, false),
                  gff = openOutput(o.gff, false), page = openOutput(o.html, false);
    for (const CheckedOutput* out : {&table, &agp, &gff, &page})
        if (!out->ok()) return failure(out->failureText());

    std::vector<ContigTableRow> rows;
    if (!readContigTable(o.map, rows, error)) return failure(error);
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

    std::string text = placementTableHeader();
    for (const PlacementRow& r : placements)
        appendPlacementRow(text, r);
    if (!writeOutput(table, text, error)) return failure(error);
    if (!o.agp.empty() && !writeOutput(agp, placementAgp(placements), error)) return failure(error);
    if (!o.gff.empty() && !writeOutput(gff, placementGff(placements), error)) return failure(error);
    if (!o.html.empty()) {
        std::vector<long> ends;
        for (const ContigClones& c : map.contigs)
            ends.push_back(c.end);
        PlacePageInput in;
        in.sequences = o.sequences;
        in.map = o.map;
        in.site = o.site;
        in.files = o.files;
        in.settings = o.place;
        in.rows = &placements;
        in.contigEnds = &ends;
        if (!writeOutput(page, placePage(in), error)) return failure(error);
    }
    return 0;
}
