// A bounded envelope: it follows the level exactly while the level moves slowly enough, and otherwise
// rises by at most the attack factor and falls by at most the release factor per sample.
#pragma once

#include "effects/squeezr/SampleMath.h"

class EnvelopeFollower {
public:
    // -100 dB: the bounds never sink below it, so they can always grow again.
    static constexpr float kFloor = 0.00001f;

    // Widens the bounds by one sample's worth: rise x attack (above 1), fall x release (below 1).
    void age(float attack, float release)
    {
        fall *= release;
        rise *= attack;
    }

    // The level limited to the aged bounds, which then both take the result (or the floor).
    // While fall <= rise this limit is a plain clamp, free of branches. Only linking raises a fall above
    // its own rise, so only linked mode and the step after it need the tests in their order.
    template <bool Ordered>
    float step(float level)
    {
        using namespace sample_math;
        float e;
        if constexpr (Ordered)
            e = larger(smaller(level, rise), fall);
        else
            e = level < fall ? fall : smaller(level, rise);
        const float bound = larger(kFloor, e);
        fall = bound;
        rise = bound;
        return e;
    }

    float step(float level) { return ordered() ? step<true>(level) : step<false>(level); }

    bool ordered() const { return !(fall > rise); }

    // Linked channels: both falls take the larger, which is the level the pair's gain follows.
    static float link(EnvelopeFollower& a, EnvelopeFollower& b)
    {
        if (b.fall > a.fall)
            a.fall = b.fall;
        else
            b.fall = a.fall;
        return a.fall;
    }

private:
    float fall = 0.0f;
    float rise = 1.0f;
};
