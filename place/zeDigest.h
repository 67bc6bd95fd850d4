// The in-silico digest of a sequence: the restriction site found in both
// orientations (once for a palindrome), fed line by line so that a
// sequence is never held whole. A fragment runs from the start of one
// site to the start of the next; the partial pieces before the first site
// and after the last are no fragments, as a clone's end pieces are not.
//
// Bases: ACGT in either case. N and the IUPAC codes of ambiguous bases
// (RYSWKMBDHV) match no site base, so no site is found across them; they
// are counted. Any other byte is an error.
#ifndef ZE_DIGEST_H
#define ZE_DIGEST_H

#include <cstdint>
#include <string>
#include <vector>

// The site in upper case; false with `error` set when it holds anything
// but ACGT (either case) or is shorter than 4 or longer than 20 bases.
bool readSite(const std::string& text, std::string& site, std::string& error);

// The site of a named enzyme of the table (case ignored): HindIII, EcoRI,
// BamHI, ...; false with `error` listing the table's names otherwise.
bool enzymeSite(const std::string& name, std::string& site, std::string& error);

struct SequenceFragment {
    int64_t start = 0;  // 0-based, in the sequence
    int64_t length = 0; // bases, from its site to the next site
};

class Digest {
  public:
    explicit Digest(const std::string& site);
    void start(); // a new sequence
    // False with `error` naming the byte at the first bad character.
    bool add(const char* text, size_t length, std::string& error);
    // The fragments of the sequence fed since start(), in order.
    std::vector<SequenceFragment> fragments() const;
    int64_t length() const { return at; }
    long sites() const { return (long)siteStarts.size(); }
    // Where each site found since start() begins, ascending.
    const std::vector<int64_t>& starts() const { return siteStarts; }
    int64_t ambiguousBases() const { return ambiguous; }

  private:
    std::string site, reverse;
    uint64_t forwardCode = 0, reverseCode = 0, window = 0, mask = 0;
    int64_t at = 0, clean = 0; // bases since the last N or ambiguous base
    int64_t ambiguous = 0;
    std::vector<int64_t> siteStarts;
};

#endif
