// For the span of one processing call: denormal results become zero and denormal operands read as
// zero; the host's own setting comes back afterwards. A multiply that meets a denormal costs a
// microcode assist on most cores, which turns a quiet tail into the most expensive audio of all.
// All our builds do their float maths in SSE (the compile options see to it); a build without it
// would have no such switch and keep the host's setting.
#pragma once

#if defined(__SSE_MATH__) || defined(_M_X64)
#include <xmmintrin.h>
#define TW_HAS_DENORMAL_GUARD 1
#endif

class DenormalGuard {
public:
#if defined(TW_HAS_DENORMAL_GUARD)
    DenormalGuard() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
    ~DenormalGuard() { _mm_setcsr(saved); }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(TW_HAS_DENORMAL_GUARD)
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved;
#endif
};
