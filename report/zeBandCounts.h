// Per named sample: how many raw bands reach the bands file and why the
// others do not, decided exactly as the bands file decides.
#ifndef ZE_BANDCOUNTS_H
#define ZE_BANDCOUNTS_H

#include <vector>

#include "zeStepData.h"

struct SampleBands {
    int sample = 0;
    int accepted = 0;
    int outsideRange = 0;
    int negativePosition = 0;
    int negativeLogSize = 0;
    int otherKind = 0;
    std::vector<float> positions; // standard positions of the accepted bands, ascending

    int dropped() const { return outsideRange + negativePosition + negativeLogSize + otherKind; }
};

SampleBands countBands(StepData& d, int sample);

// One entry per sample with a non-empty clone name, in sample order (the
// samples the bands file lists).
std::vector<SampleBands> countNamedSamples(StepData& d);

#endif
