// lumo_configure ended by SIGINT, SIGTERM or SIGHUP (Ctrl-C at a prompt, a
// closed terminal): the output, not yet complete, is removed and the
// program ends by the same signal. At a prompt, readline first puts the
// terminal back as it found it and then hands the signal on to this
// handler (its own signal handling, left on).
#ifndef LUMO_CONFIGURE_SIGNALS_H
#define LUMO_CONFIGURE_SIGNALS_H

// From now on an ending signal removes output_name (a regular file only:
// never a device, never through a link). The name is copied.
void removeOutputOnSignal(const char* output_name);
// Blocks the ending signals, and lets them through again (a signal that
// came meanwhile is then handled).
void holdEndingSignals();
void releaseEndingSignals();
// The output is complete, or was dealt with otherwise: a signal leaves it.
void keepOutputOnSignal();

#endif
