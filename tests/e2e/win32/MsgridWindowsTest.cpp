// The +msgrid editor in a real Windows window under GDI and GDI+: a drag of the mid slider reaches the
// effect and the host, and the picture agrees with the one the Linux build draws of the same state.
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
constexpr int kWidth = 350, kHeight = 110;

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
    const Picture linuxPicture = readPng(TW_LINUX_PICTURE);
    ASSERT_EQ(linuxPicture.width, kWidth) << "cannot read the Linux picture";
    ASSERT_EQ(linuxPicture.height, kHeight);
    ASSERT_EQ(windows.size(), linuxPicture.pixels.size());

    // Colours where no text or edge is: the same to the byte.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {200, 0}, {0, 60}, {349, 38}, {3, 104}, {5 + 12 + 221, 40 + 13}, {5 + 12 + 110, 60 + 13}})
        EXPECT_EQ(windows[std::size_t(y * kWidth + x)], linuxPicture.at(x, y)) << x << "," << y;

    // Layout and colours: most pixels agree closely; text and anti-aliased edges may differ.
    const PictureDifference d = comparePictures(windows, linuxPicture.pixels, kWidth, kHeight);
    EXPECT_LT(d.pixelsOff, int(windows.size() / 10)) << d.pixelsOff << " of " << windows.size() << " pixels differ";
    EXPECT_LE(d.blocksOff, 12) << "of " << d.blocks << " blocks";
}
