// The audio thread writes the meters and windows while the editor's thread reads them and moves the
// parameter; run under ThreadSanitizer this must report nothing, and every value read must be whole.
#include "tests/effects/vectorgram/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <random>
#include <thread>

using namespace vgtest;

TEST(VectorgramThreads, EditorReadsWhileAudioRuns)
{
    pinAnswer = 0;
    vectorgram effect(host);
    effect.resume();
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};

    // Every sample is a multiple of 1/1024 in -1..1: a torn or invented value would not be.
    auto whole = [](float v) { return v >= -1.0f && v <= 1.0f && v * 1024.0f == std::round(v * 1024.0f); };

    std::thread editor([&] {
        float left[24], right[24];
        int failures = 0;
        for (int k = 0; !done.load() || k < 50; ++k) {
            for (int c = 0; c < 2; ++c) failures += !(effect.getPeak(c) >= 0.0f && effect.getPeak(c) <= 1.0f);
            effect.getBitActivity(left, right);
            for (int s = 0; s < 24; ++s)
                failures += !(left[s] >= 0.0f && left[s] <= 1.0f && right[s] >= 0.0f && right[s] <= 1.0f);
            for (int i = 0; i < 512; i += 7)
                failures += !whole(effect.getCaptureLeft()[i].load(std::memory_order_relaxed)) +
                            !whole(effect.getCaptureRight()[i].load(std::memory_order_relaxed));
            effect.setParameter(0, static_cast<float>(k % 100) / 99.0f);
            char shown[32] = {};
            effect.getParameterDisplay(0, shown);
            const int samples = std::atoi(shown);
            failures += !(samples >= 10 && samples <= 512);
            reads.fetch_add(1);
        }
        EXPECT_EQ(failures, 0);
    });

    std::mt19937 random(9);
    std::vector<float> left(1024), right(1024);
    for (int block = 0; block < 3000; ++block) {
        const auto frames = static_cast<VstInt32>(1 + random() % 1024);
        for (VstInt32 i = 0; i < frames; ++i) {
            left[i] = static_cast<float>(static_cast<int>(random() % 2048) - 1024) / 1024.0f;
            right[i] = -left[i];
        }
        float* io[2] = {left.data(), right.data()};
        effect.processReplacing(io, io, frames);
    }
    done.store(true);
    editor.join();
    EXPECT_GT(reads.load(), 0);
}

// The host changes the sample rate on its control thread while the audio thread decays the held peaks
// by it. Clean under ThreadSanitizer, and every decay follows one of the rates the host set.
TEST(VectorgramThreads, SampleRateChangesWhileAudioRuns)
{
    pinAnswer = 0;
    vectorgram effect(host);
    AEffect* e = effect.getAeffect();
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    constexpr float rates[] = {44100.0f, 48000.0f, 96000.0f};
    constexpr std::size_t frames = 256;
    auto decayAt = [&](float rate) {
        return static_cast<float>(std::pow(static_cast<double>(0.001f), frames / (static_cast<double>(rate) * 0.1666)));
    };

    std::atomic<bool> done{false};
    std::thread control([&] {
        for (int k = 0; !done.load() || k < 200; ++k) {
            e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, rates[1 + k % 2]);
            e->dispatcher(e, effSetBlockSizeAndSampleRate, 0, 256, nullptr, rates[0]);
        }
    });

    Block kick(frames), quiet(frames);
    kick.left[0] = 1.0f;
    int unexplained = 0;
    for (int round = 0; round < 500; ++round) {
        kick.run(effect); // holds a peak of exactly 1
        quiet.run(effect); // which then falls by one block's decay
        const float peak = effect.getPeak(0);
        bool explained = false;
        for (float rate : rates) explained = explained || peak == decayAt(rate);
        unexplained += !explained;
    }
    done.store(true);
    control.join();
    EXPECT_EQ(unexplained, 0);
}
