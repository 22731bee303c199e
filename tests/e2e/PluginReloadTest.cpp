// A host's plug-in scanner loads and unloads a library many times in one process. Here each cycle
// loads one of the plug-ins through the system's loader, plays a block, and now and then opens its
// editor in a window of ours, idles it and closes it, before unloading; the process's resident memory
// must stay flat. This program links no graphics library but Xlib (which every desktop host has), so
// whatever the plug-ins bring in comes and goes with them.
#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/EditorWindow.h"
#include "tools/plughost/PluginHost.h"
#include "tools/plughost/PrivateXServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers hold on to freed memory on purpose: the cycles still run, the memory bound cannot.
constexpr bool kMemoryIsMeaningful = false;
constexpr int kCycles = 100;
#else
constexpr bool kMemoryIsMeaningful = true;
constexpr int kCycles = 1000;
#endif
constexpr int kWarmUp = 60;           // every plug-in loaded and its editor shown a few times
constexpr int kEditorEvery = 10;      // a painted editor costs some 20 ms, mostly the X server's
constexpr long kAllowedGrowthKb = 1024; // a leak of even 2 KB a cycle would pass this well before the end

long residentKb()
{
    long size = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One load, use and unload of a plug-in.
void cycle(const std::string& plugin, unsigned long parent, bool withEditor)
{
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.open(pluginPath(plugin), error)) << error;
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.dispatch(effSetBlockSize, 0, 256);
    host.dispatch(effMainsChanged, 0, 1);
    std::vector<float> left(256, 0.25f), right(256, -0.5f), outLeft(256), outRight(256);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    host.setParameter(0, 0.75f);
    host.processReplacing(in, out, 256);
    EXPECT_FALSE(host.parameterDisplay(0).empty()) << plugin;
    if (withEditor) {
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1) << plugin;
        host.dispatch(effEditIdle);
        host.processReplacing(in, out, 256);
        host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
    }
    host.dispatch(effMainsChanged, 0, 0);
    host.close();
}

} // namespace

TEST(PluginReload, ManyLoadsLeaveTheHostsMemoryFlat)
{
    // A display of our own: other tests' pointers and windows cannot meet ours. Kept to the end of the
    // process, after the plug-ins' own statics (which stay loaded and hold a connection to it) are gone.
    static PrivateXServer server;
    std::string error;
    ASSERT_TRUE(server.start(error)) << error;
    ASSERT_EQ(setenv("DISPLAY", server.name().c_str(), 1), 0);
    EditorWindow window;
    ASSERT_TRUE(window.open(640, 480, error)) << error;

    const std::string plugins[] = {"squeezr_vst", "msgrid_vst", "vectorgram_vst"};
    long baseline = 0;
    for (int i = 0; i < kCycles; ++i) {
        if (i == kWarmUp) baseline = residentKb();
        cycle(plugins[i % 3], window.id(), i % kEditorEvery == 0); // 10 = 1 (mod 3): all three in turn
        window.discardEvents();
        if (::testing::Test::HasFatalFailure()) return;
        if (kMemoryIsMeaningful && i > kWarmUp && i % 50 == 0) {
            // Stop at the first sign: a leaking build would otherwise take a great deal of memory.
            const long grown = residentKb() - baseline;
            ASSERT_LE(grown, kAllowedGrowthKb) << "after " << i - kWarmUp << " cycles past the warm-up";
        }
    }
    if (kMemoryIsMeaningful) {
        const long grown = residentKb() - baseline;
        EXPECT_LE(grown, kAllowedGrowthKb) << "over " << kCycles - kWarmUp << " cycles";
        std::printf("resident memory grew by %ld KB over %d cycles\n", grown, kCycles - kWarmUp);
    }
}
