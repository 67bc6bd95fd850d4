#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "zeError.h"
#include "zeExit.h"
#include "zeLaneResampler.h"
#include "zeSampleNames.h"
#include "zeStep.h"
#include "zeTruncate.h"
#include "zeWriteCheck.h"

namespace {

// Text for the gel file, flushed at once, so that a failed write shows
// here and the lines so far stay in the file should the step end. A gel
// file that could not be created takes nothing: its content is lost, which
// the step has already reported.
void writeGelText(StepData& d, const std::string& text) {
    d.gelFile.write(text);
    d.gelFile.flush();
}

void writeGelHeader(StepData& d) {
    std::ostringstream gel;
    const ProjInfo& p = d.project;
    gel << "Version:\t" << d.projectDir << "\n";
    gel << "User:\t " << p.username << "\n";
    gel << "GelNo:\t\t " << p.gelnumber << "\n";
    gel << "Samples:\t\t " << d.samples << "\n";
    gel << "MarkerRep:\t " << p.markerrepeat * p.dyenumber << "\n";
    gel << "BlockSize:\t " << NORM_SCALE_LENGTH << "\n";
    gel << "Clones:\n";
    writeGelText(d, gel.str());
}

// Reads every entry of the names file, writes the clone lines and fills
// the names and copy numbers. False at the first entry that cannot be read,
// with error set; the clone lines before it stay written.
bool readNames(StepData& d, std::istream& names, std::string& error) {
    SampleNamer namer;
    NamesEntry e;
    for (int s = 0; s < d.samples; s++) {
        if (!readNextNamesEntry(names, d.namesPath.c_str(), e, error)) return false;
        int counter = namer.name(d, s, e);
        if (counter < 0) continue;
        std::ostringstream line;
        line << d.cloneNames(s) << " " << s << " " << counter << "\n";
        writeGelText(d, line.str());
    }
    return true;
}

// One block of NORM_SCALE_LENGTH bytes per named sample: its middle row
// resampled onto the standard scale. The row holds rowLength bytes, so
// that is the length the resampling may read. The named samples of a lane
// are resampled together (they share the lane's tables), then written in
// sample order.
void writeTraceBlocks(StepData& d) {
    const int batch = LaneResampler::MAX_ROWS;
    std::vector<float> resampled((size_t)batch * NORM_SCALE_LENGTH);
    unsigned char* bytes = d.byteBuf.getData();
    LaneResampler lane;
    const unsigned char* rows[batch];
    float* outs[batch];
    int dyes = d.project.dyenumber;
    for (int laneStart = 0; laneStart < d.samples; laneStart += dyes) {
        bool prepared = false;
        int laneEnd = laneStart + dyes < d.samples ? laneStart + dyes : d.samples;
        for (int s = laneStart; s < laneEnd;) {
            int n = 0;
            for (; s < laneEnd && n < batch; s++) {
                if (d.cloneNames(s).empty()) continue;
                rows[n] = d.laneRows(s, d.rowCount / 2);
                outs[n] = resampled.data() + (size_t)n * NORM_SCALE_LENGTH;
                n++;
            }
            if (n == 0) continue;
            if (!prepared) lane.prepare(d.normFacs(laneStart / dyes), d.rowLength);
            prepared = true;
            lane.resample(rows, outs, n);
            for (int i = 0; i < n; i++) {
                for (int p = 0; p < NORM_SCALE_LENGTH; p++)
                    bytes[p] = lowByte(outs[i][p]);
                d.gelFile.write(bytes, NORM_SCALE_LENGTH);
                // A later fatal error still leaves every finished block in the file.
                d.gelFile.flush();
            }
        }
    }
}

} // namespace

bool emitTraces(StepData& d) {
    std::ifstream names;
    std::string error;
    // A names file that cannot be opened ends the process; a wrong header
    // ends the step.
    if (!openNamesFile(d.namesPath.c_str(), names, error)) {
        printError(error);
        zeExit(1);
    }
    if (!readNamesHeader(names, d.namesPath.c_str(), error)) {
        printError(error);
        return false;
    }

    writeGelHeader(d);

    d.normBuf.resize(0, NORM_SCALE_LENGTH - 1);
    for (int p = 0; p < NORM_SCALE_LENGTH; p++)
        d.normBuf(p) = -1.0;
    d.byteBuf.resize(0, NORM_SCALE_LENGTH - 1);
    d.shortBuf.resize(0, NORM_SCALE_LENGTH - 1);

    // An entry that cannot be read ends the process too.
    if (!readNames(d, names, error)) {
        printError(error);
        zeExit(1);
    }
    writeGelText(d, "@@@\n\n");
    writeTraceBlocks(d);
    return true;
}
