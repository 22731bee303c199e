// Processing shared by both builds; this file is compiled into the VST and the Pro Tools test programs.
#include "tests/effects/vectorgram/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace vgtest;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class VectorgramProcessing : public ::testing::Test {
protected:
    VectorgramProcessing() : effect(host)
    {
        pinAnswer = 0;
        effect.resume(); // opens the VST build's gate; the Pro Tools build has none
    }

    std::vector<float> activity(int channel)
    {
        std::vector<float> left(24), right(24);
        effect.getBitActivity(left.data(), right.data());
        return channel == 0 ? left : right;
    }

    vectorgram effect;
};

// Frame k of a run carries k / 1024 on the left and its negative on the right, so a window shows
// exactly which frames it holds.
Block numbered(std::size_t first, std::size_t frames)
{
    Block b(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        b.left[i] = static_cast<float>(first + i + 1) / 1024.0f;
        b.right[i] = -b.left[i];
    }
    return b;
}

std::vector<float> framesOf(std::size_t first, std::size_t count) // the left values of numbered frames
{
    std::vector<float> v;
    for (std::size_t k = first; k < first + count; ++k) v.push_back(static_cast<float>(k + 1) / 1024.0f);
    return v;
}

std::vector<float> window(const std::atomic<float>* w)
{
    std::vector<float> v(512);
    for (int i = 0; i < 512; ++i) v[i] = w[i].load();
    return v;
}

} // namespace

TEST_F(VectorgramProcessing, WindowsShiftSmallBlocksInAndTakeTheFirst512OfLargerOnes)
{
    std::vector<float> expected(512, 0.0f);
    auto shiftIn = [&](std::vector<float> frames) {
        expected.erase(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(frames.size()));
        expected.insert(expected.end(), frames.begin(), frames.end());
    };
    auto check = [&](const char* after) {
        const std::vector<float> left = window(effect.getCaptureLeft());
        std::vector<float> right = window(effect.getCaptureRight());
        for (float& s : right) s = -s;
        EXPECT_EQ(left, expected) << after;
        EXPECT_EQ(right, expected) << "right channel, " << after;
    };

    numbered(0, 1).run(effect);
    shiftIn(framesOf(0, 1));
    check("1 frame");
    numbered(1, 100).run(effect);
    shiftIn(framesOf(1, 100));
    check("100 frames");
    numbered(101, 512).run(effect);
    expected = framesOf(101, 512);
    check("512 frames");
    numbered(613, 600).run(effect);
    expected = framesOf(613, 512); // the block's first 512, not its last
    check("600 frames");
    numbered(1213, 100).run(effect);
    shiftIn(framesOf(1213, 100));
    check("100 frames after 600");
}

TEST_F(VectorgramProcessing, HeldPeakFallsSixtyDecibelsPerSixthOfASecond)
{
    Block peak(512);
    peak.left.back() = 0.8f;
    peak.right.back() = 0.4f;
    peak.run(effect);
    ASSERT_EQ(effect.getPeak(0), 0.8f);
    ASSERT_EQ(effect.getPeak(1), 0.4f);

    Block silence(512);
    silence.run(effect);
    EXPECT_NEAR(effect.getPeak(0) / 0.8f, 0.618, 0.001); // about -4.18 dB per 512 frames at 44100 Hz
    EXPECT_NEAR(effect.getPeak(1) / 0.4f, 0.618, 0.001);

    const float before = effect.getPeak(0);
    Block half(256);
    half.run(effect);
    EXPECT_NEAR(effect.getPeak(0) / before, std::sqrt(0.618), 0.001);
    half.run(effect);
    EXPECT_NEAR(effect.getPeak(0) / before, 0.618, 0.001);

    // Three rates the host may not mean: all decay as at 44100 Hz; a real rate changes the factor.
    for (float rate : {0.0f, -48000.0f, kNaN, kInf, 48000.0f}) {
        vectorgram e(host);
        e.resume();
        e.setSampleRate(rate);
        peak.run(e);
        silence.run(e);
        const double expected = rate == 48000.0f ? std::pow(0.001, 512.0 / (48000 * 0.1666)) : 0.6180;
        EXPECT_NEAR(e.getPeak(0) / 0.8f, expected, 0.0005) << "rate " << rate;
    }
}

TEST_F(VectorgramProcessing, HeldPeakRisesOnlyOnFinitePositiveSamples)
{
    Block negative(300, -0.9f, -kInf);
    negative.run(effect);
    EXPECT_EQ(effect.getPeak(0), 0.0f);
    EXPECT_EQ(effect.getPeak(1), 0.0f);

    Block bad({kInf, 0.3f, kNaN, -kNaN}, {kNaN, kInf, 0.0f, -0.0f});
    bad.run(effect);
    EXPECT_EQ(effect.getPeak(0), 0.3f); // neither infinity nor NaN pins the meter
    EXPECT_EQ(effect.getPeak(1), 0.0f);

    negative.run(effect);
    EXPECT_LT(effect.getPeak(0), 0.3f); // only decays
    EXPECT_GT(effect.getPeak(0), 0.0f);

    Block large({1e30f, 2.0f}, {0.0f, 3.5f});
    large.run(effect);
    EXPECT_EQ(effect.getPeak(0), 1e30f); // large finite samples count as they are
    EXPECT_EQ(effect.getPeak(1), 3.5f);
    EXPECT_EQ(effect.getPeak(2), 0.0f);
    EXPECT_EQ(effect.getPeak(-1), 0.0f);
}

TEST(VectorgramWord, FollowsTheWrapRuleAndStaysDefinedOutsideIt)
{
    const struct {
        float sample;
        std::uint32_t word;
    } cases[] = {
        {1.0f, 0x80000000u},         {-1.0f, 0x80000000u},   {0.5f, 0x40000000u},
        {-0.5f, 0xC0000000u},        {1.5f, 0xC0000000u},    {2.0f, 0u},
        {3.0f, 0x80000000u},         {0x1p-31f, 1u},         {-0x1p-31f, 0xFFFFFFFFu},
        {0x1p-32f, 0u},              {-0.0f, 0u},            {0x1p-149f, 0u},
        {kNaN, 0u},                  {-kNaN, 0u},            {kInf, 0xFFFFFFFFu},
        {-kInf, 0u},                 {1e30f, 0xFFFFFFFFu},   {-1e30f, 0u},
        {0x1p31f, 0u},               {0x1p32f, 0xFFFFFFFFu}, {-0x1p32f, 0u},
        {1.0f + 0x1p-23f, 0x80000100u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(vectorgram::sampleToWord(c.sample)), c.word) << c.sample;

    std::mt19937 random(1);
    for (int i = 0; i < 200000; ++i) {
        const float f = floatOf(static_cast<std::uint32_t>(random()));
        ASSERT_EQ(static_cast<std::uint32_t>(vectorgram::sampleToWord(f)), referenceWord(f)) << std::hexfloat << f;
    }
}

TEST_F(VectorgramProcessing, BitActivityCountsTogglesOfTheUpper24Bits)
{
    // +1.0 is the word 0x80000000 and 0.25 is 0x20000000: only bits 31 and 29 move.
    Block full(512, 0.25f, 0.25f);
    for (std::size_t i = 0; i < 512; i += 8) full.left[i] = 1.0f;
    full.run(effect);
    std::vector<float> expected(24, 0.0f);
    expected[23] = 0.5f;              // bit 31: into and out of each +1.0
    expected[21] = 254.0f / 512.0f;   // bit 29: the same, less the first frame, which starts from word 0
    EXPECT_EQ(activity(0), expected);
    expected.assign(24, 0.0f);
    expected[21] = 2.0f / 512.0f;     // the right channel's one step from 0 to 0x20000000
    EXPECT_EQ(activity(1), expected);

    // A constant reads 0 after its first block; bit 7 and below are not shown.
    Block constant(100, 0.25f, 0x1p-24f);
    constant.run(effect);
    EXPECT_EQ(activity(0), std::vector<float>(24, 0.0f)); // it began on 0.25, as the last block ended
    expected.assign(24, 0.0f);
    expected[21] = 2.0f / 100.0f; // 0x20000000 to 0x80: bit 7 moved too, but is not shown
    EXPECT_EQ(activity(1), expected);
    constant.run(effect);
    EXPECT_EQ(activity(0), std::vector<float>(24, 0.0f));
    EXPECT_EQ(activity(1), std::vector<float>(24, 0.0f));

    // Counting runs across blocks: the first frame compares with the previous block's last.
    Block step(4, 0.0f, 0.0f);
    step.run(effect);
    EXPECT_EQ(activity(0)[21], 0.5f);

    // -2^-31 is the word with every bit set: everything toggles every frame, which reads as 1.
    Block flicker(64);
    for (std::size_t i = 0; i < 64; i += 2) flicker.right[i] = -0x1p-31f;
    flicker.run(effect);
    EXPECT_EQ(activity(1), std::vector<float>(24, 1.0f));
}

TEST_F(VectorgramProcessing, EmptyNegativeAndNullBlocksChangeNothing)
{
    Block first(100);
    for (std::size_t i = 0; i < 100; ++i) first.left[i] = first.right[i] = (i % 3) * 0.3f;
    first.run(effect);
    const std::vector<float> activityBefore = activity(0);
    const std::vector<float> windowBefore = window(effect.getCaptureLeft());
    const float peakBefore = effect.getPeak(0);
    ASSERT_GT(activityBefore[22], 0.0f);

    float in0[4] = {0.9f, 0.9f, 0.9f, 0.9f}, in1[4] = {0.9f, 0.9f, 0.9f, 0.9f};
    float out0[4] = {}, out1[4] = {};
    float* in[2] = {in0, in1};
    float* out[2] = {out0, out1};
    float* noRight[2] = {in0, nullptr};
    float* noLeftOut[2] = {nullptr, out1};
    effect.processReplacing(in, out, 0);
    effect.processReplacing(in, out, -512);
    effect.processReplacing(in, out, std::numeric_limits<VstInt32>::min());
    effect.processReplacing(nullptr, out, 4);
    effect.processReplacing(in, nullptr, 4);
    effect.processReplacing(noRight, out, 4);
    effect.processReplacing(in, noLeftOut, 4);

    EXPECT_EQ(activity(0), activityBefore); // no division by a zero frame count
    EXPECT_EQ(window(effect.getCaptureLeft()), windowBefore);
    EXPECT_EQ(effect.getPeak(0), peakBefore);
    EXPECT_EQ(out0[0], 0.0f);
    EXPECT_EQ(out1[3], 0.0f);
    effect.getBitActivity(nullptr, nullptr); // a caller without buffers gets nothing, safely
}

TEST_F(VectorgramProcessing, PassesEveryBitThroughAlsoInPlace)
{
    std::mt19937 random(3);
    for (std::size_t frames : {1u, 255u, 512u, 513u, 4096u, 10000u}) {
        Block b(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            b.left[i] = floatOf(static_cast<std::uint32_t>(random())); // NaN payloads, denormals, -0.0, all
            b.right[i] = floatOf(static_cast<std::uint32_t>(random()));
        }
        b.run(effect);
        EXPECT_EQ(0, std::memcmp(b.left.data(), b.outLeft.data(), frames * sizeof(float))) << frames;
        EXPECT_EQ(0, std::memcmp(b.right.data(), b.outRight.data(), frames * sizeof(float))) << frames;

        const std::vector<float> left = b.left, right = b.right;
        float* io[2] = {b.left.data(), b.right.data()};
        effect.processReplacing(io, io, static_cast<VstInt32>(frames));
        EXPECT_EQ(0, std::memcmp(left.data(), b.left.data(), frames * sizeof(float))) << frames;
        EXPECT_EQ(0, std::memcmp(right.data(), b.right.data(), frames * sizeof(float))) << frames;
    }
}

// The packed counter, the full-scale shortcut and the pattern-domain peak against the reference, over
// signals that exercise each: quiet noise, 16-bit steps, full-scale squares, overloads and garbage.
TEST_F(VectorgramProcessing, MatchesTheOneBitAtATimeReferenceOnVariedSignals)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    auto sample = [&](int kind, std::size_t i) -> float {
        switch (kind) {
        case 0: return unit(random) * 0.01f;
        case 1: return std::round(unit(random) * 32767.0f) / 32768.0f;
        case 2: return (i / 7) % 2 ? 1.0f : -1.0f;
        case 3: return unit(random) * 8.0f;
        case 4: return floatOf(static_cast<std::uint32_t>(random()));
        case 5: return i % 50 == 0 ? kNaN : i % 50 == 25 ? kInf : unit(random);
        default: return 0.3f;
        }
    };
    ReferenceChannel left, right;
    const std::size_t sizes[] = {1, 2, 14, 15, 16, 17, 100, 254, 255, 256, 257, 511, 512, 513, 600, 1000, 4096, 0, 3};
    int kind = 0;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t frames : sizes) {
            Block b(frames);
            for (std::size_t i = 0; i < frames; ++i) {
                b.left[i] = sample(kind, i);
                b.right[i] = sample((kind + 3) % 7, i);
            }
            kind = (kind + 1) % 7;
            b.run(effect);
            left.process(b.left.data(), frames, 44100.0);
            right.process(b.right.data(), frames, 44100.0);

            std::vector<float> activityLeft(24), activityRight(24);
            effect.getBitActivity(activityLeft.data(), activityRight.data());
            ASSERT_EQ(activityLeft, std::vector<float>(left.activity, left.activity + 24)) << frames;
            ASSERT_EQ(activityRight, std::vector<float>(right.activity, right.activity + 24)) << frames;
            ASSERT_EQ(bitsOf(effect.getPeak(0)), bitsOf(left.peak)) << frames;
            ASSERT_EQ(bitsOf(effect.getPeak(1)), bitsOf(right.peak)) << frames;
            ASSERT_EQ(windowBits(effect.getCaptureLeft()), windowBits(left.window)) << frames;
            ASSERT_EQ(windowBits(effect.getCaptureRight()), windowBits(right.window)) << frames;
        }
    }
}
