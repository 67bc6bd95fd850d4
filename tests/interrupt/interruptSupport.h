// Runs of the real programs that the tests interrupt: started in the
// background with standard output read line by line, signalled at a chosen
// moment, and the files they leave compared with those of an undisturbed
// run.
#ifndef ZE_INTERRUPT_SUPPORT_H
#define ZE_INTERRUPT_SUPPORT_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace zeinterrupt {

// A program running in its own process group (as a terminal's foreground
// job is), standard input empty, standard output on a pipe, standard error
// collected. SIGINT and SIGQUIT are at their default actions in it.
class BackgroundRun {
  public:
    BackgroundRun(const std::string& program, const std::vector<std::string>& args,
                  const std::string& cwd);
    ~BackgroundRun(); // kills and collects a run not finished
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Reads standard output until it holds `lines` lines; false at its end.
    bool waitForLines(int lines);
    void signalGroup(int sig) const;   // the whole group, as Ctrl-C does
    void signalProgram(int sig) const; // the program alone
    // Reads standard output to its end and collects the program: the wait
    // status. Standard error is in err() afterwards.
    int finish();
    const std::string& out() const { return output; }
    const std::string& err() const { return errors; }

  private:
    bool readMore();
    pid_t child = -1;
    int outFd = -1;
    std::string errPath;
    std::string output;
    std::string errors;
    int linesSeen = 0;
};

// Waits until path exists (a file a command of the run creates); false
// after a generous guard against a run that never gets there.
bool waitForFile(const std::string& path);
// Waits until path no longer exists; false after the same guard.
bool waitUntilGone(const std::string& path);

// The files a run wrote into a project (inputs left out), each picture as
// its decompressed bytes: relative path, with a ".gz" dropped, to bytes.
// A picture present both compressed and not appears once per form, so
// every file is compared.
struct OutputFile {
    std::string name;  // as found, relative to the project
    std::string key;   // the name an uncompressed picture has
    std::string bytes; // decompressed for a .gz
};
std::vector<OutputFile> projectOutputs(const std::string& project);
std::map<std::string, std::string> outputsByKey(const std::vector<OutputFile>& files);

// Files of `trial` that differ from, or are missing in, the undisturbed
// run `reference` (by key); empty when every file matches.
std::vector<std::string> differences(const std::map<std::string, std::string>& reference,
                                     const std::vector<OutputFile>& trial);

// The five input files of project copied into a fresh directory dir.
void copyInputs(const std::string& project, const std::string& dir);

// "killed by signal N" or "exit status N", for messages.
std::string describe(int waitStatus);

} // namespace zeinterrupt

#endif
