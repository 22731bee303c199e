// Rectangle rules the views rely on: closed hit and overlap tests, intersections that never go
// negative, offsets that saturate instead of overflowing.
#include "viewframework/CReferenceCounter.h"
#include "viewframework/ViewColour.h"
#include "viewframework/ViewRect.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(ViewRect, BoundOfDisjointRectanglesIsEmptyNeverNegative)
{
    ViewRect a(0, 0, 10, 10);
    a.bound(ViewRect(20, 30, 40, 50));
    EXPECT_GE(a.width(), 0);
    EXPECT_GE(a.height(), 0);
    EXPECT_TRUE(a.width() == 0 || a.height() == 0);
    EXPECT_EQ(a, ViewRect(20, 30, 20, 30));

    ViewRect b(5, 5, 15, 15);
    b.bound(ViewRect(10, 0, 30, 12));
    EXPECT_EQ(b, ViewRect(10, 5, 15, 12));
}

TEST(ViewRect, SharedEdgesTouchAndOverlap)
{
    const ViewRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.touches(ViewPoint(30, 40)));  // right and bottom edges count for hits
    EXPECT_TRUE(r.touches(ViewPoint(10, 20)));
    EXPECT_FALSE(r.touches(ViewPoint(31, 30)));
    EXPECT_FALSE(r.touches(ViewPoint(20, 19)));
    EXPECT_TRUE(r.overlaps(ViewRect(30, 40, 50, 60)));  // only a corner in common
    EXPECT_TRUE(r.overlaps(ViewRect(0, 0, 10, 20)));
    EXPECT_FALSE(r.overlaps(ViewRect(31, 20, 50, 40)));
    EXPECT_FALSE(r.overlaps(ViewRect(10, 41, 30, 60)));
}

TEST(ViewRect, OffsetMovesAllFourAndSaturates)
{
    ViewRect r(1, 2, 3, 4);
    r.offset(10, -20);
    EXPECT_EQ(r, ViewRect(11, -18, 13, -16));
    ViewRect big(0, 0, INT_MAX - 1, 10);
    big.offset(100, INT_MIN);
    EXPECT_EQ(big.right, INT_MAX);
    EXPECT_EQ(big.top, INT_MIN);
}

TEST(ViewColour, LayoutAndConstants)
{
    const ViewColour c{0x11, 0x22, 0x33, 0x44};
    std::uint32_t word = 0;
    std::memcpy(&word, &c, 4);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&word);
    EXPECT_EQ(bytes[0], 0x11);  // red first
    EXPECT_EQ(bytes[3], 0x44);
    EXPECT_EQ(c.nativeValue(), 0x332211u);
    EXPECT_EQ(kColourBlack, (ViewColour{0, 0, 0, 255}));
    EXPECT_EQ(kColourWhite, (ViewColour{255, 255, 255, 255}));
    EXPECT_FALSE((ViewColour{0, 0, 0, 0}) == kColourBlack);  // alpha takes part in equality
}

namespace {
struct Counted : CReferenceCounter {
    explicit Counted(int* deaths) : deaths(deaths) {}
    ~Counted() override { ++*deaths; }
    int* deaths;
};
}  // namespace

TEST(CReferenceCounter, StartsAtOneAndDeletesItselfAtZero)
{
    int deaths = 0;
    auto* c = new Counted(&deaths);
    EXPECT_EQ(c->referenceCount(), 1);
    c->retain();
    c->release();
    EXPECT_EQ(deaths, 0);
    c->release();
    EXPECT_EQ(deaths, 1);
}
