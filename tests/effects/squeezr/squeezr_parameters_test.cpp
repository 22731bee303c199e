// Identity, parameter mappings and displays, live programs and their names.
#include "SqueezrTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace squeezr_test;

namespace {

std::string display(squeezr& e, VstInt32 index)
{
    char text[256] = "untouched";
    e.getParameterDisplay(index, text);
    return text;
}

std::string programName(squeezr& e)
{
    char text[256] = {};
    e.getProgramName(text);
    return text;
}

// Records what the effect tells its editor.
class SpyEditor : public AEffEditor {
public:
    explicit SpyEditor(AudioEffect* effect, std::vector<std::pair<VstInt32, float>>* log)
        : AEffEditor(effect), log(log) {}
    void setParameter(VstInt32 index, float value) override { log->emplace_back(index, value); }

private:
    std::vector<std::pair<VstInt32, float>>* log;
};

// The spy takes the place of the effect's own editor, which goes first.
void spyOn(squeezr& e, std::vector<std::pair<VstInt32, float>>* log)
{
    delete e.getEditor();
    e.setEditor(new SpyEditor(&e, log));
}

} // namespace

TEST(SqueezrIdentity, RecordNamesAndLabels)
{
    auto e = makeEffect(true);
    AEffect* a = e->getAeffect();
    EXPECT_EQ(a->uniqueID, fourCharCode('s', 'q', 'z', 'r'));
    EXPECT_EQ(a->numPrograms, 10);
    EXPECT_EQ(a->numParams, 8);
    EXPECT_EQ(a->numInputs, 2);
    EXPECT_EQ(a->numOutputs, 2);
    EXPECT_EQ(a->flags, effFlagsHasVu | effFlagsCanReplacing | effFlagsHasEditor);

    char text[256] = {};
    EXPECT_EQ(a->dispatcher(a, effSetBypass, 0, 1, nullptr, 0), 1);
    EXPECT_EQ(a->dispatcher(a, effSetBypass, 0, 0, nullptr, 0), 0);

    const char* names[] = {"ratio", "threshold", "attack", "release",
                           "makeup gain", "soft knee", "rms or peak level", "stereo linked"};
    const char* labels[] = {"", " dB", " ms", " s", " dB", "", "", ""};
    for (VstInt32 i = 0; i < 8; ++i) {
        a->dispatcher(a, effGetParamName, i, 0, text, 0);
        EXPECT_STREQ(text, names[i]);
        a->dispatcher(a, effGetParamLabel, i, 0, text, 0);
        EXPECT_STREQ(text, labels[i]);
    }
    // Unknown indices write nothing.
    for (VstInt32 i : {8, 99, -1}) {
        std::strcpy(text, "untouched");
        e->getParameterName(i, text);
        e->getParameterLabel(i, text);
        e->getParameterDisplay(i, text);
        EXPECT_STREQ(text, "untouched");
        EXPECT_EQ(e->getParameter(i), 0.0f);
    }
}

TEST(SqueezrParameters, InitialProgramDisplays)
{
    auto e = makeEffect(true);
    EXPECT_EQ(display(*e, 0), "1 : 1.0");
    EXPECT_EQ(display(*e, 1), "-40.0000");
    EXPECT_EQ(display(*e, 2), "20.00000");
    EXPECT_EQ(display(*e, 3), "0.500000");
    EXPECT_EQ(display(*e, 4), "0.000000");
    EXPECT_EQ(display(*e, 5), "0.000000");
    EXPECT_EQ(display(*e, 6), "off");
    EXPECT_EQ(display(*e, 7), "off");
    EXPECT_EQ(programName(*e), "empty");

    // The stored host values come back to the bit: ratio setting 0, -40 dB, 20 ms, 0.5 s.
    const std::uint32_t stored[] = {0x3F6DB6DB, 0x3EAAAAAB, 0x3E448677, 0x3E579436};
    for (VstInt32 i = 0; i < 4; ++i)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(e->getParameter(i)), stored[i]) << i;
    EXPECT_EQ(e->getParameter(squeezr::kMakeup), 0.0f);
}

TEST(SqueezrParameters, RatioEndsAndSwitchPoints)
{
    auto e = makeEffect(true);
    e->setParameter(squeezr::kRatio, 1.0f);
    EXPECT_EQ(display(*e, 0), "4.0 : 1");
    e->setParameter(squeezr::kRatio, 0.0f);
    EXPECT_EQ(display(*e, 0), "1 : 40.0");
    e->setParameter(squeezr::kRatio, 36.0f / 42.0f);
    EXPECT_EQ(display(*e, 0), "1 : 4.0");
    e->setParameter(squeezr::kRatio, 41.0f / 42.0f);
    EXPECT_EQ(display(*e, 0), "3.0 : 1");
    // Exactly 1:1 reads as the compression side does; a ratio a hair either side reads as its own side.
    e->setParameter(squeezr::kRatio, 39.0f / 42.0f);
    EXPECT_EQ(display(*e, 0), "1 : 1.0");
    e->setParameter(squeezr::kRatio, 39.0001f / 42.0f);
    EXPECT_EQ(display(*e, 0), "1.0 : 1");
    e->setParameter(squeezr::kRatio, 38.9999f / 42.0f);
    EXPECT_EQ(display(*e, 0), "1 : 1.0");

    e->setParameter(squeezr::kRmsMode, 0.5f);
    EXPECT_EQ(display(*e, 6), "on");
    EXPECT_EQ(e->getParameter(squeezr::kRmsMode), 1.0f);
    e->setParameter(squeezr::kRmsMode, 0.49f);
    EXPECT_EQ(display(*e, 6), "off");
    EXPECT_EQ(e->getParameter(squeezr::kRmsMode), 0.0f);
    e->setParameter(squeezr::kStereoLink, 0.5f);
    EXPECT_EQ(display(*e, 7), "on");
    e->setParameter(squeezr::kStereoLink, 0.2f);
    EXPECT_EQ(display(*e, 7), "off");

    e->setParameter(squeezr::kThreshold, 0.0f);
    EXPECT_EQ(display(*e, 1), "-60.0000");
    e->setParameter(squeezr::kAttack, 1.0f);
    EXPECT_EQ(display(*e, 2), "100.0000");
    e->setParameter(squeezr::kRelease, 1.0f);
    EXPECT_EQ(display(*e, 3), "2.000000");
    e->setParameter(squeezr::kMakeup, 1.0f);
    EXPECT_EQ(display(*e, 4), "60.00000");
    e->setParameter(squeezr::kKnee, 0.25f);
    EXPECT_EQ(display(*e, 5), "0.250000");
}

TEST(SqueezrParameters, CoefficientsFollowTheRateInForce)
{
    auto e = makeEffect(true);
    EXPECT_NEAR(e->attackCoefficient(), 1.0026141f, 2e-7);
    EXPECT_NEAR(e->releaseCoefficient(), 0.99989558f, 2e-7);

    // A new rate alone changes nothing; the next resume brings the coefficients to it.
    e->setSampleRate(96000.0f);
    EXPECT_NEAR(e->attackCoefficient(), 1.0026141f, 2e-7);
    e->resume();
    EXPECT_NEAR(e->attackCoefficient(), std::pow(10.0, 1.0 / (20.0 * 96.0)), 2e-7);
    EXPECT_NEAR(e->releaseCoefficient(), std::pow(0.1, 1.0 / (0.5 * 96000.0)), 2e-7);

    // Setting the same value again recomputes nothing; a different one uses the current rate.
    e->setSampleRate(48000.0f);
    const float attackAt96k = e->attackCoefficient();
    e->setParameter(squeezr::kAttack, 0.19191919f);
    EXPECT_EQ(e->attackCoefficient(), attackAt96k);
    e->setParameter(squeezr::kAttack, attackValue(10.0f));
    EXPECT_NEAR(e->attackCoefficient(), std::pow(10.0, 1.0 / (10.0 * 48.0)), 2e-7);

    // Nonsense rates count as 44100.
    for (float rate : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
        e->setSampleRate(rate);
        e->resume();
        EXPECT_NEAR(e->attackCoefficient(), std::pow(10.0, 1.0 / (10.0 * 44.1)), 2e-7) << rate;
        EXPECT_NEAR(e->releaseCoefficient(), 0.99989558f, 2e-7) << rate;
        EXPECT_TRUE(std::isfinite(e->attackCoefficient()));
    }
}

TEST(SqueezrParameters, BadHostValuesAreIgnoredOrClamped)
{
    auto e = makeEffect(true);
    std::vector<std::pair<VstInt32, float>> told;
    spyOn(*e, &told);

    const float before = e->getParameter(squeezr::kThreshold);
    e->setParameter(squeezr::kThreshold, std::numeric_limits<float>::quiet_NaN());
    e->setParameter(squeezr::kThreshold, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(e->getParameter(squeezr::kThreshold), before);
    e->setParameter(squeezr::kThreshold, 7.0f);
    EXPECT_EQ(display(*e, 1), "0.000000");
    e->setParameter(squeezr::kRatio, -3.0f);
    EXPECT_EQ(display(*e, 0), "1 : 40.0");
    e->setParameter(42, 0.5f);

    // The editor hears every call, with the value that stands when the host's was ignored.
    ASSERT_EQ(told.size(), 5u);
    EXPECT_EQ(told[0], std::make_pair(VstInt32{squeezr::kThreshold}, before));
    EXPECT_EQ(told[1], std::make_pair(VstInt32{squeezr::kThreshold}, before));
    EXPECT_EQ(told[2], std::make_pair(VstInt32{squeezr::kThreshold}, 1.0f));
    EXPECT_EQ(told[3], std::make_pair(VstInt32{squeezr::kRatio}, 0.0f));
    EXPECT_EQ(told[4], std::make_pair(VstInt32{42}, 0.5f));
}

TEST(SqueezrPrograms, ProgramsAreLiveAndRestoreInOrder)
{
    auto e = makeEffect(true);
    const float edited[8] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 1.0f, 1.0f};
    for (VstInt32 i = 0; i < 8; ++i) e->setParameter(i, edited[i]);

    e->setProgram(3); // untouched: the initial values
    EXPECT_EQ(display(*e, 0), "1 : 1.0");
    EXPECT_EQ(display(*e, 1), "-40.0000");
    EXPECT_EQ(display(*e, 6), "off");

    std::vector<std::pair<VstInt32, float>> told;
    spyOn(*e, &told);
    e->setProgram(0);
    for (VstInt32 i = 0; i < 8; ++i) EXPECT_NEAR(e->getParameter(i), edited[i], 1e-6f) << i;
    ASSERT_EQ(told.size(), 8u);
    const VstInt32 order[] = {6, 7, 0, 1, 2, 3, 4, 5};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(told[k].first, order[k]);
        EXPECT_EQ(told[k].second, edited[order[k]]);
    }

    // Out of range through the dispatcher: ignored.
    AEffect* a = e->getAeffect();
    a->dispatcher(a, effSetProgram, 0, 10, nullptr, 0);
    a->dispatcher(a, effSetProgram, 0, -1, nullptr, 0);
    EXPECT_EQ(a->dispatcher(a, effGetProgram, 0, 0, nullptr, 0), 0);
    a->dispatcher(a, effSetProgram, 0, 9, nullptr, 0);
    EXPECT_EQ(e->getProgram(), 9);
}

TEST(SqueezrPrograms, RepeatedValueLeavesTheProgramAlone)
{
    auto e = makeEffect(true);
    // Both host values give -60 dB: the second is no change, so program 0 keeps the first.
    e->setParameter(squeezr::kThreshold, 0.0f);
    e->setParameter(squeezr::kThreshold, 1e-9f);
    e->setProgram(1);
    e->setParameter(squeezr::kThreshold, 0.5f);
    std::vector<std::pair<VstInt32, float>> told;
    spyOn(*e, &told);
    e->setProgram(0);
    ASSERT_EQ(told.size(), 8u);
    EXPECT_EQ(told[3], std::make_pair(VstInt32{squeezr::kThreshold}, 0.0f));
}

TEST(SqueezrPrograms, NamesAreNumberedAndBounded)
{
    auto e = makeEffect(true);
    e->setProgram(2);
    char init[] = "Init";
    e->setProgramName(init);
    EXPECT_EQ(programName(*e), "Init 3");
    e->setProgram(9);
    e->setProgramName(init);
    EXPECT_EQ(programName(*e), "Init 10");
    e->setProgram(4);
    EXPECT_EQ(programName(*e), "empty");

    // A name far longer than its field: cut to 23 characters, the next program untouched.
    e->setProgram(5);
    e->setParameter(squeezr::kRatio, 0.25f);
    e->setProgram(4);
    std::string longName = "abcdefghijklmnopqrstuvwxyz" + std::string(274, 'x');
    e->setProgramName(longName.data());
    EXPECT_EQ(programName(*e), "abcdefghijklmnopqrstuvw");
    e->setProgram(5);
    EXPECT_EQ(programName(*e), "empty");
    EXPECT_NEAR(e->getParameter(squeezr::kRatio), 0.25f, 1e-6f);

    AEffect* a = e->getAeffect();
    char text[256];
    a->dispatcher(a, effSetProgramName, 0, 0, longName.data(), 0);
    a->dispatcher(a, effGetProgramName, 0, 0, text, 0);
    EXPECT_STREQ(text, "abcdefghijklmnopqrstuvw");
    a->dispatcher(a, effSetProgramName, 0, 0, nullptr, 0);
    a->dispatcher(a, effGetProgramName, 0, 0, nullptr, 0);

    // A host's 24-byte field, full and not terminated (on the heap, where AddressSanitizer sees any
    // read past it): through the dispatcher and handed straight to the effect alike.
    auto field = std::make_unique<char[]>(kVstMaxProgNameLen);
    std::memset(field.get(), 'q', kVstMaxProgNameLen);
    a->dispatcher(a, effSetProgramName, 0, 0, field.get(), 0);
    EXPECT_EQ(programName(*e), std::string(23, 'q'));
    std::memset(field.get(), 'z', kVstMaxProgNameLen);
    e->setProgramName(field.get());
    EXPECT_EQ(programName(*e), std::string(23, 'z'));
}

TEST(SqueezrPrograms, StoredValuesComeBackThroughGetParameter)
{
    auto e = makeEffect(true);
    unsigned seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    float stored[10][8];
    for (VstInt32 p = 0; p < 10; ++p) {
        e->setProgram(p);
        for (VstInt32 i = 0; i < 6; ++i) e->setParameter(i, stored[p][i] = next());
        for (VstInt32 i = 6; i < 8; ++i) e->setParameter(i, stored[p][i] = next() < 0.5f ? 0.0f : 1.0f);
    }
    for (VstInt32 p : {3, 0, 9, 5}) {
        e->setProgram(p);
        for (VstInt32 i = 0; i < 8; ++i) EXPECT_NEAR(e->getParameter(i), stored[p][i], 2e-6f) << p << "/" << i;
    }
}
