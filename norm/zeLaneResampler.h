// LaneResampler: normTrace for every row and trace of one lane, with the
// work that depends only on the lane done once. Which gel positions are
// recorded, their standard positions, the order they are put in, the parts
// of the spline set-up that depend only on the abscissae and, for every
// evaluated standard position, its interval and weights are all fixed by
// the lane's factor and the row length; only the intensities differ from
// row to row. Results are bit for bit those of normTrace.
#ifndef ZE_LANE_RESAMPLER_H
#define ZE_LANE_RESAMPLER_H

#include <vector>

#include "zeNormFac.h"

// What a lane's resampling keeps from row to row.
struct LaneTables {
    // A standard position evaluated: its interval [lo, lo + 1] and the
    // spline weights there.
    struct Point {
        int lo;
        float a, b, cubicA, cubicB, hSquared;
    };

    int gelFrom = 0; // gel positions looked at: gelFrom .. gelFrom + gelCount - 1
    int gelCount = 0;
    int count = 0; // recorded points
    int first = 0; // evaluated standard positions first .. last
    int last = -1;
    bool badBracket = false; // an evaluated interval of width 0

    // Per recorded point, in the order the spline takes them.
    std::vector<int> gelIndex;
    std::vector<float> position;
    std::vector<char> degenerate;
    std::vector<float> sig;
    std::vector<float> pivot;
    std::vector<float> forwardY2;
    std::vector<float> gap;    // position[i + 1] - position[i]
    std::vector<float> span;   // position[i + 1] - position[i - 1]
    std::vector<Point> points; // standard positions first .. last
};

// Where a batch of rows is worked on (aligned storage of a LaneResampler).
struct RowWorkspace {
    unsigned char* samples;
    float* intensity;
    float* work;
};

class LaneResampler {
  public:
    // Rows resampled side by side: independent rows let the processor
    // overlap the serial chains of the spline set-up.
    static const int MAX_ROWS = 16;

    // Where the processor has AVX2, batches run in a copy of the code built
    // for it (the same operations, on wider registers). true makes every
    // batch take the baseline copy, so that tests can compare both.
    static void useBaselineInstructions(bool baseline);

    // Builds the tables for traces of len samples on the lane of fac (the
    // same gel positions normTrace reads), with the standard position
    // fac.normaliseBand gives for each; a numerical error of the factor
    // ends the program here.
    void prepare(NormFac& fac, int len);

    // As normTrace of an 8-bit row: out[0..4599], edge values extended.
    void resample(const unsigned char* row, float* out);
    // count 8-bit rows at once: rows[i] into outs[i].
    void resample(const unsigned char* const* rows, float* const* outs, int count);
    // As normTrace of a 16-bit trace: out[0..4599], zero outside.
    void resample(const short* trace, float* out);
    // count 16-bit traces at once: traces[i] into outs[i].
    void resample(const short* const* traces, float* const* outs, int count);

  private:
    // Eight-bit rows extend their edge values; 16-bit traces are 0 outside.
    template <class Sample>
    void resampleRows(const Sample* const* rows, float* const* outs, int count, bool extendEdges);
    void fillOutside(float* out, bool extendEdges) const;
    void prepareSpline();
    void prepareEvaluation();

    LaneTables lane;
    std::vector<float> standard; // of every gel position looked at
    // The rows of a batch laid across: per gel position looked at, the
    // samples of every row side by side.
    std::vector<unsigned char> samples;
    // Per point, one vector of a float per row of the batch: intensities,
    // then u and the second derivatives, which replace u during the
    // back-substitution.
    std::vector<float> intensity;
    std::vector<float> work;
};

#endif
