#include "zeLibBands.h"

#include <algorithm>
#include <cmath>

#include "zeScale.h"

namespace {

class BandMaker {
  public:
    BandMaker(BandStreams& r, const Options& o, std::vector<int>& bands)
        : r(r), o(o), bands(bands), logMax(std::log(o.maxSize)),
          scale((NORM_SCALE_LENGTH - 1) / (logMax - std::log(o.minSize))) {}

    bool inWindow(int64_t size) const {
        return (double)size >= o.minSize && (double)size <= o.maxSize;
    }

    // A fragment band with its noise draw: lost with the missing chance,
    // else placed by log size and moved by the noise.
    void fragment(int64_t size, double gaussian) {
        if (o.errors.missingBands > 0 && r.missing.chance(o.errors.missingBands)) return;
        double position = (logMax - std::log((double)size)) * scale + o.noise * gaussian;
        if (position >= 0) bands.push_back((int)position);
    }

    // A fragment the error-free model lacks: its noise from its own stream.
    void addedFragment(int64_t size) {
        if (inWindow(size)) fragment(size, r.addedNoise.gaussian());
    }

    // The partial fragments at the piece's ends, from its start to its first
    // cut and from its last cut to its end; one piece without a cut inside
    // is one partial fragment.
    void endFragments(const std::vector<int64_t>& cuts, const Piece& p, bool left) {
        size_t k = std::lower_bound(cuts.begin(), cuts.end(), p.start) - cuts.begin();
        if (cuts[k] >= p.end) {
            if (left) addedFragment(p.end - p.start);
            return;
        }
        if (left) {
            if (cuts[k] > p.start) addedFragment(cuts[k] - p.start);
            return;
        }
        int64_t last = *(std::upper_bound(cuts.begin(), cuts.end(), p.end) - 1);
        if (last < p.end) addedFragment(p.end - last);
    }

    // The whole fragments of [start, placedEnd) that lie in [start, keepEnd):
    // every one in the size window draws its noise from `noise`, kept or not,
    // so that a shorter piece leaves the stream where the whole clone would.
    void wholeFragments(const std::vector<int64_t>& cuts, int64_t start, int64_t placedEnd,
                        int64_t keepEnd, Rng& noise) {
        size_t k = std::lower_bound(cuts.begin(), cuts.end(), start) - cuts.begin();
        for (; k + 1 < cuts.size() && cuts[k + 1] <= placedEnd; ++k) {
            int64_t size = cuts[k + 1] - cuts[k];
            if (!inWindow(size)) continue;
            double g = noise.gaussian();
            if (cuts[k + 1] <= keepEnd) fragment(size, g);
        }
    }

    void extraBands() {
        long n = std::lround(o.errors.extraBands * (double)bands.size());
        for (long i = 0; i < n; ++i)
            bands.push_back((int)r.extra.below(NORM_SCALE_LENGTH));
    }

    void vectorBands() {
        for (const VectorBand& v : o.errors.vectorBands) {
            if (!r.vector.chance(v.share)) continue;
            double position = v.position + o.noise * r.vector.gaussian();
            if (position >= 0) bands.push_back((int)position);
        }
    }

  private:
    BandStreams& r;
    const Options& o;
    std::vector<int>& bands;
    const double logMax, scale;
};

} // namespace

void cloneBands(BandStreams& r, const Options& o, const std::vector<int64_t>& cuts, const Clone& c,
                std::vector<int>& bands) {
    bands.clear();
    BandMaker m(r, o, bands);
    const bool ends = o.errors.endFragments;
    if (ends) m.endFragments(cuts, c.first, true);
    m.wholeFragments(cuts, c.first.start, c.placedEnd, c.first.end, r.noise);
    if (ends) m.endFragments(cuts, c.first, false);
    if (c.chimeric) {
        if (ends) m.endFragments(cuts, c.second, true);
        m.wholeFragments(cuts, c.second.start, c.second.end, c.second.end, r.addedNoise);
        if (ends) m.endFragments(cuts, c.second, false);
    }
    if (o.errors.extraBands > 0) m.extraBands();
    m.vectorBands();
    std::sort(bands.begin(), bands.end());
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
}

std::vector<int> bandSizes(const Options& o, const std::vector<int>& bands) {
    const double logMax = std::log(o.maxSize);
    const double scale = (NORM_SCALE_LENGTH - 1) / (logMax - std::log(o.minSize));
    std::vector<int> sizes;
    sizes.reserve(bands.size());
    for (auto b = bands.rbegin(); b != bands.rend(); ++b)
        sizes.push_back((int)std::lround(std::exp(logMax - ((double)*b + 0.5) / scale)));
    return sizes;
}
