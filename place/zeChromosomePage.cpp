#include "zeChromosomePage.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "zeHtmlText.h"

const char* const CHROMOSOME_STYLE =
    ".unstranded{fill:#8a8a8a}.conflict{fill:#c62828}";

namespace {

const double LANE_WIDTH = 900;
const int BAR_ROWS = 3; // bars staggered over rows, so that neighbours stay apart

struct Span {
    double low = 0, high = 0;
};

// A bar of map positions [low, high] on a lane from `from` with `scale`
// pixels per map unit.
void bar(std::ostringstream& out, const char* kind, double from, double scale, Span s, int row,
         const std::string& title) {
    double x = 10 + scale * (s.low - from), w = std::max(2.0, scale * (s.high - s.low));
    out << "<rect class=\"" << kind << "\" x=\"" << fixed(x, 1) << "\" y=\"" << 10 + 10 * row
        << "\" width=\"" << fixed(w, 1) << "\" height=\"8\"><title>" << htmlEscape(title)
        << "</title></rect>";
}

std::string strandText(int strand) {
    return strand > 0 ? "+" : strand < 0 ? "-" : ".";
}

} // namespace

std::string chromosomeSection(const ChromosomePlaces& places, const std::string& map) {
    const MarkerMap& m = places.map;
    std::map<AnchorStatus, long> contigs, clones;
    for (const ContigAnchor& a : places.anchors) {
        contigs[a.status]++;
        clones[a.status] += a.clones;
    }
    std::vector<Span> extent(m.chromosomes.size());
    std::vector<bool> seen(m.chromosomes.size(), false);
    for (size_t k = 0; k < m.names.size(); ++k) {
        Span& e = extent[m.chromosome[k]];
        double p = m.position[k];
        e = seen[m.chromosome[k]] ? Span{std::min(e.low, p), std::max(e.high, p)} : Span{p, p};
        seen[m.chromosome[k]] = true;
    }
    std::ostringstream out;
    out << "<section>\n<h2>Along the chromosomes</h2>\n<p>Map: " << htmlEscape(map)
        << "; markers: " << htmlEscape(places.markers) << "; marker map: "
        << htmlEscape(places.markerMap) << ".</p>\n<table>\n<tr><th>status</th><th>contigs</th>"
        << "<th>clones</th></tr>\n";
    for (AnchorStatus s : {AnchorStatus::Anchored, AnchorStatus::Conflict, AnchorStatus::Unanchored})
        out << "<tr><td>" << anchorStatusName(s) << "</td><td class=\"num\">" << contigs[s]
            << "</td><td class=\"num\">" << clones[s] << "</td></tr>\n";
    out << "</table>\n<p>Each anchored contig from its lowest to its highest marker: "
           "<span style=\"color:#3a7bd5\">&#9632;</span> strand +, "
           "<span style=\"color:#d5813a\">&#9632;</span> strand &minus;, "
           "<span style=\"color:#8a8a8a\">&#9632;</span> no strand shown; "
           "<span style=\"color:#c62828\">&#9632;</span> a conflict, where its markers of the "
           "chromosome lie.</p>\n";
    for (size_t c = 0; c < m.chromosomes.size(); ++c) {
        const double from = extent[c].low;
        const double scale = LANE_WIDTH / std::max(1e-300, extent[c].high - extent[c].low);
        std::ostringstream bars;
        long count = 0, conflicts = 0;
        for (const ContigAnchor& a : places.anchors) {
            if (std::find(a.chromosomes.begin(), a.chromosomes.end(), c) == a.chromosomes.end()) continue;
            if (a.status == AnchorStatus::Anchored) {
                const char* kind = a.strand > 0 ? "plus" : a.strand < 0 ? "minus" : "unstranded";
                bar(bars, kind, from, scale, {m.position[a.lowest], m.position[a.highest]},
                    (int)(count++ % BAR_ROWS),
                    "contig" + std::to_string(a.contig) + " " + m.positionText[a.lowest] + "-" +
                        m.positionText[a.highest] + " " + strandText(a.strand) + ", " +
                        std::to_string(a.markers.size()) + " markers, " +
                        std::to_string(a.clones) + " clones");
            } else if (a.status == AnchorStatus::Conflict) {
                Span s{0, 0};
                bool any = false;
                for (const MarkerOnContig& x : a.markers) {
                    if (m.chromosome[x.marker] != c) continue;
                    double p = m.position[x.marker];
                    s = any ? Span{std::min(s.low, p), std::max(s.high, p)} : Span{p, p};
                    any = true;
                }
                ++conflicts;
                bar(bars, "conflict", from, scale, s, BAR_ROWS,
                    "contig" + std::to_string(a.contig) + ": a conflict");
            }
        }
        out << "<h3>" << htmlEscape(m.chromosomes[c]) << " <small>(" << count << " contigs anchored, "
            << conflicts << " in conflict)</small></h3>\n<svg class=\"lane\" width=\""
            << LANE_WIDTH + 20 << "\" height=\"" << 20 + 10 * BAR_ROWS
            << "\" role=\"img\" aria-label=\"contigs along the chromosome\"><line class=\"axis\" "
               "x1=\"10\" y1=\"6\" x2=\""
            << fixed(10 + LANE_WIDTH, 1) << "\" y2=\"6\"/>" << bars.str() << "</svg>\n";
    }
    out << "<h3>Conflicts</h3>\n";
    if (contigs[AnchorStatus::Conflict] == 0) {
        out << "<p>None.</p>\n";
    } else {
        out << "<table>\n<tr><th>contig</th><th>chromosomes</th><th>markers</th><th>clones</th></tr>\n";
        for (const ContigAnchor& a : places.anchors) {
            if (a.status != AnchorStatus::Conflict) continue;
            std::string names;
            for (size_t c : a.chromosomes)
                names += (names.empty() ? "" : ", ") + m.chromosomes[c];
            out << "<tr><td>contig" << a.contig << "</td><td>" << htmlEscape(names)
                << "</td><td class=\"num\">" << a.markers.size() << "</td><td class=\"num\">"
                << a.clones << "</td></tr>\n";
        }
        out << "</table>\n";
    }
    out << "</section>\n";
    return out.str();
}
