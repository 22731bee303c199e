// GDI's pixel rules as computed for the Cairo build, pinned against pictures GDI itself drew (Wine's
// GDI on this kind of machine), plus the small portable pieces of the layer.
#include "platform/DeviceContext.h"
#include "platform/GdiRaster.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/PixelImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace platform;

namespace {
// Rows of a picture as '#' (set) and '.' (clear), the box at the origin.
std::vector<std::string> ellipseRows(int w, int h)
{
    std::vector<std::string> rows(std::size_t(h), std::string(std::size_t(w), '.'));
    std::vector<Span> spans;
    GdiRaster::ellipseSpans({0, 0, w, h}, spans);
    for (const Span& s : spans)
        for (int x = s.left; x < s.right; ++x) rows[std::size_t(s.y)][std::size_t(x)] = '#';
    return rows;
}

const Rect kEverywhere{-1000, -1000, 1000, 1000};
}  // namespace

TEST(GdiRaster, EllipsesMatchWhatGdiDraws)
{
    // Ellipse(0, 0, w, h) as GDI filled it, with an outline pen of the brush's colour.
    EXPECT_EQ(ellipseRows(10, 10), (std::vector<std::string>{
                                       "...####...", "..######..", ".########.", "##########", "##########",
                                       "##########", "##########", ".########.", "..######..", "...####..."}));
    EXPECT_EQ(ellipseRows(7, 4), (std::vector<std::string>{".#####.", "#######", "#######", ".#####."}));
    EXPECT_EQ(ellipseRows(16, 20), (std::vector<std::string>{
                                       "......####......", "....########....", "...##########...",
                                       "..############..", ".##############.", ".##############.",
                                       ".##############.", "################", "################",
                                       "################", "################", "################",
                                       "################", ".##############.", ".##############.",
                                       ".##############.", "..############..", "...##########...",
                                       "....########....", "......####......"}));
    EXPECT_EQ(ellipseRows(2, 2), (std::vector<std::string>{"##", "##"}));
    EXPECT_EQ(ellipseRows(1, 1), (std::vector<std::string>{"."}));
}

TEST(GdiRaster, EllipsesStayInsideTheirBoxAndTouchEverySide)
{
    for (int w = 2; w <= 40; w += 3) {
        for (int h = 2; h <= 40; h += 5) {
            std::vector<Span> spans;
            GdiRaster::ellipseSpans({5, 7, 5 + w, 7 + h}, spans);
            ASSERT_EQ(int(spans.size()), h);
            int minLeft = 1 << 30, maxRight = -(1 << 30);
            for (std::size_t i = 0; i < spans.size(); ++i) {
                const Span& s = spans[i];
                EXPECT_EQ(s.y, 7 + int(i));
                EXPECT_GE(s.left, 5);
                EXPECT_LE(s.right, 5 + w);
                EXPECT_LT(s.left, s.right) << w << "x" << h << " row " << i;
                // Mirror symmetry in both directions.
                EXPECT_EQ(s.left - 5, 5 + w - spans[i].right);
                EXPECT_EQ(s.left, spans[spans.size() - 1 - i].left);
                minLeft = std::min(minLeft, s.left);
                maxRight = std::max(maxRight, s.right);
            }
            EXPECT_EQ(minLeft, 5);
            EXPECT_EQ(maxRight, 5 + w);
        }
    }
    std::vector<Span> spans;
    GdiRaster::ellipseSpans({0, 0, GdiRaster::kMaxEllipse + 1, 10}, spans);
    EXPECT_TRUE(spans.empty());
}

TEST(GdiRaster, LinesRoundToTheNearestPixelAndLeaveTheEndOut)
{
    std::vector<Point> pts;
    // As GDI drew (1,1) to (20,5): runs of 3, 5, 4, 5 and 2 pixels.
    GdiRaster::linePixels({1, 1}, {20, 5}, pts, kEverywhere);
    ASSERT_EQ(pts.size(), 19u);
    const int rowOf[19] = {1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 5, 5};
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(pts[std::size_t(i)].x, 1 + i);
        EXPECT_EQ(pts[std::size_t(i)].y, rowOf[i]);
    }
    // Right to left and upwards: (38,20) to (25,12).
    GdiRaster::linePixels({38, 20}, {25, 12}, pts, kEverywhere);
    const int rows2[13] = {20, 19, 19, 18, 18, 17, 16, 16, 15, 14, 14, 13, 13};
    ASSERT_EQ(pts.size(), 13u);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(pts[std::size_t(i)], (Point{38 - i, rows2[i]}));
    // Steep, a diagonal, and nothing for a point.
    GdiRaster::linePixels({1, 3}, {5, 22}, pts, kEverywhere);
    EXPECT_EQ(pts.size(), 19u);
    EXPECT_EQ(pts.front(), (Point{1, 3}));
    EXPECT_EQ(pts.back().y, 21);
    GdiRaster::linePixels({30, 1}, {22, 9}, pts, kEverywhere);
    ASSERT_EQ(pts.size(), 8u);
    EXPECT_EQ(pts.back(), (Point{23, 8}));
    GdiRaster::linePixels({4, 4}, {4, 4}, pts, kEverywhere);
    EXPECT_TRUE(pts.empty());
}

TEST(GdiRaster, AbsurdLinesCostOnlyTheirVisiblePart)
{
    std::vector<Point> pts;
    GdiRaster::linePixels({-kCoordinateLimit, 3}, {kCoordinateLimit, 3}, pts, {0, 0, 10, 10});
    ASSERT_EQ(pts.size(), 10u);
    EXPECT_EQ(pts.front(), (Point{0, 3}));
    GdiRaster::linePixels({kCoordinateLimit, -kCoordinateLimit}, {-kCoordinateLimit, kCoordinateLimit}, pts,
                          {0, 0, 10, 10});
    for (const Point& p : pts) EXPECT_TRUE(p.x >= 0 && p.x < 10 && p.y >= 0 && p.y < 10);
}

TEST(PixelImage, RoundTripsThroughPpmAndRejectsJunk)
{
    PixelImage image;
    image.width = 3;
    image.height = 2;
    image.pixels = {0x000000, 0xFFFFFF, 0x123456, 0xABCDEF, 0x010203, 0xFF0000};
    image.comment = "card 1";
    const std::string path = "pixelimage-test.ppm";
    ASSERT_TRUE(image.writePpm(path));
    PixelImage back;
    ASSERT_TRUE(back.readPpm(path));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, image.pixels);
    EXPECT_EQ(back.comment, "card 1");

    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("P6\n99999999 2\n255\nxx", f);
    std::fclose(f);
    EXPECT_FALSE(back.readPpm(path));
    EXPECT_TRUE(back.pixels.empty());
    EXPECT_FALSE(back.readPpm("no-such-file.ppm"));
    std::remove(path.c_str());
}

TEST(DeviceContext, OffscreenSurfacesRefuseAbsurdSizesAndStartBlack)
{
    EXPECT_EQ(DeviceContext::createOffscreen(0, 0, 10), nullptr);
    EXPECT_EQ(DeviceContext::createOffscreen(0, 10, -1), nullptr);
    EXPECT_EQ(DeviceContext::createOffscreen(0, 100000, 100000), nullptr);
    auto dc = DeviceContext::createOffscreen(0, 5, 3);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->width(), 5);
    EXPECT_EQ(dc->height(), 3);
    for (std::uint32_t p : dc->pixels()) EXPECT_EQ(p, 0u);
    EXPECT_EQ(dc->pixel(-1, 0), 0u);
    EXPECT_EQ(dc->pixel(5, 0), 0u);
}

TEST(DeviceContext, WidePensLaySideBySideBands)
{
    auto dc = DeviceContext::createOffscreen(0, 20, 20);
    ASSERT_NE(dc, nullptr);
    dc->setPen({255, 255, 255}, 3, PenStyle::Dotted);  // wide pens are solid
    dc->line({2, 10}, {12, 10});
    for (int y = 8; y <= 12; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(dc->pixel(x, y) != 0, y >= 9 && y <= 11 && x >= 2 && x < 12) << x << "," << y;
    dc->setPen({255, 0, 0}, 2, PenStyle::Solid);
    dc->outlineRect({4, 2, 8, 6});  // the thin outline and the one just inside it
    EXPECT_EQ(dc->pixel(4, 2), 0xFF0000u);
    EXPECT_EQ(dc->pixel(5, 3), 0xFF0000u);
    EXPECT_EQ(dc->pixel(6, 4), 0xFF0000u);
    EXPECT_EQ(dc->pixel(3, 1), 0u);
}

TEST(DeviceContext, DottedPensLeaveGaps)
{
    auto dc = DeviceContext::createOffscreen(0, 20, 4);
    ASSERT_NE(dc, nullptr);
    dc->setPen({255, 255, 255}, 1, PenStyle::Dotted);
    dc->line({0, 1}, {20, 1});
    int on = 0;
    for (int x = 0; x < 20; ++x) on += dc->pixel(x, 1) != 0;
    EXPECT_GT(on, 5);
    EXPECT_LT(on, 15);
    EXPECT_NE(dc->pixel(0, 1), 0u);  // the pattern starts with a dot
}

TEST(HeadlessWindowSystem, ScriptedStateAndAClockThatSleepAdvances)
{
    HeadlessWindowSystem headless;
    WindowSystem::install(&headless);
    headless.setTicks(0xFFFFFFF0u);
    WindowSystem::current().sleep(0x20);
    EXPECT_EQ(WindowSystem::current().ticks(), 0x10u);  // wraps like the system counter
    headless.setButtons(kInputLeft | kInputShift);
    headless.setWindowOrigin(7, {100, 50});
    EXPECT_EQ(WindowSystem::current().liveButtons(), kInputLeft | kInputShift);
    EXPECT_EQ(WindowSystem::current().windowOrigin(7), (Point{100, 50}));
    EXPECT_EQ(WindowSystem::current().windowOrigin(8), (Point{0, 0}));
    WindowSystem::install(nullptr);
    EXPECT_NE(&WindowSystem::current(), &headless);
}
