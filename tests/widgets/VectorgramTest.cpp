// The vector scope from the shapes it draws: its rings and guides on a 340 x 340 widget, where mono,
// one channel alone and silence land, the trace's length, the direction dot and its smoothing, and
// samples no audio should carry.
#include "WidgetRecording.h"

#include "widgets/VGVectorgram.h"

#include <atomic>
#include <cmath>
#include <numbers>
#include <limits>
#include <vector>

using Kind = ARSDrawCall::Kind;

namespace {

constexpr int kSize = 340;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// plotRect (3, 3, 337, 337): 334 pixels across, the centre point at (169, 170).
const ViewPoint kCentre{169, 170};

class Scope : public ::testing::Test {
protected:
    void fill(float a, float b)
    {
        for (int i = 0; i < 512; ++i) windowA[i] = a, windowB[i] = b;
    }
    // One paint; the trace is every line in the trace colour.
    void paint()
    {
        rec.calls.clear();
        Painted pic(scope, kSize, kSize);
        lastTarget = pic.at(kCentre.h - 60, kCentre.v - 40);
    }
    std::vector<ARSDrawCall> trace() const
    {
        std::vector<ARSDrawCall> out;
        for (const ARSDrawCall& c : rec.of(Kind::kLine))
            if (c.argb == traceArgb) out.push_back(c);
        return out;
    }
    std::vector<ARSDrawCall> guides() const
    {
        std::vector<ARSDrawCall> out;
        for (const ARSDrawCall& c : rec.of(Kind::kLine))
            if (c.argb == argb(palette[VGPalette::kBody])) out.push_back(c);
        return out;
    }
    ViewRect dot() const
    {
        const auto ovals = rec.of(Kind::kFillOval);
        return ovals.empty() ? ViewRect() : ovals.back().rect;
    }

    platform::GraphicsSession session;
    VGPalette palette = testPalette();
    const std::uint32_t traceArgb = 0x80000000u | wordOf(palette[VGPalette::kFace]);
    std::atomic<float> windowA[512] = {};
    std::atomic<float> windowB[512] = {};
    VGVectorgram scope{ViewRect(0, 0, kSize, kSize), nullptr, -99, &palette, windowA, windowB, 512};
    Recording rec;
    std::uint32_t lastTarget = 0;
};

}  // namespace

TEST_F(Scope, RingsGuidesAndSilenceOn340By340)
{
    scope.setSampleCount(200.0f);
    paint();
    EXPECT_EQ(scope.getPlotRect(), ViewRect(3, 3, 337, 337));
    EXPECT_EQ(scope.getGuideRect(), ViewRect(103, 103, 236, 236));

    const auto rims = rec.of(Kind::kStrokeOval);
    ASSERT_EQ(rims.size(), 1u);
    EXPECT_EQ(rims[0].rect, ViewRect(1, 1, 339, 339));
    EXPECT_EQ(rims[0].argb, 0xFF000000u);
    const auto ovals = rec.of(Kind::kFillOval);
    ASSERT_EQ(ovals.size(), 2u);  // the screen, then the dot
    EXPECT_EQ(ovals[0].rect, ViewRect(3, 3, 337, 337));
    EXPECT_EQ(ovals[0].argb, argb(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(ovals[1].argb, argb(palette[VGPalette::kBody]));

    // Mid axis at x 169, then the two channel axes corner to corner of the guide box.
    const auto g = guides();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].rect, ViewRect(169, 103, 169, 236));
    EXPECT_EQ(g[1].rect, ViewRect(103, 103, 236, 236));
    EXPECT_EQ(g[2].rect, ViewRect(236, 103, 103, 236));
    for (const auto& l : g) EXPECT_EQ(l.penWidth, 2.0f);

    // Silence: 199 lines, every one from the centre to the centre.
    const auto t = trace();
    ASSERT_EQ(t.size(), 199u);
    for (const auto& l : t) {
        EXPECT_EQ(l.rect, ViewRect(kCentre.h, kCentre.v, kCentre.h, kCentre.v));
        EXPECT_EQ(l.penWidth, 1.0f);
    }
    EXPECT_EQ(rec.calls.size(), rec.of(Kind::kLine).size() + 5u) << "card fill and edge, rim, screen, dot";

    // The picture: white outside the bezel, the dark screen inside, the mid axis in the body colour.
    Painted pic(scope, kSize, kSize);
    EXPECT_EQ(pic.at(2, 2), 0xFFFFFFu);
    EXPECT_EQ(pic.at(100, 170), wordOf(halfIntensity(palette[VGPalette::kAccent])));
    EXPECT_EQ(pic.at(169, 120), wordOf(palette[VGPalette::kBody]));
}

TEST_F(Scope, MonoRunsUpAndDownAndOneChannelAloneAlongADiagonal)
{
    scope.setSampleCount(512.0f);
    // Identical channels: x 169 whatever the level; +0.5 lands 0.7071 x 167 below the centre.
    for (int i = 0; i < 512; ++i) windowA[i] = windowB[i] = float(i - 256) / 256.0f;
    windowA[0] = windowB[0] = 0.5f;
    windowA[1] = windowB[1] = -0.5f;
    paint();
    auto t = trace();
    ASSERT_EQ(t.size(), 511u);
    EXPECT_EQ(t[0].rect, ViewRect(169, 288, 169, 51)) << "oldest first: (int)(1.7071 x 167) + 3, (int)(0.2929 x 167) + 3";
    for (const auto& l : t) {
        EXPECT_EQ(l.rect.left, 169);
        EXPECT_EQ(l.rect.right, 169);
    }

    // Window A only: top left to bottom right, y one more than x on every point.
    for (int i = 0; i < 512; ++i) windowA[i] = float(i - 256) / 256.0f, windowB[i] = 0.0f;
    windowA[0] = 0.9f;
    paint();
    t = trace();
    EXPECT_EQ(t[0].rect.left, 275);  // (int)(1.6364 x 167) + 2
    EXPECT_EQ(t[0].rect.top, 276);
    for (const auto& l : t) {
        EXPECT_EQ(l.rect.top, l.rect.left + 1);
        EXPECT_EQ(l.rect.bottom, l.rect.right + 1);
    }
    EXPECT_LT(t[1].rect.left, 169) << "negative samples go up and to the left";

    // Window B only: the other diagonal, positive samples down and to the left.
    for (int i = 0; i < 512; ++i) windowA[i] = 0.0f, windowB[i] = float(i - 256) / 256.0f;
    windowB[0] = 0.9f;
    paint();
    t = trace();
    EXPECT_EQ(t[0].rect.left, 62);  // (int)(0.3636 x 167) + 2
    EXPECT_EQ(t[0].rect.top, 276);
    for (const auto& l : t) {
        const int sum = l.rect.left + l.rect.top;  // 2 + 3 + 333 or 334, as the two truncations fall
        EXPECT_GE(sum, 338);
        EXPECT_LE(sum, 339);
    }
}

TEST_F(Scope, TheTraceHasOneLineFewerThanTheSamplesItShows)
{
    for (int i = 0; i < 512; ++i) windowA[i] = std::sin(i * 0.1f) * 0.7f, windowB[i] = std::cos(i * 0.13f) * 0.6f;
    const struct {
        float asked;
        std::size_t lines;
    } cases[] = {{0.3785f * 502.0f + 10.0f, 199}, {10.0f, 9}, {512.0f, 511}, {1.0f, 0}, {0.0f, 0}, {-4.0f, 0},
                 {600.0f, 511}, {261.9f, 260}};
    for (const auto& c : cases) {
        scope.setSampleCount(c.asked);
        paint();
        EXPECT_EQ(trace().size(), c.lines) << c.asked;
        EXPECT_EQ(guides().size(), 3u);
    }
    scope.setSampleCount(200.0f);
    scope.setSampleCount(kNaN);
    EXPECT_EQ(scope.getSampleCount(), 200);
}

TEST_F(Scope, TheDotGlidesToTheTopOnSilence)
{
    scope.setSampleCount(200.0f);
    paint();
    EXPECT_NEAR(scope.getMarkerAngle(), -0.2 * std::numbers::pi / 2, 1e-6) << "a fifth of the way from 0 to straight up";
    paint();
    EXPECT_NEAR(scope.getMarkerAngle(), -0.36 * std::numbers::pi / 2, 1e-6);
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_EQ(dot(), ViewRect(166, 7, 172, 13));
}

TEST_F(Scope, ADirectionInTheLowerHalfIsMirroredThroughTheCentre)
{
    scope.setSampleCount(100.0f);
    // A alone, positive, leans down-right; mirrored it points up-left, as A alone negative does.
    fill(0.5f, 0.0f);
    for (int i = 0; i < 200; ++i) paint();
    const ViewRect upLeft = dot();
    EXPECT_EQ(upLeft, ViewRect(47, 55, 53, 61));  // angle -135 degrees: (int)(0.2929 x 167) + 2, + 3
    fill(-0.5f, 0.0f);
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_EQ(dot(), upLeft);

    // B alone, positive, leans down-left: mirrored, up-right.
    fill(0.0f, 0.5f);
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_EQ(dot(), ViewRect(284, 55, 290, 61));  // (int)(1.7071 x 167) + 2
    // Mono down the axis folds to straight up.
    fill(0.4f, 0.4f);
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_EQ(dot(), ViewRect(166, 7, 172, 13));
}

// Wherever the trace leans, the dot stays on the upper half of the screen, on its way there too. A
// side-only signal sums to exactly +0 and folds like any other lower-half direction.
TEST_F(Scope, TheDotStaysInTheUpperHalf)
{
    const struct {
        const char* signal;
        float a, b;
        ViewRect settles; // from the direction the signal points in, folded up
    } cases[] = {
        {"side only, left positive", 0.5f, -0.5f, ViewRect(-1, 174, 5, 180)}, // -pi: cos -1, sin 0 (+-1 row)
        {"side only, left negative", -0.5f, 0.5f, ViewRect(166, 7, 172, 13)}, // folds to straight up
        {"left only", 0.5f, 0.0f, ViewRect(47, 55, 53, 61)},                  // -135 degrees
        {"left only, negative", -0.5f, 0.0f, ViewRect(47, 55, 53, 61)},
        {"right only", 0.0f, 0.5f, ViewRect(284, 55, 290, 61)},               // -45 degrees
        {"right only, negative", 0.0f, -0.5f, ViewRect(284, 55, 290, 61)},
        {"silence", 0.0f, 0.0f, ViewRect(166, 7, 172, 13)},
    };
    for (const auto& c : cases) {
        // A scope of its own: the dot starts at angle 0, as in a newly opened editor.
        VGVectorgram fresh(ViewRect(0, 0, kSize, kSize), nullptr, -99, &palette, windowA, windowB, 512);
        fresh.setSampleCount(100.0f);
        fill(c.a, c.b);
        int below = 0, outside = 0;
        for (int i = 0; i < 100; ++i) {
            rec.calls.clear();
            Painted pic(fresh, kSize, kSize);
            const ViewRect d = dot();
            below += d.top - 4 > kCentre.v; // the dot is drawn 4 to 10 pixels below its point
            outside += d.top < 0 || d.bottom > kSize;
        }
        EXPECT_EQ(below, 0) << c.signal;
        EXPECT_EQ(outside, 0) << c.signal;
        // Settled: the column exactly; the row within one, as the rounding of the angle falls on
        // the horizon.
        EXPECT_EQ(dot().left, c.settles.left) << c.signal;
        EXPECT_NEAR(dot().top, c.settles.top, 1) << c.signal;
    }
}

// NaN frames are left out (the trace joins the frames either side); infinite and huge ones are drawn
// out along their direction to 64 times full scale, never to an undefined pixel.
TEST_F(Scope, SamplesNoAudioShouldCarryGiveABoundedTrace)
{
    scope.setSampleCount(10.0f);
    fill(0.0f, 0.0f);
    windowA[3] = kNaN;
    windowA[5] = kInf;       // A alone at infinity: down the A diagonal
    windowA[7] = 1e30f;      // the same, finite
    windowB[7] = 0.0f;
    windowA[8] = kInf;       // both channels infinite: a difference of none, straight down
    windowB[8] = kInf;
    windowA[9] = -3e38f;
    windowB[9] = 3e38f;      // B far out: the B diagonal, upwards
    paint();
    const auto t = trace();
    ASSERT_EQ(t.size(), 8u) << "nine frames with a position, one without";
    const ViewPoint far{std::int32_t(65.0 * 167) + 2, std::int32_t(65.0 * 167) + 3};
    EXPECT_EQ(t[2].rect, ViewRect(kCentre.h, kCentre.v, kCentre.h, kCentre.v)) << "2 to 4, over the NaN";
    EXPECT_EQ(t[3].rect, ViewRect(kCentre.h, kCentre.v, far.h, far.v));
    EXPECT_EQ(t[5].rect, ViewRect(kCentre.h, kCentre.v, far.h, far.v));
    EXPECT_EQ(t[6].rect, ViewRect(far.h, far.v, kCentre.h, far.v));
    EXPECT_EQ(t[7].rect.right, std::int32_t(-63.0 * 167) + 2);
    EXPECT_EQ(t[7].rect.bottom, kCentre.v);
    EXPECT_TRUE(std::isfinite(scope.getMarkerAngle()));
    EXPECT_EQ(lastTarget, wordOf(halfIntensity(palette[VGPalette::kAccent]))) << "the screen is still drawn";

    // A window of nothing but NaN: no trace, and the dot heads for the top as on silence.
    fill(kNaN, kNaN);
    scope.setSampleCount(512.0f);
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_TRUE(trace().empty());
    EXPECT_EQ(dot(), ViewRect(166, 7, 172, 13));
}

TEST(ScopeWithoutWindows, DrawsItsFaceAndNoTrace)
{
    platform::GraphicsSession session;
    VGPalette palette = testPalette();
    VGVectorgram scope(ViewRect(0, 0, 100, 100), nullptr, -99, &palette, nullptr, nullptr, 512);
    scope.setSampleCount(200.0f);
    EXPECT_EQ(scope.getSampleCount(), 0);
    Recording rec;
    Painted pic(scope, 100, 100);
    EXPECT_EQ(rec.of(Kind::kLine).size(), 3u);
}

TEST_F(Scope, DrawsTheOldestFramesOfTheWindow)
{
    // The first 100 frames (the oldest) are mono at +0.5, every later one left alone at full scale:
    // only the first kind may show, and all 100 of them (99 lines).
    for (int i = 0; i < 512; ++i) {
        windowA[i] = i < 100 ? 0.5f : 1.0f;
        windowB[i] = i < 100 ? 0.5f : 0.0f;
    }
    scope.setSampleCount(100.0f);
    paint();
    const auto t = trace();
    ASSERT_EQ(t.size(), 99u);
    // Mono +0.5: x 169, y (int)(1.7071 x 167) + 3 = 288.
    for (const auto& l : t) EXPECT_EQ(l.rect, ViewRect(169, 288, 169, 288));

    // Counted from the same end whatever the count: frame 100 joins in at 101.
    scope.setSampleCount(101.0f);
    paint();
    const auto u = trace();
    ASSERT_EQ(u.size(), 100u);
    EXPECT_EQ(u.back().rect.left, 169);
    EXPECT_NE(u.back().rect.right, 169) << "the newest frame drawn is frame 100, left alone";
}
