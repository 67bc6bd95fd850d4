#include "zeReplicates.h"

#include <map>
#include <string>

#include "zeSharedBands.h"
#include "zeSulston.h"
#include "zeTruncate.h"

std::vector<ReplicatePair> replicatePairs(StepData& d, const std::vector<SampleBands>& bands) {
    // The bands file's integers: truncated floats, ascending like them.
    std::vector<std::vector<int>> positions(bands.size());
    for (size_t k = 0; k < bands.size(); k++)
        for (float m : bands[k].positions)
            positions[k].push_back(truncToInt(m));

    // Names never hold a NUL, so it separates clone and digest in the key.
    std::map<std::string, std::vector<size_t>> copies;
    for (size_t k = 0; k < bands.size(); k++) {
        int s = bands[k].sample;
        copies[std::string(d.cloneNames(s).c_str()) + '\0' + d.digestNames(s).c_str()].push_back(k);
    }
    std::vector<ReplicatePair> pairs;
    for (size_t k = 0; k < bands.size(); k++) {
        int s = bands[k].sample;
        const std::vector<size_t>& same =
            copies[std::string(d.cloneNames(s).c_str()) + '\0' + d.digestNames(s).c_str()];
        for (size_t other : same) {
            if (other <= k) continue;
            const std::vector<int>& a = positions[k];
            const std::vector<int>& b = positions[other];
            ReplicatePair p;
            p.first = s;
            p.second = bands[other].sample;
            p.bandsFirst = (int)a.size();
            p.bandsSecond = (int)b.size();
            p.shared = sharedBands(a.data(), p.bandsFirst, b.data(), p.bandsSecond,
                                   DEFAULT_TOLERANCE);
            p.score = sulstonScore(p.shared, p.bandsFirst, p.bandsSecond, DEFAULT_TOLERANCE);
            p.dice = diceCoefficient(p.shared, p.bandsFirst, p.bandsSecond);
            pairs.push_back(p);
        }
    }
    return pairs;
}

std::vector<ReplicatePair> replicatePairs(StepData& d) {
    return replicatePairs(d, countNamedSamples(d));
}

int replicateWarnings(const std::vector<ReplicatePair>& pairs) {
    int n = 0;
    for (const ReplicatePair& p : pairs)
        n += p.mismatched();
    return n;
}
