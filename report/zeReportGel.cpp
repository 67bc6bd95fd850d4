// Section 3: the named samples' lane strips on the standard scale side by
// side, as one picture of the normalised gel, with the accepted bands
// marked beside each strip.
#include <ostream>

#include "zeGelPicture.h"
#include "zeHtmlText.h"
#include "zePngData.h"
#include "zeReportPage.h"
#include "zeSvgPlot.h"

namespace {

// Geometry of the gel picture, in pixels.
const double AXIS_WIDTH = 56;
const double STRIP_WIDTH = 28;
const double STRIP_PITCH = 44; // strip plus room for the band marks
const double LABEL_HEIGHT = 130;
const double STRIP_HEIGHT = NORM_SCALE_LENGTH / 5.0; // the standard positions, 5 to a pixel
const double TICK = 6;

void writeStrip(std::ostream& out, StepData& d, const SampleBands& b, double left, const Scale& y,
                bool laneWarned) {
    int s = b.sample;
    GelPicture pic = samplePicture(d, s);
    double right = left + STRIP_WIDTH;
    std::string clone = htmlEscape(d.cloneNames(s).c_str());
    out << "<g class=\"sample\" data-sample=\"" << s << "\"><title>" << clone << " "
        << htmlEscape(d.digestNames(s).c_str()) << " (copy " << d.copyNumbers(s) << "), sample "
        << s << ", lane " << s / d.project.dyenumber << ": " << b.accepted
        << " bands accepted</title>";
    if (pic.width > 0)
        out << "<image x=\"" << fixed(left, 1) << "\" y=\"" << LABEL_HEIGHT << "\" width=\""
            << STRIP_WIDTH << "\" height=\"" << STRIP_HEIGHT
            << "\" preserveAspectRatio=\"none\" href=\""
            << greyPngDataUri(pic.grey, pic.width, pic.height) << "\"/>";
    out << "<rect class=\"frame\" x=\"" << fixed(left, 1) << "\" y=\"" << LABEL_HEIGHT
        << "\" width=\"" << STRIP_WIDTH << "\" height=\"" << STRIP_HEIGHT << "\"/>";
    for (float m : b.positions) {
        double py = y(m);
        out << "<line class=\"band\" x1=\"" << fixed(left - TICK - 1, 1) << "\" x2=\""
            << fixed(left - 1, 1) << "\" y1=\"" << fixed(py, 1) << "\" y2=\"" << fixed(py, 1)
            << "\"/><line class=\"band\" x1=\"" << fixed(right + 1, 1) << "\" x2=\""
            << fixed(right + TICK + 1, 1) << "\" y1=\"" << fixed(py, 1) << "\" y2=\""
            << fixed(py, 1) << "\"/>";
    }
    double lx = left + STRIP_WIDTH / 2 + 3, ly = LABEL_HEIGHT - 6;
    out << "<text class=\"clone" << (laneWarned ? " warned" : "") << "\" x=\"" << fixed(lx, 1)
        << "\" y=\"" << fixed(ly, 1) << "\" transform=\"rotate(-60 " << fixed(lx, 1) << " "
        << fixed(ly, 1) << ")\">" << clone << "</text></g>\n";
}

} // namespace

void writeGel(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
              const std::vector<LaneCheck>& checks) {
    out << "<section id=\"gel\">\n<h2>3. Normalised gel</h2>\n<p class=\"note\">Every named "
           "sample's lane strip resampled onto the standard scale (0 at the top, "
        << NORM_SCALE_LENGTH
        << " at the bottom) as the step resamples it, dark where the signal is strong; the "
           "marks beside each strip are its accepted bands. Lanes laid side by side show a "
           "smile or a shifted lane as bands that do not line up.</p>\n";
    if (bands.empty()) {
        out << "<p>No named samples.</p>\n</section>\n";
        return;
    }
    double width = AXIS_WIDTH + STRIP_PITCH * bands.size() + 20;
    double height = LABEL_HEIGHT + STRIP_HEIGHT + 24;
    // Standard position 0 at the top, as bands run down a gel.
    Scale y{0, NORM_SCALE_LENGTH, LABEL_HEIGHT, LABEL_HEIGHT + STRIP_HEIGHT};
    out << "<div class=\"scroll\">\n<svg class=\"gel\" xmlns=\"http://www.w3.org/2000/svg\" "
        << "width=\"" << fixed(width, 0) << "\" height=\"" << fixed(height, 0)
        << "\" viewBox=\"0 0 " << fixed(width, 0) << " " << fixed(height, 0) << "\">\n";
    double right = width - 10;
    for (double v : niceTicks(0, NORM_SCALE_LENGTH, 9)) {
        out << "<line class=\"grid\" x1=\"" << AXIS_WIDTH - 4 << "\" x2=\"" << fixed(right, 1)
            << "\" y1=\"" << fixed(y(v), 1) << "\" y2=\"" << fixed(y(v), 1) << "\"/>";
        svgText(out, AXIS_WIDTH - 8, y(v) + 3, fixed(v, 0), "", "end");
    }
    svgText(out, 8, LABEL_HEIGHT - 8, "standard", "");
    for (size_t i = 0; i < bands.size(); i++) {
        int lane = bands[i].sample / d.project.dyenumber;
        bool warned = lane < (int)checks.size() && checks[lane].warned();
        writeStrip(out, d, bands[i], AXIS_WIDTH + 10 + STRIP_PITCH * i, y, warned);
    }
    out << "</svg>\n</div>\n</section>\n";
}
