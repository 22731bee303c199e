// The +vectorgram editor in a real Windows window under GDI and GDI+: a drag of the "display" slider
// reaches the effect and the host, and the picture of a silent effect agrees with the one the Linux
// build draws.
#include "platform/GraphicsSession.h"
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/PictureComparison.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kAccent = 80u << 16 | 189u << 8 | 216u;
constexpr std::uint32_t kScreen = 40u << 16 | 94u << 8 | 108u;
constexpr std::uint32_t kBody = 144u << 16 | 8u << 8 | 0u;
constexpr int kWidth = 390, kHeight = 430;

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
    const Picture linuxPicture = readPng(TW_LINUX_VECTORGRAM_PICTURE);
    ASSERT_EQ(linuxPicture.width, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(linuxPicture.height, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.pixels.size());

    // The screen, the guide lines and the dot at the top: the same colours on both systems.
    EXPECT_EQ(windows[std::size_t((35 + 200) * kWidth + 25 + 100)], kScreen);
    EXPECT_EQ(windows[std::size_t((35 + 130) * kWidth + 25 + 169)], kBody);
    EXPECT_EQ(windows[std::size_t((35 + 10) * kWidth + 25 + 169)], kBody);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {22, 200}, {25 + 100, 35 + 200}, {25 + 169, 35 + 130}, {25 + 169, 35 + 10}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture.at(x, y)) << x << "," << y;

    const PictureDifference d = comparePictures(windows, linuxPicture.pixels, kWidth, kHeight);
    EXPECT_LT(d.pixelsOff, int(windows.size() / 20)) << d.pixelsOff << " of " << windows.size() << " pixels differ";
    EXPECT_LE(d.blocksOff, 40) << "of " << d.blocks << " blocks";
}
