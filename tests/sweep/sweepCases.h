// The hostile variants of a project that the sweep runs zeStep5 on: each
// case changes one input file of an intact project (or the project's
// Results entry) and leaves the rest as it was.
#ifndef ZE_SWEEP_CASES_H
#define ZE_SWEEP_CASES_H

#include <map>
#include <string>
#include <vector>

// How the changed entry appears in the project directory.
enum class EntryShape { FILE, MISSING, DIRECTORY };

struct SweepCase {
    std::string kind;    // "cut", "flip", "number", "header", "empty", "missing", "directory"
    std::string label;   // what was done, enough to redo it by hand
    std::string entry;   // the name in the project directory that is changed
    EntryShape shape = EntryShape::FILE;
    std::string content; // the new content when shape is FILE
};

// The project's input files by name, as read from the example project.
using ProjectFiles = std::map<std::string, std::string>;

// Every case for the given intact project; with reduced, about a third of
// them, spread over every kind and file.
std::vector<SweepCase> buildSweepCases(const ProjectFiles& project, bool reduced);

#endif
