// The reader of zeContig's table, which zePlace takes as its map and
// zeContig --previous as the build it carries contig numbers over from:
// the whole input is the table's text.
#include <string>

#include "fuzzSupport.h"
#include "zeContigTableReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ContigTableRow> rows;
    std::string error;
    if (!parseContigTable(text, "input", rows, error)) {
        expectRefusalNames(error, "input");
        return 0;
    }
    if (!error.empty()) fuzzFail("an accepted table with an error");
    for (const ContigTableRow& r : rows) {
        if (r.contig < 0 || r.contig > MOST_CONTIG_NUMBER) fuzzFail("a contig number out of range");
        if (r.ordinal < 1) fuzzFail("an ordinal below 1");
        if (r.contig == 0 ? r.left != -1 || r.right != -1 : r.left < 0 || r.left >= r.right)
            fuzzFail("a clone's ends out of order or out of range");
        for (int link : r.links)
            if (link < 1 || link > MOST_CONTIG_NUMBER) fuzzFail("a link out of range");
        // Any other byte may be in a name, as the bands files' names are
        // written here as they are.
        if (r.clone.find_first_of("\t\n") != std::string::npos ||
            r.gel.find_first_of("\t\n") != std::string::npos)
            fuzzFail("a clone or gel holding a line end or a tab");
    }
    return 0;
}
