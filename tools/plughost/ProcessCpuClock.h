// The CPU time this process has used (user and system, all its threads), to show what idle calls cost.
#pragma once

#include <cstdint>

class ProcessCpuClock {
public:
    // Nanoseconds since the process started; 0 where the system cannot tell.
    static std::int64_t nowNs();

    // Sums the CPU time between each start and stop.
    void start() { started = nowNs(); }
    void stop()
    {
        total += nowNs() - started;
        ++count;
    }
    long passes() const { return count; }
    // Milliseconds per pass; 0 before the first.
    double msPerPass() const { return count ? double(total) / 1e6 / double(count) : 0.0; }

private:
    std::int64_t started = 0;
    std::int64_t total = 0;
    long count = 0;
};
