// What each widget draws: the shapes and texts it hands the anti-aliased layer where its geometry is
// a matter of rectangles, and the pixels it leaves where it is a matter of pixels.
#include "WidgetRecording.h"

#include "widgets/VGBottomLabel.h"
#include "widgets/VGLogo.h"
#include "widgets/VGSimpleLabel.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"

#include <cstring>
#include <string>

using Kind = ARSDrawCall::Kind;

namespace {
class Widgets : public ::testing::Test {
protected:
    platform::GraphicsSession session;
    VGPalette palette = testPalette();
};
}  // namespace

TEST_F(Widgets, ColoursBecomeArgbAndTextLosesOneStepOfAlpha)
{
    EXPECT_EQ(ARSDrawContext::argbOf({0x12, 0x34, 0x56, 0x78}), 0x78123456u);
    EXPECT_EQ(ARSDrawContext::textArgbOf({0x12, 0x34, 0x56, 255}), 0xFE123456u);
    EXPECT_EQ(ARSDrawContext::textArgbOf({0x12, 0x34, 0x56, 0}), 0xFF123456u);

    Recording rec;
    auto* c = new ARSDrawContext(nullptr, 20, 20, kColourBlack);
    ASSERT_TRUE(c->valid());
    c->setTextColour({1, 2, 3, 255});
    c->selectFont(kFaceNormal, 12, 0);
    c->drawText("a", ViewRect(0, 0, 20, 20), false, kAlignLeft);
    EXPECT_EQ(c->fontColourARGB(), 0xFE010203u);
    ASSERT_EQ(rec.of(Kind::kText).size(), 1u);
    EXPECT_EQ(rec.of(Kind::kText)[0].argb, 0xFE010203u);
    // The base's recorded state follows the hidden setters.
    EXPECT_EQ(c->textColour(), (ViewColour{1, 2, 3, 255}));
    EXPECT_EQ(c->fontSize(), 12);
    c->release();
}

TEST_F(Widgets, SweepArcWrapsAnEndBeforeTheStart)
{
    Recording rec;
    auto* c = new ARSDrawContext(nullptr, 40, 40, kColourBlack);
    c->sweepArc(ViewRect(0, 0, 40, 40), 300.0f, 240.0f, 1);
    c->sweepArc(ViewRect(0, 0, 40, 40), 30.0f, 330.0f, 0);
    c->sweepArc(ViewRect(0, 0, 40, 40), 10.0f, 10.0f, 7);  // no such mode: nothing
    c->release();
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0].kind, Kind::kPie);
    EXPECT_FLOAT_EQ(rec.calls[0].startDegrees, 300.0f);
    EXPECT_FLOAT_EQ(rec.calls[0].sweepDegrees, 300.0f);
    EXPECT_EQ(rec.calls[1].kind, Kind::kArc);
    EXPECT_FLOAT_EQ(rec.calls[1].sweepDegrees, 300.0f);
}

TEST_F(Widgets, SliderOf340By16)
{
    VGSlider s(ViewRect(0, 0, 340, 16), nullptr, 0, &palette);
    EXPECT_EQ(s.getTrackStart(), 12);
    EXPECT_EQ(s.getTrackEnd(), 328);
    s.setName("display");
    s.setUnit("samples");
    s.setDisplayMin(10.0f);
    s.setDisplayMax(512.0f);
    s.setValue(0.5f);
    EXPECT_EQ(s.thumbCentre(), 170);

    Recording rec;
    Painted pic(s, 340, 16);
    const std::vector<ViewRect> ovals = {{0, 12, 4, 16}, {158, 12, 162, 16}, {178, 12, 182, 16},
                                         {335, 12, 340, 16}, {163, 1, 177, 15}};
    EXPECT_EQ(rec.rects(Kind::kFillOval), ovals);
    const std::vector<ViewRect> boxes = {{0, 0, 340, 16}, {2, 12, 160, 16}, {180, 12, 338, 16}};
    EXPECT_EQ(rec.rects(Kind::kFillBox), boxes);
    const auto rims = rec.of(Kind::kStrokeOval);
    ASSERT_EQ(rims.size(), 2u);
    EXPECT_EQ(rims[0].argb, 0xFFFFFFFFu);  // the card's white pen
    EXPECT_EQ(rims[1].argb, argb(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(rims[1].rect, ViewRect(163, 1, 177, 15));

    const auto texts = rec.of(Kind::kText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "display");
    EXPECT_EQ(texts[0].align, kAlignLeft);
    EXPECT_EQ(texts[1].text, "261.00 samples");
    EXPECT_EQ(texts[1].align, kAlignRight);
    for (const auto& t : texts) {
        EXPECT_EQ(t.rect, ViewRect(7, 0, 333, 12));
        EXPECT_EQ(t.fontSize, 12);  // the 14-pixel text area allows no more, however short the text
        EXPECT_EQ(t.argb, 0xFE000000u);
    }

    // Pixels: the track lies on rows 12..15, full from row 13; the thumb's inside is the accent.
    EXPECT_EQ(pic.at(100, 11), 0xFFFFFFu);
    EXPECT_NE(pic.at(100, 12), 0xFFFFFFu);
    for (int y = 13; y < 16; ++y) EXPECT_EQ(pic.at(100, y), wordOf(palette[VGPalette::kFace])) << y;
    EXPECT_EQ(pic.at(170, 8), wordOf(palette[VGPalette::kAccent]));
    EXPECT_EQ(pic.at(164, 15), 0xFFFFFFu);  // the track is broken around the thumb
}

TEST_F(Widgets, FitFontLimitsAndDegenerateAreas)
{
    auto* c = new COffscreenContext(nullptr, 10, 10, kColourWhite);
    VGSlider s(ViewRect(0, 0, 340, 16), nullptr, 0, &palette);
    s.fitFont(c, "x", 326, 14);
    EXPECT_EQ(s.getFontSize(), 12);
    s.fitFont(c, std::string(60, 'm').c_str(), 326, 14);  // 50 em at 128 pixels: about 6 pixels fit
    EXPECT_LT(s.getFontSize(), 12);
    EXPECT_GE(s.getFontSize(), 1);
    s.fitFont(c, "", 326, 14);  // nothing to measure: the height decides
    EXPECT_EQ(s.getFontSize(), 12);
    s.fitFont(c, "abc", 0, 14);
    EXPECT_EQ(s.getFontSize(), 1);
    s.fitFont(c, "abc", 300, -5);
    EXPECT_EQ(s.getFontSize(), 1);
    EXPECT_EQ(c->fontSize(), 1);  // left selected at the fitted size
    c->release();

    VGBottomLabel banner(ViewRect(0, 0, 390, 10), nullptr, -99, &palette);
    banner.setName("Tonewerks - +msgrid - vst - version 1.0.0");
    Recording rec;
    Painted pic(banner, 390, 10);
    ASSERT_EQ(rec.of(Kind::kText).size(), 1u);
    EXPECT_EQ(rec.of(Kind::kText)[0].fontSize, 9);
    EXPECT_EQ(rec.of(Kind::kText)[0].align, kAlignCentre);
    EXPECT_EQ(pic.at(1, 1), 0xEFE8E5u);
    EXPECT_EQ(pic.at(0, 0), 0xEFE8E5u);
}

TEST_F(Widgets, TextButtonOf60By18)
{
    VGTextButton b(ViewRect(0, 0, 60, 18), nullptr, 2, &palette);
    b.setName("lr to ms");
    Recording rec;
    Painted pic(b, 60, 18);
    const std::vector<ViewRect> ovals = {{0, 0, 18, 18}, {42, 0, 60, 18}, {3, 3, 13, 15}, {47, 3, 57, 15},
                                         {47, 5, 55, 13}};
    EXPECT_EQ(rec.rects(Kind::kFillOval), ovals);
    const std::vector<ViewRect> boxes = {{0, 0, 60, 18}, {9, 0, 51, 18}, {8, 3, 52, 15}};
    EXPECT_EQ(rec.rects(Kind::kFillBox), boxes);
    EXPECT_EQ(b.getIndicatorRect(), ViewRect(47, 5, 55, 13));
    const auto texts = rec.of(Kind::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rect, ViewRect(8, -2, 42, 20));
    EXPECT_EQ(texts[0].text, "lr to ms");  // no second caption: the name in both states
    // Fitted to 34 x 14 (Arial: "lr to ms" is 3.28 em wide, so 10 pixels), then one smaller.
    EXPECT_EQ(texts[0].fontSize, 9);
    // On (the value starts at 1): the indicator is lit and outlined in the half-intensity accent.
    EXPECT_EQ(rec.of(Kind::kFillOval)[4].argb, argb(palette[VGPalette::kAccent]));
    EXPECT_EQ(rec.of(Kind::kStrokeOval)[0].argb, argb(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(pic.at(51, 9), wordOf(palette[VGPalette::kAccent]));
    EXPECT_EQ(pic.at(30, 1), wordOf(palette[VGPalette::kBody]));
}

TEST_F(Widgets, TextButtonShowsItsSecondCaptionOnlyAboveHalf)
{
    VGTextButton b(ViewRect(0, 0, 80, 18), nullptr, 2, &palette);
    b.setName("lr to ms");
    b.setAltText("ms to lr");
    for (float v : {0.0f, 0.5f, 0.7f, 1.0f}) {
        b.setValue(v);
        Recording rec;
        Painted pic(b, 80, 18);
        ASSERT_EQ(rec.of(Kind::kText).size(), 1u);
        EXPECT_EQ(rec.of(Kind::kText)[0].text, v > 0.5f ? "ms to lr" : "lr to ms") << v;
        const ViewColour fill = v > 0.5f ? palette[VGPalette::kAccent] : lightened(palette[VGPalette::kFace]);
        EXPECT_EQ(rec.of(Kind::kFillOval).back().argb, argb(fill)) << v;
    }
}

TEST_F(Widgets, TargetButtonOf17By17)
{
    VGTargetButton t(ViewRect(0, 0, 17, 17), nullptr, -8888, &palette);
    EXPECT_EQ(t.value(), 0.0f);
    Recording rec;
    Painted pic(t, 17, 17);
    const std::vector<ViewRect> discs = {{1, 1, 16, 16}, {3, 3, 14, 14}, {5, 5, 12, 12}};
    EXPECT_EQ(rec.rects(Kind::kFillOval), discs);
    EXPECT_EQ(rec.of(Kind::kFillOval)[0].argb, argb(palette[VGPalette::kBody]));
    EXPECT_EQ(rec.of(Kind::kFillOval)[1].argb, 0xFFFFFFFFu);
    EXPECT_EQ(rec.of(Kind::kFillOval)[2].argb, argb(lightened(palette[VGPalette::kFace])));
    EXPECT_EQ(rec.of(Kind::kStrokeOval)[0].argb, argb(palette[VGPalette::kFace]));
    EXPECT_EQ(pic.at(8, 8), wordOf(lightened(palette[VGPalette::kFace])));
    EXPECT_EQ(pic.at(8, 2), wordOf(palette[VGPalette::kBody]));
}

TEST_F(Widgets, LogoOf380By26)
{
    VGLogo logo(ViewRect(0, 0, 380, 26), nullptr, -1, &palette);
    logo.setName("+ v e c t o r g r a m");
    Recording rec;
    Painted pic(logo, 380, 26);
    EXPECT_EQ(logo.getTextRect(), ViewRect(157, 1, 379, 25));

    const auto ovals = rec.rects(Kind::kFillOval);
    const std::vector<ViewRect> expected = {
        {355, 1, 379, 25}, {356, 2, 378, 24},  // title bar's right end
        {356, 7, 371, 22},                     // the title field's end: a = 7, b = 22, c = 371
        {1, 1, 25, 25},    {3, 3, 23, 23},     // badge ends
        {133, 1, 157, 25}, {135, 3, 155, 23},
        {8, 7, 23, 22},    {134, 7, 149, 22},  // the white inner pill
    };
    EXPECT_EQ(ovals, expected);
    const auto boxes = rec.rects(Kind::kFillBox);
    const std::vector<ViewRect> bars = {
        {0, 0, 380, 26},                                        // the card
        {145, 1, 367, 25}, {145, 2, 367, 24}, {145, 7, 364, 22},  // title bar and field
        {13, 1, 145, 25},  {13, 3, 145, 23},  {16, 7, 142, 22},   // badge body and white pill
    };
    EXPECT_EQ(boxes, bars);

    const auto texts = rec.of(Kind::kGdiText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "tonewerks");
    EXPECT_EQ(texts[0].rect, ViewRect(1, -1, 157, 29));
    EXPECT_EQ(texts[0].fontStyle, kFontCondensed);
    // Fitted to 156 x 28: 28 / 140 x 128 = 25 pixels, the word being narrow enough (4.56 em).
    EXPECT_EQ(texts[0].fontSize, 25);
    EXPECT_EQ(texts[0].argb, argb(palette[VGPalette::kFace]));
    EXPECT_EQ(texts[1].text, "+ v e c t o r g r a m");
    EXPECT_EQ(texts[1].rect, ViewRect(157, 6, 379, 21));
    EXPECT_EQ(texts[1].fontStyle, kFontExpanded);
    EXPECT_EQ(texts[1].fontSize, 15);  // 222 x 17: 17 / 140 x 128
    EXPECT_EQ(texts[1].argb, 0xFFFFFFFFu);
    EXPECT_TRUE(rec.of(Kind::kText).empty());  // nothing of the logo goes through anti-aliased text

    // Both texts are aliased: the word mark has pixels of exactly the face colour, the title white
    // pixels on the field.
    bool face = false, white = false;
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 380; ++x) {
            if (x > 30 && x < 130 && pic.at(x, y) == wordOf(palette[VGPalette::kFace])) face = true;
            if (x > 170 && x < 340 && y > 8 && y < 20 && pic.at(x, y) == 0xFFFFFFu) white = true;
        }
    EXPECT_TRUE(face);
    EXPECT_TRUE(white);
}

TEST_F(Widgets, SimpleLabelIsAnAllWhiteFieldWithAliasedText)
{
    palette[VGPalette::kText] = {0, 0, 200, 255};
    VGSimpleLabel label(ViewRect(0, 0, 60, 14), nullptr, -1, &palette);
    label.setName("ratio");
    Recording rec;
    Painted pic(label, 60, 14);
    EXPECT_TRUE(rec.calls.empty());  // no anti-aliased drawing at all
    EXPECT_EQ(pic.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(pic.at(59, 13), 0xFFFFFFu);
    int ink = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 60; ++x) {
            const std::uint32_t c = pic.at(x, y);
            ink += (c >> 16) < 0x40 && (c & 0xFF) >= 0xC8;  // the text colour, or nearly
        }
    EXPECT_GT(ink, 10);
}

TEST_F(Widgets, ARewrittenPaletteShowsAtTheNextDrawAndPicturesGoToThePlacement)
{
    VGTargetButton t(ViewRect(10, 10, 27, 27), nullptr, -8888, &palette);
    {
        Painted pic(t, 100, 100);
        EXPECT_EQ(pic.at(18, 12), wordOf(palette[VGPalette::kBody]));
    }
    palette[VGPalette::kBody] = {1, 2, 3, 255};
    t.setBounds(ViewRect(50, 50, 80, 80));
    Painted pic(t, 100, 100);
    EXPECT_EQ(pic.at(18, 12), 0x010203u);
    EXPECT_EQ(pic.at(65, 51), 0xFFFFFFu);  // nothing at the new bounds
    EXPECT_EQ(pic.at(28, 18), 0xFFFFFFu);  // and nothing beyond the constructed size
}

TEST_F(Widgets, NamesAndUnitsAreCutAt255Characters)
{
    VGSlider s(ViewRect(0, 0, 100, 16), nullptr, 0, &palette);
    const std::string longText(1000, 'x');
    s.setName(longText.c_str());
    s.setUnit(longText.c_str());
    EXPECT_EQ(std::strlen(s.getName()), 255u);
    EXPECT_EQ(std::strlen(s.getUnit()), 255u);
    s.setName(nullptr);
    EXPECT_STREQ(s.getName(), "");
    VGTextButton b(ViewRect(0, 0, 60, 18), nullptr, 0, &palette);
    b.setAltText(longText.c_str());
    EXPECT_EQ(std::strlen(b.getAltText()), 255u);
    // A read-out of the longest unit still paints (the number and unit are cut to the buffer).
    s.setUnit(longText.c_str());
    Recording rec;
    Painted pic(s, 100, 16);
    EXPECT_EQ(rec.of(Kind::kText).size(), 2u);
}
