// zePlace's check of zeContig's GFF3 file against the map's table. The
// first byte gives the table's contigs (0 to 7), one byte each their end
// (0: a number without clones); the rest is the GFF3 file.
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "zeMapGff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    std::vector<long> ends(1 + in.takeByte() % 8, 0);
    for (size_t n = 1; n < ends.size(); ++n)
        ends[n] = in.takeByte();
    std::string text(reinterpret_cast<const char*>(in.rest()), in.restSize());
    MapGff gff;
    std::string error;
    if (!parseMapGff(text, "input", ends, gff, error)) {
        expectRefusalNames(error, "input");
        return 0;
    }
    if (gff.text.compare(0, 15, "##gff-version 3") != 0 || gff.text.back() != '\n')
        fuzzFail("an accepted file without its version line or its last line end");
    if (gff.text.find("\r\n") != std::string::npos) fuzzFail("a Windows line end kept");
    for (const std::string& id : gff.ids)
        if (id.empty() || gff.text.find("ID=" + id) == std::string::npos)
            fuzzFail("an ID that is not in the text");
    // What is kept is a file of the same map: read again, it is the same.
    MapGff again;
    if (!parseMapGff(gff.text, "again", ends, again, error) || again.text != gff.text ||
        again.ids != gff.ids)
        fuzzFail("the kept text not read back as itself");
    return 0;
}
