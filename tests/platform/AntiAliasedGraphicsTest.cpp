// The anti-aliased interface's conventions, the same on GDI+ and Cairo: ARGB colours, GDI+'s angles
// (0 at 3 o'clock, clockwise on screen), and a line of text centred in its box.
#include "platform/AntiAliasedGraphics.h"
#include "platform/DeviceContext.h"
#include "platform/GraphicsSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

namespace {
class AntiAliased : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.running());
        dc = DeviceContext::createOffscreen(0, 100, 100);
        ASSERT_NE(dc, nullptr);
        dc->setBrush({255, 255, 255});
        dc->fillRect({0, 0, 100, 100});
        g = AntiAliasedGraphics::create(*dc);
        ASSERT_NE(g, nullptr);
    }
    std::uint32_t at(int x, int y)
    {
        g->flush();
        return dc->pixel(x, y);
    }
    GraphicsSession session;
    std::unique_ptr<DeviceContext> dc;
    std::unique_ptr<AntiAliasedGraphics> g;
};

struct Box {
    int left = 1000, top = 1000, right = -1, bottom = -1;
};

Box inkOf(DeviceContext& dc, std::uint32_t background)
{
    Box b;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            if (dc.pixel(x, y) != background) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}
}  // namespace

TEST_F(AntiAliased, ColoursAreArgbAndAlphaBlends)
{
    g->setBrush(0xFF123456);
    g->fillRect({10, 10, 20, 20});
    EXPECT_EQ(at(20, 20), 0x123456u);
    g->setBrush(0x80000000);  // half-transparent black over white
    g->fillRect({50, 50, 20, 20});
    const std::uint32_t grey = at(60, 60);
    EXPECT_NEAR(double(grey >> 16), 127.0, 3.0);
    EXPECT_EQ(grey >> 16, grey & 0xFF);
    g->setBrush(0x00FF0000);  // fully transparent: nothing
    g->fillRect({0, 80, 20, 20});
    EXPECT_EQ(at(10, 90), 0xFFFFFFu);
}

TEST_F(AntiAliased, PiesStartAtThreeOclockAndTurnClockwise)
{
    g->setBrush(0xFF000000);
    g->fillPie({10, 10, 80, 80}, 0, 90);  // centre (50, 50): the quadrant towards 6 o'clock
    EXPECT_EQ(at(65, 65), 0x000000u);
    EXPECT_EQ(at(65, 35), 0xFFFFFFu);
    EXPECT_EQ(at(35, 65), 0xFFFFFFu);
    EXPECT_EQ(at(35, 35), 0xFFFFFFu);
    // A sweep across 0 degrees: 300 round to 60.
    g->setBrush(0xFFFF0000);
    g->fillPie({10, 10, 80, 80}, 300, 120);
    EXPECT_EQ(at(80, 50), 0xFF0000u);  // 0 degrees
    EXPECT_EQ(at(60, 80), 0x000000u);  // 72 degrees: past its end, still the first pie's
    EXPECT_EQ(at(50, 20), 0xFFFFFFu);  // 270 degrees: before the start
}

TEST_F(AntiAliased, ArcsAreOutlinesOnTheEllipse)
{
    g->setPen(0xFF0000FF, 3);
    g->strokeArc({10, 10, 80, 80}, 90, 90);  // 6 o'clock to 9 o'clock
    EXPECT_EQ(at(43, 90), 0x0000FFu);  // 100 degrees, on the circle's lowest rows
    EXPECT_EQ(at(10, 57), 0x0000FFu);  // 170 degrees
    EXPECT_EQ(at(90, 50), 0xFFFFFFu);
    EXPECT_EQ(at(50, 10), 0xFFFFFFu);
    EXPECT_EQ(at(50, 50), 0xFFFFFFu);
    const double d = 40 / std::sqrt(2.0);  // 135 degrees lies on the arc
    EXPECT_NE(at(int(std::lround(50 - d)), int(std::lround(50 + d))), 0xFFFFFFu);
}

TEST_F(AntiAliased, IntegerCoordinatesArePixelCentres)
{
    g->setPen(0xFF000000, 1);
    g->line(10, 30, 90, 30);  // exactly one row, no blur across two
    EXPECT_EQ(at(50, 30), 0x000000u);
    EXPECT_EQ(at(50, 29), 0xFFFFFFu);
    EXPECT_EQ(at(50, 31), 0xFFFFFFu);
}

TEST_F(AntiAliased, TextIsCentredInItsBox)
{
    ASSERT_TRUE(g->setFont("Arial", 20, false, false, false));
    g->setTextBrush(0xFF000000);
    g->drawText("Hoxen", {0, 20, 100, 60}, TextAlign::Centre);
    g->flush();
    const Box ink = inkOf(*dc, 0xFFFFFF);
    ASSERT_GT(ink.right, ink.left);
    // Horizontally about the box's centre; vertically the line box is centred, so the ink of capitals
    // and x-height letters sits a little above the middle but well inside.
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 50.0, 2.5);
    EXPECT_GT(ink.top, 20 + 15);
    EXPECT_LT(ink.bottom, 80 - 15);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 50.0, 4.0);
}

TEST_F(AntiAliased, NearAndFarTextKeepAMarginAndNothingClips)
{
    ASSERT_TRUE(g->setFont("Arial", 18, true, false, false));
    g->setTextBrush(0xFF000000);
    g->drawText("Il", {20, 0, 60, 30}, TextAlign::Left);
    g->flush();
    Box ink = inkOf(*dc, 0xFFFFFF);
    EXPECT_GE(ink.left, 20 + 2);  // a sixth of the em, less the glyph's bearing
    EXPECT_LE(ink.left, 20 + 6);
    dc->setBrush({255, 255, 255});
    dc->fillRect({0, 0, 100, 100});
    g->drawText("Il", {20, 0, 60, 30}, TextAlign::Right);
    g->flush();
    ink = inkOf(*dc, 0xFFFFFF);
    EXPECT_LE(ink.right, 80 - 2);
    EXPECT_GE(ink.right, 80 - 6);
    // Far wider than its box: drawn whole, not wrapped or clipped.
    dc->fillRect({0, 0, 100, 100});
    g->drawText("WWWWWW", {40, 40, 10, 20}, TextAlign::Centre);
    g->flush();
    ink = inkOf(*dc, 0xFFFFFF);
    EXPECT_LT(ink.left, 30);
    EXPECT_GT(ink.right, 60);
    EXPECT_LT(ink.bottom - ink.top, 25);  // one line
}

TEST_F(AntiAliased, NonFiniteInputDrawsNothingHarmful)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    g->setPen(0xFF000000, nan);
    g->setBrush(0xFF000000);
    g->fillRect({nan, 0, inf, 10});
    g->fillPie({0, 0, 1e30f, -1e30f}, nan, inf);
    g->strokeArc({inf, inf, inf, inf}, 0, 1e9f);
    g->strokeEllipse({0, 0, 0, 0});
    EXPECT_FALSE(g->setFont("Arial", nan, false, false, false));
    g->drawText("x", {nan, nan, nan, nan}, TextAlign::Centre);
    // Still usable afterwards.
    g->setBrush(0xFF00FF00);
    g->fillRect({40, 40, 10, 10});
    EXPECT_EQ(at(45, 45), 0x00FF00u);
}
