// The +squeezr editor in a real Windows window under GDI and GDI+: a drag of the threshold knob
// reaches the effect and the host, and the picture agrees with the one the Linux build draws.
#include "tests/e2e/win32/ShippedEditorTest.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 424, kHeight = 285;

class SqueezrWindows : public ShippedEditorTest {
protected:
    SqueezrWindows() : ShippedEditorTest("squeezr_vst", kWidth, kHeight) {}
};

}  // namespace

TEST_F(SqueezrWindows, DraggingTheThresholdKnobUpTurnsItToTheTop)
{
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);

    host.drag({{108, 203}, {108, 170}, {108, 125}}, 400);
    ASSERT_NO_FATAL_FAILURE(expectOneGestureRisingTo1(1));
    EXPECT_NEAR(host.plugin().getParameter(1), 1.0f, 1e-6f);
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
    // Exact: frame line, white, a dark eye, a knob's cap and ring, the banner's field.
    expectPictureAgrees(TW_SQUEEZR_LINUX_PICTURE, "squeezr-editor-win32.png",
                        {{0, 0}, {200, 0}, {142, 100}, {45, 55}, {325, 55}, {38, 190}, {38, 231}, {3, 280}}, 10, 25);
}
