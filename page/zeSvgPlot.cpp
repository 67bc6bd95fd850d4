#include "zeSvgPlot.h"

#include <cmath>

#include "zeHtmlText.h"

double Scale::operator()(double v) const {
    if (hi == lo) return (from + to) / 2;
    return from + (v - lo) / (hi - lo) * (to - from);
}

std::vector<double> niceTicks(double lo, double hi, int about) {
    std::vector<double> ticks;
    if (!(hi > lo) || about < 1 || !std::isfinite(hi - lo)) return ticks;
    double raw = (hi - lo) / about;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw) {
            step = m * power;
            break;
        }
    // The count bound also ends the loop where step is below the spacing of
    // doubles near lo (t would stop moving).
    for (int i = 0; i <= 4 * about + 1; i++) {
        double t = (std::ceil(lo / step) + i) * step;
        if (t > hi + step * 1e-9) break;
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    }
    return ticks;
}

std::vector<std::string> polylinePoints(const std::vector<Pixel>& points) {
    std::vector<std::string> runs;
    std::string run;
    for (const Pixel& p : points) {
        if (std::isnan(p.x) || std::isnan(p.y)) {
            if (!run.empty()) runs.push_back(run);
            run.clear();
            continue;
        }
        if (!run.empty()) run += ' ';
        run += fixed(p.x, 1) + "," + fixed(p.y, 1);
    }
    if (!run.empty()) runs.push_back(run);
    return runs;
}

double clampTo(double v, double lo, double hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

void svgText(std::ostream& out, double x, double y, const std::string& text,
             const std::string& cssClass, const char* anchor) {
    out << "<text x=\"" << fixed(x, 1) << "\" y=\"" << fixed(y, 1) << "\"";
    if (!cssClass.empty()) out << " class=\"" << cssClass << "\"";
    if (std::string(anchor) != "start") out << " text-anchor=\"" << anchor << "\"";
    out << ">" << htmlEscape(text) << "</text>";
}
