// The report page: one self-contained HTML document (inline CSS, inline
// SVG plots, pictures as data: URIs, no scripts) with three sections:
// summary, calibration and the normalised gel.
#ifndef ZE_REPORTPAGE_H
#define ZE_REPORTPAGE_H

#include <ostream>
#include <string>
#include <vector>

#include "zeBandCounts.h"
#include "zeLaneChecks.h"
#include "zeReportFigures.h"
#include "zeStepData.h"

// The whole page for a loaded project; figures, when given, receives the
// key figures the page shows.
std::string reportPage(StepData& d, ReportFigures* figures = nullptr);

// The sections, each a <section> element with the id "summary",
// "calibration" or "gel".
void writeSummary(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
                  const std::vector<LaneCheck>& checks);
void writeCalibration(std::ostream& out, StepData& d, const std::vector<LaneCheck>& checks);
void writeGel(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
              const std::vector<LaneCheck>& checks);

// One line per warning of a lane, in words (plain text, not escaped).
std::vector<std::string> laneWarnings(const LaneCheck& c, StepData& d);

// Writes page to path, replacing it. False after an "ERROR: " line.
bool writeReportFile(const std::string& path, const std::string& page);

#endif
