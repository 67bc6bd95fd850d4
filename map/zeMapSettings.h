// Every setting of the map's build, one record for all its stages
// (zeMapBuild.h), each default written here once. zeContig fills it from
// its command line, the build passes it to every stage, and the page
// prints the one that ran.
#ifndef ZE_MAPSETTINGS_H
#define ZE_MAPSETTINGS_H

#include "zeSulston.h"

struct MapSettings {
    // The pair scan: bands match within `tolerance` standard units, and a
    // pair scoring at most `cutoff` overlaps.
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
    int threads = 1; // the map does not depend on them
    // Crowded bands (zeCrowdedBands.h): a pair passes only when it also
    // scores within the cutoff to the power `crowdedPower` with each
    // band's chance of a match taken from how densely the library's bands
    // lie around it; 0 turns the test off. A pair it sets aside is
    // restored when at least `crowdedWitnesses` clones pair with both of
    // its clones, those pairs passing the test, with the three centre
    // offsets (zeLayout.h) agreeing within `crowdedOffsetSlack` bands
    // (0 witnesses: none is).
    double crowdedPower = 0.5;
    int crowdedWitnesses = 1;
    double crowdedOffsetSlack = 10;

    // Repeats. A band position whose window of the tolerance either side
    // holds more than `commonBandShare` of the clones beyond the usual
    // crowding of its stretch of the scale is masked in every clone
    // (zeCommonBands.h). A band of a clone that more
    // than `repeatDepthFactor` times the typical number of its partners
    // share, counting the pairs that score at most `repeatDepthCutoff` (or
    // the cutoff, if looser), is a repeat band of it; a pair passing only
    // with such bands joins no groups, and brings in a clone no other pair
    // holds only when its bands less the repeat bands still score at most
    // `repeatLoneCutoff`, beyond what chance gives (zeRepeatBands.h).
    double commonBandShare = 0.95;
    double repeatDepthFactor = 2.5;
    double repeatDepthCutoff = 1e-8;
    double repeatLoneCutoff = 1e-3;
    // Overlaps with clones at another copy of a repeat are cut
    // (zeRepeatCopies.h): of a clone's partners with at least
    // `copyOwnBands` bands it lacks, one lies at another copy when
    // another matches every band of the clone it matches but
    // `copySlack`, and at least `copyMargin` more, the two sharing at
    // most `copyApart` of the bands the clone lacks.
    // The partners with at least `overhangBands` bands a clone lacks fall
    // into overhang groups (zeOverhangGroups.h), two in one when they share
    // at least `overhangShare` of the smaller overhang; beyond two groups, one
    // matching bands of the clone the others match but `copySlack` lies at
    // another copy, and the junction test does not rescue a group matching
    // only bands another group matches.
    int copyOwnBands = 8;
    int copySlack = 2;
    int copyMargin = 1;
    int copyApart = 3;
    int overhangBands = 10;
    double overhangShare = 0.5;
    // A group that does not stay linear (zeLinearCuts.h): two of its
    // clones lie over each other when their places overlap by at least
    // `overlaidShare` of the shorter and they share at most
    // `overlaidSharedBands` of the fewer bands (both less their repeat
    // bands); a group with more than `overlaidPerClone` such pairs per
    // clone is cut between each such pair where at most `mostCutOverlaps`
    // overlaps part them; the groups are laid out again and looked at
    // again, at most `cutRounds` times.
    double overlaidShare = 0.5;
    double overlaidSharedBands = 0.25;
    double overlaidPerClone = 2;
    int mostCutOverlaps = 40;
    int cutRounds = 3;
    // A group that closes on itself, a circular genome's, is opened once:
    // its two halves, of at least `circleMeetingClones` clones each, meet
    // on both sides through at least that many paths sharing no clone, or
    // on one side through a single clone (zeCircularGroups.h); 0 leaves
    // circles to the cuts above.
    int circleMeetingClones = 2;
    // A clone that alone holds a side of at least `thinJoinSide` clones to
    // the rest of its group (as many again) joins two places when at least
    // `thinJoinPairs` pairs of clones, one on each side, are placed over
    // each other outside its place by at least `thinJoinBeyond` of the
    // shorter and share at most `copyApart` of the bands it lacks
    // (zeThinJoins.h); its overlaps with one side are cut.
    int thinJoinSide = 3;
    int thinJoinPairs = 14;
    double thinJoinBeyond = 0.3;

    // Junctions (zeJunctions.h): the groups around a possible junction
    // overlap after all when some pair between them scores at most
    // `looseCutoff` on their bands less their repeat bands; at most
    // `mostPairsTried` pairs between two groups are scored.
    double looseCutoff = 1e-6;
    int mostPairsTried = 400;

    // Marker hits (zeMarkerPairs.h), when zeContig is given them: two
    // clones one marker hits overlap when they score at most
    // `markerCutoff` on their bands less their repeat bands, sharing at
    // least `markerShared` bands, unless the marker hits more than
    // `markerRepeatFactor` times the fingerprints the typical marker hits.
    // Such pairs join two groups of clones only when at least
    // `markerJoinClones` clones of each group are in them, and bring a
    // lone clone into a group only with as many clones of it.
    double markerCutoff = 1e-6;
    int markerShared = 8;
    double markerRepeatFactor = 2.5;
    int markerJoinClones = 2;

    // The layout (zeLayout.h). A pair of which one clone shares at least
    // `buriedShare` of its bands with the other counts `containedWeight`.
    // Offsets of at least `sureOffset` bands leave no doubt which clone
    // lies first. A clone's excess is measured on at least
    // `fewestTriples` triples; a contig with `enoughTriples` has a typical
    // excess of its own, one with fewer leans on the library's in
    // proportion. Places settle when no clone moves `settled`
    // bands in a round, or after `mostRounds`.
    double containedWeight = 0.25;
    double sureOffset = 4;
    int fewestTriples = 5;
    int enoughTriples = 50;
    double settled = 1e-3;
    int mostRounds = 200;

    // Burial (zeBurial.h): a clone is buried in another of its contig
    // when they share at least this share of its length.
    double buriedShare = 0.9;

    // Misfits, the Q clones (zeMisfits.h): a band is explained when
    // `fitSupport` clones placed over it match it; a clone fits badly when
    // the share of its unexplained bands, beyond the thinly covered
    // stretches, is above `mostUnexplained`.
    int fitSupport = 4;
    double mostUnexplained = 0.35;

    // Chimeras (zeChimeras.h). Only clones with at least `fewestForeign`
    // bands that the clones around them lack, and at least
    // `leastForeignShare` of their bands, are looked up. A clone elsewhere
    // holds those bands when they score at most `homeCutoff` against it;
    // `homesNeeded` such clones within one clone length of each other in
    // one contig are the piece's place, unless they overlap the clones
    // around the clone at `besideCutoff` (a neighbouring place). A band
    // held by more than `commonBandFactor` times the clones chance gives
    // is common and not looked up; a clone holding `leadSlack` fewer bands
    // than a home needs still leads to the clones around it; a clone
    // within `endReach` of its contig's first or last place is at its end.
    int fewestForeign = 6;
    double leastForeignShare = 0.2;
    double homeCutoff = 1e-5;
    int homesNeeded = 3;
    double besideCutoff = 1e-4;
    double commonBandFactor = 2.5;
    int leadSlack = 3;
    long endReach = 3;
};

#endif
