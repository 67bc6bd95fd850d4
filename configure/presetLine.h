// Asking for a value at the terminal through GNU readline.
#ifndef LUMO_PRESET_LINE_H
#define LUMO_PRESET_LINE_H

// Shows prompt and reads one edited line from standard input. When readline
// reads from a terminal the current value is preloaded into the edit line
// with the cursor at its start, so Enter keeps it. Returns the line as
// readline allocated it (the caller frees it), or null at end of input.
// A terminal that has gone away meanwhile ends the program instead
// (endIfInputHungUp of terminalHangUp.h).
char* askValue(const char* prompt, const char* value);

#endif
