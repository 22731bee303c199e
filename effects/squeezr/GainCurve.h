// The static gain curve: linear gain for 8192 detected levels, built with logarithms and powers when
// ratio, threshold or knee change, and read per sample by linear interpolation only.
#pragma once

#include "effects/squeezr/SampleMath.h"

#include <cstdint>
#include <memory>

class GainCurve {
public:
    static constexpr int kSize = 8192;
    // Envelope scales: one channel can reach the last entry; two channels stop one short of it.
    static constexpr int kOneChannelScale = kSize - 1;
    static constexpr int kTwoChannelScale = kSize - 2;

    GainCurve(); // unity everywhere until built

    // Knee edges for a threshold in dB and a knee amount 0..1 (a knee 12 x knee dB wide, centred on the
    // threshold). Answers the threshold as the curve uses it: its round trip through the linear value.
    float setKnee(float thresholdDb, float knee);
    // Entries for a slope: ratio <= 1 compresses above the threshold, ratio > 1 expands below it.
    void build(float ratio);

    // The gain for an envelope e, read at e x scale between two entries.
    template <int Scale>
    float target(float e) const
    {
        constexpr auto scale = static_cast<float>(Scale);
        const float x = sample_math::clampIndex(e * scale, scale);
        const auto n = static_cast<std::int32_t>(x);
        const float f = x - static_cast<float>(n);
        const float* const t = table.get();
        return t[n] + (t[n + 1] - t[n]) * f;
    }

    float entry(int i) const { return table[i]; }
    float kneeTop() const { return top; }
    float kneeBottom() const { return bottom; }

private:
    // One entry more than the curve: a copy of the last, so that interpolation never needs a branch.
    std::unique_ptr<float[]> table;
    float thresholdDb = 0.0f;
    float knee = 0.0f;
    float top = 1.0f, bottom = 1.0f, bottomDb = 0.0f;
};
