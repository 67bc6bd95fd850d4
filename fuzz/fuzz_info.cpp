// The info file reader on arbitrary file contents. It must return, never
// end the process: an exit would reach the harness's exit handler, whose
// exception nothing here catches, and crash.
#include "fuzzSupport.h"
#include "zeInfo.h"
#include "zeInfoGeometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    std::string path = scratchDir() + "/info";
    writeFile(path, data, size);
    ProjInfo p;
    std::string error;
    InfoRead read = readInfoFile(path.c_str(), p, error);
    if ((read == InfoRead::Read) != error.empty()) fuzzFail("a message without a failure, or none");
    if (read == InfoRead::Read) (void)infoGeometryUsable(p, error);
    // The step copies the description and builds names from its words.
    ProjInfo copy(p);
    copy = p;
    dbString name = copy.gelnumber + copy.username + copy.compression;
    (void)name.len();
    return 0;
}
