// Section 2: every lane's mapping from gel positions to the standard scale
// (and to the log of the fragment size), with the warnings of the lane
// checks, and an overview of how far the lanes' mappings differ.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "zeHtmlText.h"
#include "zeLaneChecks.h"
#include "zeReportPage.h"
#include "zeSvgPlot.h"

namespace {

// Geometry of one lane plot, in pixels.
const double PLOT_WIDTH = 300;
const double PLOT_LEFT = 46, PLOT_RIGHT = 292;
const double STD_TOP = 26, STD_BOTTOM = 166;
const double SIZE_TOP = 200, SIZE_BOTTOM = 290;
const int CURVE_SAMPLES = 240;
const int MAX_DRAWN_KNOTS = 100;

// Extrapolated values are drawn up to this far beyond the plotted range
// (and clipped there) rather than at coordinates no browser can draw.
const double OVERSHOOT = 0.5;

// Shared by all lane plots so that they compare at a glance.
struct Frame {
    double gelLo = 0, gelHi = 1;
    double lnLo = 0, lnHi = 1;
};

Frame plotFrame(StepData& d) {
    Frame f;
    double lo = 0, hi = d.rowLength > 1 ? d.rowLength - 1 : 1;
    double lnLo = INFINITY, lnHi = -INFINITY;
    for (int l = 0; l < d.project.lanenumber; l++) {
        NormFac& n = d.normFacs(l);
        if (n.pairs.nelem() > 0) {
            lo = std::min(lo, (double)n.gelLow);
            hi = std::max(hi, (double)n.gelHigh);
        }
        if (!hasSizeFactor(d, l)) continue;
        NormFac& s = d.sizeFacs(l);
        lo = std::min(lo, (double)s.gelLow);
        hi = std::max(hi, (double)s.gelHigh);
        for (int i = 0; i < s.pairs.nelem(); i++) {
            double v = s.pairs[i].norm;
            if (!std::isfinite(v)) continue;
            lnLo = std::min(lnLo, v);
            lnHi = std::max(lnHi, v);
        }
    }
    double pad = (hi - lo) * 0.02;
    f.gelLo = lo - pad;
    f.gelHi = hi + pad;
    if (lnLo <= lnHi) {
        double lnPad = std::max((lnHi - lnLo) * 0.05, 0.1);
        f.lnLo = lnLo - lnPad;
        f.lnHi = lnHi + lnPad;
    }
    return f;
}

// Gel positions at which a factor's curve is drawn: evenly over its
// calibrated range, plus a marker lane's own pairs inside the range (an
// interpolated lane's thousand pairs would only bloat the page).
std::vector<float> curvePositions(NormFac& fac) {
    std::vector<float> at;
    double lo = fac.gelLow, hi = fac.gelHigh;
    for (int i = 0; i <= CURVE_SAMPLES; i++)
        at.push_back((float)(lo + (hi - lo) * i / CURVE_SAMPLES));
    if (fac.pairs.nelem() > MAX_DRAWN_KNOTS) return at;
    for (int i = 0; i < fac.pairs.nelem(); i++)
        if (fac.pairs[i].gel >= lo && fac.pairs[i].gel <= hi) at.push_back(fac.pairs[i].gel);
    std::sort(at.begin(), at.end());
    return at;
}

void drawCurve(std::ostream& out, NormFac& fac, const Scale& x, const Scale& y,
               const std::string& cssClass) {
    // Fewer than two pairs map nothing (and a spline through one point
    // cannot be evaluated).
    if (fac.pairs.nelem() < 2) return;
    double span = y.hi - y.lo;
    std::vector<Pixel> points;
    for (float g : curvePositions(fac)) {
        double v = fac.normaliseBand(g);
        points.push_back({x(g), y(clampTo(v, y.lo - OVERSHOOT * span, y.hi + OVERSHOOT * span))});
    }
    for (const std::string& run : polylinePoints(points))
        out << "<polyline class=\"curve " << cssClass << "\" points=\"" << run << "\"/>";
}

// Calibration pairs as points; the pair at index bad (if any) in red.
void drawPairs(std::ostream& out, NormFac& fac, const Scale& x, const Scale& y, int bad) {
    double span = y.hi - y.lo;
    for (int i = 0; i < fac.pairs.nelem(); i++) {
        const Coords& c = fac.pairs[i];
        double px = x(clampTo(c.gel, x.lo, x.hi));
        double py = y(clampTo(c.norm, y.lo - OVERSHOOT * span, y.hi + OVERSHOOT * span));
        if (std::isnan(px) || std::isnan(py)) continue;
        out << "<circle class=\"pair" << (i == bad ? " bad" : "") << "\" cx=\"" << fixed(px, 1)
            << "\" cy=\"" << fixed(py, 1) << "\" r=\"" << (i == bad ? "3.5" : "2.2")
            << "\"><title>pair " << i << ": gel " << fixed(c.gel, 2) << ", " << fixed(c.norm, 3)
            << "</title></circle>";
    }
}

void drawFold(std::ostream& out, NormFac& fac, const Monotony& m, const Scale& x, const Scale& y) {
    if (m.monotone) return;
    double span = y.hi - y.lo;
    double v =
        clampTo(fac.normaliseBand(m.foldAt), y.lo - OVERSHOOT * span, y.hi + OVERSHOOT * span);
    if (std::isnan(v)) v = (y.lo + y.hi) / 2;
    out << "<circle class=\"fold\" cx=\"" << fixed(x(m.foldAt), 1) << "\" cy=\"" << fixed(y(v), 1)
        << "\" r=\"6\"><title>turns back at gel " << fixed(m.foldAt, 1) << "</title></circle>";
}

// Frame, grid, the trace's extent and the lane's calibrated range of one
// panel; y ticks labelled by label(value).
template <class Label>
void drawPanel(std::ostream& out, const Scale& x, const Scale& y, const std::vector<double>& yTicks,
               Label label, StepData& d, NormFac* range) {
    double top = std::min(y.from, y.to), bottom = std::max(y.from, y.to);
    // The trace holds gel positions 0 .. rowLength - 1.
    double t0 = clampTo(x(0), PLOT_LEFT, PLOT_RIGHT);
    double t1 = clampTo(x(d.rowLength - 1), PLOT_LEFT, PLOT_RIGHT);
    out << "<rect class=\"trace\" x=\"" << fixed(t0, 1) << "\" y=\"" << fixed(top, 1)
        << "\" width=\"" << fixed(std::max(0.0, t1 - t0), 1) << "\" height=\""
        << fixed(bottom - top, 1) << "\"/>";
    for (double v : yTicks) {
        out << "<line class=\"grid\" x1=\"" << PLOT_LEFT << "\" x2=\"" << PLOT_RIGHT << "\" y1=\""
            << fixed(y(v), 1) << "\" y2=\"" << fixed(y(v), 1) << "\"/>";
        svgText(out, PLOT_LEFT - 4, y(v) + 3, label(v), "", "end");
    }
    for (double g : niceTicks(x.lo, x.hi, 5)) {
        out << "<line class=\"grid\" x1=\"" << fixed(x(g), 1) << "\" x2=\"" << fixed(x(g), 1)
            << "\" y1=\"" << fixed(top, 1) << "\" y2=\"" << fixed(bottom, 1) << "\"/>";
        svgText(out, x(g), bottom + 11, fixed(g, 0), "", "middle");
    }
    if (range && range->pairs.nelem() > 0)
        for (int g : {range->gelLow, range->gelHigh})
            out << "<line class=\"range\" x1=\"" << fixed(x(g), 1) << "\" x2=\"" << fixed(x(g), 1)
                << "\" y1=\"" << fixed(top, 1) << "\" y2=\"" << fixed(bottom, 1) << "\"/>";
    out << "<rect class=\"axis\" x=\"" << PLOT_LEFT << "\" y=\"" << fixed(top, 1) << "\" width=\""
        << PLOT_RIGHT - PLOT_LEFT << "\" height=\"" << fixed(bottom - top, 1) << "\"/>";
}

// Fragment sizes (1, 2 or 5 times a power of ten) to label a log-size
// axis with; only the powers of ten when those would be too many.
std::vector<double> sizeTicks(double lnLo, double lnHi) {
    std::vector<double> all, tens;
    for (int e = -3; e <= 9; e++) {
        for (double m : {1.0, 2.0, 5.0}) {
            double size = m * std::pow(10.0, e);
            double ln = std::log(size);
            if (ln < lnLo || ln > lnHi) continue;
            all.push_back(ln);
            if (m == 1.0) tens.push_back(ln);
        }
    }
    return all.size() > 7 ? tens : all;
}

std::string sizeLabel(double ln) {
    double size = std::exp(ln);
    return size >= 1 ? fixed(size, 0) : fixed(size, 3);
}

std::string laneSamples(StepData& d, int lane) {
    std::string names;
    for (int s = lane * d.project.dyenumber; s < (lane + 1) * d.project.dyenumber; s++) {
        if (d.cloneNames(s).empty()) continue;
        if (!names.empty()) names += ", ";
        names += htmlEscape(d.cloneNames(s).c_str());
    }
    return names;
}

// For an interpolated lane, a note naming the marker lanes it comes from
// that have warnings: a wrong marker pair shifts every lane made from it.
std::string inheritedWarnings(StepData& d, const LaneCheck& c,
                              const std::vector<LaneCheck>& checks) {
    int step = d.project.markerrepeat;
    if (c.marker || step < 1) return "";
    std::vector<int> warned;
    for (int m : {c.lane - c.lane % step, c.lane - c.lane % step + step})
        if (m < (int)checks.size() && checks[m].warned()) warned.push_back(m);
    if (warned.empty()) return "";
    if (warned.size() == 1)
        return "Interpolated from marker lane " + std::to_string(warned[0]) +
               ", which has warnings.";
    return "Interpolated from marker lanes " + std::to_string(warned[0]) + " and " +
           std::to_string(warned[1]) + ", which have warnings.";
}

void writeLanePlot(std::ostream& out, StepData& d, const LaneCheck& c, const Frame& f,
                   const std::vector<LaneCheck>& checks) {
    int l = c.lane;
    NormFac& norm = d.normFacs(l);
    bool sizes = hasSizeFactor(d, l);
    double height = d.haveSizes ? SIZE_BOTTOM + 18 : STD_BOTTOM + 18;
    std::string clip = "clip-lane-" + std::to_string(l);
    std::string kind = c.marker ? "marker" : "interpolated";

    out << "<figure class=\"lane " << kind << (c.warned() ? " warned" : "") << "\" id=\"lane-" << l
        << "\">\n<svg class=\"lane-plot\" data-lane=\"" << l
        << "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" << PLOT_WIDTH << "\" height=\""
        << height << "\" viewBox=\"0 0 " << PLOT_WIDTH << " " << height << "\">";
    out << "<defs><clipPath id=\"" << clip << "\"><rect x=\"" << PLOT_LEFT << "\" y=\"0\" width=\""
        << PLOT_RIGHT - PLOT_LEFT << "\" height=\"" << height << "\"/></clipPath></defs>";
    svgText(out, 6, 14, "Lane " + std::to_string(l) + " (" + kind + ")", "title");
    if (c.warned()) svgText(out, PLOT_RIGHT, 14, "WARNING", "warn", "end");

    Scale x{f.gelLo, f.gelHi, PLOT_LEFT, PLOT_RIGHT};
    Scale y{0, NORM_SCALE_LENGTH, STD_BOTTOM, STD_TOP};
    drawPanel(
        out, x, y, niceTicks(0, NORM_SCALE_LENGTH, 4), [](double v) { return fixed(v, 0); }, d,
        &norm);
    out << "<g clip-path=\"url(#" << clip << ")\">";
    std::string curveClass = kind + (c.standard.monotone ? "" : " bad");
    drawCurve(out, norm, x, y, curveClass);
    if (c.marker) drawPairs(out, norm, x, y, c.badPair);
    drawFold(out, norm, c.standard, x, y);
    out << "</g>";

    if (d.haveSizes) {
        Scale ys{f.lnLo, f.lnHi, SIZE_BOTTOM, SIZE_TOP};
        svgText(out, 6, SIZE_TOP - 8, "log size (labelled in bases)", "");
        drawPanel(out, x, ys, sizeTicks(f.lnLo, f.lnHi), sizeLabel, d,
                  sizes ? &d.sizeFacs(l) : nullptr);
        if (sizes) {
            NormFac& size = d.sizeFacs(l);
            out << "<g clip-path=\"url(#" << clip << ")\">";
            drawCurve(out, size, x, ys, kind + (c.size.monotone ? "" : " bad"));
            if (c.marker) drawPairs(out, size, x, ys, c.badSizePair);
            drawFold(out, size, c.size, x, ys);
            out << "</g>";
        }
    }
    out << "</svg>\n<figcaption>";
    std::string names = laneSamples(d, l);
    out << (names.empty() ? std::string("no named sample") : names);
    for (const std::string& w : laneWarnings(c, d))
        out << "<br>" << htmlEscape(w);
    std::string inherited = inheritedWarnings(d, c, checks);
    if (!inherited.empty()) out << "<br><span class=\"inherited\">" << inherited << "</span>";
    out << "</figcaption>\n</figure>\n";
}

// Gel position, on every lane, of a few fixed standard positions, minus
// their mean over the lanes: a smiling gel shows as bent lines, a lane
// with a bad calibration as a spike.
void writeOverview(std::ostream& out, StepData& d) {
    int lanes = d.project.lanenumber;
    if (lanes < 2) return;
    // Standard range each lane covers, and the part all lanes share.
    std::vector<double> lo(lanes), hi(lanes);
    double common0 = -INFINITY, common1 = INFINITY;
    for (int l = 0; l < lanes; l++) {
        NormFac& n = d.normFacs(l);
        double a = n.normaliseBand((float)n.gelLow), b = n.normaliseBand((float)n.gelHigh);
        if (n.pairs.nelem() < 2 || !std::isfinite(a) || !std::isfinite(b)) {
            lo[l] = INFINITY;
            hi[l] = -INFINITY;
            continue;
        }
        lo[l] = std::min(a, b);
        hi[l] = std::max(a, b);
        common0 = std::max(common0, lo[l]);
        common1 = std::min(common1, hi[l]);
    }
    if (!(common0 < common1)) {
        common0 = 0;
        common1 = NORM_SCALE_LENGTH;
    }
    const int LEVELS = 9;
    std::vector<double> levels;
    for (int k = 0; k < LEVELS; k++)
        levels.push_back(common0 + (common1 - common0) * (0.04 + 0.92 * k / (LEVELS - 1)));

    std::vector<std::vector<double>> offset(LEVELS, std::vector<double>(lanes, NAN));
    double extent = 1;
    for (int k = 0; k < LEVELS; k++) {
        double sum = 0;
        int n = 0;
        for (int l = 0; l < lanes; l++) {
            if (levels[k] < lo[l] || levels[k] > hi[l]) continue;
            double g = d.normFacs(l).normToGel((float)levels[k]);
            if (!std::isfinite(g)) continue;
            offset[k][l] = g;
            sum += g;
            n++;
        }
        if (n == 0) continue;
        for (int l = 0; l < lanes; l++) {
            offset[k][l] -= sum / n;
            if (std::isfinite(offset[k][l])) extent = std::max(extent, std::fabs(offset[k][l]));
        }
    }

    const double W = 820, H = 260, L = 56, R = 720, T = 30, B = 230;
    Scale x{0, (double)lanes - 1, L, R};
    Scale y{-extent * 1.1, extent * 1.1, B, T};
    out << "<figure class=\"overview\">\n<svg class=\"offsets\" "
           "xmlns=\"http://www.w3.org/2000/svg\""
        << " width=\"" << W << "\" height=\"" << H << "\" viewBox=\"0 0 " << W << " " << H << "\">";
    svgText(out, 6, 16,
            "Gel position of fixed standard positions, relative to their mean over all lanes",
            "title");
    for (double v : niceTicks(y.lo, y.hi, 6)) {
        out << "<line class=\"grid\" x1=\"" << L << "\" x2=\"" << R << "\" y1=\"" << fixed(y(v), 1)
            << "\" y2=\"" << fixed(y(v), 1) << "\"/>";
        svgText(out, L - 4, y(v) + 3, fixed(v, v == std::floor(v) ? 0 : 1), "", "end");
    }
    for (double v : niceTicks(0, lanes - 1, std::min(lanes - 1, 12)))
        svgText(out, x(v), B + 12, fixed(v, 0), "", "middle");
    svgText(out, (L + R) / 2, B + 26, "lane", "", "middle");
    out << "<rect class=\"axis\" x=\"" << L << "\" y=\"" << T << "\" width=\"" << R - L
        << "\" height=\"" << B - T << "\"/>";
    for (int k = 0; k < LEVELS; k++) {
        std::string colour = "hsl(" + std::to_string(210 + 140 * k / (LEVELS - 1)) + ",65%,45%)";
        std::vector<Pixel> points;
        for (int l = 0; l < lanes; l++)
            points.push_back({x(l), y(offset[k][l])});
        for (const std::string& run : polylinePoints(points))
            out << "<polyline class=\"curve\" style=\"stroke:" << colour << "\" points=\"" << run
                << "\"/>";
        for (int l = 0; l < lanes; l++)
            if (isMarkerLane(d.project, l) && std::isfinite(offset[k][l]))
                out << "<circle cx=\"" << fixed(x(l), 1) << "\" cy=\"" << fixed(y(offset[k][l]), 1)
                    << "\" r=\"2\" style=\"fill:" << colour << "\"/>";
        double ly = T + 8 + 14 * k;
        out << "<line x1=\"" << R + 8 << "\" x2=\"" << R + 22 << "\" y1=\"" << fixed(ly, 1)
            << "\" y2=\"" << fixed(ly, 1) << "\" style=\"stroke:" << colour
            << ";stroke-width:2\"/>";
        svgText(out, R + 26, ly + 3, "standard " + fixed(levels[k], 0), "");
    }
    out << "</svg>\n<figcaption>Gel units; dots mark the marker lanes. Lines that bend alike "
           "show a smiling or tilted gel; a spike shows one lane's calibration off.</figcaption>"
           "\n</figure>\n";
}

} // namespace

std::vector<std::string> laneWarnings(const LaneCheck& c, StepData& d) {
    std::vector<std::string> w;
    NormFac& norm = d.normFacs(c.lane);
    std::string lane = "Lane " + std::to_string(c.lane) + ": ";
    if (c.badPair >= 0) {
        const Coords& p = norm.pairs[c.badPair];
        w.push_back(lane + "calibration pair " + std::to_string(c.badPair) + " (standard " +
                    fixed(p.norm, 2) + ", gel " + fixed(p.gel, 2) + ") is out of order; " +
                    (norm.nonlinear ? "gel and standard positions must each run one way"
                                    : "gel and standard positions must both rise") +
                    ".");
    }
    if (c.badSizePair >= 0) {
        const Coords& p = d.sizeFacs(c.lane).pairs[c.badSizePair];
        w.push_back(lane + "size pair " + std::to_string(c.badSizePair) + " (size " +
                    fixed(std::exp((double)p.norm), 1) + ", gel " + fixed(p.gel, 2) +
                    ") is out of order; gel positions and sizes must each run one way.");
    }
    if (!c.standard.monotone)
        w.push_back(lane +
                    "the mapping to the standard scale is not monotone over its "
                    "calibrated range (gel " +
                    std::to_string(norm.gelLow) + " to " + std::to_string(norm.gelHigh) +
                    "): it turns back at gel " + fixed(c.standard.foldAt, 1) +
                    ", so band order flips there.");
    if (!c.size.monotone) {
        NormFac& size = d.sizeFacs(c.lane);
        w.push_back(lane +
                    "the mapping to the log size is not monotone over its calibrated "
                    "range (gel " +
                    std::to_string(size.gelLow) + " to " + std::to_string(size.gelHigh) +
                    "): it turns back at gel " + fixed(c.size.foldAt, 1) + ".");
    }
    if (c.uncalibrated)
        w.push_back(lane + "fewer than two calibration pairs (" +
                    std::to_string(norm.pairs.nelem()) +
                    "): the lane has no mapping, and every band of it is dropped.");
    if (c.beyondTrace)
        w.push_back(lane + "the calibrated range (gel " + std::to_string(norm.gelLow) + " to " +
                    std::to_string(norm.gelHigh) + ") reaches beyond the trace (gel 0 to " +
                    std::to_string(d.rowLength - 1) +
                    "); the resampling uses only the part "
                    "inside it.");
    return w;
}

void writeCalibration(std::ostream& out, StepData& d, const std::vector<LaneCheck>& checks) {
    out << "<section id=\"calibration\">\n<h2>2. Calibration</h2>\n<p class=\"note\">Each lane's "
           "mapping from its gel positions (horizontal) to the standard scale (vertical, 0 to "
        << NORM_SCALE_LENGTH << ")" << (d.haveSizes ? " and, below it, to the fragment size" : "")
        << ". Marker lanes show their calibration pairs as points; interpolated lanes are drawn "
           "lighter. The shaded band is the trace (gel 0 to "
        << d.rowLength - 1
        << "), the dashed lines the lane's calibrated range; bands beyond it (plus half a "
           "percent) are dropped.</p>\n<h3 id=\"warnings\">Warnings</h3>\n";
    std::vector<std::string> items;
    for (const LaneCheck& c : checks)
        for (const std::string& w : laneWarnings(c, d))
            items.push_back("<li class=\"warning\" data-lane=\"" + std::to_string(c.lane) +
                            "\"><a href=\"#lane-" + std::to_string(c.lane) + "\">" + htmlEscape(w) +
                            "</a></li>");
    if (items.empty()) {
        out << "<p class=\"ok\">No warnings: every marker block is in order, every mapping is "
               "monotone over its calibrated range and lies within the trace.</p>\n";
    } else {
        out << "<ul class=\"warnings\">\n";
        for (const std::string& item : items)
            out << item << "\n";
        out << "</ul>\n";
    }
    writeOverview(out, d);
    Frame f = plotFrame(d);
    out << "<div class=\"lanes\">\n";
    for (const LaneCheck& c : checks)
        writeLanePlot(out, d, c, f, checks);
    out << "</div>\n</section>\n";
}
