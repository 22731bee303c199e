// The +squeezr editor in a real Windows window under GDI and GDI+: a drag of the threshold knob
// reaches the effect and the host, and the picture agrees with the one the Linux build draws.
#include "platform/GraphicsSession.h"
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kAccent = 80u << 16 | 189u << 8 | 216u;
constexpr int kWidth = 424, kHeight = 285;

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

class SqueezrWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
        std::string error;
        ASSERT_TRUE(host.load(pluginPath("squeezr_vst"), error)) << error;
    }
    void open()
    {
        std::string error;
        ASSERT_TRUE(host.openEditor(error)) << error;
        ASSERT_TRUE(host.pumpUntil([&] { return host.pixel(212, 280) != 0; })) << "the editor never painted";
        host.pumpFor(200);
    }
    platform::GraphicsSession gdiplus;
    WindowsEditorHost host;
};

}  // namespace

TEST_F(SqueezrWindows, DraggingTheThresholdKnobUpTurnsItToTheTop)
{
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);

    host.drag({{108, 203}, {108, 170}, {108, 125}}, 400);
    const auto& automations = host.plugin().automations;
    ASSERT_FALSE(automations.empty()) << "the drag never reached the knob";
    for (std::size_t i = 1; i < automations.size(); ++i) {
        EXPECT_EQ(automations[i].index, 1);
        EXPECT_GE(automations[i].value, automations[i - 1].value);
    }
    EXPECT_EQ(automations.back().value, 1.0f);
    EXPECT_NEAR(host.plugin().getParameter(1), 1.0f, 1e-6f);
    EXPECT_EQ(host.plugin().beginEdits, std::vector<VstInt32>{1});
    EXPECT_EQ(host.plugin().endEdits, std::vector<VstInt32>{1});
    // The pointer dot at 5 o'clock: (43,53)-(51,61) in the knob at (75,170).
    EXPECT_TRUE(host.pumpUntil([&] { return host.pixel(75 + 47, 170 + 57) == kAccent; }))
        << "the pointer did not follow to the top";
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/squeezr-editor-win32-dragged.png"));
}

TEST_F(SqueezrWindows, ThePictureAgreesWithTheLinuxOne)
{
    // The state of the committed Linux picture.
    const float state[8] = {0.8571429f, 0.6666667f, 0.1f, 0.3f, 0.1f, 0.5f, 1.0f, 1.0f};
    for (int i = 0; i < 8; ++i) host.plugin().setParameter(i, state[i]);
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/squeezr-editor-win32.png"));
    const std::vector<std::uint32_t> windows = host.capture();
    int w = 0, h = 0;
    const std::vector<std::uint32_t> linuxPicture = readPng(TW_SQUEEZR_LINUX_PICTURE, w, h);
    ASSERT_EQ(w, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(h, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.size());

    // Colours where no text or edge is: the same to the byte (frame line, white, a dark eye, a knob's
    // cap and ring, the banner's field).
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {142, 100}, {45, 55}, {325, 55}, {38, 190}, {38, 231}, {3, 280}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture[std::size_t(y * kWidth + x)]) << x << "," << y;

    int distant = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) distant += channelDistance(windows[i], linuxPicture[i]) > 64;
    EXPECT_LT(distant, int(windows.size() / 10)) << distant << " of " << windows.size() << " pixels differ";
    int blocksOff = 0;
    for (int by = 0; by + 10 <= kHeight; by += 10)
        for (int bx = 0; bx + 10 <= kWidth; bx += 10)
            blocksOff += channelDistance(blockAverage(windows, bx, by), blockAverage(linuxPicture, bx, by)) > 40;
    EXPECT_LE(blocksOff, 25) << "of " << (kWidth / 10) * (kHeight / 10) << " blocks";
}
