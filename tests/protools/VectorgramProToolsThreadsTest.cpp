// The audio thread renders one insert while the host's other thread automates its controls, switches
// its bypass, restores its chunk and makes and destroys other inserts, or idles and draws its open
// window: no lock is taken, nothing tears, and the audio passes through bit for bit throughout
// (ThreadSanitizer watches the rest).
#include "effects/vectorgram/CVectorgramVSTEditor.h"
#include "platform/HeadlessWindowSystem.h"
#include "protools/CVectorgramCustomUI.h"
#include "protools/CVectorgramProcess.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/PlugInExports.h"
#include "tests/protools/ResourceFileBeside.h"
#include "tools/plughost/ProToolsPlugin.h"
#include "widgets/VGVUBitMeter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

TEST(VectorgramProToolsThreads, RenderWhileControlsAndChunksChange)
{
    ASSERT_FALSE(rsr::read().empty());
    ProToolsPlugin plugin;
    std::string error;
    ASSERT_TRUE(plugin.attach({WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor, NewPlugIn}, error)) << error;
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const auto& r = plugin.routines();
    PI_Insert insert = 0;
    ASSERT_EQ(r.createInsert(1, 48000, &insert), PI_NoErr);
    std::vector<std::uint8_t> chunk(64);
    std::int32_t size = 0;
    ASSERT_EQ(r.saveChunk(insert, chunk.data(), 64, &size), PI_NoErr);

    std::atomic<int> blocks{0};
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::atomic<int> errors{0};
    std::thread audio([&] {
        std::vector<float> l(256), rr(256), outL(256), outR(256);
        float* in[] = {l.data(), rr.data()};
        float* out[] = {outL.data(), outR.data()};
        for (int b = 0; !stop.load() || b < 10; ++b) {
            for (int i = 0; i < 256; ++i) {
                l[std::size_t(i)] = float((b * 256 + i) % 97) / 97 - 0.5f;
                rr[std::size_t(i)] = -l[std::size_t(i)] * 0.5f;
            }
            if (r.render(insert, in, out, 256) != PI_NoErr) errors.fetch_add(1);
            if (outL != l || outR != rr) mismatches.fetch_add(1);
            blocks.fetch_add(1);
        }
    });
    while (blocks.load() == 0) std::this_thread::yield();

    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(r.setControlValue(insert, 2, std::int32_t(std::int64_t(i) * 14000000 - 2100000000)), PI_NoErr);
        EXPECT_EQ(r.setControlValue(insert, 1, i % 2), PI_NoErr);
        if (i % 10 == 0) {
            EXPECT_EQ(r.restoreChunk(insert, chunk.data(), size), PI_NoErr);
        }
        if (i % 25 == 0) {
            PI_Insert other = 0;
            EXPECT_EQ(r.createInsert(1, 44100, &other), PI_NoErr);
            EXPECT_EQ(r.destroyInsert(other), PI_NoErr);
        }
        EXPECT_FALSE(plugin.controlText(insert, 2).empty());
        EXPECT_EQ(r.idle(insert), PI_NoErr);
    }
    stop = true;
    audio.join();
    EXPECT_EQ(errors.load(), 0);
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_GE(blocks.load(), 10);
    EXPECT_EQ(r.destroyInsert(insert), PI_NoErr);
}

TEST(VectorgramProToolsThreads, RenderWhileTheWindowIdles)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    ASSERT_FALSE(rsr::read().empty());
    ProToolsPlugin plugin;
    std::string error;
    ASSERT_TRUE(plugin.attach({WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor, NewPlugIn}, error)) << error;
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const auto& r = plugin.routines();
    PI_Insert insert = 0;
    ASSERT_EQ(r.createInsert(1, 48000, &insert), PI_NoErr);
    const PI_WindowPort port{PI_PortVersion, 0, headless.addHostWindow(0, platform::Rect{0, 0, 400, 450}, true)};
    ASSERT_EQ(r.openWindow(insert, &port), PI_NoErr);

    std::atomic<int> blocks{0};
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::thread audio([&] {
        std::vector<float> l(256), rr(256), outL(256), outR(256);
        float* in[] = {l.data(), rr.data()};
        float* out[] = {outL.data(), outR.data()};
        for (int b = 0; !stop.load() || b < 10; ++b) {
            for (int i = 0; i < 256; ++i) {
                l[std::size_t(i)] = 0.9f * float((b * 256 + i) % 50) / 50;
                rr[std::size_t(i)] = -l[std::size_t(i)];
            }
            if (r.render(insert, in, out, 256) != PI_NoErr || outL != l || outR != rr) mismatches.fetch_add(1);
            blocks.fetch_add(1);
        }
    });
    while (blocks.load() == 0) std::this_thread::yield();
    for (int i = 0; i < 200; ++i) {
        headless.setTicks(headless.ticks() + 20);
        EXPECT_EQ(r.idle(insert), PI_NoErr);
        if (i % 20 == 0) {
            EXPECT_EQ(r.drawWindow(insert, nullptr), PI_NoErr);
            EXPECT_EQ(r.setControlValue(insert, 2, std::int32_t(std::int64_t(i) * 20000000 - 2000000000)), PI_NoErr);
        }
    }
    stop = true;
    audio.join();
    EXPECT_EQ(mismatches.load(), 0);
    auto& process = dynamic_cast<CVectorgramProcess&>(*CPlugInModule::instance().findInsert(insert));
    EXPECT_GT(process.getCustomUI()->getEditor()->leftMeter()->value(), 0.0f) << "the meters followed the audio";
    EXPECT_EQ(r.closeWindow(insert), PI_NoErr);
    EXPECT_EQ(r.destroyInsert(insert), PI_NoErr);
    plugin.unload();
    platform::WindowSystem::install(nullptr);
    EXPECT_EQ(headless.windowCount(), 0u);
}

}  // namespace
