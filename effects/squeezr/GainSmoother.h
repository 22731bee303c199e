// One-pole smoothing of the gain: each sample halves the distance to the target.
#pragma once

class GainSmoother {
public:
    float next(float target)
    {
        // Halving is exact, so this is gain x 0.5 + target x 0.5 to the last bit.
        gain = (gain + target) * 0.5f;
        return gain;
    }

    float value() const { return gain; }
    // Linked channels: this one takes the gain the other has just reached.
    void follow(const GainSmoother& other) { gain = other.gain; }

private:
    float gain = 1.0f;
};
