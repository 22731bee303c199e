// The +vectorgram editor in a real Windows window under GDI and GDI+: a drag of the "display" slider
// reaches the effect and the host, and the picture of a silent effect agrees with the one the Linux
// build draws.
#include "tests/e2e/win32/ShippedEditorTest.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kScreen = 40u << 16 | 94u << 8 | 108u;
constexpr std::uint32_t kBody = 144u << 16 | 8u << 8 | 0u;
constexpr int kWidth = 390, kHeight = 430;
// Idles until the direction dot has come to rest, as in the Linux picture.
constexpr int kSettled = 100;

class VectorgramWindows : public ShippedEditorTest {
protected:
    VectorgramWindows() : ShippedEditorTest("vectorgram_vst", kWidth, kHeight) {}
};

}  // namespace

TEST_F(VectorgramWindows, DraggingTheSliderToItsRightEndShows512Samples)
{
    ASSERT_NO_FATAL_FAILURE(open(kSettled));
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);
    EXPECT_EQ(host.pixel(25 + 12 + 119, 380 + 13), kAccent) << "the thumb starts at 200 samples";

    host.drag({{157, 388}, {260, 388}, {389, 388}}, 400);
    ASSERT_NO_FATAL_FAILURE(expectOneGestureRisingTo1(0));
    EXPECT_EQ(host.plugin().parameterDisplay(0), "512");
    EXPECT_TRUE(host.pumpUntil([&] { return host.pixel(25 + 328, 380 + 13) == kAccent; }))
        << "the thumb did not follow to the right end";
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/vectorgram-editor-win32-dragged.png"));
}

TEST_F(VectorgramWindows, ThePictureAgreesWithTheLinuxOne)
{
    ASSERT_NO_FATAL_FAILURE(open(kSettled));
    // The screen, the guide lines and the dot at the top: the same colours on both systems.
    const std::vector<std::uint32_t> windows = host.capture();
    ASSERT_EQ(windows.size(), std::size_t(kWidth) * kHeight);
    EXPECT_EQ(windows[std::size_t((35 + 200) * kWidth + 25 + 100)], kScreen);
    EXPECT_EQ(windows[std::size_t((35 + 130) * kWidth + 25 + 169)], kBody);
    EXPECT_EQ(windows[std::size_t((35 + 10) * kWidth + 25 + 169)], kBody);
    expectPictureAgrees(TW_LINUX_VECTORGRAM_PICTURE, "vectorgram-editor-win32.png",
                        {{0, 0}, {200, 0}, {22, 200}, {25 + 100, 35 + 200}, {25 + 169, 35 + 130}, {25 + 169, 35 + 10}},
                        20, 40);
}
