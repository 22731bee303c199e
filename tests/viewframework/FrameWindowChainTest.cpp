// The frame among the host's windows: which window is the editor's outer one, where it is, and how
// a new frame size reaches the host, through its sizeWindow or by resizing the windows around ours.
#include "TestEditor.h"

#include "platform/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using platform::NativeWindow;
using platform::Rect;
using Resize = platform::HeadlessWindowSystem::Resize;

struct SizingHost {
    bool offers = false;   // answers the "sizeWindow" capability
    bool accepts = false;  // accepts the request itself
    std::vector<std::pair<VstInt32, VstIntPtr>> requests;
};
SizingHost* sizing = nullptr;

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
    if (opcode == audioMasterVersion) return 2400;
    if (!sizing) return 0;
    if (opcode == audioMasterCanDo)
        return sizing->offers && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0 ? 1 : 0;
    if (opcode == audioMasterSizeWindow) {
        sizing->requests.emplace_back(index, value);
        return sizing->accepts ? 1 : 0;
    }
    return 0;
}

class FrameWindowChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowSystem::install(&headless);
        sizing = &host;
        headless.setDialogFrameHeight(3);
        effect = new TestEffect(hostCallback);
        editor = static_cast<TestEditor*>(effect->getEditor());
    }
    void TearDown() override
    {
        effect->getAeffect()->dispatcher(effect->getAeffect(), effClose, 0, 0, nullptr, 0);
        sizing = nullptr;
        platform::WindowSystem::install(nullptr);
    }

    // Opens the 200 x 100 test editor into a host window; the frame's window sits at its (0, 0).
    CFrame* openIn(NativeWindow parent)
    {
        auto* e = effect->getAeffect();
        if (editor->getFrame()) e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
        if (e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0) != 1) return nullptr;
        return editor->getFrame();
    }
    NativeWindow add(NativeWindow parent, Rect r, bool caption = false, const char* className = "")
    {
        return headless.addHostWindow(parent, r, caption, className);
    }
    // A box of the given size at (left, top) of its parent's client area.
    static Rect box(int left, int top, int w, int h) { return {left, top, left + w, top + h}; }
    static ViewRect viewBox(const Rect& r) { return ViewRect(r.left, r.top, r.right, r.bottom); }

    platform::HeadlessWindowSystem headless;
    SizingHost host;
    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
};

TEST_F(FrameWindowChainTest, TheOuterWindowIsTheLastOfAboutTheFramesSizeBelowATitleOrTheTop)
{
    // Titled top 250 x 130 (50 and 30 larger than the frame): the walk climbs all the way to it.
    const NativeWindow top = add(0, box(10, 20, 250, 130), true);
    const NativeWindow mid = add(top, box(5, 7, 220, 120));
    const NativeWindow inner = add(mid, box(3, 4, 200, 100));
    CFrame* frame = openIn(inner);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->outerWindow(), top);
    std::int32_t h = -1, v = -1;
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 10);  // a top-level window's position is on the screen
    EXPECT_EQ(v, 20);

    // A title bar ends the walk at that window, however close its parent's size.
    const NativeWindow top2 = add(0, box(100, 100, 200, 100));
    const NativeWindow titled = add(top2, box(6, 9, 200, 100), true);
    const NativeWindow inner2 = add(titled, box(2, 2, 200, 100));
    frame = openIn(inner2);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->outerWindow(), titled);
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 6);  // relative to its parent; on the screen it is at (106, 109)
    EXPECT_EQ(v, 9);

    // A parent 61 pixels wider (or taller) stops the walk below it; exactly 60 does not.
    const NativeWindow wide = add(0, box(100, 100, 261, 100));
    const NativeWindow inWide = add(wide, box(30, 40, 200, 100));
    frame = openIn(inWide);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->outerWindow(), inWide);
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 30);
    EXPECT_EQ(v, 40);
    headless.resizeHostWindow(wide, 260, 160);
    EXPECT_EQ(frame->outerWindow(), wide);  // no title and no parent: the top itself
    headless.resizeHostWindow(wide, 260, 161);
    EXPECT_EQ(frame->outerWindow(), inWide);
    headless.resizeHostWindow(wide, 140, 100);  // smaller by 60 counts as close
    EXPECT_EQ(frame->outerWindow(), wide);

    // Without any host window of ours around it, the frame's own window is the outer one.
    const NativeWindow far = add(0, box(0, 0, 900, 700));
    frame = openIn(far);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->outerWindow(), frame->window());
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 0);
}

TEST_F(FrameWindowChainTest, OuterWindowRectIsTheParentInTheClientAreaTwoLevelsAboveIt)
{
    const NativeWindow app = add(0, box(40, 50, 600, 400), true);
    const NativeWindow top = add(app, box(10, 20, 300, 200));
    const NativeWindow mid = add(top, box(5, 7, 220, 120));
    const NativeWindow inner = add(mid, box(3, 4, 200, 100));
    CFrame* frame = openIn(inner);
    ASSERT_NE(frame, nullptr);
    ViewRect r;
    ASSERT_TRUE(frame->outerWindowRect(r));
    EXPECT_EQ(r, ViewRect(8, 11, 208, 111));  // inner in top: (5 + 3, 7 + 4)
    ViewRect r2;
    ASSERT_TRUE(frame->outerWindowRect2(r2));
    EXPECT_EQ(r2, r);

    // With fewer levels above, the rectangle is on the screen.
    const NativeWindow lone = add(0, box(70, 80, 210, 110));
    frame = openIn(lone);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->outerWindowRect(r));
    EXPECT_EQ(r, ViewRect(70, 80, 280, 190));

    // Not open: nothing is answered.
    headless.destroyWithParent(frame->window());
    std::int32_t h = 0, v = 0;
    EXPECT_FALSE(frame->outerWindowRect(r));
    EXPECT_FALSE(frame->outerWindowRect2(r));
    EXPECT_FALSE(frame->outerWindowPosition(h, v));
    EXPECT_FALSE(frame->setFrameSize(300, 150));
    EXPECT_TRUE(headless.resizes().empty());
}

TEST_F(FrameWindowChainTest, AHostThatSizesTheWindowGetsTheRequestAndOnlyOurWindowChanges)
{
    host.offers = host.accepts = true;
    const NativeWindow top = add(0, box(0, 0, 206, 106), true);
    const NativeWindow inner = add(top, box(3, 3, 200, 100));
    CFrame* frame = openIn(inner);
    ASSERT_NE(frame, nullptr);
    headless.paintNow(frame->window(), {0, 0, 200, 100});

    EXPECT_FALSE(frame->setFrameSize(200, 100));  // unchanged
    EXPECT_TRUE(host.requests.empty());
    ASSERT_TRUE(frame->setFrameSize(300, 150));
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].first, 300);   // index: width
    EXPECT_EQ(host.requests[0].second, 150);  // value: height
    EXPECT_EQ(frame->getBounds(), ViewRect(0, 0, 300, 150));
    EXPECT_EQ(headless.resizes(), (std::vector<Resize>{{frame->window(), 300, 150}}));
    EXPECT_EQ(headless.rectOf(inner), box(3, 3, 200, 100));
    EXPECT_EQ(headless.rectOf(top), box(0, 0, 206, 106));
    // The window's picture has the new size: the far corner paints in the frame's white.
    headless.paintNow(frame->window(), {0, 0, 300, 150});
    EXPECT_EQ(headless.pixel(frame->window(), 299, 149), 0xFFFFFFu);
    EXPECT_EQ(headless.pixel(frame->window(), 250, 120), 0xFFFFFFu);
    EXPECT_FALSE(frame->setFrameSize(300, 150));
    EXPECT_EQ(host.requests.size(), 1u);

    // A host that offers but then refuses leaves the work to the frame.
    host.accepts = false;
    ASSERT_TRUE(frame->setFrameSize(250, 120));
    EXPECT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(headless.rectOf(top), box(0, 0, 256, 126));  // 250 + 2 x 3 (dialog frame)
}

TEST_F(FrameWindowChainTest, WithoutTheHostTheChainGrowsByWhatEachLevelAddsUpToTheBorderedWindow)
{
    // Two wrappers of the frame's size in a window that adds a 3-pixel dialog frame on each side,
    // inside the host's application window, close enough in size that only the border ends the walk.
    const NativeWindow app = add(0, box(0, 0, 230, 130), true);
    const NativeWindow bordered = add(app, box(50, 60, 206, 106));
    const NativeWindow wrapper = add(bordered, box(3, 3, 200, 100));
    const NativeWindow inner = add(wrapper, box(0, 0, 200, 100));
    CFrame* frame = openIn(inner);
    ASSERT_NE(frame, nullptr);
    const NativeWindow own = frame->window();

    ASSERT_TRUE(frame->setFrameSize(300, 150));
    EXPECT_EQ(headless.resizes(), (std::vector<Resize>{
                                      {own, 300, 150}, {inner, 300, 150}, {wrapper, 300, 150}, {bordered, 306, 156}}));
    EXPECT_EQ(headless.rectOf(bordered), box(50, 60, 306, 156));  // position kept
    EXPECT_EQ(headless.rectOf(app), box(0, 0, 230, 130));
    EXPECT_EQ(frame->getBounds(), ViewRect(0, 0, 300, 150));
    headless.paintNow(own, {0, 0, 300, 150});
    EXPECT_EQ(headless.pixel(own, 299, 149), 0xFFFFFFu);

    // Shrinking takes the same path.
    ASSERT_TRUE(frame->setFrameSize(120, 80));
    EXPECT_EQ(headless.rectOf(bordered), box(50, 60, 126, 86));
    EXPECT_EQ(headless.rectOf(inner), box(0, 0, 120, 80));
    EXPECT_FALSE(frame->setFrameSize(120, 80));
    EXPECT_EQ(headless.resizes().size(), 8u);
    EXPECT_FALSE(frame->setFrameSize(0, 80));
    EXPECT_FALSE(frame->setFrameSize(120, -1));
}

TEST_F(FrameWindowChainTest, TheChainStopsUnderAMuchLargerParentAndAtADocumentArea)
{
    // 81 wider: the window under it is resized, the host's own window is left alone.
    const NativeWindow big = add(0, box(0, 0, 281, 100));
    const NativeWindow inBig = add(big, box(40, 0, 200, 100));
    CFrame* frame = openIn(inBig);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->setFrameSize(300, 150));
    EXPECT_EQ(headless.resizes(), (std::vector<Resize>{{frame->window(), 300, 150}, {inBig, 300, 150}}));
    EXPECT_EQ(headless.rectOf(big), box(0, 0, 281, 100));
    EXPECT_EQ(frame->getBounds(), ViewRect(0, 0, 300, 150));  // the frame knows its window's new size

    // 80 wider is still a wrapper: it grows by those 80 (it is a top-level, so the walk ends there).
    const NativeWindow near = add(0, box(0, 0, 280, 100));
    const NativeWindow inNear = add(near, box(40, 0, 200, 100));
    frame = openIn(inNear);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->setFrameSize(300, 150));
    EXPECT_EQ(headless.rectOf(inNear), box(40, 0, 300, 150));
    EXPECT_EQ(headless.rectOf(near), box(0, 0, 380, 150));

    // A document area lays out its children itself: the walk ends at the window inside it.
    const NativeWindow app = add(0, box(0, 0, 800, 600), true);
    const NativeWindow documents = add(app, box(0, 30, 200, 100), false, "MDIClient");
    const NativeWindow document = add(documents, box(0, 0, 200, 100));
    frame = openIn(document);
    ASSERT_NE(frame, nullptr);
    const std::size_t before = headless.resizes().size();
    ASSERT_TRUE(frame->setFrameSize(260, 130));
    const std::vector<Resize> made(headless.resizes().begin() + std::ptrdiff_t(before), headless.resizes().end());
    EXPECT_EQ(made, (std::vector<Resize>{{frame->window(), 260, 130}, {document, 260, 130}}));
    EXPECT_EQ(headless.rectOf(documents), box(0, 30, 200, 100));
}

TEST_F(FrameWindowChainTest, ASmallerParentAddsNothingInsteadOfTakingAway)
{
    // The wrapper is 10 smaller than the frame's window; the top adds 16 around the wrapper. Taken
    // as -10 that would sum to exactly the dialog frame (6) and end early; as 0 the top gets 16.
    const NativeWindow top = add(0, box(0, 0, 206, 106));
    const NativeWindow wrapper = add(top, box(8, 8, 190, 90));
    CFrame* frame = openIn(wrapper);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->setFrameSize(300, 150));
    EXPECT_EQ(headless.rectOf(wrapper), box(8, 8, 300, 150));
    EXPECT_EQ(headless.rectOf(top), box(0, 0, 316, 166));
}

TEST_F(FrameWindowChainTest, ABrokenParentChainEndsAndAGoneWindowIsNeverResized)
{
    // Two host windows that name each other as parent, both of the frame's size and untitled.
    const NativeWindow a = add(0, box(0, 0, 200, 100));
    const NativeWindow b = add(a, box(0, 0, 200, 100));
    headless.setParent(a, b);
    CFrame* frame = openIn(a);
    ASSERT_NE(frame, nullptr);
    const NativeWindow outer = frame->outerWindow();
    EXPECT_TRUE(outer == a || outer == b);
    std::int32_t h, v;
    EXPECT_TRUE(frame->outerWindowPosition(h, v));
    ASSERT_TRUE(frame->setFrameSize(300, 150));
    EXPECT_LE(headless.resizes().size(), 70u);
    EXPECT_EQ(headless.rectOf(a), box(0, 0, 300, 150));

    // The host's window went while ours still names it: only ours is resized.
    const NativeWindow gone = add(0, box(0, 0, 200, 100));
    frame = openIn(gone);
    ASSERT_NE(frame, nullptr);
    headless.removeHostWindow(gone);
    const std::size_t before = headless.resizes().size();
    ASSERT_TRUE(frame->setFrameSize(240, 110));
    ASSERT_EQ(headless.resizes().size(), before + 1);
    EXPECT_EQ(headless.resizes().back(), (Resize{frame->window(), 240, 110}));
}

}  // namespace
