// The view tree, the frame and the editor base on the headless window system: routing, redraw
// tracking, painting into the window image, the idle cycle and the editor's life through its opcodes.
#include "TestEditor.h"

#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CViewContainer.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr platform::NativeWindow kHostWindow = 0x4242;

struct HostLog {
    std::vector<VstInt32> opcodes;
    std::function<void(VstInt32)> hook;
};
HostLog* host = nullptr;

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    if (opcode == audioMasterVersion) return 2400;
    if (host) {
        host->opcodes.push_back(opcode);
        if (host->hook) host->hook(opcode);
    }
    return 0;
}

class ServiceCountingSystem : public platform::HeadlessWindowSystem {
public:
    bool startThreadServices() override
    {
        ++starts;
        return startsSucceed;
    }
    void stopThreadServices() override { ++stops; }
    bool startsSucceed = true;
    int starts = 0;
    int stops = 0;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowSystem::install(&headless);
        host = &log;
        headless.setTicks(1000);
    }
    void TearDown() override
    {
        if (effect) dispatch(effClose);
        host = nullptr;
        platform::WindowSystem::install(nullptr);
    }

    VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr)
    {
        return aeffect->dispatcher(aeffect, opcode, 0, 0, ptr, 0);
    }
    void makeEffect()
    {
        effect = new TestEffect(hostCallback);
        aeffect = effect->getAeffect();
        editor = static_cast<TestEditor*>(effect->getEditor());
    }
    bool openEditor()
    {
        if (!effect) makeEffect();
        return dispatch(effEditOpen, reinterpret_cast<void*>(kHostWindow)) == 1;
    }
    platform::NativeWindow window() const { return editor->getFrame() ? editor->getFrame()->window() : 0; }
    void paintWindow() { headless.paintNow(window(), {0, 0, 200, 100}); }
    std::uint32_t pixel(int x, int y) { return headless.pixel(window(), x, y); }

    ServiceCountingSystem headless;
    HostLog log;
    TestEffect* effect = nullptr;
    AEffect* aeffect = nullptr;
    TestEditor* editor = nullptr;
};

// A view that remembers what the frame's focus was when it was detached.
class Probe : public CView {
public:
    explicit Probe(const ViewRect& r) : CView(r) {}
    bool onDetached(CView* p) override
    {
        focusAtDetach = frame ? frame->focusView() : this;
        return CView::onDetached(p);
    }
    CView* focusAtDetach = reinterpret_cast<CView*>(1);
};

TEST_F(FrameTest, OpensThroughTheOpcodesAndAnswersTheRect)
{
    makeEffect();
    ERect* r = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, &r), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right - r->left, 200);
    EXPECT_EQ(r->bottom - r->top, 100);
    ASSERT_TRUE(openEditor());
    ASSERT_NE(window(), 0u);
    EXPECT_EQ(headless.parentOf(window()), kHostWindow);
    EXPECT_EQ(editor->getFrame()->childCount(), 2);
    EXPECT_FLOAT_EQ(editor->left->value(), 0.25f);
    dispatch(effEditClose);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(headless.windowCount(), 0u);
}

TEST_F(FrameTest, PressesGoToTheLaterWidgetOnASharedEdgeAndSkipThoseNotTakingTheMouse)
{
    ASSERT_TRUE(openEditor());
    headless.setButtons(0);  // a click already released: routing only, no drag
    headless.press(window(), {100, 20});
    EXPECT_EQ(editor->right->presses, 1);
    EXPECT_EQ(editor->left->presses, 0);

    editor->right->setAcceptsMouse(false);
    headless.press(window(), {100, 20});
    EXPECT_EQ(editor->left->presses, 1);
    EXPECT_EQ(editor->right->presses, 1);

    headless.press(window(), {195, 20});  // only the right one is there, and it refuses
    EXPECT_EQ(editor->left->presses + editor->right->presses, 2);
}

TEST_F(FrameTest, ADragChangesTheValueTellsTheHostAndRepaintsTheWindow)
{
    ASSERT_TRUE(openEditor());
    paintWindow();
    headless.script({{kButtonLeft, {55, 20}}, {kButtonLeft, {55, 20}}, {kButtonLeft, {82, 20}},
                     {kButtonLeft, {82, 20}}, {0, {82, 20}}});
    headless.press(window(), {55, 20});
    EXPECT_FLOAT_EQ(effect->params[0], 0.8f);  // (82 - 10) / 90
    ASSERT_GE(log.opcodes.size(), 3u);
    EXPECT_EQ(log.opcodes.front(), audioMasterBeginEdit);
    EXPECT_EQ(log.opcodes.back(), audioMasterEndEdit);
    EXPECT_NE(std::find(log.opcodes.begin(), log.opcodes.end(), audioMasterAutomate), log.opcodes.end());
    dispatch(effEditIdle);
    EXPECT_EQ(pixel(50, 30), 0xCCCCCCu);  // 0.8 * 255 = 204
}

TEST_F(FrameTest, AWhiteFrameKeepsABlackLineAlongItsTopAndLeft)
{
    ASSERT_TRUE(openEditor());
    paintWindow();
    EXPECT_EQ(pixel(0, 0), 0x000000u);
    EXPECT_EQ(pixel(120, 0), 0x000000u);
    EXPECT_EQ(pixel(0, 70), 0x000000u);
    EXPECT_EQ(pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(pixel(199, 99), 0xFFFFFFu);
    EXPECT_EQ(pixel(30, 30), 0x3F3F3Fu);  // the left control at 0.25: 63.75 truncated to 63
}

TEST_F(FrameTest, NothingIsPaintedByIdleBeforeTheFirstPaintWhichPaintsEverything)
{
    ASSERT_TRUE(openEditor());
    editor->left->setValue(1.0f);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->left->paints, 0);
    EXPECT_EQ(pixel(30, 30), 0x000000u);  // the window image is still untouched
    paintWindow();
    EXPECT_EQ(editor->left->paints, 1);
    EXPECT_EQ(editor->right->paints, 1);
    EXPECT_EQ(pixel(30, 30), 0xFFFFFFu);
    editor->left->setValue(0.0f);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->left->paints, 2);
    EXPECT_EQ(editor->right->paints, 1);  // only what changed
    EXPECT_EQ(pixel(30, 30), 0x000000u);
}

TEST_F(FrameTest, InvalidateMarksEveryWidgetAndTheNextIdleRepaintsThemAll)
{
    ASSERT_TRUE(openEditor());
    paintWindow();
    dispatch(effEditIdle);
    EXPECT_FALSE(editor->getFrame()->needsRedraw());
    editor->getFrame()->invalidate(ViewRect(0, 0, 200, 100));
    EXPECT_TRUE(editor->left->needsRedraw());
    EXPECT_TRUE(editor->right->needsRedraw());
    dispatch(effEditIdle);
    EXPECT_EQ(editor->left->paints, 2);
    EXPECT_EQ(editor->right->paints, 2);
}

TEST_F(FrameTest, ControlRedrawFlagsDefaultClickAndBounce)
{
    ASSERT_TRUE(openEditor());
    TestSlider* s = editor->left;
    s->setNeedsRedraw(false);
    s->setValue(s->value());
    EXPECT_FALSE(s->needsRedraw());
    s->setValue(-1.0f);
    s->setNeedsRedraw(false);
    s->setNeedsRedraw(true);
    EXPECT_FLOAT_EQ(s->lastValue(), 0.0f);
    EXPECT_TRUE(s->needsRedraw());

    s->setValue(0.9f);
    s->setDefaultValue(0.3f);
    EXPECT_FALSE(s->resetOnDefaultClick(nullptr, kButtonLeft | kModControl | kModShift));
    EXPECT_FALSE(s->resetOnDefaultClick(nullptr, kButtonLeft));
    EXPECT_FLOAT_EQ(s->value(), 0.9f);
    EXPECT_TRUE(s->resetOnDefaultClick(nullptr, kButtonLeft | kModControl));
    EXPECT_FLOAT_EQ(s->value(), 0.3f);
    EXPECT_FLOAT_EQ(effect->params[0], 0.3f);

    s->setValue(1.5f);
    s->bounceValue();
    EXPECT_FLOAT_EQ(s->value(), 1.0f);
    s->setValue(-0.2f);
    s->bounceValue();
    EXPECT_FLOAT_EQ(s->value(), 0.0f);
    s->setValue(0.4f);
    s->bounceValue();
    EXPECT_FLOAT_EQ(s->value(), 0.4f);
}

TEST_F(FrameTest, ADirtyChildOutsideItsContainerDoesNotMakeItDirty)
{
    ASSERT_TRUE(openEditor());
    auto* box = new CViewContainer(ViewRect(0, 60, 50, 100), editor->getFrame());
    editor->getFrame()->addView(box);
    auto* child = new Probe(ViewRect(60, 0, 80, 20));  // local coordinates: right of the box
    box->addView(child);
    box->setNeedsRedraw(false);
    EXPECT_TRUE(child->needsRedraw());
    EXPECT_FALSE(box->needsRedraw());
    child->setBounds(ViewRect(40, 0, 60, 20));  // now partly inside
    EXPECT_TRUE(box->needsRedraw());
}

TEST_F(FrameTest, RemovingTheFocusViewClearsTheFocusBeforeItGoes)
{
    ASSERT_TRUE(openEditor());
    CFrame* f = editor->getFrame();
    auto* probe = new Probe(ViewRect(0, 60, 20, 80));
    f->addView(probe);
    f->setFocusView(probe);
    ASSERT_EQ(f->focusView(), probe);
    probe->retain();  // keep it to read what it saw
    f->removeView(probe, true);
    EXPECT_EQ(probe->focusAtDetach, nullptr);
    EXPECT_EQ(f->focusView(), nullptr);
    EXPECT_EQ(probe->referenceCount(), 1);
    probe->release();
}

TEST_F(FrameTest, RunIdleSleepsWithoutIdlingWhenCalledAgainSoon)
{
    makeEffect();  // constructed at tick 1000: the first slot is due
    ASSERT_TRUE(openEditor());
    editor->runIdle();
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(headless.ticks(), 1000u);
    headless.setTicks(1006);
    editor->runIdle();
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(headless.ticks(), 1010u);
    EXPECT_EQ(std::count(log.opcodes.begin(), log.opcodes.end(), audioMasterIdle), 1);
}

TEST_F(FrameTest, APollingLoopGetsAnIdlePassAboutEveryFiftyMilliseconds)
{
    ASSERT_TRUE(openEditor());
    std::vector<std::uint32_t> at;
    headless.onSleep([] {});
    int last = editor->idles;
    while (headless.ticks() < 2000) {
        editor->runIdle();
        if (editor->idles != last) at.push_back(headless.ticks());
        last = editor->idles;
        if (at.empty()) headless.sleep(0);
    }
    ASSERT_GE(at.size(), 18u);
    for (std::size_t i = 1; i < at.size(); ++i) {
        EXPECT_GE(at[i] - at[i - 1], 48u);
        EXPECT_LE(at[i] - at[i - 1], 56u);
    }
}

TEST_F(FrameTest, IdleKeepsRunningAcrossTheTickWrap)
{
    headless.setTicks(0xFFFFFFF0u);
    makeEffect();
    ASSERT_TRUE(openEditor());
    headless.setTicks(0x10);  // 32 ms later, after the wrap
    editor->runIdle();
    EXPECT_EQ(editor->idles, 1);
    headless.setTicks(0x14);
    editor->runIdle();
    EXPECT_EQ(editor->idles, 1);  // and still throttled as before
}

TEST_F(FrameTest, ClosingDuringIdleIsSafe)
{
    ASSERT_TRUE(openEditor());
    log.hook = [this](VstInt32 op) {
        if (op == audioMasterIdle) dispatch(effEditClose);
    };
    editor->runIdle();
    EXPECT_EQ(editor->getFrame(), nullptr);
    log.hook = nullptr;
    dispatch(effEditIdle);
    editor->runIdle();
    EXPECT_EQ(headless.windowCount(), 0u);
}

TEST_F(FrameTest, ClosingDuringAGestureStopsTheDragAndDeletesTheFrameAfterwards)
{
    ASSERT_TRUE(openEditor());
    const platform::NativeWindow w = window();
    bool visibleAfterClose = true;
    log.hook = [&](VstInt32 op) {
        if (op != audioMasterAutomate) return;
        dispatch(effEditClose);
        visibleAfterClose = headless.visible(w);
        EXPECT_TRUE(headless.exists(w));  // still on the stack
    };
    headless.setButtons(kButtonLeft);  // held for ever: only the close can end this drag
    headless.press(w, {55, 20});
    EXPECT_FALSE(visibleAfterClose);
    EXPECT_FALSE(headless.exists(w));
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(std::count(log.opcodes.begin(), log.opcodes.end(), audioMasterAutomate), 1);
    // The effect lives on, so its host hears the gesture it saw begin end, once.
    EXPECT_EQ(std::count(log.opcodes.begin(), log.opcodes.end(), audioMasterEndEdit), 1);
    EXPECT_EQ(log.opcodes.back(), audioMasterEndEdit);
}

TEST_F(FrameTest, OpeningTwiceReplacesTheFrameAndAFailedWindowAnswersZero)
{
    ASSERT_TRUE(openEditor());
    const platform::NativeWindow first = window();
    ASSERT_TRUE(openEditor());
    EXPECT_FALSE(headless.exists(first));
    EXPECT_EQ(headless.windowCount(), 1u);
    dispatch(effEditClose);
    headless.failNextWindow();
    EXPECT_FALSE(openEditor());
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_FALSE(editor->isOpen());
    dispatch(effEditIdle);
    EXPECT_EQ(headless.windowCount(), 0u);
}

TEST_F(FrameTest, AWindowDestroyedWithItsParentIsForgottenNotDestroyedAgain)
{
    ASSERT_TRUE(openEditor());
    const platform::NativeWindow w = window();
    headless.destroyWithParent(w);
    EXPECT_FALSE(editor->getFrame()->isOpen());
    EXPECT_EQ(window(), 0u);
    const int before = headless.destroyCalls();
    dispatch(effEditIdle);
    dispatch(effEditClose);
    EXPECT_EQ(headless.destroyCalls(), before);
}

TEST_F(FrameTest, DragsAreFollowedButADropIsNeverAccepted)
{
    ASSERT_TRUE(openEditor());
    EXPECT_TRUE(editor->getFrame()->dropActive());
    platform::DropClient* drop = headless.dropClient(window());
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->dragEntered({20, 20}), platform::DropEffect::Move);
    EXPECT_EQ(drop->dragMoved({120, 20}), platform::DropEffect::Move);
    EXPECT_EQ(drop->dropped({120, 20}), platform::DropEffect::None);
    EXPECT_EQ(drop->dragEntered({20, 20}), platform::DropEffect::Move);
    drop->dragLeft();
    EXPECT_FLOAT_EQ(effect->params[1], 0.75f);
}

TEST_F(FrameTest, SetCursorSevenRestoresTheFirstCursor)
{
    ASSERT_TRUE(openEditor());
    CFrame* f = editor->getFrame();
    f->setCursor(3);
    EXPECT_NE(headless.cursorInUse(), platform::HeadlessWindowSystem::kFirstCursor);
    f->setCursor(9);
    f->setCursor(7);
    EXPECT_EQ(headless.cursorInUse(), platform::HeadlessWindowSystem::kFirstCursor);
}

TEST_F(FrameTest, ThreadServicesAreStoppedOnlyWhereTheyStarted)
{
    headless.startsSucceed = false;
    ASSERT_TRUE(openEditor());
    dispatch(effEditClose);
    dispatch(effClose);
    effect = nullptr;
    EXPECT_GT(headless.starts, 0);
    EXPECT_EQ(headless.stops, 0);

    headless.startsSucceed = true;
    headless.starts = 0;
    ASSERT_TRUE(openEditor());
    dispatch(effEditClose);
    dispatch(effClose);
    effect = nullptr;
    EXPECT_EQ(headless.stops, headless.starts);
}

TEST_F(FrameTest, OpeningAndClosingAThousandTimesLeavesNothingBehind)
{
    makeEffect();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(openEditor());
        paintWindow();
        dispatch(effEditIdle);
        dispatch(effEditClose);
    }
    EXPECT_EQ(headless.windowCount(), 0u);
}

}  // namespace
