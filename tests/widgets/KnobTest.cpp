// The ring knob: where its ring, dots and cap go for a value, what its read-out says, and how a drag
// (plain, with shift, with shift pressed midway, control-click) moves the value.
#include "WidgetRecording.h"

#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CControlListener.h"
#include "viewframework/CFrame.h"
#include "widgets/VGGrommetKnob.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using Kind = ARSDrawCall::Kind;

namespace {

class Knobs : public ::testing::Test {
protected:
    platform::GraphicsSession session;
    VGPalette palette = testPalette();
};

std::string readoutOf(VGGrommetKnob& k, float value)
{
    k.setValue(value);
    char text[600];
    k.readout(text, sizeof text);
    return text;
}

}  // namespace

TEST_F(Knobs, HalfWayRingOf66By66)
{
    VGGrommetKnob k(ViewRect(0, 0, 66, 66), nullptr, 0, &palette);
    k.setDisplayMin(-9.0f);
    k.setDisplayMax(9.0f);
    k.setRatioDisplay(1);
    k.setUnit("x");
    k.setValue(0.5f);
    Recording rec;
    Painted pic(k, 66, 66);

    // m = (1, 1, 65, 65), A = 8. The pie starts at GDI+ angle 300 (clock 30) and runs 300 degrees.
    const auto pies = rec.of(Kind::kPie);
    ASSERT_EQ(pies.size(), 1u);
    EXPECT_EQ(pies[0].rect, ViewRect(1, 1, 65, 65));
    EXPECT_FLOAT_EQ(pies[0].startDegrees, 300.0f);
    EXPECT_FLOAT_EQ(pies[0].sweepDegrees, 300.0f);
    EXPECT_EQ(pies[0].argb, argb(palette[VGPalette::kBody]));

    // Dots on a circle of 56 pixels' span: left = 1 + (int)((sin a + 1) * 28 + 0.5), top likewise.
    const auto dot = [](double clock) {
        const double r = clock * 3.14159265358979 / 180.0;
        const int left = 1 + int((std::sin(r) + 1.0) * 28.0 + 0.5), top = 1 + int((1.0 - std::cos(r)) * 28.0 + 0.5);
        return ViewRect(left, top, left + 8, top + 8);
    };
    EXPECT_EQ(dot(30), ViewRect(43, 5, 51, 13));
    const std::vector<ViewRect> ovals = {{0, 0, 66, 66}, dot(30), dot(330), {9, 9, 57, 57}, dot(0), {17, 17, 49, 49}};
    std::vector<ViewRect> filled = rec.rects(Kind::kFillOval);
    filled.insert(filled.begin(), rec.rects(Kind::kFillBox).front());
    EXPECT_EQ(filled, ovals);
    const auto fills = rec.of(Kind::kFillOval);
    EXPECT_EQ(fills[3].argb, argb(palette[VGPalette::kAccent]));      // the pointer at 12 o'clock
    EXPECT_EQ(fills[4].argb, argb(lightened(palette[VGPalette::kFace])));  // the cap
    const auto rims = rec.of(Kind::kStrokeOval);
    ASSERT_EQ(rims.size(), 2u);
    EXPECT_EQ(rims[0].rect, dot(0));
    EXPECT_EQ(rims[0].argb, argb(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(rims[1].argb, argb(palette[VGPalette::kFace]));

    const auto texts = rec.of(Kind::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "1.0:1 x");
    EXPECT_EQ(texts[0].rect, ViewRect(1, 17, 65, 51));
    EXPECT_EQ(texts[0].align, kAlignCentre);
    EXPECT_EQ(texts[0].argb, 0xFE000000u);
    EXPECT_LE(texts[0].fontSize, 29);  // (int)(32 / 140 * 128)

    // Pixels: the pointer, the ring at 6 o'clock, white in the gap beside the pointer, the cap.
    EXPECT_EQ(pic.at(33, 5), wordOf(palette[VGPalette::kAccent]));
    EXPECT_EQ(pic.at(33, 61), wordOf(palette[VGPalette::kBody]));
    EXPECT_EQ(pic.at(5, 33), wordOf(palette[VGPalette::kBody]));
    EXPECT_EQ(pic.at(25, 6), 0xFFFFFFu);
    EXPECT_EQ(pic.at(33, 20), wordOf(lightened(palette[VGPalette::kFace])));
    EXPECT_EQ(pic.at(33, 12), 0xFFFFFFu);  // inside the ring, outside the cap
}

TEST_F(Knobs, TheRingTurnsWithTheValue)
{
    VGGrommetKnob k(ViewRect(0, 0, 66, 66), nullptr, 0, &palette);
    const auto pieAndPointer = [&](float v, float& start, ViewRect& pointer) {
        k.setValue(v);
        Recording rec;
        Painted pic(k, 66, 66);
        start = rec.of(Kind::kPie).at(0).startDegrees;
        EXPECT_FLOAT_EQ(rec.of(Kind::kPie).at(0).sweepDegrees, 300.0f) << v;
        pointer = rec.of(Kind::kStrokeOval).at(0).rect;
    };
    float start;
    ViewRect pointer;
    // Value 0: theta -120, the pie from 150; the pointer at 7 o'clock (clock 210), lower left.
    pieAndPointer(0.0f, start, pointer);
    EXPECT_FLOAT_EQ(start, 150.0f);
    EXPECT_LT(pointer.left, 20);
    EXPECT_GT(pointer.top, 40);
    // Value 1: theta 180, the pie from 90; the pointer at 5 o'clock, lower right.
    pieAndPointer(1.0f, start, pointer);
    EXPECT_FLOAT_EQ(start, 90.0f);
    EXPECT_GT(pointer.left, 40);
    EXPECT_GT(pointer.top, 40);
    // Values the drawing cannot show sit at the nearer end; NaN at the bottom.
    ViewRect atZero;
    pieAndPointer(0.0f, start, atZero);
    pieAndPointer(-3.0f, start, pointer);
    EXPECT_EQ(pointer, atZero);
    pieAndPointer(std::numeric_limits<float>::quiet_NaN(), start, pointer);
    EXPECT_EQ(pointer, atZero);
    EXPECT_FLOAT_EQ(start, 150.0f);
}

TEST_F(Knobs, ReadoutsAsRatioAndAsPlainNumber)
{
    VGGrommetKnob k(ViewRect(0, 0, 66, 66), nullptr, 0, &palette);
    k.setUnit("dB");
    k.setDisplayMin(-9.0f);
    k.setDisplayMax(9.0f);
    k.setRatioDisplay(1);
    EXPECT_EQ(readoutOf(k, 0.5f), "1.0:1 dB");
    EXPECT_EQ(readoutOf(k, 1.0f), "1:10.0 dB");
    EXPECT_EQ(readoutOf(k, 0.0f), "10.0:1 dB");
    // The +squeezr ratio range, -39 .. 3: 1:1 at 39/42, 40:1 at the bottom, 1:4 at the top.
    k.setDisplayMin(-39.0f);
    k.setDisplayMax(3.0f);
    EXPECT_EQ(readoutOf(k, 39.0f / 42.0f), "1.0:1 dB");
    EXPECT_EQ(readoutOf(k, 0.0f), "40.0:1 dB");
    EXPECT_EQ(readoutOf(k, 1.0f), "1:4.0 dB");

    k.setRatioDisplay(0);
    k.setDisplayMin(0.0f);
    k.setDisplayMax(15.0f);
    EXPECT_EQ(readoutOf(k, 0.5f), "7.50 dB");
    k.setDisplayMax(15.5f);
    EXPECT_EQ(readoutOf(k, 0.5f), "7.8 dB");
    // A unit of 255 characters still fits, whole.
    k.setUnit(std::string(300, 'u').c_str());
    EXPECT_EQ(readoutOf(k, 0.0f), "0.0 " + std::string(255, 'u'));
}

namespace {

class Changes : public CControlListener {
public:
    void onValueChanged(CDrawContext*, CControl* control) override
    {
        values.push_back(control->value());
        if (closeFrameOnChange) control->parentFrame()->setOpenFlag(false);
    }
    std::int32_t onModifierClick(CDrawContext*, CControl*, std::int32_t) override { return 0; }
    std::vector<float> values;
    bool closeFrameOnChange = false;
};

class CountingKnob : public VGGrommetKnob {
public:
    using VGGrommetKnob::VGGrommetKnob;
    void beginEdit() override
    {
        ++begins;
        VGGrommetKnob::beginEdit();
    }
    void endEdit() override
    {
        ++ends;
        VGGrommetKnob::endEdit();
    }
    int begins = 0;
    int ends = 0;
};

// A 40-pixel-high knob in a frame of its own, pressed at (20, 50) and driven by a script of
// (buttons, pointer) steps; the press itself reads the first step.
class KnobDrags : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowSystem::install(&headless);
        frame = new CFrame(ViewRect(0, 0, 100, 100), 0x77, nullptr);
        knob = new CountingKnob(ViewRect(0, 30, 40, 70), &changes, 3, &palette);
        knob->setValue(0.5f);
        frame->addView(knob);
    }
    void TearDown() override
    {
        frame->release();
        platform::WindowSystem::install(nullptr);
    }
    using Step = platform::HeadlessWindowSystem::InputStep;
    void run(std::vector<Step> steps)
    {
        headless.script(steps);
        headless.press(frame->window(), steps.front().pointer);
    }

    platform::GraphicsSession session;
    platform::HeadlessWindowSystem headless;
    VGPalette palette = testPalette();
    Changes changes;
    CFrame* frame = nullptr;
    CountingKnob* knob = nullptr;
};

constexpr platform::Point kAt{20, 50};
constexpr platform::Point up(int pixels)
{
    return {kAt.x, kAt.y - pixels};
}

}  // namespace

TEST_F(KnobDrags, TenPixelsUpRaiseAQuarterAndFiveTimesLessWithShift)
{
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, up(10)}, {kButtonLeft, up(10)}, {0, up(10)}});
    EXPECT_NEAR(knob->value(), 0.75f, 1e-6f);
    EXPECT_EQ(knob->begins, 1);
    EXPECT_EQ(knob->ends, 1);
    ASSERT_FALSE(changes.values.empty());
    EXPECT_NEAR(changes.values.back(), 0.75f, 1e-6f);

    knob->setValue(0.5f);
    const int s = kButtonLeft | kModShift;
    run({{s, kAt}, {s, kAt}, {s, up(10)}, {s, up(10)}, {0, up(10)}});
    EXPECT_NEAR(knob->value(), 0.55f, 1e-6f);

    // Right and up add; left and down take away.
    knob->setValue(0.5f);
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, {kAt.x + 6, kAt.y + 2}}, {kButtonLeft, {kAt.x + 6, kAt.y + 2}},
         {0, {kAt.x + 6, kAt.y + 2}}});
    EXPECT_NEAR(knob->value(), 0.6f, 1e-6f);
}

TEST_F(KnobDrags, ClampedAtTheEndsWithoutLosingTheAnchor)
{
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, up(40)}, {kButtonLeft, up(40)}, {0, up(40)}});
    EXPECT_EQ(knob->value(), 1.0f);
    knob->setValue(0.5f);
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, up(-45)}, {kButtonLeft, up(-45)}, {0, up(-45)}});
    EXPECT_EQ(knob->value(), 0.0f);
    // A value the host left as NaN: the drag starts from the bottom and gives numbers.
    knob->setValue(std::numeric_limits<float>::quiet_NaN());
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, up(4)}, {kButtonLeft, up(4)}, {0, up(4)}});
    EXPECT_NEAR(knob->value(), 0.1f, 1e-6f);
    for (float v : changes.values) EXPECT_FALSE(std::isnan(v));
}

TEST_F(KnobDrags, PressingShiftMidwayKeepsTheValueContinuous)
{
    const int s = kButtonLeft | kModShift;
    // Up 10 plainly, then shift from one pixel further on: the pixel that brought the shift still
    // counts at the plain speed, the nine after it at a fifth.
    run({{kButtonLeft, kAt}, {kButtonLeft, kAt}, {kButtonLeft, up(10)}, {kButtonLeft, up(10)}, {s, up(10)}, {s, up(11)},
         {s, up(20)}, {s, up(20)}, {0, up(20)}});
    const float plain = 1.0f / 40.0f, fine = 1.0f / 200.0f;
    EXPECT_NEAR(knob->value(), 0.5f + 11 * plain + 9 * fine, 1e-5f);
    // No reported value jumps further than one plain pixel's worth from the one before.
    for (std::size_t i = 1; i < changes.values.size(); ++i)
        EXPECT_LE(std::fabs(changes.values[i] - changes.values[i - 1]), 10 * plain + 1e-5f) << i;
    ASSERT_GE(changes.values.size(), 3u);
    EXPECT_NEAR(changes.values[changes.values.size() - 2], 0.5f + 11 * plain, 1e-5f);

    // And releasing shift midway: from 0.5, 11 up at the fine speed, then 3 more at the plain one.
    changes.values.clear();
    knob->setValue(0.5f);
    run({{s, kAt}, {s, kAt}, {s, up(10)}, {s, up(10)}, {kButtonLeft, up(10)}, {kButtonLeft, up(11)},
         {kButtonLeft, up(14)}, {kButtonLeft, up(14)}, {0, up(14)}});
    EXPECT_NEAR(knob->value(), 0.5f + 11 * fine + 3 * plain, 1e-5f);
}

TEST_F(KnobDrags, AControlClickSetsTheDefaultWithoutAGesture)
{
    knob->setDefaultValue(0.2f);
    run({{kButtonLeft | kModControl, kAt}, {0, kAt}});
    EXPECT_FLOAT_EQ(knob->value(), 0.2f);
    EXPECT_EQ(changes.values, std::vector<float>{0.2f});
    EXPECT_EQ(knob->begins, 0);
    EXPECT_EQ(knob->ends, 0);
    // Only the left button turns a knob; a switched-off knob ignores everything.
    run({{kButtonRight, up(20)}, {kButtonRight, up(20)}, {0, up(20)}});
    knob->setAcceptsMouse(false);
    run({{kButtonLeft, kAt}, {kButtonLeft, up(20)}, {kButtonLeft, up(20)}, {0, up(20)}});
    EXPECT_FLOAT_EQ(knob->value(), 0.2f);
    EXPECT_EQ(knob->begins, 0);
}

TEST_F(KnobDrags, TheLoopStopsWhenTheFrameClosesMidGesture)
{
    changes.closeFrameOnChange = true;
    std::vector<Step> steps(50, {kButtonLeft, up(5)});
    steps.insert(steps.begin(), {{kButtonLeft, kAt}, {kButtonLeft, kAt}});
    steps.push_back({0, up(5)});
    run(steps);
    EXPECT_EQ(changes.values.size(), 1u);
    EXPECT_EQ(knob->begins, 1);
    EXPECT_EQ(knob->ends, 1) << "a gesture ends what it began; the frame decides whether that reaches a host";
}
