// The info file reader on arbitrary file contents.
#include "fuzzSupport.h"
#include "zeInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    std::string path = scratchDir() + "/info";
    writeFile(path, data, size);
    try {
        ProjInfo p;
        p.readFrom(path.c_str());
        // The step copies the description and builds names from its words.
        ProjInfo copy(p);
        copy = p;
        dbString name = copy.gelnumber + copy.username + copy.compression;
        (void)name.len();
    } catch (const FuzzExit&) {
    }
    return 0;
}
