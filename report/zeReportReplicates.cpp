// Section 4: every pair of copies of a clone on the gel, with a warning for
// each pair whose bands do not match.
#include <cstdio>
#include <ostream>

#include "zeHtmlText.h"
#include "zeReportPage.h"
#include "zeSulston.h"

namespace {

std::string scoreText(double score) {
    char buf[32];
    snprintf(buf, sizeof buf, "%.3g", score);
    return buf;
}

std::string copyName(StepData& d, int s) {
    return std::string(d.cloneNames(s).c_str()) + " " + d.digestNames(s).c_str() + " copy " +
           std::to_string(d.copyNumbers(s)) + " (sample " + std::to_string(s) + ", lane " +
           std::to_string(s / d.project.dyenumber) + ")";
}

} // namespace

std::string replicateWarning(StepData& d, const ReplicatePair& p) {
    return std::string(d.cloneNames(p.first).c_str()) + " " + d.digestNames(p.first).c_str() +
           ": copies " + std::to_string(d.copyNumbers(p.first)) + " and " +
           std::to_string(d.copyNumbers(p.second)) + " (samples " + std::to_string(p.first) +
           " and " + std::to_string(p.second) + ") share " + std::to_string(p.shared) + " of " +
           std::to_string(p.bandsFirst) + " and " + std::to_string(p.bandsSecond) +
           " bands, score " + scoreText(p.score) + " above " + scoreText(REPLICATE_SCORE_LIMIT) +
           ": the copies do not match (a mis-loaded lane or a failed digest).";
}

void writeReplicates(std::ostream& out, StepData& d, const std::vector<ReplicatePair>& pairs) {
    out << "<section id=\"replicates\">\n<h2>4. Replicates</h2>\n<p class=\"note\">Copies of "
           "one clone on the gel (the same clone and digest names) must carry the same bands. "
           "Every pair of copies is compared as <code>zeCompare</code> compares fingerprints: "
           "bands at most "
        << DEFAULT_TOLERANCE
        << " standard units apart match, and the score is the chance that as many bands "
           "coincide by accident. A pair scoring above "
        << scoreText(REPLICATE_SCORE_LIMIT) << " does not match.</p>\n";
    if (pairs.empty()) {
        out << "<p>No clone is loaded more than once on this gel.</p>\n</section>\n";
        return;
    }
    int warnings = replicateWarnings(pairs);
    if (warnings == 0) {
        out << "<p class=\"ok\">All " << pairs.size() << " pairs of copies match.</p>\n";
    } else {
        out << "<ul class=\"warnings\">\n";
        for (const ReplicatePair& p : pairs)
            if (p.mismatched())
                out << "<li class=\"replicate-warning\">" << htmlEscape(replicateWarning(d, p))
                    << "</li>\n";
        out << "</ul>\n";
    }
    out << "<table class=\"replicates\">\n<thead><tr><th>Copy</th><th class=\"num\">Bands</th>"
           "<th>Copy</th><th class=\"num\">Bands</th><th class=\"num\">Shared</th>"
           "<th class=\"num\">Score</th><th class=\"num\">Dice</th></tr></thead>\n<tbody>\n";
    for (const ReplicatePair& p : pairs)
        out << "<tr class=\"replicate" << (p.mismatched() ? " mismatch" : "") << "\"><td>"
            << htmlEscape(copyName(d, p.first)) << "</td><td class=\"num\">" << p.bandsFirst
            << "</td><td>" << htmlEscape(copyName(d, p.second)) << "</td><td class=\"num\">"
            << p.bandsSecond << "</td><td class=\"num\">" << p.shared
            << "</td><td class=\"num\">" << htmlEscape(scoreText(p.score))
            << "</td><td class=\"num\">" << fixed(p.dice, 3) << "</td></tr>\n";
    out << "</tbody>\n</table>\n</section>\n";
}
