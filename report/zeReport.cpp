// zeReport: writes report.html into each project directory given, a
// quality-control page of the gel's normalisation (summary, calibration,
// normalised gel, replicates), and beside it report-summary.tsv, the page's
// key figures for batch tools. Nothing else in the project is written or
// removed.
#include <iostream>
#include <string>
#include <vector>

#include "zeError.h"
#include "zeOptions.h"
#include "zeProjectLock.h"
#include "zeReportPage.h"
#include "zeReportProject.h"
#include "zeSignalCleanup.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

const char* PROGRAM = "zeReport";

bool anyFailed = false;

const char* USAGE = "USAGE:  zeReport luprojname...\n"
                    "Writes report.html and report-summary.tsv into each project directory.\n"
                    "  -h, --help   this text\n"
                    "  --version    the version\n"
                    "Exit status 0 when every report was written, 1 otherwise.\n";

void reportProject(const char* projectDir) {
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
    CheckedOutput page = CheckedOutput::replacing(path, OnWriteFailure::Quiet);
    CheckedOutput summary;
    if (page.ok()) summary = CheckedOutput::replacing(figuresPath, OnWriteFailure::Quiet);
    StepData d;
    d.projectDir = projectDir;
    std::string error;
    if (!loadReportProject(d, error)) {
        // One line for the project; the next is still reported.
        printError(error);
        anyFailed = true;
        return;
    }
    for (const CheckedOutput* out : {&page, &summary})
        if (!out->ok()) {
            printError(out->failureText());
            anyFailed = true;
            return;
        }
    std::cout << "Write report '" << path << "'" << std::endl;
    ReportFigures figures;
    std::string html = reportPage(d, &figures);
    if (!page.finishWith(html)) {
        printError(page.failureText());
        anyFailed = true;
    } else if (!summary.finishWith(reportFiguresText(figures))) {
        printError(summary.failureText());
        anyFailed = true;
    }
}

} // namespace

int main(int argc, char** argv) {
    installSignalCleanup();
    const std::vector<OptionRule> rules = {HELP_OPTION, VERSION_OPTION};
    CommandLine line;
    std::string error;
    if (!readCommandLine(argc, argv, PROGRAM, rules, line, error)) {
        printError(error);
        return 1;
    }
    // The help and the version stand alone: no project is read.
    bool help = false, version = false;
    for (const GivenOption& given : line.options)
        (rules[given.rule].longName == "help" ? help : version) = true;
    if (help) return printHelpOrVersion(USAGE);
    if (version) return printHelpOrVersion(versionLine(PROGRAM));
    for (const std::string& projectDir : line.operands)
        reportProject(projectDir.c_str());
    return anyFailed ? 1 : 0;
}
