#include "zeContigPage.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "zeChanceBands.h"
#include "zeChancePairs.h"
#include "zeContigDrawing.h"
#include "zeContigRows.h"
#include "zeContigStats.h"
#include "zeHtmlText.h"
#include "zePageStyle.h"
#include "zeSvgPlot.h"

namespace {

const char* STYLE = R"css(
svg .bar { fill: #4f7cc0; }
section.contig h3 { margin: 28px 0 2px; font-size: 16px; }
)css";

// Bands files named on the page; the rest are counted.
const size_t FILES_NAMED = 5;

std::string number(double v) {
    char buf[32];
    snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

std::string share(long part, long whole) {
    return whole > 0 ? " (" + fixed(100.0 * (double)part / (double)whole, 1) + "%)" : "";
}

void fact(std::ostream& out, const char* name, const std::string& valueHtml) {
    out << "<tr><th>" << name << "</th><td>" << valueHtml << "</td></tr>\n";
}

std::string tableName(const ContigPageInput& in) {
    return in.table.empty() ? "the table zeContig wrote on standard output"
                            : "the table <code>" + htmlEscape(in.table) + "</code>";
}

// Contigs by clones in doubling bins, the count of each above its bar.
void writeHistogram(std::ostream& out, const std::vector<SizeBin>& bins) {
    const double left = 50, top = 20, plotHeight = 160, slot = std::min(80.0, 680.0 / bins.size());
    const double width = left + slot * (double)bins.size() + 20, base = top + plotHeight;
    long most = 1;
    for (const SizeBin& b : bins)
        most = std::max(most, b.contigs);
    Scale y{0, (double)most, base, top};
    out << "<div class=\"scroll\">\n<svg class=\"sizes\" xmlns=\"http://www.w3.org/2000/svg\" "
           "width=\""
        << fixed(width, 0) << "\" height=\"" << fixed(base + 44, 0) << "\">\n";
    for (double t : niceTicks(0, (double)most, 4)) {
        out << "<line class=\"grid\" x1=\"" << left << "\" x2=\"" << fixed(width - 10, 1)
            << "\" y1=\"" << fixed(y(t), 1) << "\" y2=\"" << fixed(y(t), 1) << "\"/>";
        svgText(out, left - 6, y(t) + 3.5, fixed(t, 0), "", "end");
    }
    for (size_t k = 0; k < bins.size(); ++k) {
        const SizeBin& b = bins[k];
        double x = left + slot * (double)k;
        out << "\n<rect class=\"bar\" x=\"" << fixed(x + 3, 1) << "\" y=\""
            << fixed(y((double)b.contigs), 1) << "\" width=\"" << fixed(slot - 6, 1)
            << "\" height=\"" << fixed(base - y((double)b.contigs), 1) << "\"><title>"
            << b.contigs << " contigs of " << b.lowest << "-" << b.highest << " clones, holding "
            << b.clones << " clones</title></rect>";
        svgText(out, x + slot / 2, y((double)b.contigs) - 3, std::to_string(b.contigs), "", "middle");
        std::string label = b.lowest == b.highest ? std::to_string(b.lowest)
                                                  : std::to_string(b.lowest) + "\xE2\x80\x93" +
                                                        std::to_string(b.highest);
        svgText(out, x + slot / 2, base + 14, label, "", "middle");
    }
    out << "\n<line class=\"axis\" x1=\"" << left << "\" x2=\"" << fixed(width - 10, 1)
        << "\" y1=\"" << base << "\" y2=\"" << base << "\"/>";
    svgText(out, left + (width - left) / 2, base + 34, "clones per contig", "", "middle");
    out << "\n</svg>\n</div>\n";
}

void writeOverview(std::ostream& out, const ContigPageInput& in,
                   const std::vector<ContigSize>& sizes) {
    const MapCounts n = mapCounts(*in.map);
    std::vector<long> clones, lengths;
    long largest = 0, longest = 0;
    for (const ContigSize& s : sizes) {
        clones.push_back(s.clones);
        lengths.push_back(s.length);
        largest = std::max(largest, s.clones);
        longest = std::max(longest, s.length);
    }
    std::string files;
    for (size_t k = 0; k < in.files.size() && k < FILES_NAMED; ++k)
        files += (k ? ", " : "") + ("<code>" + htmlEscape(in.files[k]) + "</code>");
    if (in.files.size() > FILES_NAMED)
        files += " and " + std::to_string(in.files.size() - FILES_NAMED) + " more";

    out << "<section id=\"overview\">\n<h2>1. Overview</h2>\n<table class=\"facts\">\n";
    fact(out, "Bands files", std::to_string(in.files.size()) + ": " + files);
    fact(out, "Fingerprints", std::to_string(n.fingerprints));
    fact(out, "Contigs", std::to_string(contigsHeld(*in.map)) + " (of 2 clones or more)");
    fact(out, "Clones in contigs", std::to_string(n.inContigs) + share(n.inContigs, n.fingerprints));
    fact(out, "Singletons", std::to_string(n.singletons) + share(n.singletons, n.fingerprints) +
                                ": overlapping no clone");
    fact(out, "Buried", std::to_string(n.buried) + share(n.buried, n.fingerprints));
    fact(out, "Q", std::to_string(n.q) + share(n.q, n.fingerprints) +
                       ": fitting the clones around them badly");
    fact(out, "Chimeric", std::to_string(n.chimeric) + share(n.chimeric, n.fingerprints) +
                              ": the only link between two groups; in no contig");
    fact(out, "N50, consensus-band units", std::to_string(n50(lengths)));
    fact(out, "N50, clones", std::to_string(n50(clones)));
    fact(out, "Largest contig", std::to_string(largest) + " clones; the longest " +
                                    std::to_string(longest) + " consensus-band units");
    out << "</table>\n<p class=\"note\">N50 in consensus-band units: half of the summed length of "
           "all contigs lies in contigs at least that long. N50 in clones: half of the clones in "
           "contigs lie in contigs of at least that many clones. Each is taken on its own, so the "
           "two need not describe the same contig. A clone's length in consensus-band units is "
           "about its number of bands; the percentages are of all fingerprints.</p>\n";
    std::vector<SizeBin> bins = sizeBins(sizes);
    if (bins.empty()) {
        out << "<p>No contig: no two clones overlap within the cutoff.</p>\n";
    } else {
        out << "<p class=\"note\">Contigs by their number of clones, in bins of doubling width; "
               "above each bar its number of contigs.</p>\n";
        writeHistogram(out, bins);
    }
    out << "</section>\n";
}

// Every setting of the build that ran, stage by stage.
void writeSettings(std::ostream& out, const ContigPageInput& in) {
    const MapSettings& s = in.settings;
    out << "<section id=\"settings\">\n<h2>2. Settings</h2>\n<table class=\"facts\">\n";
    fact(out, "Tolerance", std::to_string(s.tolerance) + " standard units (<code>-t</code>)");
    const double chance = chancePairs(in.prints->size(), s.cutoff);
    fact(out, "Build cutoff",
         "pairs scoring at most " + htmlEscape(number(s.cutoff)) +
             " overlap (<code>-c</code>); of the library's pairs, about " +
             (chance < 1 ? std::string("none") : std::to_string(std::llround(chance))) +
             " pass by chance alone");
    fact(out, "Crowded bands",
         s.crowdedPower > 0
             ? "pairs also scoring at most " +
                   htmlEscape(number(std::pow(s.cutoff, s.crowdedPower))) +
                   " (the build cutoff to the power " + htmlEscape(number(s.crowdedPower)) +
                   ") with each band's chance of a match taken from how densely the "
                   "library's bands lie within the tolerance of it: " +
                   std::to_string(in.map->crowdedPairsSetAside) + " pairs set aside, " +
                   std::to_string(in.map->crowdedPairsRestored) +
                   " of them restored: a pair comes back when at least " +
                   std::to_string(s.crowdedWitnesses) +
                   " clones pass with both of its clones and the three centre offsets agree "
                   "within " +
                   htmlEscape(number(s.crowdedOffsetSlack)) +
                   " bands (none in a library of fewer than " +
                   std::to_string(LEAST_BANDS_FOR_CROWDING) + " bands)"
             : std::string("off"));
    std::string ranges;
    for (const BandRange& r : in.map->maskedBands)
        ranges += (ranges.empty() ? "" : ", ") + std::to_string(r.low) +
                  (r.high > r.low ? "-" + std::to_string(r.high) : "");
    fact(out, "Common bands",
         "positions whose window holds more than " + fixed(100 * s.commonBandShare, 0) +
             "% of the clones beyond the usual crowding of its stretch of the scale are masked "
             "in every clone: " +
             (ranges.empty() ? std::string("none") : "masked " + ranges));
    fact(out, "Repeat bands",
         "a clone's band shared by more than " + fixed(s.repeatDepthFactor, 2) +
             " times the typical number of its partners (pairs scoring at most " +
             htmlEscape(number(std::max(s.cutoff, s.repeatDepthCutoff))) +
             "); pairs passing only with such bands join no groups, and bring in a clone "
             "no other pair holds only scoring at most " +
             htmlEscape(number(s.repeatLoneCutoff)) + " on the other bands: " +
             std::to_string(in.map->repeatPairsSetAside) + " pairs set aside");
    fact(out, "Repeat copies",
         "of a clone's partners with at least " + std::to_string(s.copyOwnBands) +
             " bands it lacks, one lies at another copy of a repeat when another matches "
             "every band of the clone it matches but " + std::to_string(s.copySlack) +
             ", and at least " + std::to_string(s.copyMargin) +
             " more, the two sharing at most " + std::to_string(s.copyApart) +
             " of the bands the clone lacks; an overlap so for both its clones is cut: " +
             std::to_string(in.map->repeatCopyOverlapsCut) + " cut");
    if (!in.markers.empty())
        fact(out, "Markers",
             "two clones a marker of <code>" + htmlEscape(in.markers) +
                 "</code> hits overlap when they score at most " +
                 htmlEscape(number(s.markerCutoff)) +
                 " (<code>--marker-cutoff</code>) sharing at least " +
                 std::to_string(s.markerShared) +
                 " bands, both less the repeat bands, joining two groups with at least " +
                 std::to_string(s.markerJoinClones) +
                 " clones of each in such pairs; a marker hitting more than " +
                 fixed(s.markerRepeatFactor, 2) + " times the " +
                 std::to_string(in.map->markerTypicalHits) +
                 " fingerprints of the typical marker is a repeat probe, not used: " +
                 std::to_string(in.map->markerRepeatProbes) + " repeat probes, " +
                 std::to_string(in.map->markerPairsAdded) + " pairs added");
    fact(out, "Trusted pairs", "a third clone overlapping both, or one clone overlapping "
                               "nothing else");
    fact(out, "Loose cutoff", "score at most " + htmlEscape(number(s.looseCutoff)) +
                                  " on the bands less the repeat bands: the groups around "
                                  "a possible chimeric clone overlap after all; at most " +
                                  std::to_string(s.mostPairsTried) +
                                  " pairs between two groups are scored");
    fact(out, "Overhang groups",
         "a clone's partners with at least " + std::to_string(s.overhangBands) +
             " bands it lacks, two in one group when they share at least " +
             fixed(100 * s.overhangShare, 0) +
             "% of the smaller overhang; beyond two groups, one matching bands of the clone "
             "that the others match but " +
             std::to_string(s.copySlack) +
             " lies at another copy of a repeat, and the loose cutoff does not join a group "
             "around the clone that matches only bands another group matches");
    fact(out, "Circular groups",
         "a group whose clones half-way from a far clone part in two, the parts meeting "
         "again on both sides through at least " +
             std::to_string(s.circleMeetingClones) +
             " clone-disjoint paths each, is a circle, opened once near that clone; one "
             "meeting through one clone alone is opened at that clone (of two such, at the "
             "one whose two sides share no pair at the loose cutoff): " +
             std::to_string(in.map->circleOpenings.size()) + " opened");
    fact(out, "Linear groups",
         "two clones lie over each other when placed over at least " +
             fixed(100 * s.overlaidShare, 0) + "% of the shorter and sharing at most " +
             fixed(100 * s.overlaidSharedBands, 0) +
             "% of the fewer bands, both less the repeat bands; a group with more than " +
             htmlEscape(number(s.overlaidPerClone)) +
             " such pairs per clone is cut where at most " + std::to_string(s.mostCutOverlaps) +
             " overlaps part each pair, and laid out again, at most " +
             std::to_string(s.cutRounds) + " times");
    fact(out, "Thin joins",
         "a clone alone holding a side of at least " + std::to_string(s.thinJoinSide) +
             " clones to as many is cut from the side it overlaps less when at least " +
             std::to_string(s.thinJoinPairs) +
             " pairs of clones, one on each side, are placed over each other beyond it by " +
             fixed(100 * s.thinJoinBeyond, 0) + "% of the shorter, sharing at most " +
             std::to_string(s.copyApart) + " of the bands it lacks");
    fact(out, "Layout", "a pair of which one clone lies in the other counts " +
                            htmlEscape(number(s.containedWeight)) + "; offsets of " +
                            htmlEscape(number(s.sureOffset)) +
                            " bands or more are sure; a clone's excess measured on at least " +
                            std::to_string(s.fewestTriples) + " triples, a contig's on " +
                            std::to_string(s.enoughTriples) + "; settled within " +
                            htmlEscape(number(s.settled)) + " bands or after " +
                            std::to_string(s.mostRounds) + " rounds");
    fact(out, "Buried", "at least " + fixed(100 * s.buriedShare, 0) +
                            "% of its bands in one other clone of its contig");
    fact(out, "Q", "a band is explained when " + std::to_string(s.fitSupport) +
                       " clones placed over it match it; unexplained share above " +
                       fixed(s.mostUnexplained, 2));
    fact(out, "Chimeric piece",
         "looked up for at least " + std::to_string(s.fewestForeign) + " bands (and " +
             fixed(100 * s.leastForeignShare, 0) +
             "% of its bands) the clones around it lack, bands held by more than " +
             htmlEscape(number(s.commonBandFactor)) + " times the clones chance gives left out; " +
             std::to_string(s.homesNeeded) + " clones within one clone length, each scoring at most " +
             htmlEscape(number(s.homeCutoff)) + " against them (leads up to " +
             std::to_string(s.leadSlack) + " bands short), away from its place (no overlap at " +
             htmlEscape(number(s.besideCutoff)) + "; contig ends within " +
             std::to_string(s.endReach) + " units meet)");
    std::string junk;
    if (in.pathJunk >= 0)
        junk = "; the fresh bands that 99% of the clones away from the ends have, which "
               "decide how far past its ends the path reaches (<code>man zeContig</code>): " +
               std::to_string(in.pathJunk) + " on this library";
    fact(out, "Tiling path", "steps sharing fewer than " + std::to_string(in.mtpShared) +
                                 " bands are weak (<code>--mtp-shared</code>)" + junk);
    fact(out, "Threads", std::to_string(s.threads) +
                             " (<code>-j</code>; the map does not depend on them)");
    out << "</table>\n</section>\n";
}

void writeContigs(std::ostream& out, const ContigPageInput& in,
                  const std::vector<ContigSize>& sizes, const std::vector<char>& path) {
    const ContigMap& map = *in.map;
    int drawn = std::max(0, std::min(in.contigsDrawn, map.contigs));
    out << "<section id=\"contigs\">\n<h2>3. The largest contigs</h2>\n";
    if (drawn == 0) {
        out << "<p>No contig to draw. Every clone is in " << tableName(in) << ".</p>\n</section>\n";
        return;
    }
    out << "<p>" << drawn << " of the " << contigsHeld(map)
        << " contigs are drawn: the largest by clones (contigs are numbered by size, so these are "
           "contigs 1 to "
        << drawn << ")."
        << (drawn < map.contigs
                ? " The others, and every clone in no contig, are reached through " +
                      tableName(in) + ": one row per clone, ordered by contig, then left end."
                : " Every clone, with those in no contig, is also in " + tableName(in) + ".")
        << "</p>\n<table class=\"index\">\n<thead><tr><th>Contig</th><th class=\"num\">Clones"
           "</th><th class=\"num\">Length</th><th class=\"num\">Buried</th><th class=\"num\">Q"
           "</th><th class=\"num\">Chimeric links</th></tr></thead>\n<tbody>\n";
    std::vector<std::vector<int>> members = contigMembers(*in.prints, map, drawn);
    std::vector<std::vector<int>> chimeric = chimericLinks(map, drawn);
    for (int c = 1; c <= drawn; ++c) {
        long buried = 0, q = 0;
        for (int v : members[(size_t)c - 1]) {
            buried += map.clones[(size_t)v].status == CloneStatus::Buried;
            q += map.clones[(size_t)v].status == CloneStatus::Q;
        }
        out << "<tr><td><a href=\"#contig-" << c << "\">" << c << "</a></td><td class=\"num\">"
            << sizes[(size_t)c - 1].clones << "</td><td class=\"num\">"
            << sizes[(size_t)c - 1].length << "</td><td class=\"num\">" << buried
            << "</td><td class=\"num\">" << q << "</td><td class=\"num\">"
            << chimeric[(size_t)c - 1].size() << "</td></tr>\n";
    }
    out << "</tbody>\n</table>\n<p class=\"note\">Each clone is a bar from its left to its right "
           "end, one row per clone in the order of the table (by left end). A buried clone is "
           "drawn as a thin stripe under the clone it lies in, whose row counts them (+n), so a "
           "contig of hundreds of clones needs a row only for those not buried; a long contig "
           "scrolls in its box. Point at a bar for the clone's name, place and status. Beneath "
           "each drawing, its band map: how many of the contig's clones (buried ones too) cover "
           "each consensus-band unit. A stretch covered by one clone is held together by that "
           "clone alone.";
    if (path.empty())
        out << " No tiling path is marked.";
    else
        out << " The tiling path's clones are outlined.";
    out << "</p>\n";
    writeDrawingLegend(out, !path.empty());

    ContigDrawingInput drawing;
    drawing.prints = in.prints;
    drawing.map = in.map;
    drawing.tilingPath = &path;
    for (int c = 1; c <= drawn; ++c) {
        const std::vector<int>& m = members[(size_t)c - 1];
        writeContigDrawing(out, drawing, drawingRows(map, c, m), m, chimeric[(size_t)c - 1]);
    }
    out << "</section>\n";
}

} // namespace

std::string contigPage(const ContigPageInput& in) {
    const std::vector<char>& path = in.tilingPath;
    assert(path.empty() || path.size() == in.prints->size());
    std::vector<ContigSize> sizes = contigSizes(*in.map);
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<title>Physical map</title>\n<style>" << BASE_PAGE_STYLE << CONTIG_DRAWING_STYLE
        << STYLE << "</style>\n</head>\n<body>\n<header>\n<h1>Physical map</h1>\n"
        << "<nav><a href=\"#overview\">1. Overview</a><a href=\"#settings\">2. Settings</a>"
        << "<a href=\"#contigs\">3. The largest contigs</a></nav>\n</header>\n";
    writeOverview(out, in, sizes);
    writeSettings(out, in);
    writeContigs(out, in, sizes, path);
    out << "<footer class=\"note\"><p>Written by zeContig from the bands files of zeStep5."
           "</p></footer>\n</body>\n</html>\n";
    return out.str();
}
