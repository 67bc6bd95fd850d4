// Per-clone results: for every named sample a band table, its 16-bit trace
// as an ICS image and a PPM picture of its lane strip, which the project's
// compression command then takes over.
#include <sys/wait.h>

#include <cerrno>
#include <iostream>
#include <vector>

#include "ics.h"
#include "zeBandAcceptance.h"
#include "zeCommand.h"
#include "zeError.h"
#include "zeGelStrip.h"
#include "zeLaneResampler.h"
#include "zeShell.h"
#include "zeStep.h"
#include "zeTruncate.h"
#include "zeWriteCheck.h"

namespace {

const size_t PPM_BUFFER_BYTES = 256 * 1024;

// The 16-bit traces of a lane's named samples, resampled a batch at a
// time (they share the lane's tables) and handed out sample by sample.
class LaneTraces {
  public:
    LaneTraces() : resampled((size_t)LaneResampler::MAX_ROWS * NORM_SCALE_LENGTH), held(0) {}

    // Sample s's trace on the standard scale; s and the named samples after
    // it in its lane are resampled together when s is not held yet.
    const float* of(StepData& d, LaneResampler& lane, int s) {
        for (int i = 0; i < held; i++)
            if (samples[i] == s) return outs[i];
        int dyes = d.project.dyenumber;
        int laneEnd = (s / dyes + 1) * dyes < d.samples ? (s / dyes + 1) * dyes : d.samples;
        const short* traces[LaneResampler::MAX_ROWS];
        held = 0;
        for (int t = s; t < laneEnd && held < LaneResampler::MAX_ROWS; t++) {
            if (d.cloneNames(t).empty()) continue;
            samples[held] = t;
            traces[held] = d.laneTraces(t);
            outs[held] = resampled.data() + (size_t)held * NORM_SCALE_LENGTH;
            held++;
        }
        lane.resample(traces, outs, held);
        return outs[0];
    }

    // Forgets the traces held (the lane's tables are about to change).
    void clear() { held = 0; }

  private:
    std::vector<float> resampled;
    int held;
    int samples[LaneResampler::MAX_ROWS];
    float* outs[LaneResampler::MAX_ROWS];
};

dbString baseName(const StepData& d, int s) {
    return d.resultsDir + "/" + d.cloneNames(s) + "." + d.digestNames(s) + "." +
           intTodbString(d.copyNumbers(s));
}

// The ICS writer reports by its result alone; the error number of a failed
// open or write is left in errno.
void checkIcsResult(int result, const dbString& path) {
    if (result >= 0) return;
    int err = result == -1 ? ENOMEM : result == -4 ? EINVAL : writeErrorNumber();
    writeFailed(path.c_str(), err);
}

// The 16-bit trace on the standard scale: 4600 signed samples, each the
// resampled value truncated toward zero and cut to its low 16 bits.
void writeIcsTrace(StepData& d, const dbString& base, const float* resampled) {
    short* samples = d.shortBuf.getData();
    for (int p = 0; p < NORM_SCALE_LENGTH; p++)
        samples[p] = (short)(unsigned short)(truncToInt(resampled[p]) & 0xffff);

    long origin[2] = {0, 0};
    long sizes[2] = {NORM_SCALE_LENGTH, 0};
    ICS ics;
    fill_ics(1, origin, sizes, 16, &ics);
    // Each file is an unfinished output while the writer has it open.
    checkIcsResult(write_ics(base, &ics), base + ".ics");
    checkIcsResult(write_ids(base, reinterpret_cast<char*>(samples), NORM_SCALE_LENGTH * (int)sizeof(short)),
                   base + ".ids");
}

// One line per accepted kind-1 band, in stored order: standard position
// and fragment size.
void writeBandTable(CheckedOutput& table, StepData& d, int s) {
    int lane = s / d.project.dyenumber;
    dp_Accum<RawBand>& bands = d.rawBands(s);
    for (int i = 0; i < bands.nelem(); i++) {
        BandVerdict v = judgeBand(bands(i), d.normFacs(lane), &d.sizeFacs(lane));
        if (v.fate != BAND_ACCEPTED) continue;
        table.writef("%9.2f %9d\n", v.position, truncToInt(fragmentSizeOf(v.logSize)));
    }
}

// Header, then the drawn interior rows, each resampled onto the standard
// scale; the height declared is the number of rows drawn. Rows are
// resampled a batch at a time and written in order.
void writeGelStrip(CheckedOutput& ppm, StepData& d, int s, StripRowWriter& rows,
                   LaneResampler& lane, std::vector<float>& resampled) {
    const ProjInfo& p = d.project;
    int height = stripHeight(p.outputysize, d.rowCount);
    ppm.writef("P6\n%d %d\n255\n", stripWidth(p.outputxsize), height);
    if (height == 0) return;
    const int batch = LaneResampler::MAX_ROWS;
    const unsigned char* batchRows[batch];
    float* outs[batch];
    for (int i = 0; i < batch; i++)
        outs[i] = resampled.data() + (size_t)i * NORM_SCALE_LENGTH;
    int interiorRows = d.rowCount - 2;
    for (int r = 1; r <= interiorRows;) {
        int n = 0;
        for (; r <= interiorRows && n < batch; r++)
            if (stripRowDrawn(r, interiorRows, p.outputysize)) batchRows[n++] = d.laneRows(s, r);
        lane.resample(batchRows, outs, n);
        for (int i = 0; i < n; i++)
            rows.writeRow(ppm, outs[i]);
    }
}

// The path is quoted for the shell when it needs it, so no clone name can
// make the shell do more than run the compression program on the picture.
// False after an "ERROR: " line naming the command as echoed when it did
// not succeed; the uncompressed picture then stays. An interrupt that
// ends the command ends the step (runShellCommand).
bool compress(const StepData& d, const dbString& ppmPath) {
    dbString command = d.project.compression + " " + shellQuote(ppmPath.c_str());
    std::cout << command << std::endl;
    int status = runShellCommand(command.c_str());
    std::string quoted = std::string("'") + command.c_str() + "'";
    if (status == -1) {
        printError("couldn't run compression command " + quoted);
        return false;
    }
    if (WIFSIGNALED(status)) {
        printError("compression command " + quoted + " was killed by signal " +
                   std::to_string(WTERMSIG(status)));
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        printError("compression command " + quoted + " failed with exit status " +
                   std::to_string(WEXITSTATUS(status)));
        return false;
    }
    return true;
}

}  // namespace

bool emitCloneFiles(StepData& d) {
    StripRowWriter rows(d.project.outputxsize);
    // The current lane's resampling tables, and room for a batch of rows.
    LaneResampler lane;
    int preparedLane = -1;
    LaneTraces traces;
    std::vector<float> resampled((size_t)LaneResampler::MAX_ROWS * NORM_SCALE_LENGTH);
    // A picture of the usual size reaches its file in one write or a few.
    std::vector<char> ppmBuffer(PPM_BUFFER_BYTES);
    for (int s = 0; s < d.samples; s++) {
        if (d.cloneNames(s).empty()) continue;
        dbString base = baseName(d, s);
        dbString tablePath = base + ".bands";
        dbString ppmPath = base + ".ppm";

        // A failed write ends the process; a file that cannot be created
        // ends the step.
        CheckedOutput table = CheckedOutput::tryFile(tablePath.c_str(), OnWriteFailure::EndProcess);
        if (!table.isOpen()) {
            printError("opening bands/sizes file: " + std::string(tablePath.c_str()));
            return false;
        }
        CheckedOutput ppm = CheckedOutput::tryFile(ppmPath.c_str(), OnWriteFailure::EndProcess);
        if (!ppm.isOpen()) {
            printError("opening ppm file");
            return false;
        }
        ppm.setBuffer(ppmBuffer.data(), ppmBuffer.size());

        int laneIndex = s / d.project.dyenumber;
        if (laneIndex != preparedLane) {
            lane.prepare(d.normFacs(laneIndex), d.rowLength);
            traces.clear();
        }
        preparedLane = laneIndex;
        writeIcsTrace(d, base, traces.of(d, lane, s));
        writeBandTable(table, d, s);
        table.finish();
        writeGelStrip(ppm, d, s, rows, lane, resampled);
        // The command must find the picture complete.
        ppm.finish();
        if (!compress(d, ppmPath)) d.failed = true;
    }
    return true;
}
