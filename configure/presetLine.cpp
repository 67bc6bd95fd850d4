#include "presetLine.h"

#include "configLine.h"
#include "terminalHangUp.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <readline/readline.h>

namespace {

// The value preset_line puts into the edit line.
char value_buf[LINEBUF_MAX];

// Readline's pre-input hook. From a pipe or file there is no one to edit
// the text, so nothing is preloaded and the answer is taken as read.
int preset_line() {
    FILE* in = rl_instream ? rl_instream : stdin;
    if (!isatty(fileno(in))) return 0;
    rl_insert_text(value_buf);
    rl_end = (int)strlen(value_buf);
    rl_point = 0;
    rl_redisplay();
    return 0;
}

} // namespace

char* askValue(const char* prompt, const char* value) {
    snprintf(value_buf, sizeof value_buf, "%s", value);
    rl_pre_input_hook = preset_line;
    rl_getc_function = readKeyNotingFailure;
    char* answer = readline(prompt);
    endIfInputHungUp();
    return answer;
}
