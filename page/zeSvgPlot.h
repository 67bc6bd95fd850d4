// Small helpers for the pages' inline SVG plots: linear scales, tick
// values, and the few elements the plots are made of.
#ifndef ZE_SVGPLOT_H
#define ZE_SVGPLOT_H

#include <ostream>
#include <string>
#include <vector>

// Maps values lo .. hi linearly onto pixels from .. to (to may be below from).
struct Scale {
    double lo, hi, from, to;
    double operator()(double v) const;
};

// Round values (1, 2 or 5 times a power of ten apart) from lo to hi, about
// `about` of them.
std::vector<double> niceTicks(double lo, double hi, int about);

// A point of a polyline, in pixels.
struct Pixel {
    double x, y;
};
// "x,y x,y ..." with one decimal; points with a NaN coordinate break the
// line, so the result holds one string per unbroken run.
std::vector<std::string> polylinePoints(const std::vector<Pixel>& points);

// Keeps v within lo .. hi (NaN stays NaN) so that a wild extrapolation
// still gives coordinates a browser draws.
double clampTo(double v, double lo, double hi);

// <text> with escaped content and an optional class and anchor.
void svgText(std::ostream& out, double x, double y, const std::string& text,
             const std::string& cssClass, const char* anchor = "start");

#endif
