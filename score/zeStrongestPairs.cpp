#include <algorithm>

#include "zeStrongestPairs.h"

namespace {

// Whether a is stronger than b. Scores below the double range are all 0,
// so shared bands break those ties.
bool stronger(const PairScore& a, const PairScore& b) {
    if (a.score != b.score) return a.score < b.score;
    if (a.shared != b.shared) return a.shared > b.shared;
    if (a.first != b.first) return a.first < b.first;
    return a.second < b.second;
}

} // namespace

void StrongestPairs::add(const PairScore& p) {
    if ((int)heap.size() == limit) {
        if (limit == 0 || !stronger(p, heap.front())) return;
        std::pop_heap(heap.begin(), heap.end(), stronger);
        heap.pop_back();
    }
    heap.push_back(p);
    std::push_heap(heap.begin(), heap.end(), stronger);
}

std::vector<PairScore> StrongestPairs::sorted() const {
    std::vector<PairScore> out = heap;
    std::sort(out.begin(), out.end(), stronger);
    return out;
}
