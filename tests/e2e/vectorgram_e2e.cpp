// +vectorgram as a host sees it: loaded from the built library, driven only through the record.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/PluginHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

TEST(VectorgramPlugin, LoadsWithItsIdentity)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("vectorgram_vst"), error)) << error;
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, fourCharCode('+', 'v', 'g', 'm'));
    EXPECT_EQ(e->numParams, 1);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_TRUE(e->flags & effFlagsCanReplacing);
    EXPECT_EQ(host.effectName(), "+vectorgram");
    EXPECT_EQ(host.vendor(), "Tonewerks");
    EXPECT_EQ(host.product(), "+vectorgram");
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(host.parameterName(0), "display");
    EXPECT_EQ(host.parameterLabel(0), "samples");
    EXPECT_EQ(host.parameterDisplay(0), "200");
    host.setParameter(0, 0.5f);
    EXPECT_EQ(host.parameterDisplay(0), "261");
    EXPECT_EQ(host.getParameter(0), 0.5f);
    EXPECT_EQ(host.programName(), "Default");
}

// Every bit pattern, NaN payloads and denormals included, comes out as it went in, whatever the
// block length, and also when the host hands the same buffers in and out.
TEST(VectorgramPlugin, PassesAudioThroughBitForBit)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("vectorgram_vst"), error)) << error;
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.dispatch(effSetBlockSize, 0, 4096);
    host.dispatch(effMainsChanged, 0, 1);

    std::mt19937 random(21);
    for (VstInt32 frames : {1, 64, 511, 512, 600, 4096}) {
        std::vector<std::uint32_t> bits(2 * static_cast<std::size_t>(frames));
        for (auto& b : bits) b = static_cast<std::uint32_t>(random());
        std::vector<float> l(frames), r(frames), outL(frames, 9.0f), outR(frames, 9.0f);
        std::memcpy(l.data(), bits.data(), l.size() * sizeof(float));
        std::memcpy(r.data(), bits.data() + frames, r.size() * sizeof(float));
        float* in[] = {l.data(), r.data()};
        float* out[] = {outL.data(), outR.data()};
        host.processReplacing(in, out, frames);
        EXPECT_EQ(0, std::memcmp(outL.data(), bits.data(), l.size() * sizeof(float))) << frames;
        EXPECT_EQ(0, std::memcmp(outR.data(), bits.data() + frames, r.size() * sizeof(float))) << frames;
        host.processReplacing(in, in, frames);
        EXPECT_EQ(0, std::memcmp(l.data(), bits.data(), l.size() * sizeof(float))) << frames;
        EXPECT_EQ(0, std::memcmp(r.data(), bits.data() + frames, r.size() * sizeof(float))) << frames;
    }
}

TEST(VectorgramPlugin, WritesNothingWhenTheHostReportsTheRightInputUnconnected)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("vectorgram_vst"), error)) << error;
    host.inputsConnected = false;
    host.dispatch(effMainsChanged, 0, 1);
    std::vector<float> l(64, 0.5f), r(64, 0.5f), outL(64, 9.0f), outR(64, 9.0f);
    float* in[] = {l.data(), r.data()};
    float* out[] = {outL.data(), outR.data()};
    host.processReplacing(in, out, 64);
    EXPECT_EQ(outL, std::vector<float>(64, 9.0f));
    EXPECT_EQ(outR, std::vector<float>(64, 9.0f));
}

} // namespace
