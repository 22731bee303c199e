// What hosts and audio throw at the effect: bad samples, silence that lasts, odd blocks and buffers.
#include "SqueezrTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>
#include <limits>
#include <vector>

using namespace squeezr_test;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::vector<float> tone(std::size_t frames, double amplitude, double hz)
{
    std::vector<float> v(frames);
    for (std::size_t i = 0; i < frames; ++i)
        v[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / 44100.0));
    return v;
}

void compressHard(squeezr& e, bool rms, bool linked)
{
    e.setParameter(squeezr::kThreshold, thresholdValue(-30.0f));
    e.setParameter(squeezr::kRatio, ratioValue(-7.0f));
    e.setParameter(squeezr::kKnee, 0.5f);
    e.setParameter(squeezr::kRelease, releaseValue(0.1f));
    e.setParameter(squeezr::kRmsMode, rms ? 1.0f : 0.0f);
    e.setParameter(squeezr::kStereoLink, linked ? 1.0f : 0.0f);
}

bool allFinite(const std::vector<float>& v)
{
    for (float x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

} // namespace

TEST(SqueezrRobustness, BadSamplesLeaveNoTrace)
{
    const std::size_t frames = 44100;
    const auto left = tone(frames, 0.3, 440), right = tone(frames, 0.2, 660);
    for (bool stereo : {false, true}) {
        for (bool rms : {false, true}) {
            for (bool linked : {false, true}) {
                if (!stereo && linked) continue;
                auto clean = makeEffect(stereo), dirty = makeEffect(stereo);
                compressHard(*clean, rms, linked);
                compressHard(*dirty, rms, linked);
                auto badLeft = left, badRight = right;
                const float bad[] = {kNaN, kInf, -kInf, 1e30f, -FLT_MAX, kNaN};
                for (std::size_t k = 0; k < std::size(bad); ++k) {
                    badLeft[1000 + 7 * k] = bad[k];
                    badRight[1003 + 5 * k] = bad[k];
                }
                Runner rc{*clean}, rd{*dirty};
                rc.run(left, right);
                rd.run(badLeft, badRight);
                // Three attack times after the last bad sample the two runs agree again (an envelope
                // knocked down to its floor would need five to climb back).
                for (std::size_t i = 1040 + 3 * 882; i < frames; ++i) {
                    ASSERT_NEAR(rd.out0[i], rc.out0[i], 1e-5f) << stereo << rms << linked << " @" << i;
                    if (stereo) {
                        ASSERT_NEAR(rd.out1[i], rc.out1[i], 1e-5f) << stereo << rms << linked << " @" << i;
                    }
                }
                for (VstInt32 m = 0; m < 6; ++m) EXPECT_TRUE(std::isfinite(dirty->getMeter(m))) << m;
                EXPECT_TRUE(std::isfinite(dirty->getVu()));
            }
        }
    }
}

TEST(SqueezrRobustness, HugePeaksKeepTheVuFinite)
{
    auto e = makeEffect(true);
    Runner r{*e};
    r.runConstant(FLT_MAX, -FLT_MAX, 64);
    EXPECT_TRUE(std::isfinite(e->getVu()));
    EXPECT_GT(e->getVu(), 1e38f);
    AEffect* a = e->getAeffect();
    EXPECT_EQ(a->dispatcher(a, effGetVu, 0, 0, nullptr, 0), 2147483647);

    // What is not a number never reaches a meter, so one infinity does not peg them for good.
    auto f = makeEffect(true);
    Runner r2{*f};
    auto left = tone(512, 0.3, 440), right = left;
    left[100] = kInf;
    right[200] = -kInf;
    left[300] = right[301] = kNaN;
    r2.run(left, right);
    for (VstInt32 m = squeezr::kInPeakL; m <= squeezr::kOutPeakR; ++m) EXPECT_NEAR(f->getMeter(m), 0.3f, 1e-3f) << m;
    for (int s = 0; s < 2; ++s) r2.runConstant(0.0f, 0.0f, 44100);
    for (VstInt32 m = squeezr::kInPeakL; m <= squeezr::kOutPeakR; ++m) EXPECT_LT(f->getMeter(m), 1e-3f) << m;
}

TEST(SqueezrRobustness, CompressesAgainAfterAMinuteOfSilence)
{
    // The note must be caught as fast after long silence as after a short pause: the envelope
    // climbs 100 dB from its floor in five attack times (0.1 s at 20 ms).
    for (bool rms : {false, true}) {
        auto e = makeEffect(true);
        e->setParameter(squeezr::kThreshold, thresholdValue(-20.0f));
        e->setParameter(squeezr::kRatio, ratioValue(-3.0f));
        e->setParameter(squeezr::kRelease, releaseValue(0.1f));
        e->setParameter(squeezr::kRmsMode, rms ? 1.0f : 0.0f);
        Runner r{*e};
        for (int s = 0; s < 60; ++s) r.runConstant(0.0f, 0.0f, 44100);
        // Denormal dust is silence too.
        r.runConstant(1e-41f, -1e-42f, 44100);
        r.runConstant(1.0f, 1.0f, 5513); // 0.125 s
        EXPECT_NEAR(dbOf(r.out0.back()), -15.0, 0.1) << rms;
        EXPECT_NEAR(dbOf(r.out1.back()), -15.0, 0.1) << rms;
    }
}

TEST(SqueezrRobustness, OddBlocksAndBuffers)
{
    auto e = makeEffect(true);
    compressHard(*e, true, false);
    std::vector<float> in(8192, 0.5f), out(8192, 0.0f);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data() + 4096};
    float* halfNull[2] = {in.data(), nullptr};

    e->processReplacing(nullptr, outs, 64);
    e->processReplacing(ins, nullptr, 64);
    e->processReplacing(halfNull, outs, 64);
    e->processReplacing(ins, halfNull, 64);
    e->processReplacing(ins, outs, 0);
    e->processReplacing(ins, outs, -512);
    EXPECT_EQ(out, std::vector<float>(8192, 0.0f));
    EXPECT_EQ(e->getMeter(squeezr::kInPeakL), 0.0f);

    // Blocks of one frame and one big block give the same audio.
    auto f = makeEffect(true);
    compressHard(*f, true, false);
    const auto left = tone(4096, 0.7, 100), right = tone(4096, 0.5, 150);
    Runner r1{*e}, r2{*f};
    r1.run(left, right, 1);
    r2.run(left, right, 4096);
    EXPECT_EQ(r1.out0, r2.out0);
    EXPECT_EQ(r1.out1, r2.out1);
    EXPECT_TRUE(allFinite(r1.out0));

    // In place, as many hosts do it.
    auto g = makeEffect(true);
    compressHard(*g, true, false);
    std::vector<float> l = left, rr = right;
    float* io[2] = {l.data(), rr.data()};
    g->processReplacing(io, io, 4096);
    EXPECT_EQ(l, r2.out0);
    EXPECT_EQ(rr, r2.out1);
}
