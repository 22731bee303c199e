// Pins the audio path to the bit: a few seconds of varied signal through ten differently set programs,
// in one- and two-channel hosts, with changing block sizes, knob moves mid-stream and bypass spells.
// The fingerprints were taken from the effect before its stages became classes of their own; any
// change to the sound, however small, changes them.
#include "SqueezrTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Host values in program order: ratio, threshold, attack, release, makeup, knee, rms, link.
struct Program {
    float values[squeezr::kNumParams];
};

// Compression and expansion, hard and soft knees, peak and RMS, linked and not, fast and slow.
constexpr Program kPrograms[squeezr::kNumPrograms] = {
    {{36.0f / 42.0f, 0.5f, 0.0f, 0.0f, 0.1f, 0.0f, 0.0f, 0.0f}},
    {{0.0f, 0.3f, 0.05f, 0.2f, 0.3f, 1.0f, 0.0f, 1.0f}},
    {{1.0f, 0.6f, 0.3f, 0.5f, 0.0f, 0.5f, 1.0f, 0.0f}},
    {{0.95f, 0.8f, 1.0f, 1.0f, 0.05f, 0.0f, 1.0f, 1.0f}},
    {{0.5f, 0.9f, 0.01f, 0.05f, 0.2f, 0.25f, 0.0f, 0.0f}},
    {{39.0f / 42.0f, 0.2f, 0.2f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f}},
    {{0.1f, 0.45f, 0.5f, 0.0f, 0.5f, 0.75f, 1.0f, 0.0f}},
    {{0.98f, 0.35f, 0.1f, 0.7f, 0.1f, 1.0f, 0.0f, 1.0f}},
    {{0.7f, 1.0f, 0.0f, 0.1f, 0.0f, 0.1f, 1.0f, 1.0f}},
    {{0.3f, 0.0f, 0.9f, 0.9f, 1.0f, 0.6f, 0.0f, 0.0f}},
};

std::uint32_t nextRandom(std::uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

// A triangle wave of the given period, -1..1, from integers only: the same bits under any maths library.
float triangle(std::size_t i, std::size_t period)
{
    const auto phase = static_cast<float>(i % period) / static_cast<float>(period);
    return phase < 0.5f ? phase * 4.0f - 1.0f : 3.0f - phase * 4.0f;
}

// Swelling noise, a tone, silence, denormals, levels far over full scale and a few bad samples.
std::vector<float> signal(std::size_t frames, std::uint32_t seed)
{
    std::vector<float> v(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float noise = static_cast<float>(nextRandom(seed) >> 8) / 8388608.0f - 1.0f;
        switch ((i / 11025) % 8) {
        case 0: v[i] = noise * (0.02f + 0.9f * std::fabs(triangle(i, 7000))); break;
        case 1: v[i] = 0.7f * triangle(i, 203); break;
        case 2: v[i] = 0.0f; break;
        case 3: v[i] = noise * 1e-39f; break;
        case 4: v[i] = noise * 3.5f; break;
        case 5: v[i] = i % 997 == 0 ? (i % 2 ? INFINITY : NAN) : noise * 0.001f; break;
        case 6: v[i] = 0.25f * triangle(i, 3001) + noise * 0.05f; break;
        default: v[i] = (i / 50) % 2 ? 1.0f : -1.0f; break;
        }
    }
    return v;
}

// FNV-1a over the bit patterns.
struct Fingerprint {
    std::uint64_t value = 14695981039346656037ull;
    void add(float x)
    {
        value ^= std::bit_cast<std::uint32_t>(x);
        value *= 1099511628211ull;
    }
};

std::uint64_t run(bool stereo)
{
    constexpr std::size_t kFrames = 44100 * 2;
    auto e = squeezr_test::makeEffect(stereo);
    for (VstInt32 p = 0; p < squeezr::kNumPrograms; ++p) {
        e->setProgram(p);
        for (VstInt32 i = 0; i < squeezr::kNumParams; ++i) e->setParameter(i, kPrograms[p].values[i]);
    }

    const auto in0 = signal(kFrames, 1), in1 = signal(kFrames, 2);
    std::vector<float> out0(kFrames), out1(kFrames);
    Fingerprint f;
    std::uint32_t seed = 7;
    for (VstInt32 p = 0; p < squeezr::kNumPrograms; ++p) {
        e->setProgram(p);
        for (std::size_t start = 0; start < kFrames;) {
            const std::size_t n = std::min<std::size_t>(1 + nextRandom(seed) % 700, kFrames - start);
            // Now and then a knob moves or bypass flips between blocks.
            const std::uint32_t event = nextRandom(seed) % 40;
            if (event < squeezr::kNumParams)
                e->setParameter(static_cast<VstInt32>(event), static_cast<float>(nextRandom(seed) % 1001) / 1000.0f);
            else if (event == 38)
                e->setBypass(true);
            else if (event == 39)
                e->setBypass(false);
            float* ins[2] = {const_cast<float*>(in0.data()) + start, const_cast<float*>(in1.data()) + start};
            float* outs[2] = {out0.data() + start, out1.data() + start};
            e->processReplacing(ins, outs, static_cast<VstInt32>(n));
            for (VstInt32 m = squeezr::kInPeakL; m <= squeezr::kGainR; ++m) f.add(e->getMeter(m));
            start += n;
        }
        for (std::size_t i = 0; i < kFrames; ++i) {
            f.add(out0[i]);
            if (stereo) f.add(out1[i]);
        }
    }
    return f.value;
}

TEST(SqueezrAudio, TwoChannelsSoundAsTheyAlwaysHave)
{
    EXPECT_EQ(run(true), 7849929195739434344ull);
}

TEST(SqueezrAudio, OneChannelSoundsAsItAlwaysHas)
{
    EXPECT_EQ(run(false), 29435090408200189ull);
}

} // namespace
