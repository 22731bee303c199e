#include "effects/msgrid/msgrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

VstIntPtr pinAnswer = 0;
VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterPinConnected) return pinAnswer;
    return 0;
}

class Msgrid : public ::testing::Test {
protected:
    Msgrid() { pinAnswer = 0; }

    std::string text(VstInt32 opcode, VstInt32 index)
    {
        char buffer[64] = {};
        e->dispatcher(e, opcode, index, 0, buffer, 0);
        return buffer;
    }

    // Runs one block; outputs start as a marker so untouched samples show.
    void run(std::vector<float> left, std::vector<float> right)
    {
        inL = std::move(left);
        inR = std::move(right);
        outL.assign(inL.size(), 99.0f);
        outR.assign(inR.size(), 99.0f);
        float* in[] = {inL.data(), inR.data()};
        float* out[] = {outL.data(), outR.data()};
        e->processReplacing(e, in, out, static_cast<VstInt32>(inL.size()));
    }

    void resume() { e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0); }

    msgrid effect{host};
    AEffect* e = effect.getAeffect();
    std::vector<float> inL, inR, outL, outR;
};

TEST_F(Msgrid, Identity)
{
    EXPECT_EQ(e->uniqueID, fourCharCode('+', 'm', 's', 'g'));
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasEditor);
    EXPECT_EQ(text(effGetEffectName, 0), "+msgrid");
    EXPECT_EQ(text(effGetProductString, 0), "+msgrid");
    EXPECT_EQ(text(effGetVendorString, 0), "Tonewerks");
    EXPECT_EQ(e->dispatcher(e, effGetVendorVersion, 0, 0, nullptr, 0), 1000);
    EXPECT_EQ(e->dispatcher(e, effGetPlugCategory, 0, 0, nullptr, 0), kPlugCategEffect);
    EXPECT_EQ(e->dispatcher(e, effGetVu, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(text(effGetProgramName, 0), "Default");
}

TEST_F(Msgrid, ParameterTexts)
{
    EXPECT_EQ(text(effGetParamName, 0), "mid gain");
    EXPECT_EQ(text(effGetParamName, 1), "side gain");
    EXPECT_EQ(text(effGetParamName, 2), "encode");
    EXPECT_EQ(text(effGetParamLabel, 0), " dB");
    EXPECT_EQ(text(effGetParamLabel, 1), " dB");
    EXPECT_EQ(text(effGetParamLabel, 2), "");
    EXPECT_EQ(text(effGetParamDisplay, 0), "0.000000");
    EXPECT_EQ(text(effGetParamDisplay, 1), "0.000000");
    EXPECT_EQ(text(effGetParamDisplay, 2), "0");
    for (VstInt32 bad : {3, -1, 1000000}) {
        EXPECT_EQ(text(effGetParamName, bad), "ERROR");
        EXPECT_EQ(text(effGetParamLabel, bad), "ERROR");
        EXPECT_EQ(text(effGetParamDisplay, bad), "ERROR");
        EXPECT_EQ(e->getParameter(e, bad), -1.0f);
    }
}

TEST_F(Msgrid, GainMapping)
{
    EXPECT_EQ(e->getParameter(e, 0), 0.5f);
    e->setParameter(e, 0, 0.5f);
    EXPECT_EQ(msgrid::gainFromHost(0.5f), 1.0f);
    EXPECT_NEAR(msgrid::gainFromHost(0.0f), std::pow(10.0, -12.0 / 20), 1e-6); // about 0.2512
    EXPECT_NEAR(msgrid::gainFromHost(1.0f), std::pow(10.0, 12.0 / 20), 1e-5);  // about 3.981
    e->setParameter(e, 0, 1.0f);
    EXPECT_EQ(text(effGetParamDisplay, 0), "12.00000");
    e->setParameter(e, 1, 0.0f);
    EXPECT_EQ(text(effGetParamDisplay, 1), "-12.0000");
    for (int i = 0; i <= 100; ++i) {
        const float v = static_cast<float>(i) / 100.0f;
        e->setParameter(e, 1, v);
        EXPECT_NEAR(e->getParameter(e, 1), v, 2e-6f) << v;
    }
}

TEST_F(Msgrid, EncodeThreshold)
{
    e->setParameter(e, 2, 0.5f);
    EXPECT_EQ(e->getParameter(e, 2), 0.0f);
    e->setParameter(e, 2, 0.5000001f);
    EXPECT_EQ(e->getParameter(e, 2), 1.0f);
    EXPECT_EQ(text(effGetParamDisplay, 2), "1");
}

TEST_F(Msgrid, BadParameterValues)
{
    e->setParameter(e, 0, 0.75f);
    const float before = e->getParameter(e, 0);
    e->setParameter(e, 0, std::numeric_limits<float>::quiet_NaN());
    e->setParameter(e, 0, std::numeric_limits<float>::infinity());
    EXPECT_EQ(e->getParameter(e, 0), before);
    e->setParameter(e, 0, 5.0f);
    EXPECT_EQ(text(effGetParamDisplay, 0), "12.00000");
    e->setParameter(e, 0, -5.0f);
    EXPECT_EQ(text(effGetParamDisplay, 0), "-12.0000");
    e->setParameter(e, -1, 1.0f);
    e->setParameter(e, 3, 1.0f);
    EXPECT_EQ(text(effGetParamDisplay, 2), "0");
}

TEST_F(Msgrid, EncodesLeftRightToMidSide)
{
    resume();
    run({1.0f, 1.0f, 0.5f}, {1.0f, -1.0f, 0.25f});
    EXPECT_EQ(outL, (std::vector<float>{1.0f, 0.0f, 0.375f}));
    EXPECT_EQ(outR, (std::vector<float>{0.0f, 1.0f, 0.125f}));
}

TEST_F(Msgrid, DecodesWithGains)
{
    resume();
    e->setParameter(e, 2, 1.0f);
    e->setParameter(e, 0, 1.0f);
    const float mid = msgrid::gainFromHost(1.0f);
    run({1.0f, 0.5f}, {0.0f, 0.25f});
    EXPECT_FLOAT_EQ(outL[0], mid);
    EXPECT_FLOAT_EQ(outR[0], mid);
    EXPECT_FLOAT_EQ(outL[1], 0.5f * mid + 0.25f);
    EXPECT_FLOAT_EQ(outR[1], 0.5f * mid - 0.25f);
}

TEST_F(Msgrid, EncodeThenDecodeGivesBackTheInput)
{
    resume();
    std::vector<float> left(257), right(257);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
        right[i] = static_cast<float>(0.3 * std::cos(0.13 * static_cast<double>(i)));
    }
    run(left, right);
    std::vector<float> mid = outL, side = outR;
    e->setParameter(e, 2, 1.0f);
    run(mid, side);
    for (std::size_t i = 0; i < left.size(); ++i) {
        EXPECT_NEAR(outL[i], left[i], 1e-7f);
        EXPECT_NEAR(outR[i], right[i], 1e-7f);
    }
}

TEST_F(Msgrid, InPlaceBuffers)
{
    resume();
    std::vector<float> a{1.0f, 0.5f}, b{-1.0f, 0.5f};
    float* io[] = {a.data(), b.data()};
    e->processReplacing(e, io, io, 2);
    EXPECT_EQ(a, (std::vector<float>{0.0f, 0.5f}));
    EXPECT_EQ(b, (std::vector<float>{1.0f, 0.0f}));
    e->dispatcher(e, effSetBypass, 0, 1, nullptr, 0);
    e->processReplacing(e, io, io, 2);
    EXPECT_EQ(a, (std::vector<float>{0.0f, 0.5f}));
}

TEST_F(Msgrid, BypassCopiesWhateverTheParameters)
{
    resume();
    e->setParameter(e, 0, 0.0f);
    e->setParameter(e, 2, 1.0f);
    EXPECT_EQ(e->dispatcher(e, effSetBypass, 0, 1, nullptr, 0), 1);
    run({0.1f, -0.7f}, {0.3f, 2.0f});
    EXPECT_EQ(outL, inL);
    EXPECT_EQ(outR, inR);
    EXPECT_EQ(e->dispatcher(e, effSetBypass, 0, 0, nullptr, 0), 0);
    run({1.0f}, {1.0f});
    EXPECT_NE(outL, inL);
}

TEST_F(Msgrid, MonoHostGetsNoProcessing)
{
    // Before the first resume, and with the second input unconnected, outputs stay as given.
    run({1.0f}, {1.0f});
    EXPECT_EQ(outL[0], 99.0f);
    pinAnswer = 1;
    resume();
    e->dispatcher(e, effSetBypass, 0, 1, nullptr, 0);
    run({1.0f}, {1.0f});
    EXPECT_EQ(outL[0], 99.0f);
    EXPECT_EQ(outR[0], 99.0f);
}

TEST_F(Msgrid, DegenerateBlocksDoNothing)
{
    resume();
    float a = 1.0f, b = 2.0f, c = 99.0f, d = 99.0f;
    float* in[] = {&a, &b};
    float* out[] = {&c, &d};
    e->processReplacing(e, in, out, 0);
    e->processReplacing(e, in, out, -5);
    e->processReplacing(e, nullptr, out, 1);
    e->processReplacing(e, in, nullptr, 1);
    float* half[] = {&a, nullptr};
    e->processReplacing(e, half, out, 1);
    e->processReplacing(e, in, half, 1);
    EXPECT_EQ(c, 99.0f);
    EXPECT_EQ(d, 99.0f);
}

TEST_F(Msgrid, ProgramName)
{
    char name[] = "a program name that is much longer than thirty-one";
    e->dispatcher(e, effSetProgramName, 0, 0, name, 0);
    char out[64];
    std::memset(out, '#', sizeof out);
    e->dispatcher(e, effGetProgramName, 0, 0, out, 0);
    EXPECT_EQ(std::string(out), std::string(name).substr(0, 23));
    EXPECT_EQ(out[24], '#');
    char shortName[] = "Wide";
    e->dispatcher(e, effSetProgramName, 0, 0, shortName, 0);
    EXPECT_EQ(text(effGetProgramName, 0), "Wide");

    // A host's 24-byte field, full and not terminated (on the heap, where AddressSanitizer sees any
    // read past it): through the dispatcher and handed straight to the effect alike.
    auto field = std::make_unique<char[]>(kVstMaxProgNameLen);
    std::memset(field.get(), 'm', kVstMaxProgNameLen);
    e->dispatcher(e, effSetProgramName, 0, 0, field.get(), 0);
    EXPECT_EQ(text(effGetProgramName, 0), std::string(23, 'm'));
    std::memset(field.get(), 's', kVstMaxProgNameLen);
    effect.setProgramName(field.get());
    EXPECT_EQ(text(effGetProgramName, 0), std::string(23, 's'));
}

TEST_F(Msgrid, BadSampleRateAndBlockSizeLeaveItWorking)
{
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, std::numeric_limits<float>::quiet_NaN());
    e->dispatcher(e, effSetBlockSize, 0, -1, nullptr, 0);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, -48000.0f);
    resume();
    run({1.0f}, {1.0f});
    EXPECT_EQ(outL[0], 1.0f);
}

} // namespace
