// +vectorgram for Pro Tools as the stand-in Pro Tools sees it: the built file loaded, driven only
// through its four exports and the routines of the documented host interface.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/ProToolsPlugin.h"
#include "tools/plughost/SharedLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();

// The interleaved samples of a 32-bit float stereo WAV file; empty when it is not one.
std::vector<float> readStereoFloatWav(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(raw[at + std::size_t(i)])) << (8 * i);
        return v;
    };
    if (raw.size() < 12 || std::memcmp(raw.data(), "RIFF", 4) != 0 || std::memcmp(raw.data() + 8, "WAVE", 4) != 0)
        return {};
    bool floatStereo = false;
    for (std::size_t at = 12; at + 8 <= raw.size();) {
        const std::uint32_t size = u32(at + 4);
        if (at + 8 + size > raw.size()) return {};
        if (std::memcmp(raw.data() + at, "fmt ", 4) == 0 && size >= 16) {
            const auto tag = std::uint8_t(raw[at + 8]) | std::uint8_t(raw[at + 9]) << 8;
            const auto channels = std::uint8_t(raw[at + 10]) | std::uint8_t(raw[at + 11]) << 8;
            const auto bits = std::uint8_t(raw[at + 22]) | std::uint8_t(raw[at + 23]) << 8;
            floatStereo = tag == 3 && channels == 2 && bits == 32;
        } else if (std::memcmp(raw.data() + at, "data", 4) == 0 && floatStereo) {
            std::vector<float> samples(size / 4);
            std::memcpy(samples.data(), raw.data() + at + 8, samples.size() * 4);
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

class VectorgramRtasPlugin : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(plugin.load(pluginPath("vectorgram_rtas"), error)) << error;
    }

    PI_Insert create()
    {
        PI_Insert insert = 0;
        EXPECT_EQ(r().createInsert(1, 44100, &insert), PI_NoErr);
        return insert;
    }
    std::string samples(PI_Insert insert) const { return plugin.controlText(insert, 2); }
    const ProToolsPlugin::Routines& r() const { return plugin.routines(); }

    ProToolsPlugin plugin;
};

TEST_F(VectorgramRtasPlugin, RendersAFileAndFollowsAutomationChunksAndBypass)
{
    EXPECT_EQ(plugin.open(72), PI_ErrBadVersion);
    ASSERT_EQ(plugin.open(), PI_NoErr);
    EXPECT_EQ(plugin.groupName(12), "+vectorgram");
    EXPECT_EQ(plugin.typeName(1, 4), "+vgm");
    EXPECT_EQ(plugin.typeName(1, 30), "Tonewerks +vectorgram");
    const PI_Insert a = create(), b = create();
    ASSERT_NE(a, b);
    EXPECT_EQ(samples(a), "200");

    const std::vector<float> file = readStereoFloatWav(TW_E2E_WAV);
    ASSERT_GT(file.size(), 44100u);
    std::vector<float> rendered;
    std::vector<float> l(512), rr(512), outL(512), outR(512);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    for (std::size_t start = 0; start < file.size() / 2; start += 512) {
        const std::size_t n = std::min<std::size_t>(512, file.size() / 2 - start);
        for (std::size_t i = 0; i < n; ++i) {
            l[i] = file[2 * (start + i)];
            rr[i] = file[2 * (start + i) + 1];
        }
        ASSERT_EQ(r().render(a, in, out, std::int32_t(n)), PI_NoErr);
        for (std::size_t i = 0; i < n; ++i) {
            rendered.push_back(outL[i]);
            rendered.push_back(outR[i]);
        }
    }
    ASSERT_EQ(rendered.size(), file.size());
    EXPECT_EQ(std::memcmp(rendered.data(), file.data(), file.size() * sizeof(float)), 0);

    // Automation of control 2 reaches a's effect, and only a's.
    ASSERT_EQ(r().setControlValue(a, 2, 0), PI_NoErr);
    EXPECT_EQ(samples(a), "261");
    EXPECT_EQ(samples(b), "200");
    std::int32_t size = 0;
    ASSERT_EQ(r().getChunkSize(a, &size), PI_NoErr);
    std::vector<std::uint8_t> chunk(std::size_t(size), 0);
    ASSERT_EQ(r().saveChunk(a, chunk.data(), size, &size), PI_NoErr);
    ASSERT_EQ(r().setControlValue(a, 2, kLowest), PI_NoErr);
    EXPECT_EQ(samples(a), "10");
    ASSERT_EQ(r().restoreChunk(a, chunk.data(), size), PI_NoErr);
    EXPECT_EQ(samples(a), "261");
    EXPECT_EQ(samples(b), "200");

    // Bypassed, the library passes the audio itself; the effect keeps its state.
    ASSERT_EQ(r().setControlValue(a, 1, 1), PI_NoErr);
    for (std::size_t i = 0; i < 512; ++i) {
        l[i] = file[2 * i];
        rr[i] = file[2 * i + 1];
    }
    std::fill(outL.begin(), outL.end(), 9.0f);
    ASSERT_EQ(r().render(a, in, out, 512), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(outR, rr);
    EXPECT_EQ(samples(a), "261");
    EXPECT_EQ(plugin.controlText(a, 1), "On");
    EXPECT_EQ(plugin.controlText(b, 1), "Off");

    ASSERT_EQ(r().destroyInsert(a), PI_NoErr);
    ASSERT_EQ(r().destroyInsert(b), PI_NoErr);
    EXPECT_EQ(r().render(a, in, out, 512), PI_ErrUnknownInsert);
    ASSERT_EQ(plugin.close(), PI_NoErr);
    EXPECT_EQ(plugin.close(), PI_ErrNotOpen);
    PI_Insert none = 0;
    EXPECT_EQ(r().createInsert(1, 44100, &none), PI_ErrNotOpen);

    // Opened again, it starts afresh.
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert c = create();
    EXPECT_EQ(samples(c), "200");
    ASSERT_EQ(r().render(c, in, out, 512), PI_NoErr);
    EXPECT_EQ(outL, l);
}

TEST_F(VectorgramRtasPlugin, AnswersBadInputWithErrorsAndKeepsWorking)
{
    EXPECT_EQ(plugin.exports().newPlugIn(), PI_ErrNotOpen);  // only the opening library may call it
    PI_Routine routine = nullptr;
    EXPECT_EQ(plugin.exports().getRoutineDescriptor(999, &routine), PI_ErrUnknownSelector);
    EXPECT_EQ(plugin.exports().getRoutineDescriptor(PI_SelRender, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(plugin.exports().winPlugInClose(), PI_ErrNotOpen);
    ASSERT_EQ(plugin.open(), PI_NoErr);
    EXPECT_EQ(plugin.exports().newPlugIn(), PI_ErrNotOpen);
    const PI_Insert insert = create();

    std::vector<float> l(8, 0.5f), rr(8, -0.5f), outL(8, 9), outR(8, 9);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    float* holed[] = {l.data(), nullptr};
    EXPECT_EQ(r().render(insert, in, out, 0), PI_ErrBadLength);
    EXPECT_EQ(r().render(insert, in, out, -8), PI_ErrBadLength);
    EXPECT_EQ(r().render(insert, nullptr, out, 8), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert, holed, out, 8), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert + 1, in, out, 8), PI_ErrUnknownInsert);
    EXPECT_EQ(outL, std::vector<float>(8, 9));
    EXPECT_EQ(r().setControlValue(insert, 3, 0), PI_ErrUnknownControl);
    EXPECT_EQ(r().setControlValue(insert, 1, 2), PI_ErrValueOutOfRange);
    char text[16] = "#";
    EXPECT_EQ(r().getTypeName(1, 0, text), PI_ErrBadLength);
    EXPECT_EQ(r().getControlName(insert, 2, -1, text), PI_ErrBadLength);
    EXPECT_STREQ(text, "#");
    const std::vector<std::uint8_t> garbage(36, 0x5A);
    EXPECT_EQ(r().restoreChunk(insert, garbage.data(), 36), PI_ErrBadChunk);
    EXPECT_EQ(r().restoreChunk(insert, garbage.data(), 8), PI_ErrBadChunk);
    EXPECT_EQ(r().restoreChunk(insert, garbage.data(), -1), PI_ErrBadLength);
    EXPECT_EQ(r().setNotify(0, nullptr, nullptr), PI_ErrUnknownInsert);

    EXPECT_EQ(samples(insert), "200");
    ASSERT_EQ(r().render(insert, in, out, 8), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(r().idle(insert), PI_NoErr);
}

TEST(VectorgramRtasResources, AMissingResourceFileFailsTheOpenUntilItAppears)
{
    namespace fs = std::filesystem;
    const fs::path built = pluginPath("vectorgram_rtas");
    const fs::path dir = fs::temp_directory_path() / ("tw-rtas-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const fs::path copy = dir / built.filename();
    fs::copy_file(built, copy);
    {
        ProToolsPlugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.load(copy.string(), error)) << error;
        EXPECT_EQ(plugin.open(), PI_ErrResourceFile);
        EXPECT_EQ(plugin.exports().winPlugInClose(), PI_ErrNotOpen);
        std::ofstream(copy.string() + ".rsr") << "not a resource file";
        EXPECT_EQ(plugin.open(), PI_ErrResourceFile);
        fs::copy_file(built.string() + ".rsr", copy.string() + ".rsr", fs::copy_options::overwrite_existing);
        ASSERT_EQ(plugin.open(), PI_NoErr);
        EXPECT_EQ(plugin.groupName(4), "+kvl");
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

// A host that unloads the file without destroying its insert or closing the library: the library
// cleans up in its own statics' destructors, the plug-in window's parts among them (its window class
// and editor made by asking the window's size), and nothing it needs has gone before it.
TEST(VectorgramRtasUnload, AHostThatNeverClosesLeavesNothingToTripOverAtUnload)
{
    for (int round = 0; round < 2; ++round) {
        SharedLibrary library;
        std::string error;
        ASSERT_TRUE(library.open(pluginPath("vectorgram_rtas"), error)) << error;
        const auto open = reinterpret_cast<PI_WinPlugInOpenProc>(library.symbol("WinPlugInOpen"));
        const auto describe = reinterpret_cast<PI_GetRoutineDescriptorProc>(library.symbol("_PI_GetRoutineDescriptor"));
        ASSERT_TRUE(open && describe);
        ASSERT_EQ(open(PI_OpenVersion), PI_NoErr);
        PI_Routine create = nullptr, size = nullptr;
        ASSERT_EQ(describe(PI_SelCreateInsert, &create), PI_NoErr);
        ASSERT_EQ(describe(PI_SelGetViewSize, &size), PI_NoErr);
        PI_Insert insert = 0;
        ASSERT_EQ(reinterpret_cast<PI_CreateInsertProc>(create)(1, 44100, &insert), PI_NoErr);
        PI_ViewRect rect{};
        ASSERT_EQ(reinterpret_cast<PI_GetViewSizeProc>(size)(insert, &rect), PI_NoErr);
        EXPECT_EQ(rect.right, 390);
        library.close();
    }
}

}  // namespace
