// zePlace's FASTA reader, plain and gzip-compressed, with the digest of
// zePlace behind it. The first byte chooses how the rest reaches the
// reader, the second where a compressed form is split or cut:
//
//   0  the bytes as they are (a gzip file among them, when they are one)
//   1  gzipped whole: the reader must see what it sees in the bytes as they
//      are (unless they start as gzip does, and so are read as gzip)
//   2  gzipped as two members one after the other: the same
//   3  gzipped and cut short: always refused
//   4  gzipped with bytes after the stream: always refused
#include <zlib.h>

#include <cstring>

#include "fuzzSupport.h"
#include "zeDigest.h"
#include "zeFastaReader.h"

namespace {

// Short, so that inputs of a few KB reach the refusal of a long line.
const size_t MOST_LINE = 1024;

std::string gzipped(const std::string& text) {
    z_stream z;
    memset(&z, 0, sizeof z);
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        abort();
    std::string out(deflateBound(&z, text.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = (uInt)text.size();
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = (uInt)out.size();
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) abort();
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Everything the reader hands over, written down, with its promises checked
// as it comes: names are one word, lines come in order and hold no line end.
class RecordingSink : public FastaSink {
  public:
    std::string trace;

    bool record(const std::string& name, long line, std::string& error) override {
        if (name.empty()) fuzzFail("a record without a name");
        for (unsigned char c : name)
            if (c == ' ' || c == '\t' || c == '\n' || c < 0x20 || c == 0x7f)
                fuzzFail("a name holding a blank or a control character");
        if (open) fuzzFail("a record started before the last one ended");
        checkLine(line);
        open = true;
        digest.start();
        trace += ">" + name + " " + std::to_string(line) + "\n";
        // The program's own refusal of a repeated name is the sink's to make.
        if (name == "repeated") {
            error = "a sink's refusal";
            return false;
        }
        return true;
    }
    bool bases(const char* text, size_t length, long line, std::string& error) override {
        if (!open) fuzzFail("bases outside a record");
        if (length == 0 || length > MOST_LINE) fuzzFail("a bases line empty or over the limit");
        if (memchr(text, '\n', length)) fuzzFail("a line end inside a line");
        checkLine(line);
        trace.append(text, length);
        trace += "\n";
        return digest.add(text, length, error);
    }
    void recordEnd() override {
        if (!open) fuzzFail("the end of a record never started");
        open = false;
        int64_t last = -1;
        for (const SequenceFragment& f : digest.fragments()) {
            if (f.start <= last || f.length <= 0 || f.start + f.length > digest.length())
                fuzzFail("a fragment out of order or outside its sequence");
            last = f.start;
        }
        if (digest.ambiguousBases() > digest.length()) fuzzFail("more ambiguous bases than bases");
        trace += "end\n";
    }
    bool ended() const { return !open; }

  private:
    void checkLine(long line) {
        if (line <= lastLine) fuzzFail("line numbers not ascending");
        lastLine = line;
    }
    Digest digest{"AAGCTT"};
    bool open = false;
    long lastLine = 0;
};

struct Reading {
    bool ok;
    std::string trace, error;
};

Reading readBack(const std::string& path, const std::string& bytes) {
    writeFile(path, bytes);
    RecordingSink sink;
    Reading r;
    r.ok = readFasta(path, sink, r.error, MOST_LINE);
    if (r.ok ? !sink.ended() || !r.error.empty() : r.error.compare(0, path.size() + 1, path + ":") != 0)
        fuzzFail("a refusal that does not name the file, or an accepted file left open");
    r.trace = sink.trace;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    int mode = in.takeByte() % 5;
    uint8_t where = in.takeByte();
    std::string text(reinterpret_cast<const char*>(in.rest()), in.restSize());
    const std::string path = scratchDir() + "/in.fa.gz";
    if (mode == 0) {
        readBack(path, text);
        return 0;
    }
    std::string packed = gzipped(text);
    if (mode == 1 || mode == 2) {
        if (mode == 2) {
            size_t split = text.size() * where / 255;
            packed = gzipped(text.substr(0, split)) + gzipped(text.substr(split));
        }
        Reading plain = readBack(path, text), unpacked = readBack(path, packed);
        // A text that starts as gzip does is read as gzip itself.
        bool gzipText = text.compare(0, 2, "\x1f\x8b") == 0;
        if (!gzipText &&
            (plain.ok != unpacked.ok || plain.trace != unpacked.trace || plain.error != unpacked.error))
            fuzzFail("the gzip file read otherwise than its text");
        return 0;
    }
    if (mode == 3)
        packed.resize(packed.size() - 1 - (packed.size() - 1) * where / 255);
    else
        packed += std::string(1 + where % 8, (char)(where | 1));
    if (readBack(path, packed).ok) fuzzFail("a damaged gzip file accepted");
    return 0;
}
