// Section 4: every pair of copies of a clone on the gel, with a warning for
// each pair whose bands do not match, and the spread of the bands of the
// copies that match: the gel's own noise and the tolerance it suggests.
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

void spreadRow(std::ostream& out, const char* name, int value) {
    out << "<tr><th>" << name << "</th><td class=\"num\">" << value << "</td></tr>\n";
}

void writeSpread(std::ostream& out, const std::vector<ReplicatePair>& pairs) {
    out << "<h3 id=\"spread\">Noise between copies</h3>\n<p class=\"note\">Bands of two "
           "copies that match pair up when each is the other's nearest band and they lie at "
           "most "
        << SPREAD_WINDOW << " standard units apart: twice the default tolerance, so that a gel "
        << "noisier than the default shows instead of being cut off at it. Percentiles are by "
           "nearest rank (the value at rank &lceil;p n / 100&rceil; of the n sorted "
           "differences). <strong>Suggested tolerance: the smallest whole tolerance at or above "
           "the "
        << SPREAD_SUGGESTION_PERCENT
        << "th percentile of |difference|, at least 1</strong>. At that tolerance "
        << SPREAD_SUGGESTION_PERCENT << "% of the paired bands of copies match; give it to "
        << "<code>zeCompare -t</code>.</p>\n";
    BandSpread s = replicateSpread(pairs);
    if (replicateWarnings(pairs) == (int)pairs.size()) {
        out << "<p class=\"no-spread\">No pair of copies matches, so none measures the gel's "
               "noise: the gel suggests no tolerance.</p>\n";
        return;
    }
    if (!s.any()) {
        out << "<p class=\"no-spread\">No bands of matching copies pair up: the gel suggests "
               "no tolerance.</p>\n";
        return;
    }
    out << "<table class=\"facts spread\">\n";
    spreadRow(out, "Matched bands", s.matched);
    spreadRow(out, "Median |difference|", s.median);
    spreadRow(out, "95th percentile |difference|", s.percentile95);
    spreadRow(out, "Suggested tolerance", s.suggestedTolerance);
    out << "</table>\n";
    if (s.percentile95 >= SPREAD_WINDOW)
        out << "<p class=\"wide-spread\">The 95th percentile reaches the pairing window: the gel may be "
               "noisier than this measures.</p>\n";
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
        out << "<p>No clone is loaded more than once on this gel.</p>\n<p class=\"no-spread\">"
               "Without copies the gel cannot show its own noise: no tolerance is "
               "suggested.</p>\n</section>\n";
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
    out << "</tbody>\n</table>\n";
    writeSpread(out, pairs);
    out << "</section>\n";
}
