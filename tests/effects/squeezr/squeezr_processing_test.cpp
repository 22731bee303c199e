// The audio path: gain curve, envelope, smoothing, channel modes, bypass and meters.
#include "SqueezrTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

using namespace squeezr_test;

namespace {

// A deterministic, music-like test signal: a few partials under a slow swell. It starts loud, so
// the envelope holds it from the first sample.
std::vector<float> music(std::size_t frames, double phase = 0.0)
{
    std::vector<float> v(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        const double swell = 0.05 + 0.6 * (0.5 + 0.5 * std::sin(2 * std::numbers::pi * 1.7 * t + phase));
        v[i] = static_cast<float>(swell * (0.6 * std::cos(2 * std::numbers::pi * 220 * t + phase) +
                                           0.3 * std::sin(2 * std::numbers::pi * 1330 * t) + 0.1 * std::sin(2 * std::numbers::pi * 4100 * t)));
    }
    return v;
}

// The static curve in dB for a level in dB, hard knee, from the parameter definitions.
double hardKneeGainDb(double levelDb, double thresholdDb, double ratio)
{
    if (ratio <= 1.0) return levelDb > thresholdDb ? (thresholdDb - levelDb) * (1.0 - ratio) : 0.0;
    return levelDb < thresholdDb ? (levelDb - thresholdDb) * (ratio - 1.0) : 0.0;
}

// The curve's entry i holds level (i + 1) / 8192 and is read at envelope x scale (8191 for one
// channel, 8190 for two), so a level reads slightly louder than it is; audible only near -60 dB.
double tableDb(double levelDb, bool stereo)
{
    return dbOf((linOf(levelDb) * (stereo ? 8190.0 : 8191.0) + 1.0) / 8192.0);
}

struct Setting {
    float ratioSetting;
    float thresholdDb;
    float knee = 0.0f;
    bool stereo = false;
};

// Gain in dB that a fresh instance settles at for a constant level.
double settledGainDb(const Setting& s, double levelDb)
{
    auto e = makeEffect(s.stereo);
    e->setParameter(squeezr::kThreshold, thresholdValue(s.thresholdDb));
    e->setParameter(squeezr::kRatio, ratioValue(s.ratioSetting));
    e->setParameter(squeezr::kKnee, s.knee);
    const auto level = static_cast<float>(linOf(levelDb));
    Runner r{*e};
    r.runConstant(level, s.stereo ? level : 0.0f, 256);
    return dbOf(r.out0.back() / level);
}

// Index of the first sample that differs in any bit, or -1.
long firstDifference(const std::vector<float>& got, const std::vector<float>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::bit_cast<std::uint32_t>(got[i]) != std::bit_cast<std::uint32_t>(expected[i])) return long(i);
    return -1;
}

} // namespace

// Ratio 1 with makeup 0 dB is transparent: every sample comes out as it went in, to the bit, loud
// (far above the -40 dB threshold) and quiet alike, in every sensing and channel mode.
TEST(SqueezrProcessing, InitialProgramPassesAudioBitForBitApartFromMakeup)
{
    const auto left = music(20000), right = music(20000, 1.0);
    for (bool stereo : {true, false}) {
        for (float rms : {0.0f, 1.0f}) {
            for (float link : {0.0f, 1.0f}) {
                auto e = makeEffect(stereo);
                e->setParameter(squeezr::kRmsMode, rms);
                e->setParameter(squeezr::kStereoLink, link);
                Runner r{*e};
                r.run(left, right);
                const char* mode = stereo ? "two channels" : "one channel";
                EXPECT_EQ(firstDifference(r.out0, left), -1) << mode << ", rms " << rms << ", link " << link;
                if (stereo) {
                    EXPECT_EQ(firstDifference(r.out1, right), -1) << "rms " << rms << ", link " << link;
                }
            }
        }
    }

    auto e = makeEffect(true);
    Runner r{*e};
    e->setParameter(squeezr::kMakeup, makeupValue(30.0f));
    r.run(left, right);
    for (std::size_t i = 0; i < left.size(); i += 97)
        ASSERT_NEAR(r.out0[i], left[i] * linOf(30.0), 1e-4 * std::fabs(left[i]) * linOf(30.0) + 1e-9) << i;
}

TEST(SqueezrProcessing, OneChannelCompressionSettlesByHalvesAt15dBDown)
{
    auto e = makeEffect(false);
    e->setParameter(squeezr::kThreshold, thresholdValue(-20.0f));
    e->setParameter(squeezr::kRatio, 36.0f / 42.0f);
    Runner r{*e};
    r.runConstant(1.0f, 0.0f, 64);
    const double target = std::pow(10.0, -0.75);
    EXPECT_NEAR(r.out0.back(), target, 1e-5);
    EXPECT_NEAR(r.out0.back(), 0.178, 5e-4);
    // From unity, the distance to the target halves every sample.
    for (int i = 0; i < 20; ++i)
        EXPECT_NEAR(r.out0[i], target + (1.0 - target) * std::pow(0.5, i + 1), 1e-5) << i;
}

TEST(SqueezrProcessing, TwoChannelExpansionTakes60dBOffAt40dB)
{
    const Setting expander{3.0f, -20.0f, 0.0f, true};
    EXPECT_NEAR(settledGainDb(expander, -40.0), -60.0, 0.5);
    // Above the threshold an expander leaves the signal alone.
    EXPECT_NEAR(settledGainDb(expander, -6.0), 0.0, 1e-4);
}

TEST(SqueezrProcessing, HardKneeFollowsTheStaticCurve)
{
    for (float setting : {-39.0f, -3.0f, -1.0f, 1.0f, 3.0f}) {
        const double ratio = setting <= 0 ? -1.0 / (setting - 1.0) : setting + 1.0;
        for (float thresholdDb : {-40.0f, -12.0f}) {
            for (double levelDb : {-50.0, -30.0, -18.0, -6.0, -0.5}) {
                const double expected = hardKneeGainDb(tableDb(levelDb, false), thresholdDb, ratio);
                EXPECT_NEAR(settledGainDb({setting, thresholdDb}, levelDb), expected,
                            0.05 + 0.01 * std::fabs(expected))
                    << "ratio " << ratio << " threshold " << thresholdDb << " level " << levelDb;
            }
        }
    }
}

TEST(SqueezrProcessing, SoftKneeIsContinuousAndBlendsTheCurve)
{
    const double thresholdDb = -20.0;
    for (float setting : {-3.0f, 3.0f}) {
        const double ratio = setting <= 0 ? -1.0 / (setting - 1.0) : setting + 1.0;
        const Setting soft{setting, -20.0f, 1.0f}; // 12 dB wide, -26 to -14 dB
        for (double edgeDb : {-26.0, -14.0}) {
            const double below = settledGainDb(soft, edgeDb - 0.01);
            const double above = settledGainDb(soft, edgeDb + 0.01);
            EXPECT_NEAR(below, above, 0.15) << "ratio " << ratio << " edge " << edgeDb;
        }
        // Outside the knee: unity on the quiet side of compression and the loud side of expansion,
        // the hard curve on the other.
        const double quiet = settledGainDb(soft, -32.0);
        const double loud = settledGainDb(soft, -8.0);
        if (ratio < 1) {
            EXPECT_NEAR(quiet, 0.0, 1e-4);
            EXPECT_NEAR(loud, hardKneeGainDb(-8.0, thresholdDb, ratio), 0.05);
        } else {
            EXPECT_NEAR(loud, 0.0, 1e-4);
            EXPECT_NEAR(quiet, hardKneeGainDb(tableDb(-32.0, false), thresholdDb, ratio), 0.05);
        }
        // Inside, the hard gain scaled by the share of the knee crossed from its unity edge.
        const double inside = settledGainDb(soft, -17.0);
        const double crossed = ratio < 1 ? (-17.0 + 26.0) / 12.0 : (-14.0 + 17.0) / 12.0;
        const double hard = ratio < 1 ? (thresholdDb + 17.0) * (1 - ratio) : (-17.0 - thresholdDb) * (ratio - 1);
        EXPECT_NEAR(inside, hard * crossed, 0.03) << "ratio " << ratio;
    }
}

TEST(SqueezrProcessing, EnvelopeRisesAndFallsAtTheSetRates)
{
    // 1:4 above -40 dB: the gain shows the envelope, 0.75 dB down for every dB above the threshold.
    auto e = makeEffect(false);
    e->setParameter(squeezr::kThreshold, thresholdValue(-40.0f));
    e->setParameter(squeezr::kRatio, ratioValue(-3.0f));
    e->setParameter(squeezr::kAttack, attackValue(10.0f));
    e->setParameter(squeezr::kRelease, releaseValue(1.0f));
    auto gainAtEnvelope = [](double envelopeDb) { return (-40.0 - envelopeDb) * 0.75; };
    Runner r{*e};
    r.runConstant(1.0f, 0.0f, 2048);
    EXPECT_NEAR(dbOf(r.out0.back()), gainAtEnvelope(0.0), 0.01);
    // 20 dB down: the envelope falls 20 dB per release time, so a quarter second later it is 5 dB down.
    r.runConstant(0.1f, 0.0f, 11025);
    EXPECT_NEAR(dbOf(r.out0.back() / 0.1f), gainAtEnvelope(-5.0), 0.05);
    r.runConstant(0.1f, 0.0f, 44100);
    EXPECT_NEAR(dbOf(r.out0.back() / 0.1f), gainAtEnvelope(-20.0), 0.01);
    // 20 dB up: 20 dB take one attack time (441 samples); after half of it the envelope is 10 dB up.
    r.runConstant(1.0f, 0.0f, 220, 220);
    EXPECT_NEAR(dbOf(r.out0.back()), gainAtEnvelope(-20.0 + 20.0 * 220 / 441), 0.05);
}

TEST(SqueezrProcessing, StereoLinkUsesTheLouderChannel)
{
    auto e = makeEffect(true);
    e->setParameter(squeezr::kThreshold, thresholdValue(-20.0f));
    e->setParameter(squeezr::kRatio, ratioValue(-3.0f));
    Runner r{*e};
    r.runConstant(0.5f, 0.02f, 4096);
    const double loud = hardKneeGainDb(tableDb(dbOf(0.5), true), -20.0, 0.25);
    EXPECT_NEAR(dbOf(r.out0.back() / 0.5f), loud, 0.01);
    EXPECT_NEAR(dbOf(r.out1.back() / 0.02f), 0.0, 1e-4);

    e->setParameter(squeezr::kStereoLink, 1.0f);
    r.runConstant(0.5f, 0.02f, 4096);
    EXPECT_NEAR(dbOf(r.out0.back() / 0.5f), loud, 0.01);
    EXPECT_NEAR(dbOf(r.out1.back() / 0.02f), loud, 0.01);
    EXPECT_EQ(e->getMeter(squeezr::kGainL), e->getMeter(squeezr::kGainR));
}

TEST(SqueezrProcessing, RmsSensing)
{
    // One channel: a full-scale square wave reads as full scale, so it is compressed like a peak of 1.0.
    {
        auto e = makeEffect(false);
        e->setParameter(squeezr::kThreshold, thresholdValue(-20.0f));
        e->setParameter(squeezr::kRatio, 36.0f / 42.0f);
        e->setParameter(squeezr::kRmsMode, 1.0f);
        std::vector<float> square(4096);
        for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 50) % 2 ? 1.0f : -1.0f;
        Runner r{*e};
        r.run(square, square);
        EXPECT_NEAR(std::fabs(r.out0.back()), std::pow(10.0, -0.75), 1e-4);
    }
    // Two channels share one window: a square on the left only reads 3 dB down on both sides.
    {
        auto e = makeEffect(true);
        e->setParameter(squeezr::kThreshold, thresholdValue(-20.0f));
        e->setParameter(squeezr::kRatio, 36.0f / 42.0f);
        e->setParameter(squeezr::kRmsMode, 1.0f);
        std::vector<float> square(4096), faint(4096);
        for (std::size_t i = 0; i < square.size(); ++i) {
            square[i] = (i / 50) % 2 ? 1.0f : -1.0f;
            faint[i] = 1e-4f;
        }
        Runner r{*e};
        r.run(square, faint);
        const double expected = hardKneeGainDb(dbOf(std::sqrt(0.5)), -20.0, 0.25);
        EXPECT_NEAR(dbOf(std::fabs(r.out0.back())), expected, 0.05);
        EXPECT_NEAR(dbOf(r.out1.back() / 1e-4), expected, 0.05);
    }
}

TEST(SqueezrProcessing, BypassCopiesAndFreezesTheState)
{
    auto a = makeEffect(true), b = makeEffect(true);
    for (auto* e : {a.get(), b.get()}) {
        e->setParameter(squeezr::kThreshold, thresholdValue(-30.0f));
        e->setParameter(squeezr::kRatio, ratioValue(-5.0f));
    }
    Runner ra{*a}, rb{*b};
    const auto left = music(5000), right = music(5000, 2.0);
    ra.run(left, right);
    rb.run(left, right);

    b->setBypass(true);
    const auto other = music(3000, 0.5), another = music(3000, 1.5);
    const float compressedPeak = b->getMeter(squeezr::kOutPeakL);
    rb.run(other, another);
    EXPECT_EQ(rb.out0, other);
    EXPECT_EQ(rb.out1, another);
    // The meters follow the copied signal, far above what the compressor let through.
    EXPECT_GT(b->getMeter(squeezr::kOutPeakL), 4 * compressedPeak);

    // In place, too.
    std::vector<float> l = other, r = other;
    float* io[2] = {l.data(), r.data()};
    b->processReplacing(io, io, 3000);
    EXPECT_EQ(l, other);

    // Back on, it carries on exactly where it stopped, as if the bypassed audio never came.
    b->setBypass(false);
    ra.run(right, left);
    rb.run(right, left);
    EXPECT_EQ(ra.out0, rb.out0);
    EXPECT_EQ(ra.out1, rb.out1);
}

TEST(SqueezrProcessing, OneChannelModeLeavesTheSecondOutputAlone)
{
    auto e = makeEffect(false);
    e->setParameter(squeezr::kThreshold, thresholdValue(-30.0f));
    e->setParameter(squeezr::kRatio, ratioValue(-5.0f));
    const auto left = music(2000);
    std::vector<float> right(2000, 0.9f), out0(2000), out1(2000, 123.0f);
    float* ins[2] = {const_cast<float*>(left.data()), right.data()};
    float* outs[2] = {out0.data(), out1.data()};
    e->processReplacing(ins, outs, 2000);
    EXPECT_EQ(out1, std::vector<float>(2000, 123.0f));
    EXPECT_LT(e->getMeter(squeezr::kOutPeakL), e->getMeter(squeezr::kInPeakL));
    EXPECT_EQ(e->getMeter(squeezr::kInPeakL), e->getMeter(squeezr::kInPeakR));
    EXPECT_EQ(e->getMeter(squeezr::kOutPeakL), e->getMeter(squeezr::kOutPeakR));
    float inMax = 0, outMax = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        inMax = std::max(inMax, std::fabs(left[i]));
        outMax = std::max(outMax, std::fabs(out0[i]));
    }
    EXPECT_EQ(e->getMeter(squeezr::kInPeakL), inMax);
    EXPECT_EQ(e->getMeter(squeezr::kOutPeakL), outMax);

    e->setBypass(true);
    std::fill(out1.begin(), out1.end(), 123.0f);
    e->processReplacing(ins, outs, 2000);
    EXPECT_EQ(out0, left);
    EXPECT_EQ(out1, std::vector<float>(2000, 123.0f));
}

TEST(SqueezrProcessing, MetersDecayOnceEveryTenthOfASecond)
{
    for (float rate : {44100.0f, 48000.0f, 0.0f}) { // a rate of 0 counts as 44100
        auto e = makeEffect(true, rate);
        Runner r{*e};
        r.runConstant(0.8f, -0.4f, 512);
        EXPECT_EQ(e->getMeter(squeezr::kInPeakL), 0.8f);
        EXPECT_EQ(e->getMeter(squeezr::kInPeakR), 0.4f);
        EXPECT_GT(e->getVu(), 0.59f);
        EXPECT_LT(e->getVu(), 0.61f);
        // The count first exceeds a tenth of a second after 9 blocks at 44100 and 10 at 48000.
        const int period = rate == 48000.0f ? 10 : 9;
        float expected = 0.8f;
        for (int block = 2; block <= 3 * period; ++block) {
            r.runConstant(0.0f, 0.0f, 512);
            if (block % period == 0) expected *= 0.7f;
            ASSERT_FLOAT_EQ(e->getMeter(squeezr::kInPeakL), expected) << rate << " block " << block;
        }
        EXPECT_FLOAT_EQ(e->getMeter(squeezr::kInPeakR), 0.4f * 0.7f * 0.7f * 0.7f);
    }
    // An empty block adds nothing to the count but still runs the check (here against a lower rate).
    auto e = makeEffect(true);
    Runner r{*e};
    r.runConstant(1.0f, 1.0f, 4000, 4000);
    EXPECT_EQ(e->getMeter(squeezr::kInPeakL), 1.0f);
    e->setSampleRate(22050.0f);
    float* none[2] = {nullptr, nullptr};
    e->processReplacing(none, none, 0);
    EXPECT_FLOAT_EQ(e->getMeter(squeezr::kInPeakL), 0.7f);
}
