#include "zeLibGenomeFrom.h"

#include "zeDigest.h"
#include "zeFastaReader.h"

namespace {

char upperBase(char c) {
    switch (c) {
    case 'A': case 'a': return 'A';
    case 'C': case 'c': return 'C';
    case 'G': case 'g': return 'G';
    case 'T': case 't': return 'T';
    default: return 'N';
    }
}

class GenomeSink : public FastaSink {
  public:
    GenomeSink(const std::string& site, bool keepBases, GenomeFrom& genome)
        : digest(site), keepBases(keepBases), genome(genome) {}

    bool record(const std::string&, long, std::string&) override {
        digest.start();
        ++genome.records;
        return true;
    }
    bool bases(const char* text, size_t length, long, std::string& error) override {
        if (!digest.add(text, length, error)) return false;
        if (keepBases)
            for (size_t i = 0; i < length; ++i)
                genome.bases += upperBase(text[i]);
        return true;
    }
    void recordEnd() override {
        for (int64_t s : digest.starts())
            if (offset + s > genome.cuts.back()) genome.cuts.push_back(offset + s);
        offset += digest.length();
    }
    int64_t length() const { return offset; }

  private:
    Digest digest;
    bool keepBases;
    GenomeFrom& genome;
    int64_t offset = 0;
};

} // namespace

bool readGenomeFrom(const std::string& path, const std::string& site, bool keepBases,
                    GenomeFrom& genome, std::string& error) {
    genome = GenomeFrom();
    genome.cuts.push_back(0);
    GenomeSink sink(site, keepBases, genome);
    if (!readFasta(path, sink, error)) return false;
    if (genome.cuts.size() == 1) {
        error = path + ": no " + site + " site in the genome";
        return false;
    }
    if (sink.length() > genome.cuts.back()) genome.cuts.push_back(sink.length());
    return true;
}
