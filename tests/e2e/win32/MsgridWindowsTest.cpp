// The +msgrid editor in a real Windows window under GDI and GDI+: a drag of the mid slider reaches the
// effect and the host, and the picture agrees with the one the Linux build draws of the same state.
#include "tests/e2e/win32/ShippedEditorTest.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 350, kHeight = 110;

class MsgridWindows : public ShippedEditorTest {
protected:
    MsgridWindows() : ShippedEditorTest("msgrid_vst", kWidth, kHeight) {}
};

}  // namespace

TEST_F(MsgridWindows, DraggingTheMidSliderMovesTheParameterAndTheThumb)
{
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(host.width(), kWidth);
    ASSERT_EQ(host.height(), kHeight);
    EXPECT_EQ(host.pixel(5 + 170, 40 + 13), kAccent) << "the mid thumb starts in the middle";

    host.drag({{175, 48}, {260, 48}, {349, 48}}, 400);
    ASSERT_NO_FATAL_FAILURE(expectOneGestureRisingTo1(0));
    EXPECT_NEAR(host.plugin().getParameter(0), 1.0f, 1e-6f);
    EXPECT_EQ(host.plugin().parameterDisplay(0).substr(0, 5), "12.00");
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
    expectPictureAgrees(TW_LINUX_PICTURE, "msgrid-editor-win32.png",
                        {{0, 0}, {200, 0}, {0, 60}, {349, 38}, {3, 104}, {5 + 12 + 221, 40 + 13}, {5 + 12 + 110, 60 + 13}},
                        10, 12);
}
