#include "zePlaceSequences.h"

#include <iostream>
#include <unordered_map>

#include "zeDigest.h"
#include "zeFastaReader.h"
#include "zeTextFile.h"

namespace {

class PlacingSink : public FastaSink {
  public:
    PlacingSink(const std::string& path, const std::string& site, const SizeScale& scale,
                const PlaceMap& map, const PlaceSettings& settings, std::vector<PlacementRow>& rows)
        : path(path), site(site), scale(scale), map(map), settings(settings), rows(rows), digest(site) {}

    bool record(const std::string& name, long line, std::string& error) override {
        current = name;
        header = line;
        digest.start();
        auto seen = lines.emplace(name, line);
        if (seen.second) return true;
        error = "a second record named '" + shownText(name) + "' (the first is at line " +
                std::to_string(seen.first->second) +
                "): the placements name sequences, so each name must be one";
        return false;
    }
    bool bases(const char* text, size_t length, long, std::string& error) override {
        return digest.add(text, length, error);
    }
    void recordEnd() override {
        if (digest.ambiguousBases() > 0) {
            ambiguous += digest.ambiguousBases();
            ++ambiguousSequences;
        }
        if (digest.sites() == 0) {
            if (++noSite <= NO_SITE_TOLD)
                std::cerr << "WARNING: " << path << ":" << header << ": the sequence '" << current
                          << "' holds no " << site << " site: unplaced" << std::endl;
        }
        std::vector<SequenceBand> bands;
        for (const SequenceFragment& f : digest.fragments())
            if (scale.inRange((double)f.length))
                bands.push_back({f.start, f.length, scale.units((double)f.length)});
        for (PlacementRow& r : placeSequence(current, digest.length(), bands, map, settings))
            rows.push_back(std::move(r));
    }
    void finish() const {
        if (noSite > NO_SITE_TOLD)
            std::cerr << "WARNING: '" << path << "': " << noSite - NO_SITE_TOLD
                      << " more sequences hold no " << site << " site: unplaced" << std::endl;
        if (ambiguous > 0)
            std::cerr << "WARNING: '" << path << "': " << ambiguous << " bases of "
                      << ambiguousSequences
                      << " sequences are N or IUPAC codes of ambiguous bases: they match no base "
                         "of the site, so no site is found across them"
                      << std::endl;
    }

  private:
    const std::string& path;
    const std::string& site;
    const SizeScale& scale;
    const PlaceMap& map;
    const PlaceSettings& settings;
    std::vector<PlacementRow>& rows;
    Digest digest;
    std::string current;
    long header = 0, noSite = 0, ambiguousSequences = 0;
    int64_t ambiguous = 0;
    std::unordered_map<std::string, long> lines;
};

} // namespace

bool placeSequences(const std::string& path, const std::string& site, const SizeScale& scale,
                    const PlaceMap& map, const PlaceSettings& settings,
                    std::vector<PlacementRow>& rows, std::string& error) {
    PlacingSink sink(path, site, scale, map, settings, rows);
    if (!readFasta(path, sink, error)) return false;
    sink.finish();
    return true;
}
