// Section 1: what the project holds and what became of every named
// sample's bands.
#include <ostream>

#include "zeHtmlText.h"
#include "zeReportPage.h"

namespace {

// Marker lanes listed up to this many; longer lists end with their count.
const int MAX_LISTED_LANES = 40;

std::string markerLaneList(const ProjInfo& p) {
    std::string list;
    int listed = 0, total = 0;
    for (int l = 0; l < p.lanenumber; l++) {
        if (!isMarkerLane(p, l)) continue;
        total++;
        if (listed == MAX_LISTED_LANES) continue;
        if (listed > 0) list += ", ";
        list += std::to_string(l);
        listed++;
    }
    if (total > listed) list += ", ... (" + std::to_string(total) + " in all)";
    return list.empty() ? "none" : list;
}

void fact(std::ostream& out, const char* name, const std::string& valueHtml) {
    out << "<tr><th>" << name << "</th><td>" << valueHtml << "</td></tr>\n";
}

// A count cell, marked when it counts dropped bands.
void countCell(std::ostream& out, int n, bool drop) {
    out << "<td class=\"num" << (drop && n > 0 ? " drop" : "") << "\">" << n << "</td>";
}

} // namespace

void writeSummary(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
                  const std::vector<LaneCheck>& checks) {
    const ProjInfo& p = d.project;
    int unnamed = d.samples - (int)bands.size();
    int warned = 0;
    for (const LaneCheck& c : checks)
        warned += c.warned();

    out << "<section id=\"summary\">\n<h2>1. Summary</h2>\n<table class=\"facts\">\n";
    fact(out, "Lanes", std::to_string(p.lanenumber));
    fact(out, "Dyes per lane", std::to_string(p.dyenumber));
    fact(out, "Samples", std::to_string(d.samples) + " (lanes &times; dyes)");
    fact(out, "Marker lanes", "every " + std::to_string(p.markerrepeat) + ": " + markerLaneList(p));
    fact(out, "Method",
         p.normmethod ? "linear (piecewise-linear between calibration pairs)"
                      : "nonlinear (natural cubic spline through calibration pairs)");
    fact(out, "Fragment sizes",
         d.haveSizes ? "present: every lane also maps gel positions to the log of the size"
                     : "absent: bands are accepted on their standard position alone");
    fact(out, "Traces",
         std::to_string(d.rowLength) + " gel positions, " + std::to_string(d.rowCount) +
             " rows per sample");
    fact(out, "Named samples",
         std::to_string(bands.size()) + " (" + std::to_string(unnamed) + " without a clone)");
    fact(out, "Calibration warnings",
         warned == 0 ? std::string("<span class=\"ok\">none</span>")
                     : "<a href=\"#warnings\">" + std::to_string(warned) + " lane" +
                           (warned == 1 ? "" : "s") + "</a>");
    out << "</table>\n";

    out << "<h3>Bands per named sample</h3>\n<p class=\"note\">Accepted bands are the ones the "
           "bands file lists: kind 1, a standard position of at least 0"
        << (d.haveSizes ? " and a log size of at least 0 (a size of at least 1)" : "")
        << ". The others are dropped without a message by the step.</p>\n"
        << "<table class=\"bands\">\n<thead><tr><th class=\"num\">Sample</th>"
           "<th class=\"num\">Lane</th><th class=\"num\">Dye</th><th>Clone</th><th>Digest</th>"
           "<th class=\"num\">Copy</th><th class=\"num\">Accepted</th>"
           "<th class=\"num\">Outside calibrated range</th>"
           "<th class=\"num\">Negative standard position</th>"
           "<th class=\"num\">Negative log size</th><th class=\"num\">Other kinds</th>"
           "</tr></thead>\n<tbody>\n";
    SampleBands total;
    for (const SampleBands& b : bands) {
        int s = b.sample, lane = s / p.dyenumber;
        bool laneWarned = lane < (int)checks.size() && checks[lane].warned();
        out << "<tr class=\"sample" << (laneWarned ? " warn-lane" : "") << "\" data-sample=\"" << s
            << "\" data-accepted=\"" << b.accepted << "\" data-outside=\"" << b.outsideRange
            << "\" data-negative-position=\"" << b.negativePosition
            << "\" data-negative-log-size=\"" << b.negativeLogSize << "\" data-other-kind=\""
            << b.otherKind << "\">";
        out << "<td class=\"num\">" << s << "</td><td class=\"num lane\">";
        if (laneWarned)
            out << "<a href=\"#lane-" << lane << "\">" << lane << "</a>";
        else
            out << lane;
        out << "</td><td class=\"num\">" << s % p.dyenumber << "</td><td>"
            << htmlEscape(d.cloneNames(s).c_str()) << "</td><td>"
            << htmlEscape(d.digestNames(s).c_str()) << "</td><td class=\"num\">" << d.copyNumbers(s)
            << "</td>";
        countCell(out, b.accepted, false);
        countCell(out, b.outsideRange, true);
        countCell(out, b.negativePosition, true);
        countCell(out, b.negativeLogSize, true);
        countCell(out, b.otherKind, true);
        out << "</tr>\n";
        total.accepted += b.accepted;
        total.outsideRange += b.outsideRange;
        total.negativePosition += b.negativePosition;
        total.negativeLogSize += b.negativeLogSize;
        total.otherKind += b.otherKind;
    }
    out << "</tbody>\n<tfoot><tr><td colspan=\"6\">All named samples</td>";
    countCell(out, total.accepted, false);
    countCell(out, total.outsideRange, true);
    countCell(out, total.negativePosition, true);
    countCell(out, total.negativeLogSize, true);
    countCell(out, total.otherKind, true);
    out << "</tr></tfoot>\n</table>\n</section>\n";
}
