// +msgrid as a host sees it: loaded from the built library, driven only through the record.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(MsgridPlugin, LoadsWithItsIdentity)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("msgrid_vst"), error)) << error;
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, fourCharCode('+', 'm', 's', 'g'));
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_TRUE(e->flags & effFlagsCanReplacing);
    EXPECT_EQ(host.effectName(), "+msgrid");
    EXPECT_EQ(host.vendor(), "Tonewerks");
    EXPECT_EQ(host.product(), "+msgrid");
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.parameterName(1), "side gain");
    EXPECT_EQ(host.parameterDisplay(0), "0.000000");
    EXPECT_EQ(host.programName(), "Default");
}

TEST(MsgridPlugin, EncodeDecodeRoundTrip)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("msgrid_vst"), error)) << error;
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.dispatch(effSetBlockSize, 0, 64);
    host.dispatch(effMainsChanged, 0, 1);

    std::vector<float> l(64), r(64), m(64), s(64), l2(64), r2(64);
    for (int i = 0; i < 64; ++i) {
        l[i] = static_cast<float>(std::sin(i * 0.2));
        r[i] = static_cast<float>(std::sin(i * 0.7) * 0.5);
    }
    float* in[] = {l.data(), r.data()};
    float* ms[] = {m.data(), s.data()};
    float* out[] = {l2.data(), r2.data()};
    host.processReplacing(in, ms, 64);
    EXPECT_FLOAT_EQ(m[10], (l[10] + r[10]) * 0.5f);
    host.setParameter(2, 1.0f);
    host.processReplacing(ms, out, 64);
    for (int i = 0; i < 64; ++i) {
        EXPECT_NEAR(l2[i], l[i], 1e-6f);
        EXPECT_NEAR(r2[i], r[i], 1e-6f);
    }
}

TEST(MsgridPlugin, EntryPointRefusesAHostWithoutVersion)
{
    // Loaded by hand so that the host answers 0 to the version query.
    PluginLibrary library;
    std::string error;
    auto silentHost = [](AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) -> VstIntPtr { return 0; };
    EXPECT_EQ(library.load(pluginPath("msgrid_vst"), silentHost, error), nullptr);
    EXPECT_NE(error.find("returned no effect"), std::string::npos) << error;
    EXPECT_EQ(library.load(pluginPath("msgrid_vst"), nullptr, error), nullptr);
}

TEST(MsgridPlugin, TwoInstancesAreIndependent)
{
    PluginHost a, b;
    std::string error;
    ASSERT_TRUE(a.open(pluginPath("msgrid_vst"), error)) << error;
    ASSERT_TRUE(b.open(pluginPath("msgrid_vst"), error)) << error;
    a.setParameter(0, 1.0f);
    EXPECT_EQ(a.parameterDisplay(0), "12.00000");
    EXPECT_EQ(b.parameterDisplay(0), "0.000000");
}

} // namespace
