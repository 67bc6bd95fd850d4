#include "zeBandAcceptance.h"

BandVerdict judgeBand(const RawBand& band, NormFac& normFac, NormFac* sizeFac) {
    BandVerdict v;
    v.position = 0;
    v.logSize = 0;
    if (band.kind != 1) {
        v.fate = BAND_OTHER_KIND;
        return v;
    }
    v.position = normFac.normaliseBand(band.position);
    v.logSize = sizeFac ? sizeFac->normaliseBand(band.position) : 1.0f;
    if (v.position == NO_POSITION)
        v.fate = BAND_OUTSIDE_RANGE;
    else if (!(v.position >= 0))
        v.fate = BAND_NEGATIVE_POSITION;
    else if (!(v.logSize >= 0))
        v.fate = BAND_NEGATIVE_LOG_SIZE;
    else
        v.fate = BAND_ACCEPTED;
    return v;
}
