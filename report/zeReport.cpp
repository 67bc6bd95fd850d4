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
    StepData d;
    d.projectDir = projectDir;
    std::string error;
    if (!loadReportProject(d, error)) {
        // One line for the project; the next is still reported.
        printError(error);
        anyFailed = true;
        return;
    }
    std::string path = std::string(projectDir) + "/report.html";
    std::cout << "Write report '" << path << "'" << std::endl;
    ReportFigures figures;
    if (!writeReportFile(path, reportPage(d, &figures))) {
        anyFailed = true;
        return;
    }
    std::string figuresPath = std::string(projectDir) + "/report-summary.tsv";
    if (!writeReportFile(figuresPath, reportFiguresText(figures))) anyFailed = true;
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
