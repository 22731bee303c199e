// The mappings and display rules a parameter table row can carry, with numbers worked out by hand.
#include "effectbase/ParameterInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

using Mapping = ParameterInfo::Mapping;
using Display = ParameterInfo::Display;

std::string shown(const ParameterInfo& row, float unit)
{
    char text[kVstMaxParamStrLen + 8];
    std::memset(text, '#', sizeof text);
    row.format(unit, text);
    return text;
}

TEST(ParameterInfo, LinearRangesMapBothWaysAndReadOutTheirEnds)
{
    constexpr ParameterInfo threshold{"threshold", " dB", -60.0f, 60.0f};
    static_assert(threshold.max() == 0.0f);
    EXPECT_EQ(threshold.toUnit(0.0f), -60.0f);
    EXPECT_EQ(threshold.toUnit(1.0f), 0.0f);
    EXPECT_EQ(threshold.toUnit(0.75f), -15.0f);
    EXPECT_EQ(threshold.toHost(-40.0f), 20.0f / 60.0f);
    for (float v : {0.0f, 0.1f, 1.0f / 3.0f, 0.5f, 0.9f, 1.0f})
        EXPECT_NEAR(threshold.toHost(threshold.toUnit(v)), v, 1e-6f) << v;

    // A range from 0 adds nothing, so not even the sign of a host's -0 changes.
    constexpr ParameterInfo makeup{"makeup", " dB", 0.0f, 60.0f};
    EXPECT_TRUE(std::signbit(makeup.toUnit(-0.0f)));
    EXPECT_EQ(makeup.toUnit(0.5f), 30.0f);
}

TEST(ParameterInfo, CountsCutTowardZeroAndSwitchesDifferOnlyAtTheMiddle)
{
    constexpr ParameterInfo samples{"display", "samples", 10.0f, 502.0f, Mapping::kCount, Display::kInteger, 200.0f};
    EXPECT_EQ(samples.toUnit(1.0f), 512.0f);
    EXPECT_EQ(samples.toUnit(0.0f), 10.0f);
    EXPECT_EQ(samples.toUnit(0.5f), 261.0f);
    EXPECT_EQ(samples.toUnit(0.999f), 511.0f); // 501.498 cut, not rounded
    EXPECT_EQ(samples.toHost(261.0f), 0.5f);
    EXPECT_EQ(shown(samples, 261.0f), "261");

    constexpr ParameterInfo from{"on", "", 0.0f, 1.0f, Mapping::kSwitch, Display::kOnOff};
    constexpr ParameterInfo above{"on", "", 0.0f, 1.0f, Mapping::kSwitchAbove, Display::kInteger};
    EXPECT_EQ(from.toUnit(0.5f), 1.0f);
    EXPECT_EQ(above.toUnit(0.5f), 0.0f);
    EXPECT_EQ(from.toUnit(0.49f), 0.0f);
    EXPECT_EQ(above.toUnit(0.51f), 1.0f);
    EXPECT_EQ(from.toHost(0.3f), 1.0f);
    EXPECT_EQ(from.toHost(0.0f), 0.0f);
    EXPECT_EQ(shown(from, 1.0f), "on");
    EXPECT_EQ(shown(from, 0.0f), "off");
    EXPECT_EQ(shown(above, 1.0f), "1");
}

TEST(ParameterInfo, DecibelGainsAreCentredOnUnity)
{
    constexpr ParameterInfo gain{"gain", " dB", -12.0f, 24.0f, Mapping::kDecibels, Display::kFloat, 0.0f,
                                 0.041666664f};
    EXPECT_EQ(gain.toUnit(0.5f), 1.0f);
    EXPECT_NEAR(gain.toUnit(0.0f), 0.25118864, 1e-6); // -12 dB
    EXPECT_NEAR(gain.toUnit(1.0f), 3.9810717, 1e-5);  // +12 dB
    EXPECT_EQ(gain.toHost(1.0f), 0.5f);
    EXPECT_NEAR(gain.toHost(gain.toUnit(0.8f)), 0.8f, 1e-6f);
    EXPECT_EQ(shown(gain, 1.0f), "0.000000");
    EXPECT_EQ(shown(gain, gain.toUnit(0.75f)).substr(0, 5), "6.000"); // a quarter of the range above 0 dB
}

TEST(ParameterInfo, RatioSettingsReadAsSlopes)
{
    constexpr ParameterInfo ratio{"ratio", "", -39.0f, 42.0f, Mapping::kLinear, Display::kRatio};
    EXPECT_EQ(shown(ratio, ratio.toUnit(1.0f)), "4.0 : 1");
    EXPECT_EQ(shown(ratio, ratio.toUnit(0.0f)), "1 : 40.0");
    EXPECT_EQ(shown(ratio, 0.0f), "1 : 1.0");
    EXPECT_EQ(shown(ratio, -3.0f), "1 : 4.0");
    EXPECT_EQ(ParameterInfo::ratioOf(-3.0f), 0.25f);
    EXPECT_EQ(ParameterInfo::ratioOf(2.0f), 3.0f);
}

} // namespace
