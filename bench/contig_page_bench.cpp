// What zeContig's page adds to a run, measured apart from the map: reads
// the bands files as zeContig does and the contig table it wrote from
// them, rebuilds the map from the table, then times the page (building
// it, and writing it to PAGE) over several rounds and prints its size and
// the best and median times. The pair scan and the layout of a large
// library take minutes; this way the page's own share is measured once
// the table exists.
//
//   ze_contig_page_bench [--rounds N] PAGE TABLE BANDSFILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "table_map.h"
#include "zeContigInput.h"
#include "zeContigPage.h"
#include "zeError.h"
#include "zeWriteCheck.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int rounds = 5;
    if (args.size() >= 2 && args[0] == "--rounds") {
        rounds = std::max(1, std::stoi(args[1]));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 3) {
        fprintf(stderr, "USAGE:  ze_contig_page_bench [--rounds N] PAGE TABLE BANDSFILE...\n");
        return 1;
    }
    ContigPageInput in;
    in.files.assign(args.begin() + 2, args.end());
    std::vector<Fingerprint> prints;
    ContigMap map;
    std::string error;
    Clock::time_point start = Clock::now();
    if (!readContigInput(in.files, prints, error) || !readTableMap(args[1], prints, map, error)) {
        printError(error);
        return 1;
    }
    printf("read %zu fingerprints and %d contigs in %.0f ms\n", prints.size(), map.contigs,
           millisecondsSince(start));
    in.prints = &prints;
    in.map = &map;
    in.table = args[1];

    std::vector<double> build, write;
    size_t bytes = 0;
    for (int round = 0; round < rounds; ++round) {
        start = Clock::now();
        std::string page = contigPage(in);
        build.push_back(millisecondsSince(start));
        start = Clock::now();
        CheckedOutput out = CheckedOutput::replacing(args[0], OnWriteFailure::Quiet);
        if (!out.finishWith(page)) {
            printError(out.failureText());
            return 1;
        }
        write.push_back(millisecondsSince(start));
        bytes = page.size();
    }
    std::sort(build.begin(), build.end());
    std::sort(write.begin(), write.end());
    printf("page: %zu bytes (%.2f MB)\n", bytes, bytes / 1e6);
    printf("building it: best %.1f ms, median %.1f ms; writing it: best %.1f ms, median %.1f ms "
           "(%d rounds)\n",
           build.front(), build[build.size() / 2], write.front(), write[write.size() / 2], rounds);
    return 0;
}
