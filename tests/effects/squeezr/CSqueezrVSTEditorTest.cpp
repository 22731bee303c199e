// The +squeezr editor on the headless window system, opened through the effect's opcodes as a host
// would: its layout, the knobs and switches against the effect, the eyes against the meters, the
// colour button, what the host hears (and must not hear) of the widgets, and closing at bad moments.
#include "effects/squeezr/CSqueezrVSTEditor.h"
#include "effects/squeezr/squeezr.h"
#include "tests/effects/EditorHarness.h"
#include "tests/effects/EditorLifecycle.h"
#include "tests/effects/HostClosesMidGesture.h"
#include "widgets/VGGrommetKnob.h"
#include "widgets/VGMagicEye.h"
#include "widgets/VGTextButton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

using editortest::HostCall;
using editortest::word;

std::string readout(VGGrommetKnob* k)
{
    char text[600];
    k->readout(text, sizeof text);
    return text;
}

// Knob centres in the window: each knob is 66 pixels square.
constexpr platform::Point kRatioCentre{5 + 33, 170 + 33};
constexpr platform::Point kThresholdCentre{75 + 33, 170 + 33};
constexpr platform::Point kAttackCentre{145 + 33, 170 + 33};
constexpr platform::Point kColourButton{403, 258};

class SqueezrEditor : public editortest::EditorHarness<squeezr, CSqueezrVSTEditor> {
protected:
    // The knob's loop reads the buttons twice a round.
    SqueezrEditor() { readsPerPoint = 2; }
    void SetUp() override
    {
        EditorHarness::SetUp();
        resume();
    }
    void play(float left, float right, int blocks = 4)
    {
        std::vector<float> l(512, left), r(512, right), ol(512), orr(512);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        for (int i = 0; i < blocks; ++i) aeffect->processReplacing(aeffect, in, out, 512);
    }
};

const VGPalette& defaults = CSqueezrVSTEditor::kDefaultPalette;

}  // namespace

namespace editortest {
using SqueezrPair = EditorPair<squeezr, CSqueezrVSTEditor>;
INSTANTIATE_TYPED_TEST_SUITE_P(Squeezr, EditorLifecycle, SqueezrPair);
}

TEST_F(SqueezrEditor, OpensAt424By285WithTheInitialProgramOnItsKnobs)
{
    EXPECT_EQ(editor->knob(0), nullptr);  // closed: no widgets

    ASSERT_TRUE(open());
    CFrame* frame = editor->getFrame();
    ASSERT_EQ(frame->childCount(), 20);
    // In the order they were added, with their rectangles and tags.
    const struct {
        ViewRect r;
        std::int32_t tag;
    } layout[] = {{{5, 5, 419, 31}, -1},       {{5, 35, 139, 169}, -99},     {{145, 35, 279, 169}, -99},
                  {{285, 35, 419, 169}, -99},  {{5, 170, 71, 236}, 0},       {{5, 236, 69, 251}, -99},
                  {{75, 170, 141, 236}, 1},    {{75, 236, 139, 251}, -99},   {{145, 170, 211, 236}, 2},
                  {{145, 236, 209, 251}, -99}, {{215, 170, 281, 236}, 3},    {{215, 236, 279, 251}, -99},
                  {{285, 170, 351, 236}, 5},   {{285, 236, 349, 251}, -99},  {{355, 170, 421, 236}, 4},
                  {{350, 236, 429, 251}, -99}, {{5, 250, 90, 268}, 7},       {{105, 250, 190, 268}, 6},
                  {{395, 250, 412, 267}, -8888}, {{0, 275, 424, 285}, -99}};
    const char* captions[] = {"ratio", "threshold", "attack", "release", "soft knee", "makeup gain"};
    int caption = 0;
    for (std::int32_t i = 0; i < 20; ++i) {
        auto* c = static_cast<VGControl*>(frame->childAt(i));
        EXPECT_EQ(c->bounds(), layout[i].r) << i;
        EXPECT_EQ(c->tag(), layout[i].tag) << i;
        if (i >= 5 && i <= 15 && i % 2 == 1) {
            EXPECT_STREQ(c->getName(), captions[caption++]) << i;
        }
    }
    EXPECT_STREQ(static_cast<VGControl*>(frame->childAt(0))->getName(), "+ s q u e e z r");
    const std::string banner = static_cast<VGControl*>(frame->childAt(19))->getName();
    for (const char* word : {"Tonewerks", "+squeezr", "vst", "version"}) EXPECT_NE(banner.find(word), std::string::npos);

    // Ratio 1:1, threshold -40, attack 20, release 0.5, makeup 0, knee 0, both switches off.
    EXPECT_EQ(readout(editor->knob(squeezr::kRatio)), "1.0:1 ");
    EXPECT_EQ(readout(editor->knob(squeezr::kThreshold)), "-40.0  dB");
    EXPECT_EQ(readout(editor->knob(squeezr::kAttack)), "20.0  ms");
    EXPECT_EQ(readout(editor->knob(squeezr::kRelease)), "0.50  s");
    EXPECT_EQ(readout(editor->knob(squeezr::kMakeup)), "0.0  dB");
    EXPECT_EQ(readout(editor->knob(squeezr::kKnee)), "0.00 ");
    EXPECT_EQ(static_cast<VGControl*>(frame->childAt(16))->value(), 0.0f);
    EXPECT_EQ(static_cast<VGControl*>(frame->childAt(17))->value(), 0.0f);
    EXPECT_EQ(editor->gainMeter()->getStyle(), 1);
    EXPECT_EQ(editor->inputMeter()->getStyle(), 0);

    paintAll();
#ifdef TW_PICTURE_DIR
    headless.windowContext(window())->writePng(TW_PICTURE_DIR "/squeezr-editor-headless.png");
#endif
    // Silence darkens the input and output eyes; the gain eye at 0 dB lights only its mark.
    const std::uint32_t dark = word(halfIntensity(defaults[VGPalette::kAccent]));
    EXPECT_EQ(pixel(5 + 40, 35 + 20), dark);
    EXPECT_EQ(pixel(145 + 40, 35 + 20), dark);
    EXPECT_EQ(pixel(285 + 40, 35 + 20), dark);
    EXPECT_EQ(pixel(5 + 67, 35 + 44), word(defaults[VGPalette::kBody]));  // a read-out disc
    // The makeup knob at 0: its pointer at 7 o'clock, its ring's gap below and left of it.
    EXPECT_EQ(pixel(355 + 33, 170 + 61), word(defaults[VGPalette::kBody]));
    EXPECT_EQ(pixel(355 + 33, 170 + 20), word(lightened(defaults[VGPalette::kFace])));
    EXPECT_EQ(pixel(423, 240), 0xFFFFFFu);  // the wide makeup caption is cut at the frame's edge
}

TEST_F(SqueezrEditor, TurningTheThresholdKnobToTheTopGivesZeroDbAndTellsTheHost)
{
    ASSERT_TRUE(open());
    paintAll();
    const platform::Point c = kThresholdCentre;
    drag({c, {c.x, c.y - 20}, {c.x, c.y - 50}, {c.x + 10, c.y - 50}, {c.x + 10, c.y - 60}});
    EXPECT_FLOAT_EQ(effect->getParameter(squeezr::kThreshold), 1.0f);
    char display[64] = {};
    effect->getParameterDisplay(squeezr::kThreshold, display);
    EXPECT_EQ(std::stof(display), 0.0f);
    const auto automated = automations();
    ASSERT_GE(automated.size(), 2u);
    for (const HostCall& a : automated) EXPECT_EQ(a.index, squeezr::kThreshold);
    for (std::size_t i = 1; i < automated.size(); ++i) EXPECT_GE(automated[i].opt, automated[i - 1].opt);
    EXPECT_EQ(automated.back().opt, 1.0f);
    EXPECT_EQ(count(audioMasterBeginEdit), 1);
    EXPECT_EQ(count(audioMasterEndEdit), 1);
    EXPECT_EQ(readout(editor->knob(squeezr::kThreshold)), "0.0  dB");
    // Redrawn at the next idle: the pointer at 5 o'clock, its dot at (43, 53)-(51, 61) in the knob.
    idle();
    EXPECT_EQ(pixel(75 + 47, 170 + 57), word(defaults[VGPalette::kAccent]));
}

TEST_F(SqueezrEditor, ShiftTurnsFiveTimesFinerAndControlClickGivesTheDefault)
{
    ASSERT_TRUE(open());
    const float attack = effect->getParameter(squeezr::kAttack);
    const platform::Point c = kAttackCentre;
    drag({c, {c.x, c.y - 11}}, kModShift);
    EXPECT_NEAR(effect->getParameter(squeezr::kAttack), attack + 11.0f / 330.0f, 1e-5f);
    drag({c, {c.x, c.y - 11}});
    EXPECT_NEAR(effect->getParameter(squeezr::kAttack), attack + 11.0f / 330.0f + 11.0f / 66.0f, 1e-5f);
    EXPECT_EQ(count(audioMasterBeginEdit), 2);

    log.clear();
    headless.script({{kButtonLeft | kModControl, kRatioCentre}, {0, kRatioCentre}});
    headless.press(window(), kRatioCentre);
    EXPECT_FLOAT_EQ(effect->getParameter(squeezr::kRatio), 0.5f);
    ASSERT_EQ(automations().size(), 1u);
    EXPECT_EQ(automations()[0].index, squeezr::kRatio);
    EXPECT_EQ(count(audioMasterBeginEdit), 0);
    EXPECT_EQ(count(audioMasterEndEdit), 0);
}

TEST_F(SqueezrEditor, TheSwitchesEditSensingAndLink)
{
    ASSERT_TRUE(open());
    click({140, 259});  // sensing
    EXPECT_EQ(effect->getParameter(squeezr::kRmsMode), 1.0f);
    click({40, 259});   // link
    EXPECT_EQ(effect->getParameter(squeezr::kStereoLink), 1.0f);
    const auto automated = automations();
    ASSERT_EQ(automated.size(), 2u);
    EXPECT_EQ(automated[0].index, squeezr::kRmsMode);
    EXPECT_EQ(automated[1].index, squeezr::kStereoLink);
    EXPECT_EQ(count(audioMasterBeginEdit), 2);
    EXPECT_EQ(count(audioMasterEndEdit), 2);
}

TEST_F(SqueezrEditor, AProgramChangeMovesEveryKnobAndSwitch)
{
    const float edited[8] = {0.1f, 0.9f, 0.7f, 0.3f, 0.25f, 0.6f, 1.0f, 1.0f};
    for (VstInt32 i = 0; i < 8; ++i) aeffect->setParameter(aeffect, i, edited[i]);
    ASSERT_TRUE(open());
    CFrame* frame = editor->getFrame();
    for (VstInt32 i = 0; i < 6; ++i) EXPECT_NEAR(editor->knob(i)->value(), edited[i], 1e-6f) << i;
    dispatch(effSetProgram, 1);  // untouched: the initial values
    for (VstInt32 i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(editor->knob(i)->value(), effect->getParameter(i)) << i;
    EXPECT_EQ(readout(editor->knob(squeezr::kThreshold)), "-40.0  dB");
    EXPECT_EQ(static_cast<VGControl*>(frame->childAt(16))->value(), 0.0f);  // link
    EXPECT_EQ(static_cast<VGControl*>(frame->childAt(17))->value(), 0.0f);  // sensing
    dispatch(effSetProgram, 0);
    EXPECT_EQ(static_cast<VGControl*>(frame->childAt(17))->value(), 1.0f);
    EXPECT_TRUE(automations().empty()) << "what the host set is not sent back to it";
}

TEST_F(SqueezrEditor, TheEyesFollowTheMetersAfterIdle)
{
    ASSERT_TRUE(open());
    paintAll();
    aeffect->setParameter(aeffect, squeezr::kThreshold, 40.0f / 60.0f);  // -20 dB
    aeffect->setParameter(aeffect, squeezr::kRatio, 36.0f / 42.0f);      // compressing
    play(0.5f, 0.25f);
    EXPECT_EQ(editor->inputMeter()->getLevelA(), 0.0f) << "nothing moves before the idle";
    idle();
    for (int m = 0; m < 6; ++m) {
        VGMagicEye* eye = m < 2 ? editor->inputMeter() : m < 4 ? editor->outputMeter() : editor->gainMeter();
        EXPECT_EQ(m % 2 ? eye->getLevelB() : eye->getLevelA(), effect->getMeter(m)) << m;
    }
    EXPECT_FLOAT_EQ(editor->inputMeter()->getLevelA(), 0.5f);
    EXPECT_LT(editor->gainMeter()->getLevelA(), 1.0f);
    EXPECT_EQ(pixel(5 + 40, 35 + 20), word(halfIntensity(defaults[VGPalette::kAccent]))) << "drawn one pass later";
    idle();
    // The input eye at about -6 dB: the upper left lit now. The gain eye's wedges opened.
    EXPECT_EQ(pixel(5 + 40, 35 + 20), word(defaults[VGPalette::kAccent]));
    EXPECT_NE(pixel(145 + 62, 35 + 8), pixel(145 + 40, 35 + 20));

    // Bypassed, the gain eye holds its last values.
    const float gainA = editor->gainMeter()->getLevelA();
    dispatch(effSetBypass, 1);
    play(1.0f, 1.0f);
    idle(2);
    EXPECT_EQ(editor->gainMeter()->getLevelA(), gainA);
}

TEST_F(SqueezrEditor, TheColourButtonGivesRandomColoursThenExactlyTheDefaults)
{
    ASSERT_TRUE(open());
    paintAll();
    const auto before = picture();
    click(kColourButton);
    const VGPalette& now = editor->currentPalette();
    EXPECT_FALSE(now[0] == defaults[0] && now[1] == defaults[1] && now[2] == defaults[2]);
    EXPECT_EQ(now[VGPalette::kText], defaults[VGPalette::kText]);
    idle();
    EXPECT_NE(picture(), before);
    EXPECT_EQ(pixel(355 + 33, 170 + 61), word(now[VGPalette::kBody])) << "a knob's ring redrawn";
    click(kColourButton);
    idle();
    EXPECT_EQ(picture(), before);
    EXPECT_TRUE(log.empty()) << "the colour button edits no parameter";

    // Reopening restores the defaults.
    click(kColourButton);
    dispatch(effEditClose);
    ASSERT_TRUE(open());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(editor->currentPalette()[i], defaults[i]);
}

TEST_F(SqueezrEditor, ClicksOnTheTitleEyesCaptionsAndBannerReachNoParameter)
{
    ASSERT_TRUE(open());
    for (const platform::Point p : {platform::Point{100, 15}, {70, 100}, {210, 100}, {350, 100}, {30, 243},
                                    {400, 243}, {200, 280}})
        click(p);
    EXPECT_TRUE(log.empty());
    for (VstInt32 i = 0; i < 8; ++i) EXPECT_NEAR(editor->getEffect()->getParameter(i), effect->getParameter(i), 0);
    EXPECT_EQ(editor->inputMeter()->value(), 1.0f) << "the eye itself toggled";
}

TEST_F(SqueezrEditor, ParametersFromTheHostAndOddIndicesNeverBreakIt)
{
    editor->setParameter(0, 0.5f);  // closed: nothing to show it on
    ASSERT_TRUE(open());
    aeffect->setParameter(aeffect, squeezr::kMakeup, std::numeric_limits<float>::quiet_NaN());
    aeffect->setParameter(aeffect, squeezr::kKnee, 7.0f);
    aeffect->setParameter(aeffect, 99, 0.5f);
    aeffect->setParameter(aeffect, -1, 0.5f);
    editor->setParameter(-8888, 1.0f);
    EXPECT_EQ(editor->knob(squeezr::kMakeup)->value(), 0.0f);
    EXPECT_EQ(editor->knob(squeezr::kKnee)->value(), effect->getParameter(squeezr::kKnee));
    paintAll();
    idle();
}

// Hosts close editors, and whole effects, from inside the callbacks a press makes, on every kind of
// widget the editor has.
TEST_F(SqueezrEditor, TheHostClosesTheEditorOrTheEffectFromInsideAnyCallbackOfAnyWidget)
{
    midgesture::run(headless, [](audioMasterCallback host) { return new squeezr(host); }, {0, 0, kWidth, kHeight},
                    {{"ratio knob", kRatioCentre, true},
                     {"link switch", {40, 259}, true},
                     {"colour button", kColourButton, false},
                     {"input eye", {70, 100}, false},
                     {"ratio caption", {30, 243}, false},
                     {"title", {100, 15}, false},
                     {"banner", {200, 280}, false}});
}

// The audio thread writes the meters and a host thread sets parameters while the user opens, idles
// and closes the editor: widgets only see either on the editor's own thread.
TEST_F(SqueezrEditor, MetersAndParametersFromOtherThreadsWhileTheEditorOpensIdlesAndCloses)
{
    editortest::calls = nullptr;  // the log is the test thread's
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0}, sets{0};
    std::thread audio([&] {
        std::vector<float> l(256), r(256), ol(256), orr(256);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        for (int i = 0; !stop.load(); ++i) {
            std::fill(l.begin(), l.end(), float(i % 10) / 10.0f);
            std::fill(r.begin(), r.end(), i % 7 ? 0.3f : std::numeric_limits<float>::quiet_NaN());
            aeffect->processReplacing(aeffect, in, out, 256);
            blocks.fetch_add(1);
        }
    });
    std::thread host([&] {
        for (int i = 0; !stop.load(); ++i) {
            aeffect->setParameter(aeffect, i % 8, float(i % 100) / 100.0f);
            sets.fetch_add(1);
        }
    });
    for (int round = 0; round < 150; ++round) {
        ASSERT_TRUE(open());
        idle(3);
        if (round % 10 == 0) paintAll();
        dispatch(effEditClose);
    }
    while (blocks.load() < 200 || sets.load() < 1000) std::this_thread::yield();
    stop = true;
    audio.join();
    host.join();

    // A change from another thread reaches the open editor at its next idle.
    ASSERT_TRUE(open());
    std::thread late([&] { aeffect->setParameter(aeffect, squeezr::kAttack, 1.0f); });
    late.join();
    idle();
    EXPECT_EQ(editor->knob(squeezr::kAttack)->value(), 1.0f);
    EXPECT_EQ(editor->inputMeter()->getLevelA(), effect->getMeter(squeezr::kInPeakL));
}
