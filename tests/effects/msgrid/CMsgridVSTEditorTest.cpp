// The +msgrid editor on the headless window system, opened through the effect's opcodes as a host
// would: its picture, the sliders and switch against the effect, the colour button, and what the host
// hears (and must not hear) of the widgets.
#include "effects/msgrid/CMsgridVSTEditor.h"
#include "effects/msgrid/msgrid.h"
#include "tests/effects/EditorHarness.h"
#include "tests/effects/EditorLifecycle.h"
#include "tests/effects/HostClosesMidGesture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using editortest::word;

using MsgridEditor = editortest::EditorHarness<msgrid, CMsgridVSTEditor>;

// The mid slider sits at (5, 40)-(345, 56): its track runs from x 5 + 12 to 5 + 328.
constexpr int kMidTrackStart = 17;
constexpr int kTrackSpan = 316;
constexpr int kMidRow = 48;

}  // namespace

namespace editortest {
using MsgridPair = EditorPair<msgrid, CMsgridVSTEditor>;
INSTANTIATE_TYPED_TEST_SUITE_P(Msgrid, EditorLifecycle, MsgridPair);
}

TEST_F(MsgridEditor, OpensAt350By110WithItsWidgetsOnAWhiteFrame)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(editor->getFrame()->childCount(), 6);
    paintAll();
#ifdef TW_PICTURE_DIR
    headless.windowContext(window())->writePng(TW_PICTURE_DIR "/msgrid-editor-headless.png");
#endif
    const VGPalette& p = CMsgridVSTEditor::kDefaultPalette;
    EXPECT_EQ(pixel(0, 0), 0x000000u);      // the frame's line along its top and left
    EXPECT_EQ(pixel(349, 38), 0xFFFFFFu);   // between the widgets
    EXPECT_EQ(pixel(3, 104), 0xEFE8E5u);    // the banner's field beside its text
    // Both sliders at 0 dB: thumbs in the middle, accent inside.
    EXPECT_EQ(pixel(5 + 170, 48), word(p[VGPalette::kAccent]));
    EXPECT_EQ(pixel(5 + 170, 68), word(p[VGPalette::kAccent]));
    // Track in the face colour on the slider's bottom rows, left of the thumb.
    EXPECT_EQ(pixel(5 + 100, 54), word(p[VGPalette::kFace]));
    EXPECT_EQ(pixel(5 + 100, 50), 0xFFFFFFu);
}

TEST_F(MsgridEditor, TheSwitchShowsTheEncodeValueTheEditorOpensWith)
{
    aeffect->setParameter(aeffect, msgrid::kEncode, 1.0f);
    ASSERT_TRUE(open());
    paintAll();
    const VGPalette& p = CMsgridVSTEditor::kDefaultPalette;
    // The indicator at the 80 x 18 button's right end, (5 + 67, 79 + 5)-(5 + 75, 79 + 13), is lit.
    EXPECT_EQ(pixel(5 + 71, 79 + 9), word(p[VGPalette::kAccent]));
    dispatch(effEditClose);
    aeffect->setParameter(aeffect, msgrid::kEncode, 0.0f);
    ASSERT_TRUE(open());
    paintAll();
    EXPECT_EQ(pixel(5 + 71, 79 + 9), word(lightened(p[VGPalette::kFace])));
}

TEST_F(MsgridEditor, DraggingTheMidSliderToItsRightEndGivesPlus12dBAndTellsTheHost)
{
    ASSERT_TRUE(open());
    paintAll();
    drag({{kMidTrackStart + 158, kMidRow}, {kMidTrackStart + 250, kMidRow}, {340, kMidRow}, {349, kMidRow}});
    EXPECT_FLOAT_EQ(effect->getParameter(msgrid::kMidGain), 1.0f);
    char display[64] = {};
    effect->getParameterDisplay(msgrid::kMidGain, display);
    EXPECT_EQ(std::stof(display), 12.0f);
    const auto automated = automations();
    ASSERT_FALSE(automated.empty());
    EXPECT_EQ(automated.back().index, 0);
    EXPECT_EQ(automated.back().opt, 1.0f);
    EXPECT_EQ(count(audioMasterBeginEdit), 1);
    EXPECT_EQ(count(audioMasterEndEdit), 1);
    // The thumb is drawn at the right end once the editor idles (below the read-out's text).
    idle();
    EXPECT_EQ(pixel(5 + 328, 40 + 13), word(CMsgridVSTEditor::kDefaultPalette[VGPalette::kAccent]));
}

TEST_F(MsgridEditor, SliderClampsAndShiftMakesItTenTimesFiner)
{
    ASSERT_TRUE(open());
    drag({{6, kMidRow}, {0, kMidRow}});
    EXPECT_NEAR(effect->getParameter(msgrid::kMidGain), 0.0f, 1e-6f);  // clamped to the left end

    // Half-way, then shift: the value stays, then follows a tenth of the pointer's offset.
    const float half = 158.0f / kTrackSpan;
    std::vector<platform::HeadlessWindowSystem::InputStep> steps = {
        {kButtonLeft, {kMidTrackStart + 158, kMidRow}},
        {kButtonLeft, {kMidTrackStart + 158, kMidRow}},
        {kButtonLeft | kModShift, {kMidTrackStart + 158, kMidRow}},
        {kButtonLeft | kModShift, {kMidTrackStart + 158 + 100, kMidRow}},
        {kButtonLeft | kModShift, {kMidTrackStart + 158 + 100, kMidRow}},
        {0, {kMidTrackStart + 158 + 100, kMidRow}},
    };
    headless.script(steps);
    headless.press(window(), steps.front().pointer);
    const float expected = half + (258.0f / kTrackSpan - half) / 10.0f;
    EXPECT_NEAR(effect->getParameter(msgrid::kMidGain), expected, 1e-5f);
}

TEST_F(MsgridEditor, AControlClickResetsTheSliderToItsDefault)
{
    aeffect->setParameter(aeffect, msgrid::kSideGain, 0.9f);
    ASSERT_TRUE(open());
    headless.script({{kButtonLeft | kModControl, {100, 68}}, {0, {100, 68}}});
    headless.press(window(), {100, 68});
    EXPECT_FLOAT_EQ(effect->getParameter(msgrid::kSideGain), 0.5f);
}

TEST_F(MsgridEditor, HostAutomationOfSideGainMovesTheSideSlider)
{
    ASSERT_TRUE(open());
    paintAll();
    const std::uint32_t accent = word(CMsgridVSTEditor::kDefaultPalette[VGPalette::kAccent]);
    EXPECT_NE(pixel(5 + 12 + 79, 68), accent);
    aeffect->setParameter(aeffect, msgrid::kSideGain, 0.25f);  // -6 dB: thumb centre at 12 + 79
    idle();
    EXPECT_EQ(pixel(5 + 12 + 79, 68), accent);
    EXPECT_NE(pixel(5 + 170, 68), accent);
    EXPECT_TRUE(automations().empty());  // what the host set is not sent back to it
}

TEST_F(MsgridEditor, TheColourButtonGivesRandomColoursThenExactlyTheDefaults)
{
    ASSERT_TRUE(open());
    paintAll();
    const auto before = picture();
    const platform::Point button{338, 88};
    click(button);
    const VGPalette& now = editor->currentPalette();
    const VGPalette& defaults = CMsgridVSTEditor::kDefaultPalette;
    EXPECT_FALSE(now[0] == defaults[0] && now[1] == defaults[1] && now[2] == defaults[2]);
    EXPECT_EQ(now[VGPalette::kText], defaults[VGPalette::kText]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(now[i].alpha, 255);
        EXPECT_LT(now[i].red, 255);  // rand() % 255
    }
    idle();
    const auto random = picture();
    EXPECT_NE(random, before);
    // The title's badge body is palette entry 1: it changed.
    EXPECT_EQ(pixel(5 + 80, 5 + 1), word(now[VGPalette::kBody]));

    click(button);
    idle();
    EXPECT_EQ(picture(), before);
    // The colour button edits no parameter: the host hears nothing of it.
    EXPECT_EQ(count(audioMasterAutomate), 0);
    EXPECT_EQ(count(audioMasterBeginEdit), 0);
    EXPECT_EQ(count(audioMasterEndEdit), 0);
}

TEST_F(MsgridEditor, ClicksOnTheTitleAndTheBannerReachNoParameter)
{
    ASSERT_TRUE(open());
    headless.setButtons(kButtonLeft);
    headless.press(window(), {100, 15});   // title, tag -1
    headless.press(window(), {100, 105});  // banner, tag -99
    headless.setButtons(0);
    EXPECT_TRUE(log.empty());
    EXPECT_FLOAT_EQ(effect->getParameter(msgrid::kMidGain), 0.5f);
}

TEST_F(MsgridEditor, TheDirectionSwitchTogglesEncode)
{
    ASSERT_TRUE(open());
    click({30, 88});
    EXPECT_EQ(effect->getParameter(msgrid::kEncode), 1.0f);
    const auto automated = automations();
    ASSERT_EQ(automated.size(), 1u);
    EXPECT_EQ(automated[0].index, msgrid::kEncode);
    EXPECT_EQ(automated[0].opt, 1.0f);
    EXPECT_EQ(count(audioMasterBeginEdit), 1);
    EXPECT_EQ(count(audioMasterEndEdit), 1);
}

TEST_F(MsgridEditor, ReopeningRestoresTheDefaultPalette)
{
    ASSERT_TRUE(open());
    click({338, 88});
    ASSERT_FALSE(editor->currentPalette()[1] == CMsgridVSTEditor::kDefaultPalette[1]);
    dispatch(effEditClose);
    ASSERT_TRUE(open());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(editor->currentPalette()[i], CMsgridVSTEditor::kDefaultPalette[i]);
}

// A host may set parameters from its audio thread while the user opens and closes the editor: the
// widgets only ever see the change on the editor's own thread, at its next idle.
TEST_F(MsgridEditor, ParameterChangesFromAnotherThreadWhileTheEditorOpensAndCloses)
{
    std::atomic<bool> stop{false};
    std::atomic<int> sets{0};
    std::thread audio([&] {
        for (int i = 0; !stop.load(); ++i) {
            aeffect->setParameter(aeffect, i % 3, float(i % 100) / 100.0f);
            sets.fetch_add(1);
        }
    });
    for (int round = 0; round < 200; ++round) {
        ASSERT_TRUE(open());
        idle(2);
        dispatch(effEditClose);
    }
    while (sets.load() < 1000) std::this_thread::yield();
    stop = true;
    audio.join();

    // After the last change from the other thread, an open editor shows the value that stands.
    aeffect->setParameter(aeffect, msgrid::kSideGain, 0.25f);
    ASSERT_TRUE(open());
    std::thread late([&] { aeffect->setParameter(aeffect, msgrid::kSideGain, 0.75f); });
    late.join();
    paintAll();
    idle();
    EXPECT_EQ(pixel(5 + 12 + 237, 68), word(CMsgridVSTEditor::kDefaultPalette[VGPalette::kAccent]));
}

// Hosts close editors, and whole effects, from inside the callbacks a press makes, on every kind of
// widget the editor has.
TEST_F(MsgridEditor, TheHostClosesTheEditorOrTheEffectFromInsideAnyCallbackOfAnyWidget)
{
    midgesture::run(headless, [](audioMasterCallback host) { return new msgrid(host); }, {0, 0, 350, 110},
                    {{"mid slider", {kMidTrackStart + 158, kMidRow}, true},
                     {"encode switch", {45, 88}, true},
                     {"colour button", {338, 88}, false},
                     {"title", {100, 15}, false},
                     {"banner", {175, 105}, false}});
}
