#include <iostream>
#include <string>

#include "zeBandAcceptance.h"
#include "zeBandsFile.h"
#include "zeError.h"
#include "zeStep.h"
#include "zeTruncate.h"
#include "zeWriteCheck.h"

int bandSort(float* a, float* b) {
    if (*a < *b) return -1;
    if (*a > *b) return 1;
    return 0;
}

namespace {

// One block of the bands file: the values sorted ascending, as truncated
// integers. Flushed at once, so that a failed write shows at this block.
void writeBandList(CheckedOutput& out, const StepData& d, int s, dp_Accum<float>& values) {
    values.sort(bandSort);
    Fingerprint block;
    block.clone = d.cloneNames(s).c_str();
    block.gel = d.project.gelnumber.c_str();
    for (int i = 0; i < values.nelem(); i++)
        block.bands.push_back(truncToInt(values(i)));
    std::string text;
    appendBandsBlock(text, block);
    out.write(text);
    out.flush();
}

// Standard positions and fragment sizes of the accepted kind-1 bands of
// sample s, in raw-band order.
void acceptBands(StepData& d, int s, dp_Accum<float>& positions, dp_Accum<float>& sizes) {
    int lane = s / d.project.dyenumber;
    NormFac& norm = d.normFacs(lane);
    dp_Accum<RawBand>& bands = d.rawBands(s);
    for (int i = 0; i < bands.nelem(); i++) {
        const RawBand& b = bands(i);
        if (b.kind != 1) continue;
        float m = norm.normaliseBand(b.position);
        if (verbose)
            std::cout << "@@" << s << " " << b.position << " " << m << " " << norm.gelLow << " "
                      << norm.gelHigh << std::endl;
        float z = d.haveSizes ? d.sizeFacs(lane).normaliseBand(b.position) : 1.0f;
        // Comparisons with NaN fail, so a NaN position or log size drops the band.
        if (m >= 0 && z >= 0) {
            positions.append(m);
            sizes.append(fragmentSizeOf(z));
        }
    }
}

} // namespace

bool emitBands(StepData& d) {
    // A failed write ends the process.
    CheckedOutput bandFile =
        CheckedOutput::tryFile(d.bandFileName.c_str(), OnWriteFailure::EndProcess);
    if (!bandFile.isOpen()) {
        printError("opening bands file");
        return false;
    }
    dp_Accum<float> positions, sizes;
    for (int s = 0; s < d.samples; s++) {
        if (d.cloneNames(s).empty()) continue;
        positions.clear();
        sizes.clear();
        acceptBands(d, s, positions, sizes);
        writeBandList(bandFile, d, s, positions);
        if (d.haveSizes) writeBandList(d.sizeFile, d, s, sizes);
    }
    bandFile.finish();
    return true;
}
