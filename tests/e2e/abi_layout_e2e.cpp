// The record as a host of this build's word size reads it: raw bytes at the published offsets, not through
// our own struct, so a layout that only agrees with itself cannot pass.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/PluginHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

struct PublishedLayout {
    std::size_t dispatcher, setParameter, getParameter, numPrograms, numParams, numInputs, numOutputs, flags,
        object, uniqueID, version, processReplacing, size;
};

// The published offsets for 32-bit and 64-bit hosts.
constexpr PublishedLayout kLayout32{4, 12, 16, 20, 24, 28, 32, 36, 64, 72, 76, 80, 144};
constexpr PublishedLayout kLayout64{8, 24, 32, 40, 44, 48, 52, 56, 96, 112, 116, 120, 192};
constexpr PublishedLayout kLayout = sizeof(void*) == 8 ? kLayout64 : kLayout32;

template <typename T>
T readAt(const AEffect* e, std::size_t offset)
{
    T v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(e) + offset, sizeof v);
    return v;
}

struct Expected {
    const char* file;
    char id[5];
    std::int32_t params, programs;
};

class RecordLayout : public testing::TestWithParam<Expected> {};

TEST_P(RecordLayout, FieldsSitAtThePublishedOffsetsAndPointerValuesSurviveWhole)
{
    const Expected& x = GetParam();
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath(x.file), error)) << error;
    const AEffect* e = host.effect();

    EXPECT_EQ(sizeof(AEffect), kLayout.size);
    EXPECT_EQ(readAt<std::int32_t>(e, 0), 0x56737450);  // 'VstP'
    const std::int32_t id = (x.id[0] << 24) | (x.id[1] << 16) | (x.id[2] << 8) | x.id[3];
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.uniqueID), id);
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.numParams), x.params);
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.numPrograms), x.programs);
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.numInputs), 2);
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.numOutputs), 2);
    EXPECT_NE(readAt<std::int32_t>(e, kLayout.flags) & effFlagsCanReplacing, 0);
    EXPECT_EQ(readAt<std::int32_t>(e, kLayout.version), e->version);

    // Function pointers are read whole at their offsets and called: a cut pointer would not reach the plug-in.
    const auto dispatcher = readAt<AEffectDispatcherProc>(e, kLayout.dispatcher);
    const auto setParameter = readAt<AEffectSetParameterProc>(e, kLayout.setParameter);
    const auto getParameter = readAt<AEffectGetParameterProc>(e, kLayout.getParameter);
    ASSERT_NE(dispatcher, nullptr);
    ASSERT_NE(readAt<AEffectProcessProc>(e, kLayout.processReplacing), nullptr);
    EXPECT_NE(readAt<void*>(e, kLayout.object), nullptr);
    AEffect* mutableRecord = host.effect();
    EXPECT_EQ(dispatcher(mutableRecord, effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    setParameter(mutableRecord, 0, 1.0f);  // an end of the range: every mapping gives it back exactly
    EXPECT_EQ(getParameter(mutableRecord, 0), 1.0f);

    // effEditGetRect hands back a pointer through ptr: it must arrive whole and point at the editor's size.
    ERect* rect = nullptr;
    ASSERT_EQ(dispatcher(mutableRecord, effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right - rect->left, 0);
    EXPECT_GT(rect->bottom - rect->top, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryPlugin, RecordLayout,
                         testing::Values(Expected{"msgrid_vst", "+msg", 3, 1}, Expected{"squeezr_vst", "sqzr", 8, 10},
                                         Expected{"vectorgram_vst", "+vgm", 1, 1}),
                         [](const testing::TestParamInfo<Expected>& info) { return std::string(info.param.file); });

}  // namespace
