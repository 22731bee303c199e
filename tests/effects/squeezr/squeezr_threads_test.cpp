// One thread plays audio while another turns knobs, switches programs and reads the meters, as a
// host's audio and user-interface threads do. Run under ThreadSanitizer this proves the hand-over.
#include "SqueezrTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

using namespace squeezr_test;

TEST(SqueezrThreads, AudioAndControlRunSideBySide)
{
    auto e = makeEffect(true);
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::atomic<bool> finite{true};

    std::thread audio([&] {
        std::vector<float> in0(512), in1(512), out0(512), out1(512);
        unsigned n = 0;
        while (!stop.load()) {
            for (std::size_t i = 0; i < 512; ++i, ++n) {
                in0[i] = static_cast<float>(0.8 * std::sin(n * 0.031));
                in1[i] = static_cast<float>(0.5 * std::sin(n * 0.017));
            }
            float* ins[2] = {in0.data(), in1.data()};
            float* outs[2] = {out0.data(), out1.data()};
            e->processReplacing(ins, outs, 512);
            for (std::size_t i = 0; i < 512; ++i)
                if (!std::isfinite(out0[i]) || !std::isfinite(out1[i])) finite.store(false);
            blocks.fetch_add(1);
        }
    });

    unsigned seed = 7;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    };
    char text[256];
    float lastThreshold = 0.0f;
    for (int round = 0; round < 4000 || blocks.load() < 200; ++round) {
        const auto index = static_cast<VstInt32>(next() * 8.0f);
        const float value = next();
        e->setParameter(index, value);
        if (index == squeezr::kThreshold) lastThreshold = value;
        if (round % 97 == 0) {
            e->setProgram(static_cast<VstInt32>(next() * 10.0f));
            lastThreshold = e->getParameter(squeezr::kThreshold);
        }
        if (round % 13 == 0) e->setBypass(next() < 0.2f);
        for (VstInt32 m = 0; m < 6; ++m) (void)e->getMeter(m);
        (void)e->getVu();
        e->getParameterDisplay(index, text);
    }
    // The last threshold stored must survive whatever rebuild was under way.
    e->setParameter(squeezr::kThreshold, 0.25f);
    lastThreshold = 0.25f;
    const int seen = blocks.load();
    while (blocks.load() < seen + 3) std::this_thread::yield();
    stop.store(true);
    audio.join();

    EXPECT_TRUE(finite.load());
    EXPECT_NEAR(e->getParameter(squeezr::kThreshold), lastThreshold, 1e-5f);

    // No change was lost on the way: the curve in use is the one a fresh instance builds from the
    // same settings.
    e->setBypass(false);
    auto fresh = makeEffect(true);
    for (VstInt32 i = 0; i < squeezr::kNumParams; ++i) fresh->setParameter(i, e->getParameter(i));
    Runner played{*e}, reference{*fresh};
    played.runConstant(1.0f, 0.5f, 44100);
    reference.runConstant(1.0f, 0.5f, 44100);
    EXPECT_NEAR(dbOf(played.out0.back()), dbOf(reference.out0.back()), 0.01);
    EXPECT_NEAR(dbOf(played.out1.back()), dbOf(reference.out1.back()), 0.01);
}

// Hosts deliver automation on their audio thread between blocks, while their control thread changes
// the sample rate and the program. Clean under ThreadSanitizer, and the attack coefficient always
// belongs to one of the times and rates in play.
TEST(SqueezrThreads, AutomationOnTheAudioThreadWhileTheRateChanges)
{
    auto e = makeEffect(true);
    AEffect* a = e->getAeffect();
    constexpr float rates[] = {44100.0f, 48000.0f, 96000.0f};
    constexpr float times[] = {10.0f, 30.0f, 20.0f}; // automated in turn, and the programs' own
    std::atomic<bool> done{false};
    std::thread control([&] {
        for (int k = 0; !done.load() || k < 200; ++k) {
            a->dispatcher(a, effSetSampleRate, 0, 0, nullptr, rates[1 + k % 2]);
            a->dispatcher(a, effSetBlockSizeAndSampleRate, 0, 512, nullptr, rates[0]);
            a->dispatcher(a, effSetProgram, 0, k % squeezr::kNumPrograms, nullptr, 0);
        }
    });

    std::vector<float> in0(512, 0.25f), in1(512, -0.25f), out0(512), out1(512);
    float* ins[2] = {in0.data(), in1.data()};
    float* outs[2] = {out0.data(), out1.data()};
    int unexplained = 0;
    for (int block = 0; block < 1000; ++block) {
        a->setParameter(a, squeezr::kAttack, attackValue(times[block % 2]));
        a->processReplacing(a, ins, outs, 512);
        const double coef = e->attackCoefficient();
        bool explained = false;
        for (float ms : times)
            for (float rate : rates)
                explained = explained || std::fabs(coef - std::pow(10.0, 1.0 / (ms * 0.001 * rate))) < 1e-6;
        unexplained += !explained;
    }
    done.store(true);
    control.join();
    EXPECT_EQ(unexplained, 0);
}
