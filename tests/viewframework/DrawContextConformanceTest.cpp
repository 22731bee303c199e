// The draw contexts' pixel rules, run unchanged on both implementations (Cairo natively, GDI under
// Wine): whatever this suite pins, the two builds draw alike.
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/COffscreenContext.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {
constexpr ViewColour kRed{255, 0, 0, 255};
constexpr ViewColour kGrey{0x10, 0x20, 0x30, 255};
constexpr ViewColour kInk{0x80, 0x40, 0x01, 255};

bool same(ViewColour a, ViewColour b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// A context of the given size in `background` with the pen and brush at kRed.
std::unique_ptr<COffscreenContext> canvas(int w, int h, ViewColour background = kColourBlack)
{
    auto c = std::make_unique<COffscreenContext>(nullptr, w, h, background);
    c->setBrushColour(kRed);
    c->setPenColour(kRed);
    return c;
}

// Columns of row y (or rows of column x) in `colour`, as a string of '#' and '.'.
std::string row(const COffscreenContext& c, int y, ViewColour colour)
{
    std::string s;
    for (int x = 0; x < c.width(); ++x) s += same(c.pixelAt(x, y), colour) ? '#' : '.';
    return s;
}

struct Extent {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // right, bottom exclusive
};
Extent extentOf(const COffscreenContext& c, ViewColour colour)
{
    Extent e;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (same(c.pixelAt(x, y), colour)) {
                e.left = std::min(e.left, x);
                e.top = std::min(e.top, y);
                e.right = std::max(e.right, x + 1);
                e.bottom = std::max(e.bottom, y + 1);
            }
    return e;
}
}  // namespace

TEST(OffscreenContext, StartsEntirelyInItsBackgroundColour)
{
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {37, 5}, {64, 64}}) {
        COffscreenContext c(nullptr, w, h, kGrey);
        ASSERT_TRUE(c.valid());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_TRUE(same(c.pixelAt(x, y), kGrey)) << w << "x" << h << " at " << x << "," << y;
        // The pen and brush are left at the background colour.
        EXPECT_EQ(c.brushColour(), kGrey);
        EXPECT_EQ(c.penColour(), kGrey);
        EXPECT_EQ(c.clipBox(), ViewRect(0, 0, w, h));
    }
}

TEST(OffscreenContext, OneThatCannotBeMadeDrawsNothingAndSaysSo)
{
    COffscreenContext none(nullptr, 0, 10, kGrey);
    EXPECT_FALSE(none.valid());
    none.fillBox(ViewRect(0, 0, 10, 10));
    none.drawText("x", ViewRect(0, 0, 10, 10), true, kAlignLeft);
    EXPECT_EQ(none.measureText("abc"), 0);
    COffscreenContext huge(nullptr, 1 << 20, 1 << 20, kGrey);
    EXPECT_FALSE(huge.valid());
    auto good = canvas(4, 4);
    huge.blitTo(good.get(), ViewRect(0, 0, 4, 4), ViewPoint(0, 0));
    EXPECT_TRUE(same(good->pixelAt(1, 1), kColourBlack));
}

TEST(DrawContext, FillBoxLeavesTheTopRowAndLeftColumnOut)
{
    auto c = canvas(12, 12);
    c->fillBox(ViewRect(0, 0, 10, 10));
    EXPECT_EQ(row(*c, 0, kRed), "............");
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(row(*c, y, kRed), ".#########..") << y;
    EXPECT_EQ(row(*c, 10, kRed), "............");

    auto thin = canvas(12, 12);
    thin->fillBox(ViewRect(3, 0, 4, 10));  // one pixel wide: nothing
    thin->fillBox(ViewRect(0, 5, 10, 6));  // one pixel high: nothing
    EXPECT_EQ(extentOf(*thin, kRed).right, INT_MIN);
}

TEST(DrawContext, DrawBoxStrokesTheFourEdgesInsideTheBox)
{
    auto c = canvas(12, 12);
    c->drawBox(ViewRect(0, 0, 10, 10), kShapeStroked);
    EXPECT_EQ(row(*c, 0, kRed), "##########..");
    for (int y = 1; y <= 8; ++y) EXPECT_EQ(row(*c, y, kRed), "#........#..") << y;
    EXPECT_EQ(row(*c, 9, kRed), "##########..");
    EXPECT_EQ(row(*c, 10, kRed), "............");

    auto f = canvas(12, 12);
    f->setBrushColour(kGrey);
    f->drawBox(ViewRect(1, 1, 11, 11), kShapeFilledStroked);
    EXPECT_TRUE(same(f->pixelAt(1, 1), kRed));
    EXPECT_TRUE(same(f->pixelAt(10, 10), kRed));
    EXPECT_TRUE(same(f->pixelAt(5, 5), kGrey));
    EXPECT_TRUE(same(f->pixelAt(11, 11), kColourBlack));
    f->drawBox(ViewRect(2, 2, 5, 5), kShapeFilled);  // the whole box, edges included, no outline
    EXPECT_TRUE(same(f->pixelAt(2, 2), kGrey));
    EXPECT_TRUE(same(f->pixelAt(4, 4), kGrey));
}

TEST(DrawContext, FillOvalIsInscribedInTheBoxMovedOneRightAndDown)
{
    auto c = canvas(24, 24);
    c->fillOval(ViewRect(0, 0, 10, 10));
    const Extent e = extentOf(*c, kRed);
    EXPECT_EQ(e.left, 1);
    EXPECT_EQ(e.top, 1);
    EXPECT_EQ(e.right, 11);
    EXPECT_EQ(e.bottom, 11);
    // A disc: full rows through the middle, narrower at the top, corners free, mirror-symmetric.
    EXPECT_EQ(row(*c, 5, kRed).substr(0, 12), ".##########.");
    EXPECT_EQ(row(*c, 1, kRed).substr(0, 12), "....####....");
    EXPECT_EQ(row(*c, 10, kRed), row(*c, 1, kRed));
    EXPECT_TRUE(same(c->pixelAt(1, 1), kColourBlack));
    EXPECT_TRUE(same(c->pixelAt(10, 10), kColourBlack));

    auto wide = canvas(24, 24);
    wide->setDrawOffset(ViewPoint(2, 3));
    wide->fillOval(ViewRect(0, 0, 16, 6));
    const Extent w = extentOf(*wide, kRed);
    EXPECT_EQ(w.left, 3);
    EXPECT_EQ(w.top, 4);
    EXPECT_EQ(w.right, 19);
    EXPECT_EQ(w.bottom, 10);
}

TEST(DrawContext, RasterModesCombinePenAndBrushWithTheBackground)
{
    // On kGrey (10 20 30) with kInk (80 40 01): copy, or (90 60 31), inverted xor (6F 9F CE).
    struct Case {
        std::int32_t mode;
        ViewColour expect;
    };
    for (const Case& k : {Case{kRasterCopy, kInk}, Case{kRasterDefault, kInk}, Case{kRasterOr, {0x90, 0x60, 0x31, 255}},
                          Case{kRasterXor, {0x6F, 0x9F, 0xCE, 255}}}) {
        auto c = canvas(12, 12, kGrey);
        c->setPenColour(kInk);
        c->setBrushColour(kInk);
        c->setRasterMode(k.mode);
        c->drawBox(ViewRect(0, 0, 6, 6), kShapeStroked);
        c->fillBox(ViewRect(6, 6, 12, 12));
        EXPECT_TRUE(same(c->pixelAt(0, 0), k.expect)) << k.mode;  // corners are touched once
        EXPECT_TRUE(same(c->pixelAt(5, 5), k.expect)) << k.mode;
        EXPECT_TRUE(same(c->pixelAt(5, 0), k.expect)) << k.mode;
        EXPECT_TRUE(same(c->pixelAt(3, 5), k.expect)) << k.mode;
        EXPECT_TRUE(same(c->pixelAt(3, 3), kGrey)) << k.mode;
        EXPECT_TRUE(same(c->pixelAt(9, 9), k.expect)) << k.mode;
    }
    // Inverted xor twice gives the background back.
    auto c = canvas(8, 8, kGrey);
    c->setPenColour(kInk);
    c->setRasterMode(kRasterXor);
    c->drawBox(ViewRect(0, 0, 8, 8), kShapeStroked);
    c->drawBox(ViewRect(0, 0, 8, 8), kShapeStroked);
    for (int x = 0; x < 8; ++x) EXPECT_TRUE(same(c->pixelAt(x, 0), kGrey));
}

TEST(DrawContext, BlitToCopiesABlockFromTheSourceOffsetToTheDestinationsOffset)
{
    auto src = canvas(10, 10);
    src->setBrushColour(kGrey);
    src->drawBox(ViewRect(4, 4, 7, 7), kShapeFilled);  // a 3x3 block at (4, 4)
    auto dest = canvas(20, 20, kColourWhite);
    dest->setDrawOffset(ViewPoint(5, 6));
    src->blitTo(dest.get(), ViewRect(1, 1, 5, 5), ViewPoint(3, 3));  // 4x4 from (3, 3) to (6, 7)
    EXPECT_EQ(row(*dest, 6, kColourBlack), "....................");
    EXPECT_EQ(row(*dest, 7, kColourBlack), "......####..........");
    EXPECT_EQ(row(*dest, 8, kGrey), ".......###..........");
    EXPECT_EQ(row(*dest, 10, kGrey), ".......###..........");
    EXPECT_EQ(row(*dest, 11, kColourWhite), "####################");
    // The destination's clip holds.
    auto clipped = canvas(20, 20, kColourWhite);
    clipped->setClipBox(ViewRect(0, 0, 3, 20));
    src->blitTo(clipped.get(), ViewRect(0, 0, 10, 10), ViewPoint(0, 0));
    EXPECT_EQ(row(*clipped, 0, kColourBlack), "###.................");
}

TEST(DrawContext, ClipAndOffsetsApplyToEveryOperation)
{
    auto c = canvas(20, 20);
    c->setDrawOffset(ViewPoint(4, 2));
    c->setClipBox(ViewRect(0, 0, 6, 6));  // device (4, 2) to (10, 8)
    EXPECT_EQ(c->clipBox(), ViewRect(0, 0, 6, 6));
    c->setDrawOffset(ViewPoint(0, 0));
    EXPECT_EQ(c->clipBox(), ViewRect(4, 2, 10, 8));
    c->drawBox(ViewRect(0, 0, 20, 20), kShapeFilled);
    const Extent e = extentOf(*c, kRed);
    EXPECT_EQ(e.left, 4);
    EXPECT_EQ(e.top, 2);
    EXPECT_EQ(e.right, 10);
    EXPECT_EQ(e.bottom, 8);
}

TEST(DrawContext, AbsurdCoordinatesAreHarmless)
{
    auto c = canvas(10, 10);
    c->setDrawOffset(ViewPoint(INT_MAX, INT_MIN));
    c->fillBox(ViewRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    c->fillOval(ViewRect(INT_MIN, 0, INT_MAX, INT_MAX));
    c->drawBox(ViewRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN), kShapeFilledStroked);
    c->drawText("x", ViewRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX), true, kAlignCentre);
    c->setDrawOffset(ViewPoint(0, 0));
    c->fillOval(ViewRect(-100000, -100000, 100000, 100000));
    c->setPenWidth(INT_MAX);
    c->drawBox(ViewRect(0, 0, 10, 10), kShapeStroked);
    SUCCEED();
}

TEST(DrawContext, SelectFontClampsTheFaceAndUsesDefaultSizes)
{
    auto c = canvas(10, 10);
    const int expected[kFaceCount] = {12, 18, 14, 12, 11, 10, 9, 13};
    for (int id = 0; id < kFaceCount; ++id) {
        c->selectFont(id, 0, 0);
        EXPECT_EQ(c->fontId(), id);
        EXPECT_EQ(c->fontSize(), expected[id]);
    }
    c->selectFont(9, 0, 0);
    EXPECT_EQ(c->fontId(), 0);
    EXPECT_EQ(c->fontSize(), 12);
    c->selectFont(-3, 20, kFontItalic);
    EXPECT_EQ(c->fontId(), 0);
    EXPECT_EQ(c->fontSize(), 20);
    EXPECT_EQ(c->fontStyle(), kFontItalic);

    // Face 0 is always bold: it measures as face 3 with the bold bit, wider than face 3 plain.
    c->selectFont(9, 0, 0);
    const int system = c->measureText("tonewerks 0123");
    c->selectFont(kFaceNormal, 12, kFontBold);
    const int bold = c->measureText("tonewerks 0123");
    c->selectFont(kFaceNormal, 12, 0);
    const int plain = c->measureText("tonewerks 0123");
    EXPECT_EQ(system, bold);
    EXPECT_GT(bold, plain);
}

TEST(DrawContext, RepeatedSetsBuildNothingNew)
{
    auto c = canvas(10, 10);
    c->selectFont(kFaceNormal, 0, 0);
    const int fonts = c->builds().font;
    c->selectFont(kFaceNormal, 12, 0);  // the default size spelled out: the same font
    c->selectFont(kFaceNormal, 0, 0);
    EXPECT_EQ(c->builds().font, fonts);
    c->selectFont(kFaceNormal, 13, 0);
    EXPECT_EQ(c->builds().font, fonts + 1);

    const int pens = c->builds().pen, brushes = c->builds().brush;
    c->setPenColour(kRed);
    c->setPenWidth(1);
    c->setPenStyle(kPenSolid);
    c->setBrushColour(kRed);
    EXPECT_EQ(c->builds().pen, pens);
    EXPECT_EQ(c->builds().brush, brushes);
    c->setPenColour(kGrey);
    c->setPenWidth(2);
    c->setPenStyle(kPenDotted);
    c->setBrushColour(kGrey);
    EXPECT_EQ(c->builds().pen, pens + 3);
    EXPECT_EQ(c->builds().brush, brushes + 1);
    c->setRasterMode(kRasterOr);
    c->setRasterMode(kRasterOr);
    EXPECT_EQ(c->rasterMode(), kRasterOr);
}

TEST(DrawContext, ConstructionLeavesTheDocumentedState)
{
    CDrawContext c(nullptr, nullptr, 0);
    EXPECT_EQ(c.referenceCount(), 1);
    EXPECT_EQ(c.penColour(), kColourWhite);
    EXPECT_EQ(c.penStyle(), kPenSolid);
    EXPECT_EQ(c.penWidth(), 1);
    EXPECT_EQ(c.brushColour(), kColourBlack);
    EXPECT_EQ(c.textColour(), kColourWhite);
    EXPECT_EQ(c.fontId(), kFaceSystem);
    EXPECT_EQ(c.fontSize(), 12);
    EXPECT_EQ(c.rasterMode(), kRasterCopy);
    EXPECT_EQ(c.clipBox(), ViewRect(0, 0, 1000, 1000));
    EXPECT_EQ(c.drawOffset(), ViewPoint(0, 0));
    // Every setter of step 5 took effect once despite the skip rules.
    EXPECT_EQ(c.builds().pen, 3);
    EXPECT_EQ(c.builds().brush, 1);
    EXPECT_EQ(c.builds().font, 1);
}

namespace {
// The text cell of opaque text shows where the text was placed: it is painted in the brush colour.
Extent cellOf(const char* text, ViewRect rect, std::int32_t align, int* width)
{
    auto c = canvas(80, 30);
    c->setBrushColour(kGrey);
    c->setTextColour(kColourWhite);
    c->selectFont(kFaceNormal, 12, 0);
    *width = c->measureText(text);
    c->drawText(text, rect, true, align);
    return extentOf(*c, kGrey);
}
}  // namespace

TEST(DrawContext, TextIsPlacedByTheAlignmentRules)
{
    int w = 0;
    Extent left = cellOf("abc", ViewRect(10, 0, 50, 20), kAlignLeft, &w);
    EXPECT_EQ(left.left, 11);  // rect.left + 1
    EXPECT_EQ(left.top, 0);    // the cell's top at rect.top
    EXPECT_NEAR(left.right - left.left, w, 1);

    Extent centre = cellOf("abc", ViewRect(10, 4, 50, 20), kAlignCentre, &w);
    EXPECT_EQ(centre.top, 4);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 30.0, 1.0);  // on left + (right - left) / 2
    Extent odd = cellOf("abc", ViewRect(10, 0, 51, 20), kAlignCentre, &w);
    EXPECT_NEAR((odd.left + odd.right) / 2.0, 30.0, 1.0);  // (51 - 10) / 2 truncates to 20

    Extent right = cellOf("abc", ViewRect(10, 0, 50, 20), kAlignRight, &w);
    EXPECT_EQ(right.right, 50);

    // Transparent text paints no cell; no text paints nothing at all.
    auto c = canvas(40, 20);
    c->setBrushColour(kGrey);
    c->drawText("abc", ViewRect(0, 0, 40, 20), false, kAlignLeft);
    c->drawText(nullptr, ViewRect(0, 0, 40, 20), true, kAlignLeft);
    EXPECT_EQ(extentOf(*c, kGrey).right, INT_MIN);
}

TEST(DrawContext, TextWidthsMatchWindowsArial)
{
    // GetTextExtentPoint32 of Arial's metric twin at 128 pixels: 284 and 583.
    auto c = canvas(10, 10);
    c->selectFont(kFaceNormal, 128, 0);
    EXPECT_NEAR(c->measureText("0123"), 284, 2);
    EXPECT_NEAR(c->measureText("tonewerks"), 583, 2);
    c->selectFont(kFaceNormal, 12, 0);
    const int plain = c->measureText("abc");
    c->selectFont(kFaceNormal, 12, kFontExpanded);
    EXPECT_EQ(c->measureText("abc"), plain + 6);  // two pixels after each character
    c->selectFont(kFaceNormal, 12, kFontCondensed);
    EXPECT_EQ(c->measureText("abc"), plain - 6);
}

TEST(DrawContext, ButtonsAndPointerComeFromTheLiveState)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    headless.setWindowOrigin(42, {300, 200});
    headless.setPointer({310, 215});
    {
        CDrawContext c(nullptr, nullptr, 42);
        EXPECT_EQ(c.windowOrigin(), ViewPoint(300, 200));
        ViewPoint p;
        c.readPointer(p);
        EXPECT_EQ(p, ViewPoint(10, 15));
        headless.setButtons(platform::kInputLeft | platform::kInputShift | platform::kInputAlt);
        EXPECT_EQ(c.readButtons(), kButtonLeft | kModShift | kModAlt);
        headless.setButtons(platform::kInputRight | platform::kInputMiddle | platform::kInputControl);
        EXPECT_EQ(c.readButtons(), kButtonRight | kButtonMiddle | kModControl);
        // With the buttons swapped when the window class was registered, the physical left button
        // reports as the right one.
        CDrawContext::setButtonsSwapped(true);
        headless.setButtons(platform::kInputLeft);
        EXPECT_EQ(c.readButtons(), kButtonRight);
        headless.setButtons(platform::kInputRight);
        EXPECT_EQ(c.readButtons(), kButtonLeft);
        CDrawContext::setButtonsSwapped(false);
    }
    platform::WindowSystem::install(nullptr);
}
