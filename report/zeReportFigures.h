// The report's key figures in a form that batch tools read without
// parsing HTML: report-summary.tsv beside report.html, one
// "key<TAB>value" line per figure.
#ifndef ZE_REPORTFIGURES_H
#define ZE_REPORTFIGURES_H

#include <string>
#include <vector>

#include "zeBandCounts.h"
#include "zeLaneChecks.h"
#include "zeReplicates.h"
#include "zeStepData.h"

struct ReportFigures {
    std::string gelNumber;
    int lanes = 0;
    int namedSamples = 0;
    int acceptedBands = 0;       // over the named samples, as in the page's totals row
    int droppedBands = 0;        // every other raw band of the named samples
    int calibrationWarnings = 0; // lanes with at least one warning
    int replicateWarnings = 0;   // pairs of copies of a clone that do not match
    int suggestedTolerance = 0;  // from the spread of copies; 0: none (no copies)
};

ReportFigures reportFigures(StepData& d, const std::vector<SampleBands>& bands,
                            const std::vector<LaneCheck>& checks,
                            const std::vector<ReplicatePair>& replicates);

// The lines of report-summary.tsv, keys in a fixed order. Tabs and line
// ends inside the gel number become blanks so that every line stays one
// key and one value. A gel that suggests no tolerance writes "none".
std::string reportFiguresText(const ReportFigures& f);

#endif
