// Reading a FASTA file as a stream, one line at a time, plain or
// gzip-compressed (one gzip member or several one after another, as `cat`
// joins them): a genome is never held whole. A record is a header line
// "><name> [description]" and its lines of bases.
// Refused, with "<path>:<line>: <what>": text before the first header, a
// header with no bases before the next header or the end, a header with no
// name or with a control character in its name, a line longer than
// MOST_FASTA_LINE bytes, and a gzip stream that is corrupt, cut short or
// followed by bytes that start no other member.
#ifndef ZE_FASTAREADER_H
#define ZE_FASTAREADER_H

#include <cstddef>
#include <string>

// Far longer than any FASTA line (60 to 80 bases, or a whole sequence on
// one line of a short record), and short enough to hold in memory.
const size_t MOST_FASTA_LINE = 64u << 20;

class FastaSink {
  public:
    virtual ~FastaSink() = default;
    // A record starts: its name (the header's first word) and line. False
    // stops the read with `error` as the sink set it.
    virtual bool record(const std::string& name, long line, std::string& error) = 0;
    // One line of its bases, without the line end. False stops the read
    // with `error` as the sink set it (a bad character, say).
    virtual bool bases(const char* text, size_t length, long line, std::string& error) = 0;
    // The record's last line has been given.
    virtual void recordEnd() = 0;
};

// False with `error` set to the text of an ERROR line (without "ERROR: ").
// A file with no record at all is refused too.
bool readFasta(const std::string& path, FastaSink& sink, std::string& error,
               size_t mostLine = MOST_FASTA_LINE);

#endif
