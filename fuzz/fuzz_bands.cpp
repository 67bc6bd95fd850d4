// The bands-file reader of zeCompare and the scores of the fingerprints it
// reads: the first byte chooses the tolerance, the rest is the file.
#include <sstream>

#include "fuzzSupport.h"
#include "zeBandsFile.h"
#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// What the reader promises of every fingerprint it returns.
void checkFingerprint(const Fingerprint& f) {
    for (size_t i = 0; i < f.bands.size(); i++) {
        if (f.bands[i] < 0) fuzzFail("negative band position");
        if (i > 0 && f.bands[i] < f.bands[i - 1]) fuzzFail("bands not ascending");
    }
}

// Shared bands, score and Dice of a pair stay in their ranges, and the
// bound of the pair scan never drops a pair that scores within the cutoff.
void checkPair(const Fingerprint& a, const Fingerprint& b, int tolerance,
               const SharedBandsNeeded& needed, double cutoff) {
    int na = (int)a.bands.size(), nb = (int)b.bands.size();
    int m = sharedBands(a.bands.data(), na, b.bands.data(), nb, tolerance);
    if (m < 0 || m > na || m > nb) fuzzFail("shared bands out of range");
    double score = sulstonScore(m, na, nb, tolerance);
    if (!(score >= 0 && score <= 1)) fuzzFail("score outside 0..1");
    double dice = diceCoefficient(m, na, nb);
    if (!(dice >= 0 && dice <= 1)) fuzzFail("Dice outside 0..1");
    if (score <= cutoff && m < needed(na, nb)) fuzzFail("bound drops a pair within the cutoff");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    int tolerance = 1 + (in.takeByte() * 9) % MAX_TOLERANCE;
    std::istringstream text(std::string(reinterpret_cast<const char*>(in.rest()), in.restSize()));
    std::vector<Fingerprint> prints;
    std::string error;
    if (!readBands(text, "input", prints, error) && error.compare(0, 6, "input:") != 0)
        fuzzFail("a refused file without the place of its fault");
    const size_t most = 8;
    const double cutoff = 1e-6;
    int largest = 0;
    for (const Fingerprint& f : prints) {
        checkFingerprint(f);
        if (f.ordinal != (int)(&f - prints.data()) + 1) fuzzFail("ordinals not 1, 2, ...");
        largest = std::max(largest, (int)f.bands.size());
    }
    SharedBandsNeeded needed(tolerance, cutoff, largest);
    for (size_t i = 0; i < prints.size() && i < most; i++)
        for (size_t j = i; j < prints.size() && j < most; j++)
            checkPair(prints[i], prints[j], tolerance, needed, cutoff);
    return 0;
}
