// +squeezr's stages on their own: level sensors, envelope, gain curve and smoothing. Expected values
// are worked out here from the rules each stage follows, in double precision, not read from the stages.
#include "effects/squeezr/EnvelopeFollower.h"
#include "effects/squeezr/GainCurve.h"
#include "effects/squeezr/GainSmoother.h"
#include "effects/squeezr/PeakSensor.h"
#include "effects/squeezr/RmsSensor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The root table's reading of a mean square m: sqrt(trunc(m x 65535)) / 256.
double rootOfMeanSquare(double m)
{
    return std::sqrt(std::trunc(m * 65535.0)) / 256.0;
}

TEST(SqueezrSensors, PeakIsTheMagnitudeUpToFullScale)
{
    EXPECT_EQ(PeakSensor::sense(-0.25f), 0.25f);
    EXPECT_EQ(PeakSensor::sense(0.75f), 0.75f);
    EXPECT_EQ(PeakSensor::sense(-3.0f), 1.0f);
    EXPECT_EQ(PeakSensor::sense(std::numeric_limits<float>::quiet_NaN()), 1.0f);
    EXPECT_EQ(PeakSensor::sense(-std::numeric_limits<float>::infinity()), 1.0f);
}

TEST(SqueezrSensors, RmsCoversTheLast64SamplesAndForgetsBadOnes)
{
    RmsSensor rms;
    float level = 0.0f;
    // A full-scale square wave reads as the table's top, just under 1.
    for (int i = 0; i < 64; ++i) level = rms.sense(i % 2 ? 1.0f : -1.0f);
    EXPECT_FLOAT_EQ(level, static_cast<float>(rootOfMeanSquare(1.0)));
    EXPECT_NEAR(level, 1.0f, 1e-5f);
    // Half the window silent: the mean square halves.
    for (int i = 0; i < 32; ++i) level = rms.sense(0.0f);
    EXPECT_FLOAT_EQ(level, static_cast<float>(rootOfMeanSquare(0.5)));
    // Silence empties the window within 64 samples, exactly.
    for (int i = 0; i < 32; ++i) level = rms.sense(0.0f);
    EXPECT_EQ(level, 0.0f);
    // A steady 0.75 (a square held exactly) reads its own level.
    for (int i = 0; i < 64; ++i) level = rms.sense(0.75f);
    EXPECT_FLOAT_EQ(level, static_cast<float>(rootOfMeanSquare(0.5625)));
    // Infinity and NaN count as one full-scale sample; a finite level far over full scale fills the
    // whole window at once. Either way the window forgets them 64 samples later.
    const auto fillWithHalf = [&] {
        for (int i = 0; i < 64; ++i) level = rms.sense(0.5f);
        EXPECT_FLOAT_EQ(level, static_cast<float>(rootOfMeanSquare(0.25)));
    };
    for (float bad : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        fillWithHalf();
        EXPECT_FLOAT_EQ(rms.sense(bad), static_cast<float>(rootOfMeanSquare((63 * 0.25 + 1.0) / 64.0))) << bad;
    }
    fillWithHalf();
    EXPECT_FLOAT_EQ(rms.sense(1e30f), static_cast<float>(rootOfMeanSquare(1.0)));
    fillWithHalf();
}

TEST(SqueezrSensors, TwoChannelsShareOneWindowLeftFirst)
{
    RmsSensor shared;
    const float left[32] = {}, right[32] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                            1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                            1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                            1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    float levelsL[32], levelsR[32];
    shared.sense(left, right, levelsL, levelsR, 32);
    // 32 frames fill the 64-sample window: each channel reads both, so both read half scale in power.
    EXPECT_FLOAT_EQ(levelsL[31], static_cast<float>(rootOfMeanSquare(31.0 / 64.0)));
    EXPECT_FLOAT_EQ(levelsR[31], static_cast<float>(rootOfMeanSquare(32.0 / 64.0)));
}

TEST(SqueezrEnvelope, FollowsSlowLevelsAndLimitsFastOnes)
{
    // Factors of 2 keep every step exact.
    constexpr float attack = 2.0f, release = 0.5f;
    EnvelopeFollower e;
    float env = 0.0f;
    for (int i = 0; i < 4; ++i) {
        e.age(attack, release);
        env = e.step(0.001f);
    }
    EXPECT_EQ(env, 0.001f);
    // A jump to full scale: doubling per sample until it arrives.
    for (float expected : {0.002f, 0.004f, 0.008f, 0.016f}) {
        e.age(attack, release);
        EXPECT_EQ(e.step(1.0f), expected);
    }
    // A level that moves within the factors is followed exactly.
    e.age(attack, release);
    EXPECT_EQ(e.step(0.025f), 0.025f);
    // Silence: halving per sample, down to the floor; from there it can rise again.
    e.age(attack, release);
    EXPECT_EQ(e.step(0.0f), 0.0125f);
    for (int i = 0; i < 200; ++i) {
        e.age(attack, release);
        env = e.step(0.0f);
    }
    EXPECT_EQ(env, EnvelopeFollower::kFloor * release);
    e.age(attack, release);
    EXPECT_EQ(e.step(1.0f), EnvelopeFollower::kFloor * attack);
}

TEST(SqueezrEnvelope, LinkedChannelsFollowTheLouder)
{
    EnvelopeFollower quiet, loud;
    quiet.age(1.0f, 1.0f);
    loud.age(1.0f, 1.0f);
    quiet.step<false>(0.1f);
    loud.step<false>(0.5f);
    EXPECT_EQ(EnvelopeFollower::link(quiet, loud), 0.5f);
    EXPECT_EQ(EnvelopeFollower::link(loud, quiet), 0.5f);
    // The quiet channel's fall now sits above its rise: the next step keeps the linked level.
    EXPECT_FALSE(quiet.ordered());
    quiet.age(1.0f, 1.0f);
    EXPECT_EQ(quiet.step(0.1f), 0.5f);
    EXPECT_TRUE(quiet.ordered());
}

TEST(SqueezrSmoothing, HalvesTheDistanceToTheTargetEachSample)
{
    GainSmoother g;
    EXPECT_EQ(g.value(), 1.0f);
    EXPECT_EQ(g.next(0.0f), 0.5f);
    EXPECT_EQ(g.next(0.0f), 0.25f);
    EXPECT_EQ(g.next(0.25f), 0.25f);
    GainSmoother other;
    other.follow(g);
    EXPECT_EQ(other.value(), 0.25f);
}

// The curve's gain in dB at level a, hard or soft knee, from the slope rules.
double expectedGainDb(double a, double thresholdDb, double ratio, double knee)
{
    const double aDb = 20.0 * std::log10(a);
    const double topDb = thresholdDb + 6.0 * knee, bottomDb = thresholdDb - 6.0 * knee;
    if (ratio <= 1.0) {
        if (aDb <= bottomDb) return 0.0;
        const double hard = (thresholdDb - aDb) * (1.0 - ratio);
        return aDb <= topDb ? hard * (aDb - bottomDb) / (12.0 * knee) : hard;
    }
    if (aDb > topDb) return 0.0;
    const double hard = (aDb - thresholdDb) * (ratio - 1.0);
    return aDb > bottomDb ? hard * (topDb - aDb) / (12.0 * knee) : hard;
}

TEST(SqueezrGainCurve, EntriesFollowTheSlopeAroundTheThreshold)
{
    struct Case {
        float ratio, thresholdDb, knee;
    };
    for (const Case c : {Case{0.25f, -20.0f, 0.0f}, Case{4.0f, -20.0f, 0.0f}, Case{1.0f / 40.0f, -30.0f, 1.0f},
                         Case{2.5f, -12.0f, 0.5f}, Case{1.0f, -40.0f, 0.0f}}) {
        GainCurve curve;
        EXPECT_NEAR(curve.setKnee(c.thresholdDb, c.knee), c.thresholdDb, 1e-5);
        curve.build(c.ratio);
        EXPECT_NEAR(curve.kneeTop(), std::pow(10.0, (c.thresholdDb + 6.0 * c.knee) / 20.0), 1e-6);
        EXPECT_NEAR(curve.kneeBottom(), std::pow(10.0, (c.thresholdDb - 6.0 * c.knee) / 20.0), 1e-6);
        for (int i : {0, 63, 400, 818, 1000, 2047, 2600, 4095, 6000, 8191}) {
            const double a = (i + 1) / 8192.0;
            const double expected = std::pow(10.0, expectedGainDb(a, c.thresholdDb, c.ratio, c.knee) / 20.0);
            EXPECT_NEAR(curve.entry(i), expected, expected * 2e-5) << c.ratio << " " << c.knee << " at " << i;
        }
    }
    // Compression 1:4 above -20 dB turns full scale into -15 dB.
    GainCurve curve;
    curve.setKnee(-20.0f, 0.0f);
    curve.build(0.25f);
    EXPECT_NEAR(curve.target<GainCurve::kOneChannelScale>(1.0f), std::pow(10.0, -0.75), 1e-6);
}

TEST(SqueezrGainCurve, InterpolatesBetweenEntriesAndStaysInTheTable)
{
    GainCurve curve;
    EXPECT_EQ(curve.target<GainCurve::kTwoChannelScale>(0.3f), 1.0f); // unity until built
    curve.setKnee(-30.0f, 0.0f);
    curve.build(0.5f);
    // Half-way between entries 4000 and 4001 in one-channel scale.
    const float e = 4000.5f / GainCurve::kOneChannelScale;
    const float x = e * GainCurve::kOneChannelScale;
    const double f = x - 4000.0;
    const double expected = curve.entry(4000) + (curve.entry(4001) - curve.entry(4000)) * f;
    EXPECT_NEAR(curve.target<GainCurve::kOneChannelScale>(e), expected, 1e-7);
    EXPECT_NE(curve.entry(4000), curve.entry(4001));
    // Envelopes beyond either end read the end entries, NaN the first.
    EXPECT_EQ(curve.target<GainCurve::kOneChannelScale>(5.0f), curve.entry(8191));
    EXPECT_EQ(curve.target<GainCurve::kTwoChannelScale>(5.0f), curve.entry(8190));
    EXPECT_EQ(curve.target<GainCurve::kOneChannelScale>(-1.0f), curve.entry(0));
    EXPECT_EQ(curve.target<GainCurve::kOneChannelScale>(std::numeric_limits<float>::quiet_NaN()), curve.entry(0));
}

TEST(SqueezrGainCurve, SoftKneeIsContinuousAtBothEdges)
{
    for (float ratio : {0.1f, 3.0f}) {
        GainCurve curve;
        curve.setKnee(-24.0f, 1.0f);
        curve.build(ratio);
        for (float edge : {curve.kneeBottom(), curve.kneeTop()}) {
            // The step across the edge is no larger than the curve's slope on either side makes it.
            const int i = static_cast<int>(edge * 8192.0f) - 1; // the entry at or just below the edge
            const auto stepDb = [&](int k) { return std::fabs(20.0 * std::log10(curve.entry(k + 1) / curve.entry(k))); };
            EXPECT_LE(stepDb(i), 1.5 * std::max(stepDb(i - 2), stepDb(i + 2)) + 1e-4) << ratio << " at " << edge;
            EXPECT_LT(stepDb(i), 0.2) << ratio << " at " << edge;
        }
    }
}

} // namespace
