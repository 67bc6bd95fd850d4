// The report page: one self-contained HTML document (inline CSS, inline
// SVG plots, pictures as data: URIs, no scripts) with four sections:
// summary, calibration, the normalised gel and the replicates.
#ifndef ZE_REPORTPAGE_H
#define ZE_REPORTPAGE_H

#include <ostream>
#include <string>
#include <vector>

#include "zeBandCounts.h"
#include "zeLaneChecks.h"
#include "zeReplicates.h"
#include "zeReportFigures.h"
#include "zeStepData.h"

// The whole page for a loaded project; figures, when given, receives the
// key figures the page shows.
std::string reportPage(StepData& d, ReportFigures* figures = nullptr);

// The sections, each a <section> element with the id "summary",
// "calibration", "gel" or "replicates".
void writeSummary(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
                  const std::vector<LaneCheck>& checks);
void writeCalibration(std::ostream& out, StepData& d, const std::vector<LaneCheck>& checks);
void writeGel(std::ostream& out, StepData& d, const std::vector<SampleBands>& bands,
              const std::vector<LaneCheck>& checks);

void writeReplicates(std::ostream& out, StepData& d, const std::vector<ReplicatePair>& pairs);

// The warning of a pair of copies that do not match, in words (plain text).
std::string replicateWarning(StepData& d, const ReplicatePair& p);

// One line per warning of a lane, in words (plain text, not escaped).
std::vector<std::string> laneWarnings(const LaneCheck& c, StepData& d);

#endif
