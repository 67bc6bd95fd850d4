// The cores this process may run on: under a batch system (taskset, a
// Slurm allocation) fewer than the machine has.
#ifndef ZE_CORES_H
#define ZE_CORES_H

// More threads than this would only cost memory and start-up time.
const int MAX_THREADS = 1024;

// At least 1, at most MAX_THREADS.
int everyCore();

#endif
