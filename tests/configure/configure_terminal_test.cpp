// lumo_configure at a real terminal: the current value is preloaded into
// the edit line with the cursor at its start.
#include "configureRun.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConfigureTerminal, CurrentValueIsPreloadedAndEditable) {
    zetest::TempDir dir;
    zetest::writeFile(dir / "in", "#!/bin/sh\n"
                                  "# @(#) Configuration:\n"
                                  "# @(#)$KEEP: lp   \n"
                                  "# @(#)$KILL: lp   \n"
                                  "# @(#)$INSERT: lp   \n");
    lumotest::TerminalSession term({dir / "in", dir / "out"});
    ASSERT_TRUE(term.waitFor("To disable a command enter one or more spaces")) << term.screen();

    // Enter at once keeps the preloaded value.
    ASSERT_TRUE(term.waitFor("$KEEP = lp")) << term.screen();
    term.type("\r");
    // Ctrl-K at the start of the line kills the whole value.
    ASSERT_TRUE(term.waitFor("$KILL = lp")) << term.screen();
    term.type("\x0blaser\r");
    // Typing before anything else inserts at the start.
    ASSERT_TRUE(term.waitFor("$INSERT = lp")) << term.screen();
    term.type("x\r");

    EXPECT_EQ(term.finish(), 0) << term.screen();
    EXPECT_EQ(zetest::readFile(dir / "out"), "#!/bin/sh\n"
                                             "# @(#) Configuration:\n"
                                             "# @(#)$KEEP: lp   \n"
                                             "# @(#)$KILL: laser\n"
                                             "# @(#)$INSERT: xlp  \n");
}

TEST(ConfigureTerminal, EmptyValuePreloadsNothing) {
    // The value of the line before must not linger in the edit line.
    zetest::TempDir dir;
    zetest::writeFile(dir / "in", "@(#)Configuration:\n@(#)$FIRST: old\n@(#)$EMPTY:    \n");
    lumotest::TerminalSession term({dir / "in", dir / "out"});
    ASSERT_TRUE(term.waitFor("$FIRST = old")) << term.screen();
    term.type("\r");
    ASSERT_TRUE(term.waitFor("$EMPTY = ")) << term.screen();
    term.type("on\r");
    EXPECT_EQ(term.finish(), 0) << term.screen();
    EXPECT_EQ(zetest::readFile(dir / "out"),
              "@(#)Configuration:\n@(#)$FIRST: old\n@(#)$EMPTY: on \n");
}

} // namespace
