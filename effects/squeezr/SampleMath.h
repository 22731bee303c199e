// Minimum, maximum and table-index limits for the per-sample stages of +squeezr.
#pragma once

namespace sample_math {

// Spelled so that the compiler can use one max or min instruction for each.
inline float larger(float a, float b)
{
    return a > b ? a : b;
}

inline float smaller(float a, float b)
{
    return b < a ? b : a;
}

// A table index in 0..top, NaN taken as 0, before any conversion to an integer.
inline float clampIndex(float x, float top)
{
    return smaller(larger(x, 0.0f), top);
}

} // namespace sample_math
