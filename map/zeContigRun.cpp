#include "zeContigRun.h"

#include <iostream>
#include <string>
#include <vector>

#include "zeContigGff.h"
#include "zeContigInput.h"
#include "zeContigNames.h"
#include "zeContigOptions.h"
#include "zeContigPage.h"
#include "zeContigTable.h"
#include "zeContigTableReader.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeMapBuild.h"
#include "zeOptions.h"
#include "zeTilingPath.h"
#include "zeTilingTable.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

int fail(const std::string& what) {
    printError(what);
    return 1;
}

// The earlier table may be the table written now (a map rebuilt in
// place: it is read before it is replaced), but no other output.
bool previousIsKept(const ContigOptions& o, std::string& error) {
    for (const NamedOutput& out :
         std::vector<NamedOutput>{{"tiling path", o.mtp}, {"GFF file", o.gff}, {"page", o.html}})
        if (!out.path.empty() && (out.path == o.previous || sameFile(out.path, o.previous))) {
            error = "the " + out.kind + " '" + out.path + "' is the previous table '" + o.previous +
                    "': it would be written over";
            return false;
        }
    return true;
}

// An output written to a file given on the command line, or to standard
// output when none was given.
struct Output {
    std::string path;
    CheckedOutput file;
};

bool writeOutput(Output& out, const std::string& bytes, std::string& error) {
    if (!out.path.empty()) {
        if (out.file.finishWith(bytes)) return true;
        error = out.file.failureText();
        return false;
    }
    CheckedOutput stream = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
    return stream.finishWith(bytes);
}

} // namespace

int runContig(int argc, char** argv) {
    ContigOptions o;
    std::string error;
    if (!readContigOptions(argc, argv, o, error)) return fail(error);
    if (o.help || o.version) return printHelpOrVersion(o.help ? contigUsage() : versionLine("zeContig"));
    if (!inputsAreDistinct(o.files,
                           {{"table", o.output}, {"tiling path", o.mtp}, {"GFF file", o.gff},
                            {"page", o.html}},
                           error))
        return fail(error);
    if (!o.previous.empty() && !previousIsKept(o, error)) return fail(error);

    // The outputs' places are tried before the inputs are read and scored.
    Output table, mtp, gff, page;
    table.path = o.output;
    mtp.path = o.mtp;
    gff.path = o.gff;
    page.path = o.html;
    for (Output* out : {&table, &mtp, &gff, &page}) {
        if (out->path.empty()) continue;
        out->file = CheckedOutput::replacing(out->path, OnWriteFailure::Quiet);
        if (!out->file.ok()) return fail(out->file.failureText());
    }

    std::vector<ContigTableRow> previous;
    if (!o.previous.empty() && !readContigTable(o.previous, previous, error)) return fail(error);
    std::vector<Fingerprint> prints;
    if (!readContigInput(o.files, prints, error)) return fail(error);
    ContigMap map = buildMap(prints, o.map);
    if (!o.previous.empty()) {
        ContigNames names = nameContigs(prints, map, previous);
        renumberContigs(map, names.numberOf);
        for (const std::string& note : names.notes)
            std::cerr << note << std::endl;
    }
    std::vector<std::vector<TilingStep>> paths;
    if (!o.mtp.empty() || !o.gff.empty() || !o.html.empty())
        paths = tilingPaths(prints, map, o.mtpShared, o.map.tolerance);

    // Standard output's own failure has been told already.
    if (!writeOutput(table, contigTableHeader() + contigTableRows(prints, map), error))
        return o.output.empty() ? 1 : fail(error);
    if (!o.mtp.empty() &&
        !writeOutput(mtp, tilingTableHeader() + tilingTableRows(prints, map, paths), error))
        return fail(error);
    if (!o.gff.empty() && !writeOutput(gff, contigGff(prints, map, paths), error))
        return fail(error);
    if (!o.html.empty()) {
        ContigPageInput in;
        in.files = o.files;
        in.prints = &prints;
        in.map = &map;
        in.settings = o.map;
        in.table = o.output;
        in.tilingPath.assign(prints.size(), 0);
        for (const std::vector<int>& path : tilingPrints(paths))
            for (int v : path)
                in.tilingPath[(size_t)v] = 1;
        if (!writeOutput(page, contigPage(in), error)) return fail(error);
    }
    return 0;
}
