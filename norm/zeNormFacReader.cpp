// readNormFacs: builds every lane's standard and size factors from the
// project's norm-fac file. Marker lanes carry their own calibration pairs;
// the lanes between two marker lanes get pairs sampled over the standard
// range both markers cover, with gel positions interpolated by lane distance.
#include <math.h>
#include <stdio.h>

#include <fstream>
#include <iostream>

#include "zeError.h"
#include "zeExit.h"
#include "zeInfo.h"
#include "zeNormFac.h"

namespace {

// The standard positions of a factor's own calibrated ends.
void rangeEnds(NormFac& fac, float& lowEnd, float& highEnd) {
    lowEnd = fac.normaliseBand((float)fac.gelLow);
    highEnd = fac.normaliseBand((float)fac.gelHigh);
}

// Pairs for the lane t steps past marker a towards marker b, sampled about
// 1001 times over [lo, hi]. x advances by repeated float addition; the loop
// also ends once the step no longer moves x, so a single-point range gives
// one pair and an empty one (lo > hi) none.
void interpolatePairs(NormFac& a, NormFac& b, float lo, float hi, int t, int markerStep,
                      dp_Accum<Coords>& out) {
    float step = (hi - lo) / 1000;
    for (float x = lo; x <= hi;) {
        float g1 = a.normToGel(x);
        float g2 = b.normToGel(x);
        Coords c;
        c.norm = x;
        c.gel = g1 + (g2 - g1) * t / markerStep;
        out.append(c);
        float next = x + step;
        if (next == x) break;
        x = next;
    }
}

// Reads one marker lane's block into its standard pairs P and size pairs S.
// lastLaneId carries over between lines and blocks: a blank line is checked
// against the lane id read last.
void readBlock(std::istream& in, const dbString& path, int lane, long long expectedId,
               int& lastLaneId, dp_Accum<Coords>& P, dp_Accum<Coords>& S) {
    int c = 0;
    if (!(in >> c)) {
        if (in.eof()) {
            printError("norm-fac file '" + std::string(path) + "' ends before the block of lane " +
                       std::to_string(lane));
            zeExit(1);
        }
        // A count that is not a number reads as 0: no pairs, reported below.
        c = 0;
    }
    in >> std::ws;

    dbString line;
    for (int i = 0; i < c; i++) {
        if (!readLine(in, line)) break;
        float norm = 0, gel = 0, size = 0;
        int got = sscanf(line.c_str(), "%d%f%f%f", &lastLaneId, &norm, &gel, &size);
        if (got == 0) break;
        if (got == 4) {
            Coords sc;
            sc.norm = (float)log((double)size);
            sc.gel = gel;
            S.append(sc);
        }
        if (got >= 3) {
            Coords pc;
            pc.norm = norm;
            pc.gel = gel;
            P.append(pc);
        }
        if (lastLaneId != expectedId) {
            printError("corrupted norm-facs file");
            zeExit(1);
        }
    }

    if (P.nelem() < 2) {
        printError("fewer than two calibration pairs for lane " + std::to_string(lane) + " in '" +
                   std::string(path) + "'");
        zeExit(1);
    }
}

// Lane k, t lanes past marker lane m, from the factors of m and next over
// their common range lo..hi; the verbose line starts with tag.
void buildBetween(dp_Array<NormFac>& facs, int m, int next, int k, float lo, float hi, int t,
                  int markerStep, bool verbose, const char* tag) {
    dp_Accum<Coords> pairs;
    interpolatePairs(facs[m], facs[next], lo, hi, t, markerStep, pairs);
    facs[k].nonlinear = facs[m].nonlinear;
    facs[k].initFrom(pairs);
    if (verbose)
        std::cout << tag << t << " " << facs[k].gelLow << " " << facs[k].gelHigh << std::endl;
}

} // namespace

bool readNormFacs(int laneCount, int markerStep, int laneIdFactor, const dbString& path,
                  bool linear, bool verbose, bool* haveSizes, dp_Array<NormFac>* normFacs,
                  dp_Array<NormFac>* sizeFacs) {
    // Every lane must be a marker lane or lie between two of them.
    if (laneCount >= 1 && markerStep < 1) {
        printError("markerrepeat must be at least 1, not " + std::to_string(markerStep));
        zeExit(1);
    }
    if (laneCount >= 1 && (laneCount - 1) % markerStep != 0) {
        printError("lanenumber " + std::to_string(laneCount) + " does not end on a marker lane: " +
                   "lanenumber - 1 is not a multiple of markerrepeat " + std::to_string(markerStep));
        zeExit(1);
    }

    std::cout << "Starting to read '" << path << "'" << std::endl;
    std::ifstream in(path.c_str());
    if (!in) {
        printError("couldn't open file '" + std::string(path) + "'");
        return false;
    }
    dbString header;
    readLine(in, header);
    if (header != "NORMFACTORS") {
        printError("wrong header in '" + std::string(path) + "'");
        zeExit(1);
    }

    dp_Array<NormFac>& norm = *normFacs;
    dp_Array<NormFac>& size = *sizeFacs;
    bool sizes = false;
    int lastLaneId = 0;
    for (int l = 0; l < laneCount; l += markerStep) {
        dp_Accum<Coords> P, S;
        readBlock(in, path, l, (long long)l * laneIdFactor, lastLaneId, P, S);
        norm[l].nonlinear = !linear;
        sizes = S.nelem() > 0;
        size[l].nonlinear = true;
        norm[l].initFrom(P);
        if (sizes) size[l].initFrom(S);
    }

    if (sizes) std::cout << "Read fragment size information as well as migration data" << std::endl;
    std::cout << "Finished reading '" << path << "'" << std::endl;

    for (int m = 0; m < laneCount - 1; m += markerStep) {
        int next = m + markerStep;
        if (verbose)
            std::cout << "Norm " << m << " " << next << " " << norm[m].gelHigh << " "
                      << norm[next].gelHigh << std::endl;

        float A0, A1, B0, B1;
        rangeEnds(norm[m], A0, A1);
        rangeEnds(norm[next], B0, B1);
        if (A0 > A1) {
            swap(A0, A1);
            swap(B0, B1);
        }
        float E0 = 1, E1 = 0, F0 = 1, F1 = 0;
        if (sizes) {
            rangeEnds(size[m], E0, E1);
            rangeEnds(size[next], F0, F1);
            if (E0 > E1) {
                swap(E0, E1);
                swap(F0, F1);
            }
        }

        for (int t = 1; t <= markerStep - 1; t++) {
            int k = m + t;
            buildBetween(norm, m, next, k, A0 > B0 ? A0 : B0, A1 < B1 ? A1 : B1, t, markerStep,
                         verbose, ".....");
            if (sizes)
                buildBetween(size, m, next, k, E0 > F0 ? E0 : F0, E1 < F1 ? E1 : F1, t, markerStep,
                             verbose, " ----");
        }
    }

    *haveSizes = sizes;
    return true;
}
