#include "zeReplicates.h"

#include <map>
#include <string>

#include "zeSulston.h"
#include "zeTruncate.h"

std::vector<ReplicatePair> replicatePairs(StepData& d, const std::vector<SampleBands>& bands) {
    // The fingerprints as the bands file holds them: truncated floats,
    // ascending like them; and each sample's clone and digest names (never
    // holding a NUL, so it separates them).
    std::vector<Fingerprint> prints(bands.size());
    std::vector<std::string> names(bands.size());
    std::map<std::string, std::vector<size_t>> copies;
    for (size_t k = 0; k < bands.size(); k++) {
        for (float m : bands[k].positions)
            prints[k].bands.push_back(truncToInt(m));
        int s = bands[k].sample;
        names[k] = std::string(d.cloneNames(s).c_str()) + '\0' + d.digestNames(s).c_str();
        copies[names[k]].push_back(k);
    }
    std::vector<ReplicatePair> pairs;
    for (size_t k = 0; k < bands.size(); k++)
        for (size_t other : copies[names[k]]) {
            if (other <= k) continue;
            ReplicatePair p;
            static_cast<PairScore&>(p) = scorePair(prints, (int)k, (int)other, DEFAULT_TOLERANCE);
            p.first = bands[k].sample;
            p.second = bands[other].sample;
            p.bandsFirst = (int)prints[k].bands.size();
            p.bandsSecond = (int)prints[other].bands.size();
            p.bandDifferences =
                nearestBandDifferences(prints[k].bands, prints[other].bands, SPREAD_WINDOW);
            pairs.push_back(p);
        }
    return pairs;
}

int replicateWarnings(const std::vector<ReplicatePair>& pairs) {
    int n = 0;
    for (const ReplicatePair& p : pairs)
        n += p.mismatched();
    return n;
}

BandSpread replicateSpread(const std::vector<ReplicatePair>& pairs) {
    std::vector<int> differences;
    for (const ReplicatePair& p : pairs)
        if (!p.mismatched())
            differences.insert(differences.end(), p.bandDifferences.begin(),
                               p.bandDifferences.end());
    return bandSpread(differences);
}
