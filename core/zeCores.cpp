#include "zeCores.h"

#include <algorithm>
#include <thread>
#ifdef __linux__
#include <sched.h>
#endif

int everyCore() {
    unsigned cores = std::thread::hardware_concurrency();
#ifdef __linux__
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) cores = (unsigned)CPU_COUNT(&allowed);
#endif
    return (int)std::max(1u, std::min((unsigned)MAX_THREADS, cores));
}
