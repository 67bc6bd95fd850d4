#include "zePlainScan.h"

#include <map>
#include <tuple>

#include "zeSharedBands.h"
#include "zeSulston.h"

void plainScanRows(const std::vector<Fingerprint>& prints, int tolerance,
                   const std::vector<double>& cutoffs, int first, int step,
                   std::vector<std::vector<std::vector<PairScore>>>& byRow) {
    // A score depends on M and the two band counts only: memoised, so that
    // thousands of clones stay quick.
    std::map<std::tuple<int, int, int>, double> scores;
    for (int i = first; i < (int)prints.size(); i += step)
        for (int j = i + 1; j < (int)prints.size(); j++) {
            const std::vector<int>& a = prints[i].bands;
            const std::vector<int>& b = prints[j].bands;
            int na = (int)a.size(), nb = (int)b.size();
            int m = sharedBands(a.data(), na, b.data(), nb, tolerance);
            auto key = std::make_tuple(m, na, nb);
            auto known = scores.find(key);
            if (known == scores.end())
                known = scores.emplace(key, sulstonScore(m, na, nb, tolerance)).first;
            for (size_t c = 0; c < cutoffs.size(); c++)
                if (known->second <= cutoffs[c])
                    byRow[c][i].push_back(scorePair(prints, i, j, tolerance));
        }
}

std::vector<std::vector<PairScore>> plainScan(const std::vector<Fingerprint>& prints,
                                              int tolerance, const std::vector<double>& cutoffs) {
    std::vector<std::vector<std::vector<PairScore>>> byRow(
        cutoffs.size(), std::vector<std::vector<PairScore>>(prints.size()));
    plainScanRows(prints, tolerance, cutoffs, 0, 1, byRow);
    std::vector<std::vector<PairScore>> out(cutoffs.size());
    for (size_t c = 0; c < cutoffs.size(); c++)
        for (const std::vector<PairScore>& row : byRow[c])
            out[c].insert(out[c].end(), row.begin(), row.end());
    return out;
}
