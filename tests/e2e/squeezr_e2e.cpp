// +squeezr as a host sees it: loaded from the built library, driven only through the record.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

void start(PluginHost& host, float rate = 44100.0f)
{
    std::string error;
    ASSERT_TRUE(host.open(pluginPath("squeezr_vst"), error)) << error;
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    host.dispatch(effSetBlockSize, 0, 512);
    host.dispatch(effMainsChanged, 0, 1);
}

TEST(SqueezrPlugin, LoadsWithItsIdentityAndInitialProgram)
{
    PluginHost host;
    start(host);
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, fourCharCode('s', 'q', 'z', 'r'));
    EXPECT_EQ(e->numParams, 8);
    EXPECT_EQ(e->numPrograms, 10);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsHasVu | effFlagsCanReplacing | effFlagsHasEditor);
    ERect* r = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right - r->left, 424);
    EXPECT_EQ(r->bottom - r->top, 285);
    EXPECT_EQ(host.vendor(), "Tonewerks");
    EXPECT_EQ(host.product(), "+squeezr");
    EXPECT_EQ(host.effectName(), "");
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategUnknown);
    EXPECT_EQ(host.parameterName(6), "rms or peak level");
    EXPECT_EQ(host.parameterLabel(3), " s");
    const char* displays[] = {"1 : 1.0", "-40.0000", "20.00000", "0.500000", "0.000000", "0.000000", "off", "off"};
    for (VstInt32 i = 0; i < 8; ++i) EXPECT_EQ(host.parameterDisplay(i), displays[i]) << i;
    EXPECT_EQ(host.programName(), "empty");
    EXPECT_FLOAT_EQ(host.getParameter(0), 0.9285714f);
}

// The shipped library as a host drives it: the initial program (1:1, makeup 0 dB) hands back every
// sample as it came, to the bit.
TEST(SqueezrPlugin, InitialProgramIsTransparentToTheBit)
{
    PluginHost host;
    start(host);
    constexpr int frames = 4096;
    std::vector<float> l(frames), r(frames), ol(frames), orr(frames);
    for (int i = 0; i < frames; ++i) {
        l[i] = static_cast<float>(0.7 * std::sin(i * 0.031) * std::sin(i * 0.0017));
        r[i] = static_cast<float>(0.4 * std::cos(i * 0.113) + 0.001 * std::sin(i * 0.7));
    }
    for (int start = 0; start < frames; start += 512) {
        float* in[] = {l.data() + start, r.data() + start};
        float* out[] = {ol.data() + start, orr.data() + start};
        host.processReplacing(in, out, 512);
    }
    EXPECT_EQ(std::memcmp(ol.data(), l.data(), sizeof(float) * frames), 0);
    EXPECT_EQ(std::memcmp(orr.data(), r.data(), sizeof(float) * frames), 0);
}

TEST(SqueezrPlugin, CompressesStereoAndReportsItsVu)
{
    PluginHost host;
    start(host);
    host.setParameter(1, 40.0f / 60.0f); // -20 dB
    host.setParameter(0, 36.0f / 42.0f); // 1:4
    EXPECT_EQ(host.parameterDisplay(0), "1 : 4.0");
    std::vector<float> l(512, 1.0f), r(512, -1.0f), ol(512), orr(512);
    float* in[] = {l.data(), r.data()};
    float* out[] = {ol.data(), orr.data()};
    host.processReplacing(in, out, 512);
    EXPECT_NEAR(ol.back(), std::pow(10.0, -0.75), 1e-3);
    EXPECT_NEAR(orr.back(), -std::pow(10.0, -0.75), 1e-3);
    // Output peaks are the first samples, which the gain had only half reached.
    EXPECT_GT(host.dispatch(effGetVu), 0);
    EXPECT_LT(host.dispatch(effGetVu), 32767);
}

TEST(SqueezrPlugin, ProgramsThroughTheDispatcher)
{
    PluginHost host;
    start(host);
    host.setParameter(0, 1.0f);
    char name[] = "Init";
    host.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host.programName(), "Init 1");
    host.dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(host.dispatch(effGetProgram), 4);
    EXPECT_EQ(host.parameterDisplay(0), "1 : 1.0");
    host.dispatch(effSetProgram, 0, 10); // out of range: ignored
    EXPECT_EQ(host.dispatch(effGetProgram), 4);
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(host.parameterDisplay(0), "4.0 : 1");
    EXPECT_EQ(host.programName(), "Init 1");
}

TEST(SqueezrPlugin, TwoInstancesAndBadCallsStayApart)
{
    PluginHost a, b;
    start(a);
    start(b);
    a.setParameter(4, 1.0f);
    a.setParameter(2, std::numeric_limits<float>::quiet_NaN());
    a.setParameter(99, 0.5f);
    EXPECT_EQ(a.parameterDisplay(4), "60.00000");
    EXPECT_EQ(b.parameterDisplay(4), "0.000000");
    EXPECT_EQ(a.parameterDisplay(2), "20.00000");
    EXPECT_EQ(a.parameterDisplay(99), "");
    // Editor calls without an open editor do nothing.
    EXPECT_EQ(a.dispatch(effEditIdle), 0);
    a.dispatch(effEditClose);
    float* none[] = {nullptr, nullptr};
    a.processReplacing(none, none, 512);
    a.processReplacing(none, none, 0);
}

} // namespace
