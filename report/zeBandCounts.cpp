#include "zeBandCounts.h"

#include <algorithm>

#include "zeBandAcceptance.h"

SampleBands countBands(StepData& d, int sample) {
    SampleBands c;
    c.sample = sample;
    int lane = sample / d.project.dyenumber;
    NormFac* sizeFac = d.haveSizes ? &d.sizeFacs(lane) : nullptr;
    dp_Accum<RawBand>& bands = d.rawBands(sample);
    for (int i = 0; i < bands.nelem(); i++) {
        BandVerdict v = judgeBand(bands(i), d.normFacs(lane), sizeFac);
        switch (v.fate) {
        case BAND_ACCEPTED:
            c.accepted++;
            c.positions.push_back(v.position);
            break;
        case BAND_OTHER_KIND:
            c.otherKind++;
            break;
        case BAND_OUTSIDE_RANGE:
            c.outsideRange++;
            break;
        case BAND_NEGATIVE_POSITION:
            c.negativePosition++;
            break;
        case BAND_NEGATIVE_LOG_SIZE:
            c.negativeLogSize++;
            break;
        }
    }
    std::sort(c.positions.begin(), c.positions.end());
    return c;
}

std::vector<SampleBands> countNamedSamples(StepData& d) {
    std::vector<SampleBands> counts;
    for (int s = 0; s < d.samples; s++)
        if (!d.cloneNames(s).empty()) counts.push_back(countBands(d, s));
    return counts;
}
