// The +squeezr editor in a real Windows window under GDI and GDI+: a drag of the threshold knob
// reaches the effect and the host, and the picture agrees with the one the Linux build draws.
#include "platform/GraphicsSession.h"
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/PictureComparison.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kAccent = 80u << 16 | 189u << 8 | 216u;
constexpr int kWidth = 424, kHeight = 285;

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
    const Picture linuxPicture = readPng(TW_SQUEEZR_LINUX_PICTURE);
    ASSERT_EQ(linuxPicture.width, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(linuxPicture.height, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.pixels.size());

    // Colours where no text or edge is: the same to the byte (frame line, white, a dark eye, a knob's
    // cap and ring, the banner's field).
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {142, 100}, {45, 55}, {325, 55}, {38, 190}, {38, 231}, {3, 280}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture.at(x, y)) << x << "," << y;

    const PictureDifference d = comparePictures(windows, linuxPicture.pixels, kWidth, kHeight);
    EXPECT_LT(d.pixelsOff, int(windows.size() / 10)) << d.pixelsOff << " of " << windows.size() << " pixels differ";
    EXPECT_LE(d.blocksOff, 25) << "of " << d.blocks << " blocks";
}
