// The +vectorgram editor in a real Windows window under GDI and GDI+: a drag of the "display" slider
// reaches the effect and the host, and the picture of a silent effect agrees with the one the Linux
// build draws.
#include "platform/GraphicsSession.h"
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kAccent = 80u << 16 | 189u << 8 | 216u;
constexpr std::uint32_t kScreen = 40u << 16 | 94u << 8 | 108u;
constexpr std::uint32_t kBody = 144u << 16 | 8u << 8 | 0u;
constexpr int kWidth = 390, kHeight = 430;

// A PNG read with GDI+ as 0xRRGGBB rows; empty when it cannot be read.
std::vector<std::uint32_t> readPng(const std::wstring& path, int& width, int& height)
{
    std::vector<std::uint32_t> out;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok) return out;
    UINT w = 0, h = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap, &w);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap, &h);
    width = int(w);
    height = int(h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            Gdiplus::ARGB c = 0;
            Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, INT(x), INT(y), &c);
            out.push_back(c & 0xFFFFFF);
        }
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return out;
}

int channelDistance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

std::uint32_t blockAverage(const std::vector<std::uint32_t>& p, int bx, int by)
{
    int sum[3] = {};
    for (int y = by; y < by + 10; ++y)
        for (int x = bx; x < bx + 10; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += int(p[std::size_t(y * kWidth + x)] >> (8 * c) & 0xFF);
    return std::uint32_t(sum[2] / 100) << 16 | std::uint32_t(sum[1] / 100) << 8 | std::uint32_t(sum[0] / 100);
}

class VectorgramWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
        std::string error;
        ASSERT_TRUE(host.load(pluginPath("vectorgram_vst"), error)) << error;
    }
    // Open, and idle until the direction dot has come to rest, as in the Linux picture.
    void open()
    {
        std::string error;
        ASSERT_TRUE(host.openEditor(error)) << error;
        ASSERT_TRUE(host.pumpUntil([&] { return host.pixel(195, 425) != 0; })) << "the editor never painted";
        ASSERT_TRUE(host.pumpUntil([&] { return host.idlesSent() >= 100; }, 30000));
        host.pumpFor(100);
    }
    platform::GraphicsSession gdiplus;
    WindowsEditorHost host;
};

}  // namespace

TEST_F(VectorgramWindows, DraggingTheSliderToItsRightEndShows512Samples)
{
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);
    EXPECT_EQ(host.pixel(25 + 12 + 119, 380 + 13), kAccent) << "the thumb starts at 200 samples";

    host.drag({{157, 388}, {260, 388}, {389, 388}}, 400);
    const auto& automations = host.plugin().automations;
    ASSERT_FALSE(automations.empty()) << "the drag never reached the slider";
    for (std::size_t i = 1; i < automations.size(); ++i) {
        EXPECT_EQ(automations[i].index, 0);
        EXPECT_GE(automations[i].value, automations[i - 1].value);
    }
    EXPECT_EQ(automations.back().value, 1.0f);
    EXPECT_EQ(host.plugin().parameterDisplay(0), "512");
    EXPECT_EQ(host.plugin().beginEdits, std::vector<VstInt32>{0});
    EXPECT_EQ(host.plugin().endEdits, std::vector<VstInt32>{0});
    EXPECT_TRUE(host.pumpUntil([&] { return host.pixel(25 + 328, 380 + 13) == kAccent; }))
        << "the thumb did not follow to the right end";
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/vectorgram-editor-win32-dragged.png"));
}

TEST_F(VectorgramWindows, ThePictureAgreesWithTheLinuxOne)
{
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/vectorgram-editor-win32.png"));
    const std::vector<std::uint32_t> windows = host.capture();
    int w = 0, h = 0;
    const std::vector<std::uint32_t> linuxPicture = readPng(TW_LINUX_VECTORGRAM_PICTURE, w, h);
    ASSERT_EQ(w, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(h, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.size());

    // The screen, the guide lines and the dot at the top: the same colours on both systems.
    EXPECT_EQ(windows[std::size_t((35 + 200) * kWidth + 25 + 100)], kScreen);
    EXPECT_EQ(windows[std::size_t((35 + 130) * kWidth + 25 + 169)], kBody);
    EXPECT_EQ(windows[std::size_t((35 + 10) * kWidth + 25 + 169)], kBody);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {22, 200}, {25 + 100, 35 + 200}, {25 + 169, 35 + 130}, {25 + 169, 35 + 10}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture[std::size_t(y * kWidth + x)]) << x << "," << y;

    int distant = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) distant += channelDistance(windows[i], linuxPicture[i]) > 64;
    EXPECT_LT(distant, int(windows.size() / 20)) << distant << " of " << windows.size() << " pixels differ";
    int blocksOff = 0;
    for (int by = 0; by + 10 <= kHeight; by += 10)
        for (int bx = 0; bx + 10 <= kWidth; bx += 10)
            blocksOff += channelDistance(blockAverage(windows, bx, by), blockAverage(linuxPicture, bx, by)) > 40;
    EXPECT_LE(blocksOff, 40) << "of " << (kWidth / 10) * (kHeight / 10) << " blocks";
}
