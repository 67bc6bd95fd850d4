#include "zeReportPage.h"

#include <sstream>

#include "zeHtmlText.h"
#include "zePageStyle.h"

namespace {

const char* STYLE = R"css(
h3 { font-size: 15px; margin: 18px 0 6px; }
td.drop { color: #b45309; font-weight: 600; }
tr.warn-lane td.lane { background: #fde8e8; }
tfoot td { font-weight: 600; background: #f3f4f8; }
.ok { color: #2e7d32; font-weight: 600; }
ul.warnings { background: #fff3f3; border: 1px solid #e57373; border-radius: 4px;
              padding: 8px 8px 8px 30px; max-width: 980px; }
ul.warnings li { color: #b71c1c; margin: 2px 0; }
ul.warnings a { color: inherit; font-weight: 600; }
tr.mismatch td { background: #fde8e8; }
p.wide-spread { color: #b45309; font-weight: 600; }
.lanes { display: flex; flex-wrap: wrap; gap: 10px; }
figure { margin: 0; }
figure.lane { background: #fff; border: 1px solid #dde; border-radius: 4px; padding: 4px; }
figure.lane.warned { border: 2px solid #c62828; background: #fff5f5; }
figcaption { font-size: 12px; color: #444; max-width: 300px; overflow-wrap: anywhere; }
figure.lane.warned figcaption { color: #b71c1c; }
figcaption .inherited { color: #b45309; }
figure.overview { background: #fff; border: 1px solid #dde; border-radius: 4px; padding: 4px;
                  display: inline-block; margin-bottom: 12px; }
figure.overview figcaption { max-width: 820px; }
svg text.title { font-size: 12px; font-weight: 600; }
svg text.warn { fill: #c62828; font-weight: 700; }
svg .trace { fill: #f1f3f9; }
svg .range { stroke: #999; stroke-dasharray: 3 3; }
svg .curve { fill: none; stroke-width: 1.6; }
svg .curve.marker { stroke: #1f5fbf; }
svg .curve.interpolated { stroke: #8fb0e0; stroke-dasharray: 5 2; }
svg .curve.bad { stroke: #c62828; }
svg .pair { fill: #1f5fbf; }
svg .pair.bad { fill: #c62828; }
svg .fold { fill: none; stroke: #c62828; stroke-width: 2; }
svg .band { stroke: #d84315; stroke-width: 1.4; }
svg text.clone { font-size: 11px; }
svg text.clone.warned { fill: #c62828; }
)css";

} // namespace

std::string reportPage(StepData& d, ReportFigures* figures) {
    std::vector<LaneCheck> checks = checkLanes(d);
    std::vector<SampleBands> bands = countNamedSamples(d);
    std::vector<ReplicatePair> replicates = replicatePairs(d, bands);
    if (figures) *figures = reportFigures(d, bands, checks, replicates);
    std::string dir = htmlEscape(d.projectDir.c_str());

    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<title>Gel report: " << dir << "</title>\n<style>" << BASE_PAGE_STYLE << STYLE << "</style>\n"
        << "</head>\n<body>\n<header>\n<h1>Gel report</h1>\n"
        << "<p>Project <code>" << dir << "</code>, gel number <code>"
        << htmlEscape(d.project.gelnumber.c_str()) << "</code>, user <code>"
        << htmlEscape(d.project.username.c_str()) << "</code></p>\n"
        << "<nav><a href=\"#summary\">1. Summary</a><a href=\"#calibration\">2. Calibration</a>"
        << "<a href=\"#gel\">3. Normalised gel</a><a href=\"#replicates\">4. Replicates</a>"
        << "</nav>\n</header>\n";
    writeSummary(out, d, bands, checks);
    writeCalibration(out, d, checks);
    writeGel(out, d, bands, checks);
    writeReplicates(out, d, replicates);
    out << "<footer class=\"note\"><p>Written by zeReport from the project's info, raw-bands, "
           "traces, norm-fac and names files, with the normalisation of zeStep5.</p></footer>\n"
        << "</body>\n</html>\n";
    return out.str();
}
