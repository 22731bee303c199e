// Peak level sensing: the magnitude of each sample, full scale at most.
#pragma once

#include <cmath>

class PeakSensor {
public:
    static float sense(float x)
    {
        const float level = std::fabs(x);
        return level <= 1.0f ? level : 1.0f; // NaN and infinities read as full scale
    }

    static void sense(const float* in, float* levels, int frames)
    {
        for (int i = 0; i < frames; ++i) levels[i] = sense(in[i]);
    }
};
