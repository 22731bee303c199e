#include "effectbase/AudioEffectX.h"
#include "effectbase/VstStrings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string f2s(float v, VstInt32 n = 23)
{
    char text[64];
    std::memset(text, '#', sizeof text);
    float2string(v, text, n);
    return text;
}

std::string i2s(VstInt32 v)
{
    char text[64];
    int2string(v, text, 23);
    return text;
}

std::string db2s(float v)
{
    char text[64];
    dB2string(v, text, 23);
    return text;
}

TEST(Float2String, EightCharactersCountingPointAndSign)
{
    EXPECT_EQ(f2s(0.0f), "0.000000");
    EXPECT_EQ(f2s(0.25f), "0.250000");
    EXPECT_EQ(f2s(12.5f), "12.50000");
    EXPECT_EQ(f2s(-3.0f), "-3.00000");
    EXPECT_EQ(f2s(-0.5f), "-0.50000");
    EXPECT_EQ(f2s(1234567.0f), "1234567.");
    EXPECT_EQ(f2s(-6.0206f), "-6.02059"); // the float is 6.0205998..., digits are truncated
    EXPECT_EQ(f2s(100.0f), "100.0000");
}

TEST(Float2String, OutOfRangeAndNonFiniteAreHuge)
{
    EXPECT_EQ(f2s(99999999.5f), "Huge!"); // rounds to 1e8 as a float
    EXPECT_EQ(f2s(-10000000.0f), "Huge!");
    EXPECT_EQ(f2s(std::numeric_limits<float>::quiet_NaN()), "Huge!");
    EXPECT_EQ(f2s(std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ(f2s(-std::numeric_limits<float>::infinity()), "Huge!");
}

TEST(Float2String, NeverDropsALeadingIntegerDigit)
{
    EXPECT_EQ(f2s(12345678.0f), "12345678.");
    EXPECT_EQ(f2s(-1234567.0f), "-1234567.");
    EXPECT_EQ(f2s(99999992.0f), "99999992.");
    EXPECT_EQ(f2s(-9999999.0f), "-9999999.");
}

TEST(Float2String, RespectsTheLimit)
{
    char text[8];
    std::memset(text, '#', sizeof text);
    float2string(12.5f, text, 4);
    EXPECT_STREQ(text, "12.5");
    EXPECT_EQ(text[5], '#');
}

TEST(Int2String, DigitsSignAndHuge)
{
    EXPECT_EQ(i2s(0), "0");
    EXPECT_EQ(i2s(7), "7");
    EXPECT_EQ(i2s(-42), "-42");
    EXPECT_EQ(i2s(1000), "1000");
    EXPECT_EQ(i2s(99999999), "99999999");
    EXPECT_EQ(i2s(-99999999), "-99999999");
    EXPECT_EQ(i2s(100000000), "Huge!");
    EXPECT_EQ(i2s(-100000000), "Huge!");
    EXPECT_EQ(i2s(std::numeric_limits<VstInt32>::min()), "Huge!");
    EXPECT_EQ(i2s(std::numeric_limits<VstInt32>::max()), "Huge!");
}

TEST(DB2String, SilenceIsMinusInfinity)
{
    EXPECT_EQ(db2s(0.0f), "-oo");
    EXPECT_EQ(db2s(-1.0f), "-oo");
    EXPECT_EQ(db2s(1.0f), "0.000000");
    EXPECT_EQ(db2s(10.0f), "20.00000");
    EXPECT_EQ(db2s(0.1f), "-20.0000");
}

TEST(VstStrncpy, CopiesAtMostNAndTerminatesAtN)
{
    char text[8];
    std::memset(text, '#', sizeof text);
    vst_strncpy(text, "abcdefghij", 5);
    EXPECT_STREQ(text, "abcde");
    EXPECT_EQ(text[6], '#');

    std::memset(text, '#', sizeof text);
    vst_strncpy(text, "ab", 5);
    EXPECT_STREQ(text, "ab");
    EXPECT_EQ(text[5], 0);
    EXPECT_EQ(text[6], '#');

    vst_strncpy(text, nullptr, 5);
    EXPECT_STREQ(text, "");
}

TEST(VstStrncat, NeverWritesPastTheLimit)
{
    char text[8];
    std::memset(text, '#', sizeof text);
    vst_strncpy(text, "abcd", 5);
    vst_strncat(text, "efgh", 5);
    EXPECT_STREQ(text, "abcde");
    EXPECT_EQ(text[6], '#');

    vst_strncpy(text, "ab", 5);
    vst_strncat(text, "cd", 5);
    EXPECT_STREQ(text, "abcd");
}

// A bare effect: the base's own answers.
class PlainEffect : public AudioEffectX {
public:
    PlainEffect() : AudioEffectX(nullptr, 1, 1) {}
    void processReplacing(float**, float**, VstInt32) override {}
};

TEST(SampleFormatters, HzAndMsUseTheSampleRate)
{
    PlainEffect effect;
    char text[32];
    effect.setSampleRate(48000.0f);
    effect.Hz2string(480.0f, text, 23);
    EXPECT_STREQ(text, "100.0000");
    effect.Hz2string(0.0f, text, 23);
    EXPECT_STREQ(text, "0.000000");
    effect.ms2string(480.0f, text, 23);
    EXPECT_STREQ(text, "10.00000");

    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN()}) {
        effect.setSampleRate(bad);
        effect.Hz2string(480.0f, text, 23);
        EXPECT_STREQ(text, "0.000000");
        effect.ms2string(480.0f, text, 23);
        EXPECT_STREQ(text, "0.000000");
        EXPECT_EQ(effect.effectiveSampleRate(), 44100.0f);
    }
}

} // namespace
