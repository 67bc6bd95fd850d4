// Crowded bands: the pair test under the library's own band crowding.
//
// The pair score (zeSulston.h) lets every band match by chance with
// b = 2 t / NORM_SCALE_LENGTH, as if the library's bands lay evenly over
// the scale. A genome cut mostly into small fragments crowds its bands
// into one stretch of the scale (H. pylori: 15,000 of a library's 18,000
// bands in the last 40%), where a band matches by chance with a share of
// one half, not of one fifth. Every pair the plain score passes there
// overlaps (41 of H. pylori's 2,265 at 20-fold coverage only through a
// chimeric clone's second piece), but its shared bands count chance
// matches as overlap: a pair overlapping little looks like one
// overlapping much, its centre offset (zeLayout.h) comes out too short,
// and the layout folds the genome onto itself.
//
// So the map asks more of a pair the plain score passes. Each band of the
// clone with fewer bands matches one of the other's nH bands by chance
// with p = 1 - (1 - q)^nH, q the share of the library's bands within the
// tolerance of it (scaled by 2 t / (2 t + 1), the window's positions, so
// that evenly spread bands give the plain b); the pair's crowded score is
// the chance that at least its M shared bands match so, each band with
// its own p (a sum of unequal coin tosses). Like the plain score it counts
// a band as matched when any of the other's bands lies near it, more than
// the one-to-one matching finds (32 against 28 bands of unrelated
// H. pylori clones), so it errs towards setting a pair aside.
//
// The pair passes when that score is within the cutoff's square root
// (MapSettings::crowdedPower, 0.5: 1e-6 at the default cutoff). The
// plain cutoff was chosen on libraries that crowd too, only less (a
// simulated library's unrelated clones share 1.5 times the bands the
// plain score expects), and their pairs within 1e-12 score within 1e-8
// under crowding; held to the cutoff itself, 20,000 simulated clones made
// 1,736 contigs instead of 1,135. The square root leaves them as they
// were and still sets aside a quarter of H. pylori's pairs at 20-fold
// coverage (594 of 2,265), those whose bands are least beyond what the
// crowding gives. A power, not a factor, since the
// crowding takes a share of a score's digits, not a number of them.
// A library of fewer than LEAST_BANDS_FOR_CROWDING bands is too small to
// tell how they crowd, and its pairs pass as the plain score says.
//
// Every pair the test sets aside in H. pylori overlaps, only by less than
// its shared bands make it look: at 10-fold coverage
// the test alone parted the map into 5 contigs instead of 1 or 2. So a
// pair set aside comes back when a third clone passes with both of its
// clones and the three centre offsets (zeLayout.h) lie as for three
// clones in a row: the pair's within MapSettings::crowdedOffsetSlack (10
// bands) of the sum or the difference of the other two. A pair whose
// shared bands put its clones nearer or farther apart than the clones
// around them do stays out: it is those that misled the layout at 20x. A
// restored pair witnesses for no other, so nothing chains along the pairs
// set aside. 3, 3 and 2 contigs then at 10x (seeds 1 to 3), one in true
// order at 20x; within 14 bands, one 20x library folds again.
#ifndef ZE_CROWDEDBANDS_H
#define ZE_CROWDEDBANDS_H

#include <vector>

#include "zeChanceBands.h"
#include "zeFingerprint.h"
#include "zePairScan.h"

class CrowdedBands {
  public:
    // Too few bands: every pair passes.
    CrowdedBands() = default;
    CrowdedBands(LibraryBands library, int tolerance);

    bool crowdingKnown() const { return !library.positions.empty(); }
    // The chance q of a band at `position` (above).
    double bandChance(int position) const;
    // The chance that fingerprints a and b (ascending) share at least
    // `shared` bands by chance; 1 when crowding is not known.
    double score(const std::vector<int>& a, const std::vector<int>& b, int shared) const;
    // Whether that chance is at most `cutoff`; quicker than score() for
    // a pair far within it.
    bool passes(const std::vector<int>& a, const std::vector<int>& b, int shared,
                double cutoff) const;

  private:
    LibraryBands library;
    int tolerance = 0;
    // log(1 - bandChance) of positions 0 .. NORM_SCALE_LENGTH - 1: a
    // band's p is then one expm1.
    std::vector<double> missOnScale;
    double missLog(int position) const;
    std::vector<double> matchChances(const std::vector<int>& a, const std::vector<int>& b) const;
};

// The model of a library of these fingerprints.
CrowdedBands crowdedBands(const std::vector<Fingerprint>& prints, int tolerance);

// A pair the test sets aside is restored when at least `least` clones
// pair with both of its clones, those pairs passing the test, and the
// three offsets agree within `offsetSlack` bands (0 least: none is).
struct CrowdedWitnesses {
    int least = 0;
    double offsetSlack = 0;
};

// The pairs the test leaves to the map, and how many it set aside and
// restored of them.
struct CrowdedSelection {
    std::vector<PairScore> pairs;
    long setAside = 0; // failed the test, the restored ones included
    long restored = 0;
};

// The pairs (of `prints`) that also pass `cutoff` under crowding, or that
// `witnesses` restore, in the order given.
CrowdedSelection crowdedPassing(const CrowdedBands& crowded, const std::vector<Fingerprint>& prints,
                                std::vector<PairScore> pairs, double cutoff,
                                const CrowdedWitnesses& witnesses = CrowdedWitnesses());

#endif
