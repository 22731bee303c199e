// The +vectorgram editor on the headless window system, opened through the effect's opcodes as a host
// would: its layout, the "display" slider against the parameter, the peak/bits switch, the trace and
// meters after audio, the colour button, what the host hears (and must not hear), and the threads.
#include "effects/vectorgram/CVectorgramVSTEditor.h"
#include "tests/effects/EditorHarness.h"
#include "tests/effects/EditorLifecycle.h"
#include "tests/effects/HostClosesMidGesture.h"
#include "tests/widgets/WidgetRecording.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTextButton.h"
#include "widgets/VGVUBitMeter.h"
#include "widgets/VGVectorgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

using editortest::word;

const VGPalette& defaults()
{
    return CVectorgramVSTEditor::kDefaultPalette;
}

class VectorgramEditor : public editortest::EditorHarness<vectorgram, CVectorgramVSTEditor> {
protected:
    // The slider's loop uses a position one round after it read it.
    VectorgramEditor() { endHolds = 1; }
    void SetUp() override
    {
        EditorHarness::SetUp();
        resume();
    }
    void process(const std::vector<float>& left, const std::vector<float>& right)
    {
        std::vector<float> l = left, r = right;
        float* io[2] = {l.data(), r.data()};
        aeffect->processReplacing(aeffect, io, io, VstInt32(l.size()));
    }
    std::string display() const
    {
        char text[64] = {};
        effect->getParameterDisplay(0, text);
        return text;
    }
};

// The slider at (25, 380)-(365, 396): its track from x 25 + 12 to 25 + 328.
constexpr int kTrackStart = 37;
constexpr int kSliderRow = 388;
const platform::Point kPeakBits{30, 409};
const platform::Point kColour{378, 408};

}  // namespace

namespace editortest {
using VectorgramPair = EditorPair<vectorgram, CVectorgramVSTEditor>;
INSTANTIATE_TYPED_TEST_SUITE_P(Vectorgram, EditorLifecycle, VectorgramPair);
}

TEST_F(VectorgramEditor, Opens390By430WithItsWidgetsInPlace)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(editor->getFrame()->childCount(), 8);
    EXPECT_EQ(editor->leftMeter()->getPlacement(), ViewRect(5, 35, 20, 396));
    EXPECT_EQ(editor->rightMeter()->getPlacement(), ViewRect(370, 35, 385, 396));
    EXPECT_EQ(editor->display()->getPlacement(), ViewRect(25, 35, 365, 375));
    EXPECT_EQ(editor->slider()->getPlacement(), ViewRect(25, 380, 365, 396));
    EXPECT_EQ(editor->peakBits()->getPlacement(), ViewRect(5, 400, 65, 418));
    EXPECT_EQ(editor->leftMeter()->tag(), 901);
    EXPECT_EQ(editor->rightMeter()->tag(), 902);
    EXPECT_EQ(editor->peakBits()->tag(), 903);
    EXPECT_EQ(editor->slider()->tag(), 0);
    EXPECT_EQ(editor->display()->tag(), -99);
    EXPECT_STREQ(editor->slider()->getName(), "display");
    EXPECT_STREQ(editor->slider()->getUnit(), "samples");
    EXPECT_EQ(editor->slider()->getDisplayMin(), 10.0f);
    EXPECT_EQ(editor->slider()->getDisplayMax(), 512.0f);
    EXPECT_EQ(editor->display()->getSampleCount(), 200);
    EXPECT_FLOAT_EQ(editor->slider()->displayValue(), 200.0f);
    EXPECT_EQ(editor->peakBits()->value(), 0.0f);
    EXPECT_TRUE(editor->leftMeter()->getLevelMode());
    EXPECT_TRUE(editor->rightMeter()->getLevelMode());

    paintAll();
#ifdef TW_PICTURE_DIR
    headless.windowContext(window())->writePng(TW_PICTURE_DIR "/vectorgram-editor-headless.png");
#endif
    const VGPalette& p = defaults();
    EXPECT_EQ(pixel(0, 0), 0x000000u);       // the frame's line along its top and left
    EXPECT_EQ(pixel(22, 200), 0xFFFFFFu);    // between the left meter and the scope
    EXPECT_EQ(pixel(25 + 100, 35 + 200), word(halfIntensity(p[VGPalette::kAccent])));  // the screen
    EXPECT_EQ(pixel(25 + 169, 35 + 120), word(p[VGPalette::kBody]));                      // the mid axis
    EXPECT_EQ(pixel(5 + 7, 35 + 7), word(lightened(p[VGPalette::kFace]))) << "the top lamp, dark";
}

TEST_F(VectorgramEditor, TheSliderSetsDisplayFrom10To512AndTheTraceFollows)
{
    ASSERT_TRUE(open());
    paintAll();
    drag({{kTrackStart + 120, kSliderRow}, {kTrackStart + 250, kSliderRow}, {389, kSliderRow}});
    EXPECT_FLOAT_EQ(effect->getParameter(0), 1.0f);
    EXPECT_EQ(display(), "512");
    EXPECT_EQ(editor->display()->getSampleCount(), 512);
    auto automated = automations();
    ASSERT_FALSE(automated.empty());
    for (const auto& a : automated) EXPECT_EQ(a.index, 0);
    EXPECT_EQ(automated.back().opt, 1.0f);

    drag({{kTrackStart + 300, kSliderRow}, {kTrackStart + 100, kSliderRow}, {0, kSliderRow}});
    EXPECT_FLOAT_EQ(effect->getParameter(0), 0.0f);
    EXPECT_EQ(display(), "10");
    EXPECT_EQ(editor->display()->getSampleCount(), 10);

    // And back: the host's values move slider and trace; the slider shows the value that stands.
    log.clear();
    aeffect->setParameter(aeffect, 0, 0.3785f);  // trunc(190.007) + 10
    EXPECT_EQ(editor->display()->getSampleCount(), 200);
    EXPECT_FLOAT_EQ(editor->slider()->value(), 190.0f / 502.0f);
    aeffect->setParameter(aeffect, 0, 0.5f);
    EXPECT_EQ(editor->display()->getSampleCount(), 261);
    for (int n = 10; n <= 512; ++n) {
        aeffect->setParameter(aeffect, 0, float(n - 10) / 502.0f);
        ASSERT_EQ(editor->display()->getSampleCount(), std::stoi(display())) << "the trace draws what the read-out says";
    }
    aeffect->setParameter(aeffect, 0, std::nanf(""));
    EXPECT_EQ(editor->display()->getSampleCount(), 512);
    EXPECT_TRUE(automations().empty()) << "what the host set is not sent back to it";

    // Other indices and a closed window change nothing in the editor.
    aeffect->setParameter(aeffect, 1, 0.0f);
    aeffect->setParameter(aeffect, -1, 0.0f);
    EXPECT_EQ(editor->display()->getSampleCount(), 512);
    dispatch(effEditClose);
    aeffect->setParameter(aeffect, 0, 0.0f);
    EXPECT_EQ(editor->display(), nullptr);
}

TEST_F(VectorgramEditor, ThePeakBitsSwitchTurnsBothMeters)
{
    ASSERT_TRUE(open());
    // Bit 31 toggles on every left sample, the right channel is constant: after the switch the left
    // meter's top lamp (bit 31) is lit and the right one's dark.
    std::vector<float> left(512), right(512, 0.25f);
    for (int i = 0; i < 512; ++i) left[i] = i % 2 ? -0.5f : 0.5f;
    process(left, right);
    process(left, right);  // the first block's first samples also toggle against a last word of 0
    paintAll();
    Recording rec;
    click(kPeakBits);
    EXPECT_EQ(editor->peakBits()->value(), 1.0f);
    EXPECT_FALSE(editor->leftMeter()->getLevelMode());
    EXPECT_FALSE(editor->rightMeter()->getLevelMode());
    idle(2);
    const VGPalette& p = defaults();
    EXPECT_EQ(editor->leftMeter()->lampColour(0), p[VGPalette::kAccent]);
    EXPECT_EQ(editor->leftMeter()->lampColour(1), lightened(p[VGPalette::kFace]));
    EXPECT_EQ(editor->rightMeter()->lampColour(0), lightened(p[VGPalette::kFace]));
    const auto texts = rec.of(ARSDrawCall::kText);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const ARSDrawCall& c) { return c.text == "bits"; }));

    rec.calls.clear();
    click(kPeakBits);
    EXPECT_EQ(editor->peakBits()->value(), 0.0f);
    EXPECT_TRUE(editor->leftMeter()->getLevelMode());
    EXPECT_TRUE(editor->rightMeter()->getLevelMode());
    // Level 0.5 (-6 dB) lights the left column from lamp 6 (-6 dB) down; the top lamps stay dark.
    EXPECT_EQ(editor->leftMeter()->lampColour(0), lightened(p[VGPalette::kFace]));
    EXPECT_EQ(editor->leftMeter()->lampColour(7), p[VGPalette::kAccent]);
    idle(2);
    const auto again = rec.of(ARSDrawCall::kText);
    EXPECT_TRUE(std::any_of(again.begin(), again.end(), [](const ARSDrawCall& c) { return c.text == "peak"; }));
    EXPECT_TRUE(log.empty()) << "the switch is no parameter";
}

TEST_F(VectorgramEditor, IdleRefreshesTraceAndMetersFromTheEffect)
{
    ASSERT_TRUE(open());
    paintAll();
    idle(2);
    EXPECT_EQ(editor->leftMeter()->value(), 0.0f);
    process(std::vector<float>(512, 0.5f), std::vector<float>(512, 0.25f));
    Recording rec;
    idle();  // marks the trace, copies the meters
    EXPECT_EQ(editor->leftMeter()->value(), 0.5f);
    EXPECT_EQ(editor->rightMeter()->value(), 0.25f);
    rec.calls.clear();
    idle();  // paints what the last one marked
    const std::uint32_t traceArgb = 0x80000000u | word(defaults()[VGPalette::kFace]);
    std::vector<ARSDrawCall> trace;
    for (const ARSDrawCall& c : rec.of(ARSDrawCall::kLine))
        if (c.argb == traceArgb) trace.push_back(c);
    ASSERT_EQ(trace.size(), 199u) << "200 samples shown";
    // x 0.25 k, y 0.75 k: (int)(1.17678 x 167) + 2, (int)(1.53033 x 167) + 3 in the scope's own picture.
    EXPECT_EQ(trace.back().rect, ViewRect(198, 258, 198, 258));

    // With nothing new the held peak falls at every block, and idle shows that.
    process(std::vector<float>(512, 0.0f), std::vector<float>(512, 0.0f));
    idle();
    EXPECT_NEAR(editor->leftMeter()->value(), 0.5f * 0.618f, 0.002f);
}

TEST_F(VectorgramEditor, TheColourButtonGivesRandomColoursThenExactlyTheDefaults)
{
    ASSERT_TRUE(open());
    paintAll();
    idle(150);  // the dot glides to the top and stays
    const auto before = picture();
    click(kColour);
    const VGPalette& now = editor->currentPalette();
    EXPECT_FALSE(now[0] == defaults()[0] && now[1] == defaults()[1] && now[2] == defaults()[2]);
    EXPECT_EQ(now[VGPalette::kText], defaults()[VGPalette::kText]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(now[i].alpha, 255);
        EXPECT_LT(now[i].red, 255);
        EXPECT_LT(now[i].green, 255);
        EXPECT_LT(now[i].blue, 255);
    }
    idle();
    EXPECT_NE(picture(), before);
    EXPECT_EQ(pixel(25 + 100, 35 + 200), word(halfIntensity(now[VGPalette::kAccent]))) << "the screen recoloured";

    click(kColour);
    idle(2);
    paintAll();
    EXPECT_EQ(picture(), before);
    EXPECT_TRUE(log.empty()) << "the colour button edits no parameter";
}

TEST_F(VectorgramEditor, ClicksOnMetersScopeTitleAndBannerReachNoParameter)
{
    ASSERT_TRUE(open());
    for (platform::Point p : {platform::Point{12, 200}, {377, 200}, {195, 205}, {100, 15}, {195, 425}}) click(p);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(editor->leftMeter()->getShowScale()) << "the meter's own click still shows its scale";
    EXPECT_EQ(display(), "200");
}

TEST_F(VectorgramEditor, ParameterChangesFromAnotherThreadWaitForTheNextIdle)
{
    ASSERT_TRUE(open());
    std::thread host([&] { aeffect->setParameter(aeffect, 0, 1.0f); });
    host.join();
    EXPECT_EQ(display(), "512");
    EXPECT_EQ(editor->display()->getSampleCount(), 200) << "no widget touched from the host's thread";
    idle();
    EXPECT_EQ(editor->display()->getSampleCount(), 512);
    EXPECT_FLOAT_EQ(editor->slider()->value(), 1.0f);
}

// Hosts close editors, and whole effects, from inside the callbacks a press makes, on every kind of
// widget the editor has.
TEST_F(VectorgramEditor, TheHostClosesTheEditorOrTheEffectFromInsideAnyCallbackOfAnyWidget)
{
    midgesture::run(headless, [](audioMasterCallback host) { return new vectorgram(host); }, {0, 0, kWidth, kHeight},
                    {{"display slider", {kTrackStart + 95, kSliderRow}, true},
                     {"peak/bits switch", kPeakBits, false},
                     {"colour button", kColour, false},
                     {"left meter", {12, 200}, false},
                     {"scope", {195, 200}, false},
                     {"title", {100, 15}, false},
                     {"banner", {195, 425}, false}});
}

TEST_F(VectorgramEditor, AfterAFailedWindowTheNextOpenShowsTheDisplayValue)
{
    headless.failNextWindow();
    EXPECT_FALSE(open());
    aeffect->setParameter(aeffect, 0, 0.3f);
    EXPECT_TRUE(open());
    EXPECT_EQ(editor->display()->getSampleCount(), 10 + int(0.3f * 502.0f));
}

// The audio thread processes (and the host automates from it) while the user idles, opens and closes
// the editor: under ThreadSanitizer this reports nothing, and the last values stand afterwards.
TEST_F(VectorgramEditor, AudioRunsWhileTheEditorIdlesOpensAndCloses)
{
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        for (int k = 0; !stop.load(); ++k) {
            for (int i = 0; i < 256; ++i) {
                l[i] = std::sin(float(k * 256 + i) * 0.05f);
                r[i] = k % 7 == 0 && i == 3 ? std::nanf("") : std::cos(float(k * 256 + i) * 0.031f);
            }
            float* io[2] = {l.data(), r.data()};
            aeffect->processReplacing(aeffect, io, io, 256);
            if (k % 5 == 0) aeffect->setParameter(aeffect, 0, float(k % 100) / 99.0f);
            blocks.fetch_add(1);
        }
    });
    for (int round = 0; round < 60; ++round) {
        ASSERT_TRUE(open());
        idle(3);
        if (round % 10 == 0) paintAll();
        dispatch(effEditClose);
    }
    while (blocks.load() < 200) std::this_thread::yield();
    stop = true;
    audio.join();

    aeffect->setParameter(aeffect, 0, 0.5f);
    ASSERT_TRUE(open());
    idle(2);
    EXPECT_EQ(editor->display()->getSampleCount(), 261);
    EXPECT_GT(editor->leftMeter()->value(), 0.0f);
}
