#include "zeComparePage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "zeAverageLinkage.h"
#include "zeHtmlText.h"
#include "zePageStyle.h"
#include "zePngData.h"
#include "zePairScan.h"
#include "zeSulston.h"

namespace {

const char* STYLE = R"css(
svg .branch { stroke: #1f5fbf; stroke-width: 1.2; fill: none; }
svg image.heat { image-rendering: pixelated; }
)css";

// Every score at or below this counts as fully similar in the heatmap.
const double HEAT_FULL = 20;

// Geometry of the tree, in pixels.
const double TREE_LEFT = 40, TREE_WIDTH = 420, TREE_TOP = 30, LEAF_PITCH = 13;
// Side of the heatmap, in pixels.
const double HEAT_LEFT = 40, HEAT_TOP = 20;

// The ordinal, as in the table, tells two copies of a clone on one gel apart.
std::string name(const Fingerprint& f) {
    return f.clone + " (gel " + f.gel + ", #" + std::to_string(f.ordinal) + ")";
}

std::string scoreText(double score) {
    char buf[32];
    snprintf(buf, sizeof buf, "%.3g", score);
    return buf;
}

// Shared bands, Dice distances and -log10 scores of every pair.
struct AllPairs {
    int n = 0;
    std::vector<double> distance; // 1 - Dice, n x n
    std::vector<double> strength; // -log10(score), n x n
};

AllPairs allPairs(const std::vector<Fingerprint>& prints, int tolerance) {
    AllPairs a;
    a.n = (int)prints.size();
    a.distance.assign((size_t)a.n * a.n, 0);
    a.strength.assign((size_t)a.n * a.n, HEAT_FULL);
    for (int i = 0; i < a.n; i++)
        for (int j = i + 1; j < a.n; j++) {
            PairScore p = scorePair(prints, i, j, tolerance);
            // A score below the double range is 0: infinitely strong, drawn full.
            double strength = -std::log10(p.score);
            a.distance[(size_t)i * a.n + j] = a.distance[(size_t)j * a.n + i] = 1 - p.dice;
            a.strength[(size_t)i * a.n + j] = a.strength[(size_t)j * a.n + i] = strength;
        }
    return a;
}

void fact(std::ostream& out, const char* name, const std::string& valueHtml) {
    out << "<tr><th>" << name << "</th><td>" << valueHtml << "</td></tr>\n";
}

void writeSummary(std::ostream& out, const ComparePageInput& in) {
    long long n = (long long)in.prints->size();
    std::string files;
    for (const std::string& f : in.files)
        files += (files.empty() ? "" : ", ") + ("<code>" + htmlEscape(f) + "</code>");
    out << "<section id=\"summary\">\n<h2>1. Summary</h2>\n<table class=\"facts\">\n";
    fact(out, "Bands files", files);
    fact(out, "Fingerprints", std::to_string(n));
    fact(out, "Pairs", std::to_string(n * (n - 1) / 2));
    fact(out, "Tolerance", std::to_string(in.tolerance) + " standard units");
    fact(out, "Cutoff", "score at most " + htmlEscape(scoreText(in.cutoff)));
    fact(out, "Pairs within the cutoff", std::to_string(in.pairsPassing));
    out << "</table>\n<p class=\"note\">Two bands match when they lie at most the tolerance "
           "apart on the "
        << NORM_SCALE_LENGTH
        << "-unit standard scale, each band matching at most once. The score of "
           "a pair is the chance that at least as many bands coincide by accident (the Sulston "
           "score): the lower, the more surely the two fingerprints come from overlapping "
           "clones. Dice is twice the shared bands over both band counts.</p>\n</section>\n";
}

void writeStrongest(std::ostream& out, const ComparePageInput& in) {
    const std::vector<Fingerprint>& prints = *in.prints;
    out << "<section id=\"pairs\">\n<h2>2. Strongest pairs</h2>\n";
    if (in.strongest.empty()) {
        out << "<p>No pair scores at or below the cutoff.</p>\n</section>\n";
        return;
    }
    out << "<p class=\"note\">The " << in.strongest.size()
        << " pairs with the lowest scores among those within the cutoff. A fingerprint is "
           "named by its clone, its gel number and its ordinal (#), its place in its bands "
           "file, as in the table.</p>\n"
        << "<table class=\"pairs\">\n<thead><tr><th>Fingerprint</th><th class=\"num\">Bands</th>"
           "<th>Fingerprint</th><th class=\"num\">Bands</th><th class=\"num\">Shared</th>"
           "<th class=\"num\">Score</th><th class=\"num\">Dice</th></tr></thead>\n<tbody>\n";
    for (const PairScore& p : in.strongest) {
        const Fingerprint& a = prints[p.first];
        const Fingerprint& b = prints[p.second];
        out << "<tr class=\"pair\"><td>" << htmlEscape(name(a)) << "</td><td class=\"num\">"
            << a.bands.size() << "</td><td>" << htmlEscape(name(b)) << "</td><td class=\"num\">"
            << b.bands.size() << "</td><td class=\"num\">" << p.shared << "</td><td class=\"num\">"
            << htmlEscape(scoreText(p.score)) << "</td><td class=\"num\">" << fixed(p.dice, 3)
            << "</td></tr>\n";
    }
    out << "</tbody>\n</table>\n</section>\n";
}

// Leaves top to bottom, the joins leftwards at their height on 1 - Dice
// (0 at the leaves, 1 at the left edge). All branches form one path.
void writeTree(std::ostream& out, const std::vector<Fingerprint>& prints, const Tree& tree,
               const std::vector<int>& order) {
    int n = (int)prints.size();
    double labelsAt = TREE_LEFT + TREE_WIDTH;
    double height = TREE_TOP + n * LEAF_PITCH + 10;
    auto x = [&](double h) { return labelsAt - std::min(1.0, std::max(0.0, h)) * TREE_WIDTH; };
    std::vector<double> y(tree.nodes.size(), 0);
    for (int k = 0; k < n; k++)
        y[order[k]] = TREE_TOP + (k + 0.5) * LEAF_PITCH;
    std::string path;
    // Children come before their parent in the node list.
    for (size_t k = n; k < tree.nodes.size(); k++) {
        const TreeNode& t = tree.nodes[k];
        y[k] = (y[t.left] + y[t.right]) / 2;
        double px = x(t.height);
        for (int c : {t.left, t.right})
            path += "M" + fixed(px, 1) + "," + fixed(y[c], 1) + "H" +
                    fixed(x(tree.nodes[c].height), 1);
        path += "M" + fixed(px, 1) + "," + fixed(y[t.left], 1) + "V" + fixed(y[t.right], 1);
    }
    out << "<div class=\"scroll\">\n<svg class=\"tree\" xmlns=\"http://www.w3.org/2000/svg\" "
           "width=\""
        << fixed(labelsAt + 300, 0) << "\" height=\"" << fixed(height, 0) << "\">\n";
    for (int tick = 0; tick <= 10; tick += 2) {
        double tx = x(tick / 10.0);
        out << "<line class=\"grid\" x1=\"" << fixed(tx, 1) << "\" x2=\"" << fixed(tx, 1)
            << "\" y1=\"" << TREE_TOP - 6 << "\" y2=\"" << fixed(height - 6, 1) << "\"/>";
        out << "<text x=\"" << fixed(tx, 1) << "\" y=\"" << TREE_TOP - 10
            << "\" text-anchor=\"middle\">" << fixed(tick / 10.0, 1) << "</text>";
    }
    out << "\n<path class=\"branch\" d=\"" << path << "\"/>\n";
    for (int k = 0; k < n; k++)
        out << "<text x=\"" << fixed(labelsAt + 6, 1) << "\" y=\""
            << fixed(TREE_TOP + (k + 0.5) * LEAF_PITCH + 3.5, 1) << "\">"
            << htmlEscape(name(prints[order[k]])) << "</text>\n";
    out << "</svg>\n</div>\n";
}

// One pixel per pair in the tree's order, dark where the score is low.
void writeHeatmap(std::ostream& out, const AllPairs& a, const std::vector<int>& order) {
    int n = a.n;
    std::vector<unsigned char> grey((size_t)n * n);
    for (int r = 0; r < n; r++)
        for (int c = 0; c < n; c++) {
            double v = r == c ? HEAT_FULL : a.strength[(size_t)order[r] * n + order[c]];
            double f = std::min(1.0, std::max(0.0, v / HEAT_FULL));
            grey[(size_t)r * n + c] = (unsigned char)std::lround(255 * (1 - f));
        }
    double side = std::min(900.0, std::max(400.0, 6.0 * n));
    out << "<div class=\"scroll\">\n<svg class=\"heatmap\" xmlns=\"http://www.w3.org/2000/svg\" "
           "width=\""
        << fixed(HEAT_LEFT + side + 20, 0) << "\" height=\"" << fixed(HEAT_TOP + side + 20, 0)
        << "\">\n<image class=\"heat\" x=\"" << HEAT_LEFT << "\" y=\"" << HEAT_TOP
        << "\" width=\"" << fixed(side, 1) << "\" height=\"" << fixed(side, 1)
        << "\" preserveAspectRatio=\"none\" href=\"" << greyPngDataUri(grey, n, n)
        << "\"/>\n<rect class=\"frame\" x=\"" << HEAT_LEFT << "\" y=\"" << HEAT_TOP
        << "\" width=\"" << fixed(side, 1) << "\" height=\"" << fixed(side, 1) << "\"/>\n"
        << "</svg>\n</div>\n";
}

void writeTreeAndHeatmap(std::ostream& out, const ComparePageInput& in) {
    const std::vector<Fingerprint>& prints = *in.prints;
    int n = (int)prints.size();
    out << "<section id=\"tree\">\n<h2>3. Similarity tree</h2>\n";
    if (n > MAX_TREE_FINGERPRINTS) {
        out << "<p>The tree and the heatmap are drawn for up to " << MAX_TREE_FINGERPRINTS
            << " fingerprints; these files hold " << n
            << ". The table of the strongest pairs above still covers them all.</p>\n</section>\n";
        return;
    }
    if (n < 2) {
        out << "<p>A tree needs at least two fingerprints.</p>\n</section>\n";
        return;
    }
    AllPairs a = allPairs(prints, in.tolerance);
    Tree tree = averageLinkage(a.distance, n);
    std::vector<int> order = leafOrder(tree);
    out << "<p class=\"note\">Average linkage (UPGMA) on 1 &minus; Dice: fingerprints that share "
           "most of their bands join near the right.</p>\n";
    writeTree(out, prints, tree, order);
    out << "</section>\n<section id=\"heatmap\">\n<h2>4. Heatmap</h2>\n<p class=\"note\">"
           "&minus;log<sub>10</sub> of the score of every pair, in the order of the tree (top to "
           "bottom, left to right): white for a score of 1, black for "
        << fixed(HEAT_FULL, 0) << " and beyond (scores of 1e-" << fixed(HEAT_FULL, 0)
        << " or less) and on the diagonal.</p>\n";
    writeHeatmap(out, a, order);
    out << "</section>\n";
}

} // namespace

std::string comparePage(const ComparePageInput& in) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<title>Fingerprint comparison</title>\n<style>" << BASE_PAGE_STYLE << STYLE << "</style>\n"
        << "</head>\n<body>\n<header>\n<h1>Fingerprint comparison</h1>\n"
        << "<nav><a href=\"#summary\">1. Summary</a><a href=\"#pairs\">2. Strongest pairs</a>"
        << "<a href=\"#tree\">3. Similarity tree</a>";
    if ((int)in.prints->size() <= MAX_TREE_FINGERPRINTS && in.prints->size() >= 2)
        out << "<a href=\"#heatmap\">4. Heatmap</a>";
    out << "</nav>\n</header>\n";
    writeSummary(out, in);
    writeStrongest(out, in);
    writeTreeAndHeatmap(out, in);
    out << "<footer class=\"note\"><p>Written by zeCompare from the bands files of zeStep5."
           "</p></footer>\n</body>\n</html>\n";
    return out.str();
}
