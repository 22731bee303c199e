// The meters: the magic eye's wedges and read-out for levels in dB (and for levels no audio should
// give), and the lamp column's colours, geometry, scale and click.
#include "WidgetRecording.h"

#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGMagicEye.h"
#include "widgets/VGVUBitMeter.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using Kind = ARSDrawCall::Kind;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// 20 log10((i + 1) / 32768) for the table entry a level falls on.
double dbAt(double level)
{
    return 20.0 * std::log10((std::floor(level * 32768.0) + 1.0) / 32768.0);
}
const double kSilenceDb = 20.0 * std::log10(1.0 / 32768.0);
const double kDegreesPerDb = 180.0 / kSilenceDb;

class Meters : public ::testing::Test {
protected:
    platform::GraphicsSession session;
    VGPalette palette = testPalette();
};

}  // namespace

TEST_F(Meters, EyeWedgesOpenFromTwelveOClock)
{
    VGMagicEye eye(ViewRect(0, 0, 134, 134), nullptr, -99, &palette);
    EXPECT_EQ(eye.getChannels(), 2);
    EXPECT_EQ(eye.value(), 0.0f);
    EXPECT_NEAR(eye.degreesPerDb(), -1.9932, 1e-4);
    eye.setUnit("dB");
    eye.setLevelA(0.5f);   // about -6.0 dB, anticlockwise
    eye.setLevelB(0.25f);  // about -12.0 dB, clockwise
    Recording rec;
    Painted pic(eye, 134, 134);

    EXPECT_EQ(eye.getPlotRect(), ViewRect(3, 3, 131, 131));
    EXPECT_EQ(eye.getReadoutRect(), ViewRect(41, 41, 92, 92));  // (int)(3 + 38.4), (int)(131 - 38.4)
    const double a = dbAt(0.25) * kDegreesPerDb, b = dbAt(0.5) * kDegreesPerDb;
    const auto pies = rec.of(Kind::kPie);
    ASSERT_EQ(pies.size(), 3u);
    EXPECT_NEAR(pies[0].startDegrees, -90.0 + a, 1e-3);
    EXPECT_NEAR(pies[0].sweepDegrees, 180.0 - a, 1e-3);
    EXPECT_NEAR(pies[1].startDegrees, -270.0, 1e-3);
    EXPECT_NEAR(pies[1].sweepDegrees, 180.0 - b, 1e-3);
    EXPECT_FLOAT_EQ(pies[2].startDegrees, 89.0f);  // the index mark at 6 o'clock
    EXPECT_FLOAT_EQ(pies[2].sweepDegrees, 2.0f);
    for (const auto& p : pies) {
        EXPECT_EQ(p.rect, ViewRect(3, 3, 131, 131));
        EXPECT_EQ(p.argb, argb(palette[VGPalette::kAccent]));
    }
    const auto texts = rec.of(Kind::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "-6.0 dB");  // the larger of the two
    EXPECT_EQ(texts[0].rect, ViewRect(41, 41, 92, 92));
    EXPECT_EQ(texts[0].argb, argb(palette[VGPalette::kFace]) - 0x01000000u);
    const auto rims = rec.of(Kind::kStrokeOval);
    ASSERT_EQ(rims.size(), 1u);
    EXPECT_EQ(rims[0].rect, ViewRect(1, 1, 133, 133));
    EXPECT_EQ(rims[0].argb, 0xFF000000u);

    // Pixels: the dark wedge at 12 o'clock, lit at 3 and 9 o'clock, the read-out disc in the body colour.
    EXPECT_EQ(pic.at(67, 15), wordOf(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(pic.at(15, 67), wordOf(palette[VGPalette::kAccent]));
    EXPECT_EQ(pic.at(119, 67), wordOf(palette[VGPalette::kAccent]));
    EXPECT_EQ(pic.at(67, 44), wordOf(palette[VGPalette::kBody]));
}

TEST_F(Meters, EyeAtSilenceAndFullScaleInBothStyles)
{
    VGMagicEye eye(ViewRect(0, 0, 134, 134), nullptr, -99, &palette);
    const auto paint = [&](float a, float b, std::vector<ARSDrawCall>& pies, std::string& text) {
        eye.setLevelA(a);
        eye.setLevelB(b);
        Recording rec;
        Painted pic(eye, 134, 134);
        pies = rec.of(Kind::kPie);
        text = rec.of(Kind::kText).at(0).text;
        return pic.at(40, 20);  // upper left, some 30 degrees from 12 o'clock
    };
    std::vector<ARSDrawCall> pies;
    std::string text;
    const std::uint32_t dark = wordOf(halfIntensity(palette[VGPalette::kAccent]));
    const std::uint32_t lit = wordOf(palette[VGPalette::kAccent]);

    // Style 0: silence darkens all (wedges of 180 degrees), full scale lights all.
    EXPECT_EQ(paint(0.0f, 0.0f, pies, text), dark);
    EXPECT_NEAR(pies[0].sweepDegrees, 0.0, 1e-3);
    EXPECT_NEAR(pies[1].sweepDegrees, 0.0, 1e-3);
    EXPECT_EQ(text, "-90.3 ");
    EXPECT_EQ(paint(1.0f, 1.0f, pies, text), lit);
    EXPECT_NEAR(pies[0].sweepDegrees, 180.0, 1e-3);
    EXPECT_NEAR(pies[1].sweepDegrees, 180.0, 1e-3);
    EXPECT_EQ(text, "0.0 ");

    // Style 1, the gain eye: the lit wedges grow with the distance below 0 dB; the mark at 12 o'clock.
    eye.setStyle(true);
    EXPECT_EQ(paint(1.0f, 1.0f, pies, text), dark);  // only the mark
    ASSERT_EQ(pies.size(), 3u);
    EXPECT_NEAR(pies[0].sweepDegrees, 0.0, 1e-3);
    EXPECT_FLOAT_EQ(pies[2].startDegrees, 269.0f);
    EXPECT_FLOAT_EQ(pies[2].sweepDegrees, 2.0f);
    EXPECT_EQ(paint(0.5f, 0.5f, pies, text), dark);  // wedges of some 12 degrees
    EXPECT_NEAR(pies[0].startDegrees, -90.0, 1e-3);
    EXPECT_NEAR(pies[0].sweepDegrees, dbAt(0.5) * kDegreesPerDb, 1e-3);
    EXPECT_NEAR(pies[1].startDegrees, 270.0 - dbAt(0.5) * kDegreesPerDb, 1e-3);
    EXPECT_EQ(paint(0.0f, 0.0f, pies, text), lit);  // both wedges a half disc each
    EXPECT_EQ(eye.getStyle(), 1);
}

TEST_F(Meters, EyeLevelsNoAudioShouldGiveStayInsideTheTable)
{
    VGMagicEye eye(ViewRect(0, 0, 134, 134), nullptr, -99, &palette);
    EXPECT_NEAR(eye.dbOf(0.0f), kSilenceDb, 1e-4);
    EXPECT_EQ(eye.dbOf(1.0f), 0.0f);
    EXPECT_EQ(eye.dbOf(0.99999994f), 0.0f);  // (int)(x * 32768) = 32767
    EXPECT_NEAR(eye.dbOf(0.5f), dbAt(0.5), 1e-4);
    for (float bad : {kNaN, -kNaN, -1.0f, -kInf, -1e-30f}) EXPECT_NEAR(eye.dbOf(bad), kSilenceDb, 1e-4) << bad;
    for (float big : {kInf, 1e30f, 2.0f}) EXPECT_EQ(eye.dbOf(big), 0.0f) << big;

    eye.setLevelA(kNaN);
    eye.setLevelB(-kInf);
    Recording rec;
    Painted pic(eye, 134, 134);
    for (const auto& p : rec.of(Kind::kPie)) EXPECT_TRUE(std::isfinite(p.sweepDegrees));
    EXPECT_EQ(rec.of(Kind::kText).at(0).text, "-90.3 ");
}

TEST_F(Meters, EyeTinyAndClickToggles)
{
    // Too small for a read-out: nothing breaks, the font stays at a pixel at least.
    VGMagicEye tiny(ViewRect(0, 0, 6, 6), nullptr, -99, &palette);
    Recording rec;
    Painted pic(tiny, 6, 6);
    ASSERT_EQ(rec.of(Kind::kText).size(), 1u);
    EXPECT_GE(rec.of(Kind::kText)[0].fontSize, 1);

    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    CDrawContext* context = new CDrawContext(nullptr, nullptr, 0);
    ViewPoint where(3, 3);
    tiny.onMouseDown(context, where, kButtonLeft);
    EXPECT_EQ(tiny.value(), 1.0f);
    context->release();
    platform::WindowSystem::install(nullptr);
}

TEST_F(Meters, LampColumnOf15By361)
{
    VGVUBitMeter m(ViewRect(0, 0, 15, 361), nullptr, -99, &palette);
    m.setValue(0.0f);
    Recording rec;
    Painted pic(m, 15, 361);
    EXPECT_EQ(m.getLampArea(), ViewRect(1, 1, 14, 360));
    EXPECT_NEAR(m.getPitch(), 359.0 / 72.0, 1e-5);
    const auto ovals = rec.of(Kind::kFillOval);
    ASSERT_EQ(ovals.size(), 48u);
    for (int t = 0; t < 24; ++t) {
        const int top = int(t * 3 * (359.0 / 72.0) + 1);
        EXPECT_EQ(ovals[2 * t].rect, ViewRect(1, top, 14, top + 13)) << t;
        EXPECT_EQ(ovals[2 * t].argb, argb(palette[VGPalette::kBody]));
        EXPECT_EQ(ovals[2 * t + 1].rect, ViewRect(3, top + 2, 12, top + 11)) << t;
        EXPECT_EQ(ovals[2 * t + 1].argb, argb(lightened(palette[VGPalette::kFace]))) << "level 0: all off";
    }
    EXPECT_TRUE(rec.of(Kind::kText).empty());
    EXPECT_EQ(pic.at(7, 10 * 3 * 359 / 72 + 1 + 6), wordOf(lightened(palette[VGPalette::kFace])));
}

TEST_F(Meters, LampColoursAtAndAboveFullScale)
{
    VGPalette defaults = {{{13, 0, 39, 255}, {144, 8, 0, 255}, {80, 189, 216, 255}, {0, 0, 0, 255}}};
    VGVUBitMeter m(ViewRect(0, 0, 15, 361), nullptr, -99, &defaults);
    const ViewColour off = lightened(defaults[0]), on = defaults[2];
    EXPECT_FLOAT_EQ(m.threshold(1), 1.0f);
    EXPECT_NEAR(m.threshold(0), std::pow(10.0, 0.05), 1e-6);
    EXPECT_NEAR(m.threshold(24), std::pow(10.0, -7.2), 1e-12);

    // Exactly 0 dBFS: lamp 1 blends with f = 1 (on), lamp 0 with f = 0 (off); no warning.
    m.setValue(1.0f);
    EXPECT_EQ(m.lampColour(0), off);
    EXPECT_EQ(m.lampColour(1), on);
    EXPECT_EQ(m.lampColour(23), on);

    // Above 1.0 every fully lit lamp warns: blue, the largest, to 255, the others shifted down by 3.
    m.setValue(2.0f);
    for (int t = 0; t < 24; ++t) EXPECT_EQ(m.lampColour(t), (ViewColour{10, 23, 255, 255})) << t;
    // Between 0 and +1 dB the top lamp is a pure primary.
    m.setValue(1.05f);
    EXPECT_EQ(m.lampColour(0), (ViewColour{0, 0, 255, 255}));
    EXPECT_EQ(m.lampColour(1), (ViewColour{10, 23, 255, 255}));

    // Half-way between -6 and -4 dB on lamp 5 (thresholds -4 over -6): a blend of the two colours.
    const float lo = float(std::pow(10.0, -0.3)), hi = float(std::pow(10.0, -0.2));
    m.setValue(lo + 0.5f * (hi - lo));
    const ViewColour mid = m.lampColour(5);
    EXPECT_NEAR(mid.red, (80 + 134) / 2, 1);
    EXPECT_NEAR(mid.green, (189 + 127) / 2, 1);
    EXPECT_NEAR(mid.blue, (216 + 147) / 2, 1);
    EXPECT_EQ(m.lampColour(4), off);
    EXPECT_EQ(m.lampColour(6), on);

    // Levels no audio should give: NaN shows as silence, infinity as over full scale.
    m.setValue(kNaN);
    for (int t = 0; t < 24; ++t) EXPECT_EQ(m.lampColour(t), off) << t;
    m.setValue(kInf);
    EXPECT_EQ(m.lampColour(12), (ViewColour{10, 23, 255, 255}));
    m.setValue(-1.0f);
    EXPECT_EQ(m.lampColour(23), off);
}

TEST_F(Meters, BitsModeClampsActivityAndTheClickShowsTheScale)
{
    VGVUBitMeter m(ViewRect(0, 0, 15, 361), nullptr, -99, &palette);
    m.setLevelMode(false);
    float activity[24] = {};
    activity[23] = 1.5f;   // top lamp
    activity[22] = -0.2f;
    activity[21] = kNaN;
    activity[0] = 0.5f;    // bottom lamp
    m.setBitActivity(activity);
    m.setBitActivity(nullptr);  // nothing to copy: kept
    EXPECT_EQ(m.lampColour(0), palette[VGPalette::kAccent]);
    EXPECT_EQ(m.lampColour(1), lightened(palette[VGPalette::kFace]));
    EXPECT_EQ(m.lampColour(2), lightened(palette[VGPalette::kFace]));
    const ViewColour half = m.lampColour(23);
    EXPECT_EQ(half.red, 20 / 2 + 227 / 2);
    EXPECT_EQ(half.blue, 220 / 2 + 137 / 2);

    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    struct Told : CControlListener {
        void onValueChanged(CDrawContext*, CControl*) override { ++changes; }
        std::int32_t onModifierClick(CDrawContext*, CControl*, std::int32_t) override { return 0; }
        int changes = 0;
    } told;
    VGVUBitMeter clicked(ViewRect(0, 0, 15, 361), &told, -99, &palette);
    clicked.setValue(0.5f);
    clicked.setNeedsRedraw(false);
    CDrawContext* context = new CDrawContext(nullptr, nullptr, 0);
    ViewPoint where(3, 3);
    clicked.onMouseDown(context, where, kButtonLeft);
    EXPECT_TRUE(clicked.getShowScale());
    EXPECT_EQ(clicked.value(), 0.5f) << "the scale toggles, not the value";
    EXPECT_EQ(told.changes, 1);
    EXPECT_TRUE(clicked.needsRedraw());
    clicked.onMouseDown(context, where, kButtonRight);
    EXPECT_TRUE(clicked.getShowScale());
    context->release();
    platform::WindowSystem::install(nullptr);

    {
        Recording rec;
        Painted pic(clicked, 15, 361);
        const auto texts = rec.of(Kind::kText);
        ASSERT_EQ(texts.size(), 24u);
        EXPECT_EQ(texts[0].text, "  1");
        EXPECT_EQ(texts[1].text, "  0");
        EXPECT_EQ(texts[23].text, "-128");
        EXPECT_EQ(texts[5].rect, rec.of(Kind::kFillOval)[11].rect);
    }
    clicked.setLevelMode(false);
    Recording rec;
    Painted pic(clicked, 15, 361);
    const auto texts = rec.of(Kind::kText);
    ASSERT_EQ(texts.size(), 24u);
    EXPECT_EQ(texts[0].text, "24");
    EXPECT_EQ(texts[23].text, " 1");
}
