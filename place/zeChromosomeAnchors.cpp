#include "zeChromosomeAnchors.h"

#include "zeContigExtent.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Rule 4: the markers, in contig order, against the map's order.
bool orderContradictsMap(const std::vector<MarkerOnContig>& along, const std::vector<long>& ranks) {
    long discordant = 0, pairs = 0;
    for (size_t i = 0; i < along.size(); ++i)
        for (size_t j = i + 1; j < along.size(); ++j) {
            long step = ranks[along[j].marker] - ranks[along[i].marker];
            if (j == i + 1 && std::labs(step) > MAX_RANK_JUMP) return true;
            ++pairs;
            discordant += step < 0;
        }
    // Either order along the contig will do: the strand comes later.
    long against = std::min(discordant, pairs - discordant);
    return along.size() >= MIXED_FEWEST && 3 * against > pairs;
}

struct Line {
    double slope = 0, meanX = 0, meanY = 0, spanX = 0;
};

// The least-squares line of map position on contig position.
Line fitLine(const std::vector<MarkerOnContig>& markers, const MarkerMap& map) {
    Line l;
    double n = (double)markers.size(), lowX = markers.front().at, highX = lowX;
    for (const MarkerOnContig& m : markers) {
        l.meanX += m.at / n;
        l.meanY += map.position[m.marker] / n;
        lowX = std::min(lowX, m.at);
        highX = std::max(highX, m.at);
    }
    double sxy = 0, sxx = 0;
    for (const MarkerOnContig& m : markers) {
        sxy += (m.at - l.meanX) * (map.position[m.marker] - l.meanY);
        sxx += (m.at - l.meanX) * (m.at - l.meanX);
    }
    l.slope = sxx > 0 ? sxy / sxx : 0;
    l.spanX = highX - lowX;
    return l;
}

} // namespace

const char* anchorStatusName(AnchorStatus s) {
    switch (s) {
    case AnchorStatus::Anchored:
        return "anchored";
    case AnchorStatus::Conflict:
        return "conflict";
    default:
        return "unanchored";
    }
}

std::vector<MarkerOnContig> markersOnContig(const AnchorContig& c, const std::vector<bool>& leftOut) {
    std::map<size_t, std::vector<std::pair<long, int>>> events; // marker -> (place, +1 | -1)
    std::set<size_t> confirmed;
    for (const ContigHit& h : c.hits) {
        if (leftOut[h.marker]) continue;
        events[h.marker].emplace_back(h.left, 1);
        events[h.marker].emplace_back(h.right, -1);
        if (h.confirmed) confirmed.insert(h.marker);
    }
    std::vector<MarkerOnContig> out;
    for (auto& entry : events) {
        std::vector<std::pair<long, int>>& e = entry.second;
        std::sort(e.begin(), e.end()); // an end before a start at one place: [left, right)
        MarkerOnContig m;
        m.marker = entry.first;
        m.confirmed = confirmed.count(m.marker) > 0;
        int depth = 0;
        for (size_t k = 0; k < e.size(); ++k) {
            depth += e[k].second;
            if (depth > m.depth) {
                m.depth = depth;
                m.at = (double)(e[k].first + e[k + 1].first) / 2; // a start is never last
            }
        }
        out.push_back(m);
    }
    std::sort(out.begin(), out.end(), [](const MarkerOnContig& a, const MarkerOnContig& b) {
        return a.at != b.at ? a.at < b.at : a.marker < b.marker;
    });
    return out;
}

double medianClonesPerMarker(const std::vector<long>& clonesHit) {
    std::vector<double> hit;
    for (long n : clonesHit)
        if (n > 0) hit.push_back((double)n);
    return hit.empty() ? 0 : median(hit);
}

std::vector<bool> repeatProbes(const std::vector<long>& clonesHit) {
    std::vector<bool> repeat(clonesHit.size(), false);
    const double usual = medianClonesPerMarker(clonesHit);
    if (usual == 0) return repeat;
    const double most = REPEAT_FACTOR * usual + REPEAT_SLACK;
    for (size_t k = 0; k < clonesHit.size(); ++k)
        repeat[k] = (double)clonesHit[k] > most;
    return repeat;
}

std::vector<long> mapRanks(const MarkerMap& map, const std::vector<bool>& counted) {
    std::vector<size_t> order;
    for (size_t k = 0; k < map.names.size(); ++k)
        if (counted[k]) order.push_back(k);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return map.chromosome[a] != map.chromosome[b] ? map.chromosome[a] < map.chromosome[b]
                                                      : map.position[a] < map.position[b];
    });
    std::vector<long> ranks(map.names.size(), 0);
    size_t first = 0; // the chromosome's first in the order
    long rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        size_t k = order[i], before = i ? order[i - 1] : k;
        if (i == 0 || map.chromosome[k] != map.chromosome[before]) {
            first = i;
            rank = 0;
        } else if (map.position[k] != map.position[before]) {
            rank = (long)(i - first);
        }
        ranks[k] = rank;
    }
    return ranks;
}

ContigAnchor anchorContig(const AnchorContig& c, const MarkerMap& map,
                          const std::vector<bool>& leftOut, const std::vector<long>& ranks) {
    ContigAnchor a;
    a.contig = c.contig;
    a.clones = c.clones;
    std::vector<MarkerOnContig> all = markersOnContig(c, leftOut);
    // By chromosome: the strong markers, the weak ones and the clones these hit.
    std::map<size_t, std::vector<MarkerOnContig>> strong, weak;
    std::map<size_t, std::set<size_t>> weakClones;
    // Shared markers first; confirmed lone hits only where there are none: on
    // a contig with shared markers, a confirmed lone hit of another
    // chromosome is a chimeric clone's other piece.
    bool shared = false;
    for (const MarkerOnContig& m : all)
        shared = shared || m.depth >= 2;
    for (const MarkerOnContig& m : all)
        ((shared ? m.depth >= 2 : m.confirmed) ? strong : weak)[map.chromosome[m.marker]].push_back(m);
    for (const ContigHit& h : c.hits)
        if (!leftOut[h.marker]) weakClones[map.chromosome[h.marker]].insert(h.clone);
    std::vector<MarkerOnContig> used;
    for (auto& entry : strong) {
        a.chromosomes.push_back(entry.first);
        used.insert(used.end(), entry.second.begin(), entry.second.end());
    }
    if (strong.empty())
        for (auto& entry : weak)
            if (entry.second.size() >= 2 && weakClones[entry.first].size() >= 2) {
                a.chromosomes.push_back(entry.first);
                used.insert(used.end(), entry.second.begin(), entry.second.end());
            }
    std::sort(used.begin(), used.end(), [](const MarkerOnContig& x, const MarkerOnContig& y) {
        return x.at != y.at ? x.at < y.at : x.marker < y.marker;
    });
    if (a.chromosomes.empty()) {
        a.markers = all;
        return a;
    }
    a.markers = used;
    a.status = a.chromosomes.size() == 1 && !orderContradictsMap(used, ranks) ? AnchorStatus::Anchored
                                                                              : AnchorStatus::Conflict;
    auto byPosition = [&](const MarkerOnContig& x, const MarkerOnContig& y) {
        return map.position[x.marker] < map.position[y.marker];
    };
    a.lowest = std::min_element(used.begin(), used.end(), byPosition)->marker;
    a.highest = std::max_element(used.begin(), used.end(), byPosition)->marker;
    return a;
}

std::vector<MarkerOnContig> strandMarkers(const ContigAnchor& a, const std::vector<MarkerOnContig>& all,
                                          const MarkerMap& map, const std::vector<long>& ranks) {
    std::set<size_t> standsOn;
    long low = ranks[a.markers.front().marker], high = low;
    for (const MarkerOnContig& m : a.markers) {
        standsOn.insert(m.marker);
        low = std::min(low, ranks[m.marker]);
        high = std::max(high, ranks[m.marker]);
    }
    std::vector<MarkerOnContig> out;
    for (const MarkerOnContig& m : all) // along the contig, as a.markers
        if (standsOn.count(m.marker) ||
            (map.chromosome[m.marker] == a.chromosomes[0] && ranks[m.marker] >= low - 1 &&
             ranks[m.marker] <= high + 1))
            out.push_back(m);
    return out;
}

MapCalibration calibrateMap(const std::vector<ContigAnchor>& anchors, const MarkerMap& map) {
    // So few contigs with 3 markers tell nothing of the map's noise.
    const size_t FEWEST_CONTIGS = 3;
    std::vector<Line> lines;
    std::vector<const ContigAnchor*> of;
    for (const ContigAnchor& a : anchors) {
        if (a.status != AnchorStatus::Anchored || a.markers.size() < 3) continue;
        Line l = fitLine(a.markers, map);
        if (l.slope == 0) continue;
        lines.push_back(l);
        of.push_back(&a);
    }
    MapCalibration c;
    if (lines.size() < FEWEST_CONTIGS) return c;
    std::vector<double> slopes, residuals;
    for (const Line& l : lines)
        slopes.push_back(std::fabs(l.slope));
    c.scale = median(slopes);
    for (size_t k = 0; k < lines.size(); ++k) {
        double sign = lines[k].slope > 0 ? 1 : -1;
        for (const MarkerOnContig& m : of[k]->markers)
            residuals.push_back(std::fabs(map.position[m.marker] - lines[k].meanY -
                                          sign * c.scale * (m.at - lines[k].meanX)));
    }
    c.noise = 1.4826 * median(residuals); // the standard deviation of a normal noise
    c.known = c.scale > 0;
    return c;
}

void orientContig(ContigAnchor& a, const std::vector<MarkerOnContig>& m, const MarkerMap& map,
                  const MapCalibration& calibration, long left, long right) {
    double sum = 0;
    for (const MarkerOnContig& x : m)
        sum += map.position[x.marker];
    a.centre = sum / (double)m.size();
    a.strand = 0;
    if (m.size() < 2) return;
    long concordant = 0, discordant = 0;
    for (size_t i = 0; i < m.size(); ++i)
        for (size_t j = i + 1; j < m.size(); ++j) {
            double d = (m[j].at - m[i].at) * (map.position[m[j].marker] - map.position[m[i].marker]);
            concordant += d > 0;
            discordant += d < 0;
        }
    Line l = fitLine(m, map);
    if (calibration.known) {
        if (l.slope == 0 || calibration.scale * l.spanX < STRAND_SPAN * calibration.noise) return;
        if ((l.slope > 0) != (concordant > discordant) || concordant == discordant) return;
        a.strand = l.slope > 0 ? 1 : -1;
        const double middle = (double)(left + right) / 2;
        a.centre = l.meanY - a.strand * calibration.scale * (l.meanX - middle);
    } else if (m.size() >= 3 && (concordant == 0) != (discordant == 0)) {
        a.strand = discordant == 0 ? 1 : -1;
    }
}

std::vector<ContigAnchor> anchorContigs(const std::vector<AnchorContig>& contigs,
                                        const MarkerMap& map, const std::vector<bool>& leftOut) {
    std::vector<bool> counted(map.names.size(), false);
    for (const AnchorContig& c : contigs)
        for (const ContigHit& h : c.hits)
            counted[h.marker] = !leftOut[h.marker];
    std::vector<long> ranks = mapRanks(map, counted);
    std::vector<ContigAnchor> anchors;
    for (const AnchorContig& c : contigs)
        anchors.push_back(anchorContig(c, map, leftOut, ranks));
    MapCalibration calibration = calibrateMap(anchors, map);
    for (size_t k = 0; k < anchors.size(); ++k)
        if (anchors[k].status == AnchorStatus::Anchored)
            orientContig(anchors[k],
                         strandMarkers(anchors[k], markersOnContig(contigs[k], leftOut), map, ranks),
                         map, calibration, contigs[k].left, contigs[k].right);
    MarkerGaps gaps = markerGaps(map, counted);
    for (size_t k = 0; k < anchors.size(); ++k)
        if (extentContradictsMap(anchors[k], markersOnContig(contigs[k], leftOut), map, gaps,
                                 calibration, contigs[k].left, contigs[k].right))
            anchors[k].status = AnchorStatus::Conflict;
    auto key = [](const ContigAnchor& a) {
        return std::make_tuple((int)a.status, a.status == AnchorStatus::Anchored ? a.chromosomes[0] : 0,
                               a.status == AnchorStatus::Anchored ? a.centre : 0.0, a.contig);
    };
    std::stable_sort(anchors.begin(), anchors.end(),
                     [&](const ContigAnchor& x, const ContigAnchor& y) { return key(x) < key(y); });
    return anchors;
}
