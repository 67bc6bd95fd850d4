// The tiling path of a map zeContig already wrote, computed again: reads
// the bands files and the contig table, rebuilds the map from the table
// and writes the path table to MTP, as zeContig --mtp would. The path's
// rule can so be measured on one library's map in seconds, without the
// pair scan and the layout again: on a run kept by bench/map_bench.py
// --keep DIR,
//
//   ze_mtp_replay [-t TOL] [--mtp-shared N] MTP TABLE BANDSFILE...
//   ze_mtp_replay new.tsv DIR/RUN/contigs.tsv DIR/RUN/library/*.bands
//   python3 bench/map_quality.py DIR/RUN/library/truth.tsv DIR/RUN/contigs.tsv --coverage 10 --mtp new.tsv
#include <cstdio>
#include <string>
#include <vector>

#include "table_map.h"
#include "zeContigInput.h"
#include "zeError.h"
#include "zeTilingPath.h"
#include "zeTilingTable.h"
#include "zeWriteCheck.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int tolerance = 7, shared = DEFAULT_MTP_SHARED;
    while (args.size() >= 2 && (args[0] == "-t" || args[0] == "--mtp-shared")) {
        (args[0] == "-t" ? tolerance : shared) = std::stoi(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 3) {
        fprintf(stderr, "USAGE:  ze_mtp_replay [-t TOL] [--mtp-shared N] MTP TABLE BANDSFILE...\n");
        return 1;
    }
    std::vector<std::string> files(args.begin() + 2, args.end());
    std::vector<Fingerprint> prints;
    ContigMap map;
    std::string error;
    if (!readContigInput(files, prints, error) || !readTableMap(args[1], prints, map, error)) {
        printError(error);
        return 1;
    }
    std::vector<std::vector<TilingStep>> paths = tilingPaths(prints, map, shared, tolerance);
    CheckedOutput out = CheckedOutput::replacing(args[0], OnWriteFailure::Quiet);
    if (!out.finishWith(tilingTableHeader() + tilingTableRows(prints, map, paths))) {
        printError(out.failureText());
        return 1;
    }
    return 0;
}
