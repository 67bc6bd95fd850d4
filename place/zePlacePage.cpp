#include "zePlacePage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "zeHtmlText.h"
#include "zePageStyle.h"
#include "zeChromosomePage.h"
#include "zePlaceAgp.h"

namespace {

const char* const STYLE =
    "svg.lane{display:block;margin:.3em 0}"
    ".plus{fill:#3a7bd5}.minus{fill:#d5813a}.unknown{fill:#999}.axis{stroke:#666;stroke-width:1}"
    "td.num{text-align:right}";

std::string cutoffText(double cutoff) {
    char text[32];
    snprintf(text, sizeof text, "%g", cutoff);
    return text;
}

std::string range(const PlacementRow& r) {
    return std::to_string(r.seqStart) + "&ndash;" + std::to_string(r.seqEnd);
}

void rowCells(std::ostringstream& out, const PlacementRow& r, bool withContig) {
    out << "<tr><td>" << htmlEscape(r.sequence) << "</td><td class=\"num\">" << range(r) << "</td>";
    if (withContig) out << "<td class=\"num\">" << r.contig << "</td>";
    out << "<td class=\"num\">" << r.left << "&ndash;" << r.right << "</td><td>"
        << (r.strand < 0 ? "&minus;" : strandSign(r.strand)) << "</td><td class=\"num\">" << r.matched << " / "
        << r.fragments << "</td><td class=\"num\">" << r.clones << "</td><td>"
        << placeStatusName(r.status) << "</td></tr>\n";
}

const char* const HEAD = "<tr><th>sequence</th><th>seq_start&ndash;seq_end</th>";
const char* const TAIL =
    "<th>left&ndash;right</th><th>strand</th><th>matched / fragments</th><th>clones</th>"
    "<th>status</th></tr>\n";

void lane(std::ostringstream& out, const std::vector<const PlacementRow*>& pieces, long end) {
    const double width = 900, height = 14 + 10 * 3.0;
    const double scale = width / (double)std::max(1L, end);
    out << "<svg class=\"lane\" width=\"" << width + 20 << "\" height=\"" << height
        << "\" role=\"img\" aria-label=\"placed sequences along the contig\">"
        << "<line class=\"axis\" x1=\"10\" y1=\"6\" x2=\"" << fixed(10 + width, 1) << "\" y2=\"6\"/>";
    for (size_t k = 0; k < pieces.size(); ++k) {
        const PlacementRow& r = *pieces[k];
        double x = 10 + scale * (double)r.left, w = std::max(1.0, scale * (double)(r.right - r.left));
        out << "<rect class=\"" << (r.strand > 0 ? "plus" : r.strand < 0 ? "minus" : "unknown") << "\" x=\"" << fixed(x, 1)
            << "\" y=\"" << 10 + 10 * (double)(k % 3) << "\" width=\"" << fixed(w, 1)
            << "\" height=\"8\"><title>" << htmlEscape(r.sequence) << " " << r.left << "-"
            << r.right << " " << strandSign(r.strand) << "</title></rect>";
    }
    out << "</svg>\n";
}

// The sections of the placed sequences.
void sequenceSections(std::ostringstream& out, const PlacePageInput& in) {
    const std::vector<PlacementRow>& rows = *in.rows;
    std::map<PlaceStatus, long> counts;
    std::map<std::string, int> seen;
    for (const PlacementRow& r : rows)
        if (seen[r.sequence]++ == 0) counts[r.status]++;
    out << "<section>\n<h2>Summary</h2>\n<table>\n"
        << "<tr><th>sequences</th><td class=\"num\">" << seen.size() << "</td></tr>\n";
    for (PlaceStatus s : {PlaceStatus::Placed, PlaceStatus::Split, PlaceStatus::Ambiguous,
                          PlaceStatus::Unplaced})
        out << "<tr><th>" << placeStatusName(s) << "</th><td class=\"num\">" << counts[s]
            << "</td></tr>\n";
    out << "</table>\n<p>Sequences: " << htmlEscape(in.sequences) << "; map: " << htmlEscape(in.map)
        << "; site " << htmlEscape(in.site) << "; tolerance " << in.settings.chains.tolerance
        << " standard units; chance cutoff " << cutoffText(in.settings.cutoff)
        << " per sequence; " << in.files.size() << " bands files.</p>\n</section>\n";

    std::vector<std::vector<const PlacementRow*>> contigs = rowsAlongContigs(rows);
    std::stable_sort(contigs.begin(), contigs.end(),
                     [](const std::vector<const PlacementRow*>& a,
                        const std::vector<const PlacementRow*>& b) { return a.size() > b.size(); });
    out << "<section>\n<h2>Along the contigs</h2>\n<p>Each contig from its left end, its "
           "placed pieces in map order: <span style=\"color:#3a7bd5\">&#9632;</span> strand +, "
           "<span style=\"color:#d5813a\">&#9632;</span> strand &minus;, "
           "<span style=\"color:#999\">&#9632;</span> strand unknown.</p>\n";
    if (contigs.size() > PAGE_CONTIGS)
        out << "<p>The " << PAGE_CONTIGS << " contigs with the most placed pieces of "
            << contigs.size() << ".</p>\n";
    for (size_t k = 0; k < contigs.size() && k < PAGE_CONTIGS; ++k) {
        int contig = contigs[k].front()->contig;
        long end = (size_t)contig < in.contigEnds->size() ? (*in.contigEnds)[(size_t)contig] : 1;
        out << "<h3>contig" << contig << " <small>(" << end << " band units, " << contigs[k].size()
            << " pieces)</small></h3>\n";
        lane(out, contigs[k], end);
        out << "<table>\n" << HEAD << TAIL;
        for (const PlacementRow* r : contigs[k])
            rowCells(out, *r, false);
        out << "</table>\n";
    }
    out << "</section>\n";

    for (PlaceStatus s : {PlaceStatus::Split, PlaceStatus::Ambiguous}) {
        out << "<section>\n<h2>" << (s == PlaceStatus::Split ? "Split sequences" : "Ambiguous sequences")
            << "</h2>\n";
        if (counts[s] == 0) {
            out << "<p>None.</p>\n</section>\n";
            continue;
        }
        out << "<table>\n" << HEAD << "<th>contig</th>" << TAIL;
        for (const PlacementRow& r : rows)
            if (r.status == s) rowCells(out, r, true);
        out << "</table>\n</section>\n";
    }
    out << "<section>\n<h2>Unplaced sequences</h2>\n";
    if (counts[PlaceStatus::Unplaced] == 0) {
        out << "<p>None.</p>\n";
    } else {
        out << "<table>\n<tr><th>sequence</th><th>length</th><th>fragments</th><th>most matched</th></tr>\n";
        for (const PlacementRow& r : rows)
            if (r.status == PlaceStatus::Unplaced)
                out << "<tr><td>" << htmlEscape(r.sequence) << "</td><td class=\"num\">" << r.seqEnd
                    << "</td><td class=\"num\">" << r.fragments << "</td><td class=\"num\">"
                    << r.matched << "</td></tr>\n";
        out << "</table>\n";
    }
    out << "</section>\n";
}

} // namespace

std::string placePage(const PlacePageInput& in) {
    const char* title = in.rows ? "Sequences on the map" : "The map on the chromosomes";
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<title>" << title << "</title>\n<style>" << BASE_PAGE_STYLE << STYLE
        << CHROMOSOME_STYLE << "</style>\n</head>\n<body>\n<header>\n<h1>" << title
        << "</h1>\n</header>\n<main>\n";
    if (in.rows) sequenceSections(out, in);
    if (in.chromosomes) out << chromosomeSection(*in.chromosomes, in.map);
    out << "</main>\n</body>\n</html>\n";
    return out.str();
}
