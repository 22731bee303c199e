// RMS level sensing over a window of the last 64 samples fed to it: one running sum and one table read
// per sample, no square root. Two channels share one window, fed left then right for each frame.
#pragma once

#include "effects/squeezr/SampleMath.h"

#include <cmath>
#include <cstdint>
#include <memory>

class RmsSensor {
public:
    static constexpr int kLength = 64;
    static constexpr int kTableSize = 65536;

    RmsSensor();

    // The level after x enters the window: about the root of the mean of the window's squares.
    float sense(float x)
    {
        float s = x * x;
        if (!(s <= kMaxSquare)) s = std::isfinite(x) ? kMaxSquare : 1.0f;
        const auto q = static_cast<std::int32_t>(s * kSquareUnit);
        sum += q - window[pos];
        window[pos] = q;
        pos = (pos + 1) & (kLength - 1);
        const float k = sample_math::clampIndex(static_cast<float>(sum) * kRootScale, kTableSize - 1.0f);
        return roots[static_cast<std::int32_t>(k)]; // the table ends below 1.0
    }

    void sense(const float* in, float* levels, int frames)
    {
        for (int i = 0; i < frames; ++i) levels[i] = sense(in[i]);
    }

    // Both channels of each frame, left first, into the one window.
    void sense(const float* in0, const float* in1, float* levels0, float* levels1, int frames)
    {
        for (int i = 0; i < frames; ++i) {
            levels0[i] = sense(in0[i]);
            levels1[i] = sense(in1[i]);
        }
    }

private:
    static_assert((kLength & (kLength - 1)) == 0, "the window index wraps by mask");
    // One square this large already fills the whole window to full scale; anything bigger changes
    // nothing but the precision of the running sum.
    static constexpr float kMaxSquare = static_cast<float>(kLength);
    // Squares are kept in units of 2^-24: the running sum is then exact and never drifts from its
    // window. Far finer than the root table can tell apart (its first step is a sum of 1/1024).
    static constexpr float kSquareUnit = 16777216.0f;
    static_assert(kMaxSquare * kSquareUnit <= 2147483647.0f);
    // A sum of squares to a root-table index: the mean square scaled to the table's last entry
    // (65535 / 64), and out of fixed point. Exact: the fixed-point unit is a power of two.
    static constexpr float kRootScale = (kTableSize - 1.0f) / kLength / kSquareUnit;

    std::unique_ptr<float[]> roots; // roots[i] = sqrt(i) / 256
    std::int32_t window[kLength] = {};
    std::int32_t pos = 0;
    std::int64_t sum = 0;
};
