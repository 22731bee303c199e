#include "tools/plughost/ProcessCpuClock.h"

#include <time.h>

std::int64_t ProcessCpuClock::nowNs()
{
    timespec t{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0) return 0;
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}
