// One test card with every drawing operation, rendered by whichever implementation this build carries,
// written as PNG (to look at) and PPM (to compare), checked against expectations computed here, and
// compared pixel for pixel with the other implementation's card when that build has run.
#include "platform/AntiAliasedGraphics.h"
#include "platform/GraphicsSession.h"
#include "platform/PixelImage.h"
#include "viewframework/COffscreenContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr const char* kVersion = "tonewerks test card 1";

// Rows that hold text: glyphs follow each system's fonts, so only their placement is compared.
constexpr int kTextTop = 116;
constexpr int kTextBottom = 148;
// Rows drawn anti-aliased: compared where neither picture has an edge.
constexpr int kSmoothTop = 150;

constexpr ViewColour kPaper{40, 44, 52, 255};
constexpr ViewColour kRed{220, 40, 30, 255};
constexpr ViewColour kGreen{40, 200, 90, 255};
constexpr ViewColour kBlue{30, 90, 220, 255};
constexpr ViewColour kYellow{240, 210, 40, 255};
constexpr ViewColour kStripe{0x10, 0x20, 0x30, 255};
constexpr ViewColour kInk{0x80, 0x40, 0x01, 255};

void render(COffscreenContext& card)
{
    // Plain shapes.
    card.setBrushColour(kRed);
    card.fillBox(ViewRect(8, 8, 72, 48));
    card.setPenColour(kColourWhite);
    card.drawBox(ViewRect(80, 8, 144, 48), kShapeStroked);
    card.setPenColour(kYellow);
    card.setBrushColour(kBlue);
    card.drawBox(ViewRect(152, 8, 216, 48), kShapeFilledStroked);
    card.setPenStyle(kPenDotted);
    card.setPenColour(kColourWhite);
    card.drawBox(ViewRect(224, 8, 312, 48), kShapeStroked);
    card.setPenStyle(kPenSolid);
    card.setPenWidth(3);
    card.drawBox(ViewRect(232, 16, 304, 40), kShapeStroked);
    card.setPenWidth(1);

    card.setBrushColour(kGreen);
    card.fillOval(ViewRect(8, 56, 72, 108));
    card.fillOval(ViewRect(80, 56, 100, 66));
    card.fillOval(ViewRect(80, 70, 83, 108));

    // Raster modes over stripes.
    card.setBrushColour(kStripe);
    for (int y = 56; y < 108; y += 8) card.drawBox(ViewRect(104, y, 216, y + 4), kShapeFilled);
    card.setBrushColour(kInk);
    card.setPenColour(kInk);
    card.setRasterMode(kRasterOr);
    card.drawBox(ViewRect(112, 60, 152, 104), kShapeFilled);
    card.setRasterMode(kRasterXor);
    card.drawBox(ViewRect(164, 60, 208, 104), kShapeFilledStroked);
    card.fillOval(ViewRect(170, 66, 200, 96));
    card.setRasterMode(kRasterCopy);

    // A block copied in from another context, and drawing through a clip and an offset.
    COffscreenContext chip(nullptr, 24, 24, kYellow);
    chip.setBrushColour(kRed);
    chip.fillOval(ViewRect(0, 0, 23, 23));
    card.setDrawOffset(ViewPoint(224, 56));
    chip.blitTo(&card, ViewRect(0, 0, 20, 20), ViewPoint(2, 2));
    card.setClipBox(ViewRect(30, 0, 60, 30));
    card.setBrushColour(kBlue);
    card.drawBox(ViewRect(0, 0, 88, 52), kShapeFilled);
    card.setClipBox(ViewRect(-224, -56, kWidth - 224, kHeight - 56));
    card.setDrawOffset(ViewPoint(0, 0));

    // Text: left, centred and right in opaque cells.
    card.setBrushColour(kBlue);
    card.setTextColour(kColourWhite);
    card.selectFont(kFaceNormal, 0, 0);
    card.drawText("left", ViewRect(8, 120, 312, 140), true, kAlignLeft);
    card.drawText("tonewerks", ViewRect(8, 120, 312, 140), true, kAlignCentre);
    card.selectFont(kFaceSystem, 0, kFontItalic);
    card.drawText("right", ViewRect(8, 120, 312, 140), true, kAlignRight);

    // Anti-aliased shapes and text.
    auto g = platform::AntiAliasedGraphics::create(*card.nativeContext());
    if (!g) return;
    g->setBrush(0xFF1E5ADC);
    g->fillRect({8, 156, 60, 36});
    g->setBrush(0xFFDC281E);
    g->fillEllipse({76, 156, 60, 36});
    g->setBrush(0x8028C85A);
    g->fillEllipse({100, 170, 60, 36});
    g->setBrush(0xFFF0D228);
    g->fillPie({168, 156, 70, 70}, 0, 90);
    g->setPen(0xFFFFFFFF, 3);
    g->strokeArc({168, 156, 70, 70}, 180, 135);
    g->setPen(0xFFFFFFFF, 1.5f);
    g->strokeRect({248, 156, 64, 30});
    g->strokeEllipse({248, 192, 64, 40});
    g->line(8, 232, 160, 200);
    g->setFont("Arial", 14, true, false, false);
    g->setTextBrush(0xFEFFFFFF);
    g->drawText("Arial", {8, 196, 150, 24}, platform::TextAlign::Centre);
    g->flush();
}

bool same(ViewColour a, ViewColour b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

platform::PixelImage imageOf(const COffscreenContext& card)
{
    platform::PixelImage image;
    image.width = card.width();
    image.height = card.height();
    image.pixels = card.nativeContext()->pixels();
    image.comment = kVersion;
    return image;
}

// No edge within one pixel: all nine pixels around (x, y) equal.
bool flat(const platform::PixelImage& p, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (p.at(x + dx, y + dy) != p.at(x, y)) return false;
    return true;
}

struct InkRows {
    int left = 100000, right = -1;
};
InkRows cells(const platform::PixelImage& p, std::uint32_t colour)
{
    InkRows r;
    for (int y = kTextTop; y < kTextBottom; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) == colour) {
                r.left = std::min(r.left, x);
                r.right = std::max(r.right, x + 1);
            }
    return r;
}
}  // namespace

class TestCard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.running());
        card = std::make_unique<COffscreenContext>(nullptr, kWidth, kHeight, kPaper);
        ASSERT_TRUE(card->valid());
        render(*card);
    }
    platform::GraphicsSession session;
    std::unique_ptr<COffscreenContext> card;
};

TEST_F(TestCard, IsWrittenForPeopleAndForTheOtherBuild)
{
    const std::string base = std::string(TW_TESTCARD_DIR) + "/testcard-" + platform::DeviceContext::implementationName();
    EXPECT_TRUE(card->writePng(base + ".png"));
    EXPECT_TRUE(imageOf(*card).writePpm(base + ".ppm"));
}

TEST_F(TestCard, ShowsEachOperationWhereItsRulesSay)
{
    const COffscreenContext& c = *card;
    // fillBox: row 8 and column 8 left in the paper colour.
    EXPECT_TRUE(same(c.pixelAt(8, 20), kPaper));
    EXPECT_TRUE(same(c.pixelAt(20, 8), kPaper));
    EXPECT_TRUE(same(c.pixelAt(9, 9), kRed));
    EXPECT_TRUE(same(c.pixelAt(71, 47), kRed));
    EXPECT_TRUE(same(c.pixelAt(72, 47), kPaper));
    // drawBox: the outline on the box's own edge pixels.
    EXPECT_TRUE(same(c.pixelAt(80, 30), kColourWhite));
    EXPECT_TRUE(same(c.pixelAt(143, 47), kColourWhite));
    EXPECT_TRUE(same(c.pixelAt(144, 47), kPaper));
    EXPECT_TRUE(same(c.pixelAt(100, 30), kPaper));
    EXPECT_TRUE(same(c.pixelAt(152, 8), kYellow));
    EXPECT_TRUE(same(c.pixelAt(160, 20), kBlue));
    // The wide outline: three pixels centred on the thin one.
    EXPECT_TRUE(same(c.pixelAt(231, 30), kColourWhite));
    EXPECT_TRUE(same(c.pixelAt(233, 30), kColourWhite));
    EXPECT_TRUE(same(c.pixelAt(234, 30), kPaper));
    // fillOval: inside (9, 57)..(72, 108), touching the middle of every side.
    EXPECT_TRUE(same(c.pixelAt(9, 82), kGreen));
    EXPECT_TRUE(same(c.pixelAt(8, 82), kPaper));
    EXPECT_TRUE(same(c.pixelAt(72, 82), kGreen));
    EXPECT_TRUE(same(c.pixelAt(40, 57), kGreen));
    EXPECT_TRUE(same(c.pixelAt(40, 56), kPaper));
    EXPECT_TRUE(same(c.pixelAt(9, 57), kPaper));
    // Raster or over a stripe and over the paper; inverted xor over a stripe.
    EXPECT_TRUE(same(c.pixelAt(120, 65), ViewColour{0x90, 0x60, 0x31, 255}));
    EXPECT_TRUE(same(c.pixelAt(120, 61), ViewColour{0x80 | 40, 0x40 | 44, 0x01 | 52, 255}));
    EXPECT_TRUE(same(c.pixelAt(180, 65), ViewColour{0x6F, 0x9F, 0xCE, 255}));
    // The copied block: the chip from (2, 2) lands at (224, 56); the clip kept the fill in 254..284 x 56..86.
    EXPECT_TRUE(same(c.pixelAt(224, 56), kYellow));
    EXPECT_TRUE(same(c.pixelAt(234, 66), kRed));
    EXPECT_TRUE(same(c.pixelAt(253, 60), kPaper));
    EXPECT_TRUE(same(c.pixelAt(254, 60), kBlue));
    EXPECT_TRUE(same(c.pixelAt(283, 85), kBlue));
    EXPECT_TRUE(same(c.pixelAt(284, 85), kPaper));
    EXPECT_TRUE(same(c.pixelAt(260, 86), kPaper));
    // Text cells: left text starts at 9, right text ends at 312.
    const InkRows t = cells(imageOf(c), platform::Rgb{kBlue.red, kBlue.green, kBlue.blue}.word());
    EXPECT_EQ(t.left, 9);
    EXPECT_EQ(t.right, 312);
    // Anti-aliased: the pie's quadrant lies towards 6 o'clock from its centre (203, 191).
    EXPECT_TRUE(same(c.pixelAt(215, 205), kYellow));
    EXPECT_TRUE(same(c.pixelAt(190, 205), kPaper));
    EXPECT_TRUE(same(c.pixelAt(38, 174), ViewColour{0x1E, 0x5A, 0xDC, 255}));
}

TEST_F(TestCard, AgreesWithTheOtherImplementation)
{
    platform::PixelImage other;
    if (!other.readPpm(TW_OTHER_TESTCARD) || other.comment != kVersion)
        GTEST_SKIP() << "no card from the other build at " << TW_OTHER_TESTCARD;
    const platform::PixelImage mine = imageOf(*card);
    ASSERT_EQ(other.width, mine.width);
    ASSERT_EQ(other.height, mine.height);
    int differences = 0;
    for (int y = 0; y < kTextTop; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (mine.at(x, y) != other.at(x, y) && ++differences <= 10)
                ADD_FAILURE() << "aliased pixel " << x << "," << y << " differs";
    EXPECT_EQ(differences, 0);
    // Text: the opaque cells start and end in the same columns, within a pixel.
    const std::uint32_t blue = platform::Rgb{kBlue.red, kBlue.green, kBlue.blue}.word();
    EXPECT_NEAR(cells(mine, blue).left, cells(other, blue).left, 1);
    EXPECT_NEAR(cells(mine, blue).right, cells(other, blue).right, 1);
    // Anti-aliased: wherever both pictures are flat, they are the same colour.
    int smoothDifferences = 0;
    for (int y = kSmoothTop + 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x)
            if (flat(mine, x, y) && flat(other, x, y) && mine.at(x, y) != other.at(x, y) && ++smoothDifferences <= 10)
                ADD_FAILURE() << "smooth pixel " << x << "," << y << " differs";
    EXPECT_EQ(smoothDifferences, 0);
}
