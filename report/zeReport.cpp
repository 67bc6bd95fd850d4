// zeReport: writes report.html into each project directory given, a
// quality-control page of the gel's normalisation (summary, calibration,
// normalised gel, replicates), and beside it report-summary.tsv, the page's
// key figures for batch tools. Nothing else in the project is written or
// removed.
#include <cstring>
#include <iostream>

#include "zeCli.h"
#include "zeError.h"
#include "zeProjectLock.h"
#include "zeReplacedFile.h"
#include "zeReportPage.h"
#include "zeReportProject.h"
#include "zeSignalCleanup.h"
#include "zeVersion.h"

namespace {

bool giveReportHelp = false;
bool anyFailed = false;

void reportHelp() {
    std::cout << "USAGE:  zeReport luprojname..." << std::endl;
    std::cout << "Writes report.html and report-summary.tsv into each project directory." << std::endl;
    std::cout << "  -h, --help   this text" << std::endl;
    std::cout << "  --version    the version" << std::endl;
    std::cout << "Exit status 0 when every report was written, 1 otherwise." << std::endl;
}

void reportProject(cli&, const char* projectDir) {
    // Shared with other reports, refused while a step rewrites the outputs.
    ProjectLock lock;
    if (!lock.acquire(projectDir, ProjectLock::SHARED)) {
        printError(projectBusyMessage(projectDir, "zeStep5"));
        anyFailed = true;
        return;
    }
    // Both files are written under temporary names and renamed over the
    // old ones when complete, so that a failed or interrupted run leaves
    // the previous report. Their places are tried before the work; the
    // project's own errors still come first.
    std::string path = std::string(projectDir) + "/report.html";
    std::string figuresPath = std::string(projectDir) + "/report-summary.tsv";
    ReplacedFile page, summary;
    std::string error;
    bool placed = page.open(path, error) && summary.open(figuresPath, error);
    StepData d;
    d.projectDir = projectDir;
    if (!loadReportProject(d)) {
        anyFailed = true;
        return;
    }
    if (!placed) {
        printError(error);
        anyFailed = true;
        return;
    }
    std::cout << "Write report '" << path << "'" << std::endl;
    ReportFigures figures;
    std::string html = reportPage(d, &figures);
    if (!page.commit(html, error) || !summary.commit(reportFiguresText(figures), error)) {
        printError(error);
        anyFailed = true;
    }
}

} // namespace

int main(int argc, char** argv) {
    installSignalCleanup();
    // The long options stand alone; the single-letter flags go to the parser.
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--help") == 0) {
            reportHelp();
            return 0;
        }
        if (strcmp(argv[i], "--version") == 0) {
            std::cout << versionLine("zeReport");
            return 0;
        }
    }
    cli c(argc, argv, reportHelp);
    c += cliParam('h', giveReportHelp);
    c += cliParam(reportProject);
    c.go();
    if (giveReportHelp) reportHelp();
    return anyFailed ? 1 : 0;
}
