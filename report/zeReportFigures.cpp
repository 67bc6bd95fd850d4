#include "zeReportFigures.h"

#include <sstream>

ReportFigures reportFigures(StepData& d, const std::vector<SampleBands>& bands,
                            const std::vector<LaneCheck>& checks,
                            const std::vector<ReplicatePair>& replicates) {
    ReportFigures f;
    f.gelNumber = d.project.gelnumber.c_str();
    f.lanes = d.project.lanenumber;
    f.namedSamples = (int)bands.size();
    for (const SampleBands& b : bands) {
        f.acceptedBands += b.accepted;
        f.droppedBands += b.dropped();
    }
    for (const LaneCheck& c : checks)
        f.calibrationWarnings += c.warned();
    f.replicateWarnings = replicateWarnings(replicates);
    f.suggestedTolerance = replicateSpread(replicates).suggestedTolerance;
    return f;
}

std::string reportFiguresText(const ReportFigures& f) {
    std::string gel = f.gelNumber;
    for (char& c : gel)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    std::ostringstream out;
    out << "gel_number\t" << gel << "\n"
        << "lanes\t" << f.lanes << "\n"
        << "samples\t" << f.namedSamples << "\n"
        << "accepted_bands\t" << f.acceptedBands << "\n"
        << "dropped_bands\t" << f.droppedBands << "\n"
        << "calibration_warnings\t" << f.calibrationWarnings << "\n"
        << "replicate_warnings\t" << f.replicateWarnings << "\n"
        << "suggested_tolerance\t"
        << (f.suggestedTolerance > 0 ? std::to_string(f.suggestedTolerance) : "none") << "\n";
    return out.str();
}
