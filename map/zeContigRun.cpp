#include "zeContigRun.h"

#include <iostream>
#include <string>
#include <vector>

#include "zeChancePairs.h"
#include "zeContigGff.h"
#include "zeContigInput.h"
#include "zeContigNames.h"
#include "zeContigOptions.h"
#include "zeContigPage.h"
#include "zeContigTable.h"
#include "zeContigTableReader.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeMapBuild.h"
#include "zeMarkerHits.h"
#include "zeOptions.h"
#include "zeProgramOutput.h"
#include "zeTilingPath.h"
#include "zeTilingTable.h"
#include "zeVersion.h"

namespace {

// No output may be written over an input other than the bands files: the
// earlier table (`kind` "previous table") may only be the table written
// now (a map rebuilt in place: it is read before it is replaced).
bool inputIsKept(const ContigOptions& o, const std::string& kind, const std::string& input,
                 std::string& error) {
    std::vector<NamedOutput> outputs = {
        {"tiling path", o.mtp}, {"GFF file", o.gff}, {"page", o.html}};
    if (kind != "previous table") outputs.push_back({"table", o.output});
    for (const NamedOutput& out : outputs)
        if (!out.path.empty() && (out.path == input || sameFile(out.path, input))) {
            error = "the " + out.kind + " '" + out.path + "' is the " + kind + " '" + input +
                    "': it would be written over";
            return false;
        }
    return true;
}

// A NOTE per contig that closed on itself, as a circular genome's map does:
// its two ends meet where it was opened.
void noteCircles(const std::vector<Fingerprint>& prints, const ContigMap& map) {
    for (const CircleOpening& at : map.circleOpenings) {
        const int contig = map.clones[(size_t)at.first].contig;
        if (contig <= 0 || map.clones[(size_t)at.second].contig != contig) continue;
        const std::string& a = prints[(size_t)at.first].clone;
        const std::string& b = prints[(size_t)at.second].clone;
        if (at.throughOne)
            std::cerr << "NOTE: contig " << contig << " closed on itself through clone " << a
                      << " alone, laid out as a line opened between it and " << b
                      << ": its two ends meet if the genome is circular, else " << a
                      << " may be chimeric" << std::endl;
        else
            std::cerr << "NOTE: contig " << contig
                      << " closes on itself, as a circular genome's map does: laid out as a "
                         "line opened between clones "
                      << a << " and " << b << ", its two ends meet" << std::endl;
    }
}

} // namespace

int runContig(int argc, char** argv) {
    ContigOptions o;
    std::string error;
    if (!readContigOptions(argc, argv, o, error)) return failure(error);
    if (o.help || o.version) return printHelpOrVersion(o.help ? contigUsage() : versionLine("zeContig"));
    if (!inputsAreDistinct(o.files,
                           {{"table", o.output}, {"tiling path", o.mtp}, {"GFF file", o.gff},
                            {"page", o.html}},
                           error))
        return failure(error);
    if (!o.previous.empty() && !inputIsKept(o, "previous table", o.previous, error))
        return failure(error);
    if (!o.markers.empty() && !inputIsKept(o, "hits file", o.markers, error))
        return failure(error);

    // The outputs' places are tried before the inputs are read and scored.
    CheckedOutput table = openOutput(o.output, true), mtp = openOutput(o.mtp, false),
                  gff = openOutput(o.gff, false), page = openOutput(o.html, false);
    for (const CheckedOutput* out : {&table, &mtp, &gff, &page})
        if (!out->ok()) return failure(out->failureText());

    std::vector<ContigTableRow> previous;
    if (!o.previous.empty() && !readContigTable(o.previous, previous, error)) return failure(error);
    std::vector<Fingerprint> prints;
    if (!readContigInput(o.files, prints, error)) return failure(error);
    MarkerHits hits;
    if (!o.markers.empty()) {
        std::vector<HitLine> lines;
        if (!readHitsFile(o.markers, lines, error)) return failure(error);
        std::vector<std::string> warnings;
        hits = markerHitsOf(lines, o.markers, prints, warnings);
        for (const std::string& warning : warnings)
            std::cerr << warning << std::endl;
    }
    const std::string chance = chancePairsWarning(prints.size(), o.map.cutoff);
    if (!chance.empty()) std::cerr << chance << std::endl;
    ContigMap map = buildMap(prints, o.map, hits.prints);
    if (!o.previous.empty()) {
        ContigNames names = nameContigs(prints, map, previous);
        renumberContigs(map, names.numberOf);
        for (const std::string& note : names.notes)
            std::cerr << note << std::endl;
    }
    noteCircles(prints, map);
    std::vector<std::vector<TilingStep>> paths;
    size_t pathJunk = 0;
    if (!o.mtp.empty() || !o.gff.empty() || !o.html.empty())
        paths = tilingPaths(prints, map, o.mtpShared, o.map.tolerance, &pathJunk);

    if (!writeOutput(table, contigTableHeader() + contigTableRows(prints, map), error))
        return failure(error);
    if (!o.mtp.empty() &&
        !writeOutput(mtp, tilingTableHeader() + tilingTableRows(prints, map, paths), error))
        return failure(error);
    if (!o.gff.empty() && !writeOutput(gff, contigGff(prints, map, paths), error))
        return failure(error);
    if (!o.html.empty()) {
        ContigPageInput in;
        in.files = o.files;
        in.prints = &prints;
        in.map = &map;
        in.settings = o.map;
        in.markers = o.markers;
        in.mtpShared = o.mtpShared;
        in.pathJunk = (long)pathJunk;
        in.table = o.output;
        in.tilingPath.assign(prints.size(), 0);
        for (const std::vector<int>& path : tilingPrints(paths))
            for (int v : path)
                in.tilingPath[(size_t)v] = 1;
        if (!writeOutput(page, contigPage(in), error)) return failure(error);
    }
    return 0;
}
