// lumo_configure interrupted: at a prompt (Ctrl-C or Ctrl-\ typed, a signal
// from elsewhere, the terminal closed) and while copying. It ends by the
// signal, leaves no output file and leaves the terminal's line editing as
// it found it.
#include "configureRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const long LINE_MODES = ECHO | ICANON | ISIG;

const char* const SCRIPT = "#!/bin/sh\n"
                           "# @(#) Configuration:\n"
                           "# @(#)$FIRST: lp   \n"
                           "# @(#)$SECOND: x\n";

TEST(ConfigureInterrupt, AtThePromptNoOutputAndTheTerminalRestored) {
    struct Case {
        const char* label;
        int sig;
        const char* key; // typed at the keyboard, else a signal from elsewhere
    };
    for (const Case& c : {Case{"Ctrl-C", SIGINT, "\x03"}, Case{"Ctrl-\\", SIGQUIT, "\x1c"},
                          Case{"SIGTERM", SIGTERM, nullptr}, Case{"SIGHUP", SIGHUP, nullptr}}) {
        SCOPED_TRACE(c.label);
        zetest::TempDir dir;
        zetest::writeFile(dir / "in", SCRIPT);
        // An earlier output is replaced by this run, so it goes too.
        zetest::writeFile(dir / "out", "an earlier copy\n");
        lumotest::TerminalSession term({dir / "in", dir / "out"});
        // The second prompt: the first line's answer is in the output's
        // buffer by then.
        ASSERT_TRUE(term.waitFor("$FIRST = lp")) << term.screen();
        term.type("laser\r");
        ASSERT_TRUE(term.waitFor("$SECOND = x")) << term.screen();
        // Readline edits the line itself meanwhile.
        EXPECT_NE(term.localModes() & LINE_MODES, LINE_MODES);
        if (c.key) term.type(c.key);
        else term.signal(c.sig);
        EXPECT_EQ(term.finish(), 128 + c.sig) << term.screen();
        EXPECT_FALSE(zetest::fileExists(dir / "out"));
        EXPECT_EQ(term.localModes() & LINE_MODES, LINE_MODES);
    }
}

TEST(ConfigureInterrupt, TerminalClosedAtThePromptNoOutput) {
    // Closing the terminal ends the input before any SIGHUP arrives, and
    // under a parent that ignores SIGHUP none does: either way the run
    // ends as by SIGHUP, also with the last prompt's answer half typed.
    for (bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "SIGHUP ignored" : "SIGHUP at its default");
        zetest::TempDir dir;
        zetest::writeFile(dir / "in", SCRIPT);
        lumotest::TerminalSession term({dir / "in", dir / "out"}, ignored);
        ASSERT_TRUE(term.waitFor("$FIRST = lp")) << term.screen();
        term.type("laser\r");
        ASSERT_TRUE(term.waitFor("$SECOND = x")) << term.screen();
        term.type("half");
        ASSERT_TRUE(term.waitFor("half")) << term.screen();
        EXPECT_EQ(term.hangUp(), 128 + SIGHUP);
        EXPECT_FALSE(zetest::fileExists(dir / "out"));
    }
}

TEST(ConfigureInterrupt, WhileCopyingNoOutput) {
    // The input is a pipe that delivers half the script and then stalls,
    // so the program is copying when Ctrl-C comes.
    zetest::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "in").c_str(), 0600), 0);
    lumotest::TerminalSession term({dir / "in", dir / "out"});
    int writer = open((dir / "in").c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    std::string half = "#!/bin/sh\n# plain text, no marker yet\n";
    ASSERT_EQ(write(writer, half.data(), half.size()), (ssize_t)half.size());
    ASSERT_TRUE(term.waitFor("To disable a command enter one or more spaces")) << term.screen();
    ASSERT_TRUE(zetest::fileExists(dir / "out"));
    term.type("\x03");
    EXPECT_EQ(term.finish(), 128 + SIGINT) << term.screen();
    close(writer);
    EXPECT_FALSE(zetest::fileExists(dir / "out"));
    EXPECT_EQ(term.localModes() & LINE_MODES, LINE_MODES);
}

TEST(ConfigureInterrupt, OutputOfAnotherKindIsNeverRemoved) {
    // Only a regular file goes: a link the output was given as stays, and
    // so does what it points to; so does a named pipe.
    for (bool link : {true, false}) {
        SCOPED_TRACE(link ? "symbolic link" : "named pipe");
        zetest::TempDir dir;
        zetest::writeFile(dir / "in", SCRIPT);
        int reader = -1;
        if (link) {
            ASSERT_EQ(symlink((dir / "target").c_str(), (dir / "out").c_str()), 0);
        } else {
            ASSERT_EQ(mkfifo((dir / "out").c_str(), 0600), 0);
            // A reader waits, so that the program's opening does not.
            reader = open((dir / "out").c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(reader, 0);
        }
        lumotest::TerminalSession term({dir / "in", dir / "out"});
        ASSERT_TRUE(term.waitFor("$FIRST = lp")) << term.screen();
        term.type("\x03");
        EXPECT_EQ(term.finish(), 128 + SIGINT) << term.screen();
        if (reader >= 0) close(reader);
        struct stat st;
        ASSERT_EQ(lstat((dir / "out").c_str(), &st), 0);
        EXPECT_TRUE(link ? S_ISLNK(st.st_mode) : S_ISFIFO(st.st_mode));
        if (link) {
            EXPECT_TRUE(zetest::fileExists(dir / "target"));
        }
    }
}

} // namespace
