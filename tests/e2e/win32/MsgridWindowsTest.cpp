// The +msgrid editor in a real Windows window under GDI and GDI+: a drag of the mid slider reaches the
// effect and the host, and the picture agrees with the one the Linux build draws of the same state.
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
constexpr int kWidth = 350, kHeight = 110;

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

// Average colour of an 10 x 10 block.
std::uint32_t blockAverage(const std::vector<std::uint32_t>& p, int bx, int by)
{
    int sum[3] = {};
    for (int y = by; y < by + 10; ++y)
        for (int x = bx; x < bx + 10; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += int(p[std::size_t(y * kWidth + x)] >> (8 * c) & 0xFF);
    return std::uint32_t(sum[2] / 100) << 16 | std::uint32_t(sum[1] / 100) << 8 | std::uint32_t(sum[0] / 100);
}

class MsgridWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
        std::string error;
        ASSERT_TRUE(host.load(pluginPath("msgrid_vst"), error)) << error;
    }
    void open()
    {
        std::string error;
        ASSERT_TRUE(host.openEditor(error)) << error;
        ASSERT_TRUE(host.pumpUntil([&] { return host.pixel(175, 105) != 0; })) << "the editor never painted";
        host.pumpFor(200);
    }
    platform::GraphicsSession gdiplus;
    WindowsEditorHost host;
};

}  // namespace

TEST_F(MsgridWindows, DraggingTheMidSliderMovesTheParameterAndTheThumb)
{
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);
    EXPECT_EQ(host.pixel(5 + 170, 40 + 13), kAccent) << "the mid thumb starts in the middle";

    host.drag({{175, 48}, {260, 48}, {349, 48}}, 400);
    const auto& automations = host.plugin().automations;
    ASSERT_FALSE(automations.empty()) << "the drag never reached the slider";
    for (std::size_t i = 1; i < automations.size(); ++i) {
        EXPECT_EQ(automations[i].index, 0);
        EXPECT_GE(automations[i].value, automations[i - 1].value);
    }
    EXPECT_EQ(automations.back().value, 1.0f);
    EXPECT_NEAR(host.plugin().getParameter(0), 1.0f, 1e-6f);
    EXPECT_EQ(host.plugin().parameterDisplay(0).substr(0, 5), "12.00");
    EXPECT_EQ(host.plugin().beginEdits, std::vector<VstInt32>{0});
    EXPECT_EQ(host.plugin().endEdits, std::vector<VstInt32>{0});
    EXPECT_TRUE(host.pumpUntil([&] { return host.pixel(5 + 328, 40 + 13) == kAccent; }))
        << "the thumb did not follow to the right end";
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/msgrid-editor-win32-dragged.png"));
}

TEST_F(MsgridWindows, ThePictureAgreesWithTheLinuxOne)
{
    // The state of the committed Linux picture.
    host.plugin().setParameter(0, 0.7f);
    host.plugin().setParameter(1, 0.35f);
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/msgrid-editor-win32.png"));
    const std::vector<std::uint32_t> windows = host.capture();
    int w = 0, h = 0;
    const std::vector<std::uint32_t> linuxPicture = readPng(TW_LINUX_PICTURE, w, h);
    ASSERT_EQ(w, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(h, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.size());

    // Colours where no text or edge is: the same to the byte.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {0, 60}, {349, 38}, {3, 104}, {5 + 12 + 221, 40 + 13}, {5 + 12 + 110, 60 + 13}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture[std::size_t(y * kWidth + x)]) << x << "," << y;

    // Layout and colours: most pixels agree closely; text and anti-aliased edges may differ.
    int distant = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) distant += channelDistance(windows[i], linuxPicture[i]) > 64;
    EXPECT_LT(distant, int(windows.size() / 10)) << distant << " of " << windows.size() << " pixels differ";
    int blocksOff = 0;
    for (int by = 0; by + 10 <= kHeight; by += 10)
        for (int bx = 0; bx + 10 <= kWidth; bx += 10)
            blocksOff += channelDistance(blockAverage(windows, bx, by), blockAverage(linuxPicture, bx, by)) > 40;
    EXPECT_LE(blocksOff, 12) << "of " << (kWidth / 10) * (kHeight / 10) << " blocks";
}
