#include "zeCompareRun.h"

#include <iostream>
#include <string>
#include <vector>

#include "zeBandsInput.h"
#include "zeCompareOptions.h"
#include "zeInputChecks.h"
#include "zeComparePage.h"
#include "zeCores.h"
#include "zeError.h"
#include "zeOptions.h"
#include "zePairTable.h"
#include "zeSulston.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

int runCompare(int argc, char** argv) {
    CompareOptions o;
    std::string usage;
    if (!readCompareOptions(argc, argv, o, usage)) return failure(usage);
    if (o.help || o.version) return printHelpOrVersion(o.help ? compareUsage() : versionLine("zeCompare"));

    std::string clash;
    if (!inputsAreDistinct(o.files, o.html, clash)) return failure(clash);
    // A page that cannot be written is found now, not after all the scoring.
    CheckedOutput html;
    if (!o.html.empty()) html = CheckedOutput::replacing(o.html, OnWriteFailure::Quiet);
    if (!html.ok()) return failure(html.failureText());
    std::vector<Fingerprint> prints;
    std::string error;
    if (!readBandsFiles(o.files, prints, error, std::cerr)) return failure(error);

    ScanSettings settings;
    settings.tolerance = o.tolerance;
    settings.cutoff = o.cutoff;
    settings.threads = o.threads;
    settings.part = o.part;
    settings.parts = o.parts;

    CheckedOutput table = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
    StrongestPairs strongest(STRONGEST_PAIRS);
    long long passing = 0;
    table.write(pairTableHeader());
    std::string rows;
    bool complete = scanPairs(prints, settings, [&](const std::vector<PairScore>& batch) {
        rows.clear();
        for (const PairScore& p : batch) {
            appendPairRow(rows, prints, p);
            strongest.add(p);
        }
        passing += (long long)batch.size();
        return table.write(rows);
    });
    // A stopped scan has reported its failed write already.
    if (!table.finish() || !complete) return 1;

    if (o.html.empty()) return 0;
    ComparePageInput page;
    page.files = o.files;
    page.prints = &prints;
    page.tolerance = o.tolerance;
    page.cutoff = o.cutoff;
    page.pairsPassing = passing;
    page.strongest = strongest.sorted();
    if (html.finishWith(comparePage(page))) return 0;
    return failure(html.failureText());
}
