// The test editor in a real X11 window: a child of a window the test makes, repainted on expose and
// pressed through the XTEST extension. Skips when no display can be opened.
#include "platform/x11/X11WindowSystem.h"
#include "tests/viewframework/TestEditor.h"

#include <gtest/gtest.h>

// After everything else: Xlib's macros (None, Bool, Status) would rewrite the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The last value the editor automated, for a thread that waits on it.
std::atomic<float> automated{-1.0f};

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float opt)
{
    if (opcode == audioMasterAutomate) automated.store(opt);
    return opcode == audioMasterVersion ? 2400 : 0;
}

class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display";
        int a, b, c, d;
        if (!XTestQueryExtension(display, &a, &b, &c, &d)) GTEST_SKIP() << "no XTEST";
        host = XCreateSimpleWindow(display, DefaultRootWindow(display), 50, 50, 300, 200, 0, 0, 0x808080);
        XMapWindow(display, host);
        XSync(display, False);
        effect = new TestEffect(quietHost);
        editor = static_cast<TestEditor*>(effect->getEditor());
    }
    void TearDown() override
    {
        if (effect) effect->getAeffect()->dispatcher(effect->getAeffect(), effClose, 0, 0, nullptr, 0);
        if (display) {
            XDestroyWindow(display, host);
            XCloseDisplay(display);
        }
    }
    VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr)
    {
        return effect->getAeffect()->dispatcher(effect->getAeffect(), opcode, 0, 0, ptr, 0);
    }
    // Idles the way a host does until the condition holds; the limit only ends a test that failed.
    template <class F> bool idleUntil(F done)
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < giveUp) {
            dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }
    std::uint32_t screenPixel(::Window w, int x, int y)
    {
        XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xFFFFFFFF;
        const std::uint32_t p = std::uint32_t(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return p;
    }

    Display* display = nullptr;
    ::Window host = 0;
    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
};

TEST_F(X11WindowTest, OpensAsAChildRepaintsOnExposeAndTakesAnXTestPress)
{
    ASSERT_EQ(dispatch(effEditOpen, reinterpret_cast<void*>(host)), 1);
    const ::Window child = ::Window(editor->getFrame()->window());
    ASSERT_NE(child, 0u);
    ::Window root, parent, *kids = nullptr;
    unsigned count = 0;
    XQueryTree(display, child, &root, &parent, &kids, &count);
    if (kids) XFree(kids);
    EXPECT_EQ(parent, host);

    // The first expose paints everything: white inside, the left control at 0.25 grey.
    ASSERT_TRUE(idleUntil([&] { return editor->left->paints > 0; }));
    EXPECT_EQ(screenPixel(child, 30, 30), 0x3F3F3Fu);
    EXPECT_EQ(screenPixel(child, 5, 5), 0xFFFFFFu);

    // Covering and uncovering the window exposes it again.
    const int before = editor->left->paints;
    XUnmapWindow(display, host);
    XMapWindow(display, host);
    XSync(display, False);
    EXPECT_TRUE(idleUntil([&] { return editor->left->paints > before; }));

    // A press at x = 82 on the left control, held while the drag loop runs, released from another
    // connection once the loop has told the host the value the pointer gives, (82 - 10) / 90: the
    // release cannot overtake the position however the threads are scheduled.
    int hx = 0, hy = 0;
    ::Window dummy;
    XTranslateCoordinates(display, child, DefaultRootWindow(display), 82, 20, &hx, &hy, &dummy);
    XTestFakeMotionEvent(display, DefaultScreen(display), hx, hy, 0);
    XTestFakeButtonEvent(display, 1, True, 0);
    XSync(display, False);
    automated.store(-1.0f);
    std::thread releaser([] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (automated.load() != 0.8f && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Display* other = XOpenDisplay(nullptr);
        if (!other) return;
        XTestFakeButtonEvent(other, 1, False, 0);
        XSync(other, False);
        XCloseDisplay(other);
    });
    const bool pressed = idleUntil([&] { return editor->left->presses > 0; });
    releaser.join();
    ASSERT_TRUE(pressed);
    EXPECT_NEAR(effect->params[0], 0.8f, 1e-6);
    EXPECT_TRUE(idleUntil([&] { return screenPixel(child, 30, 30) == 0xCCCCCCu; }));

    dispatch(effEditClose);
    XSync(display, False);
}

TEST_F(X11WindowTest, TheFrameFindsItsPlaceAmongTheHostsWindowsAndResizesThem)
{
    ASSERT_EQ(dispatch(effEditOpen, reinterpret_cast<void*>(host)), 1);
    CFrame* frame = editor->getFrame();
    const platform::NativeWindow child = frame->window();
    // The host window, 100 larger each way, is not a wrapper of the editor: ours is the outer one.
    EXPECT_EQ(frame->outerWindow(), child);
    std::int32_t h = -1, v = -1;
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 0);

    // Of the editor's size with a 5-pixel border, the host window is the outer one, at the top.
    XSetWindowBorderWidth(display, host, 5);
    XResizeWindow(display, host, 200, 100);
    XSync(display, False);
    EXPECT_EQ(frame->outerWindow(), platform::NativeWindow(host));
    ASSERT_TRUE(frame->outerWindowPosition(h, v));
    EXPECT_EQ(h, 50);
    EXPECT_EQ(v, 50);
    // Nothing above the host window: its outer rectangle (border included) is on the screen.
    ViewRect r;
    ASSERT_TRUE(frame->outerWindowRect(r));
    EXPECT_EQ(r, ViewRect(50, 50, 260, 160));

    // The host does not size windows: the frame's window and the host window's inside take the size.
    ASSERT_TRUE(frame->setFrameSize(260, 140));
    XSync(display, False);
    ::Window root;
    int x, y;
    unsigned w = 0, hh = 0, border = 0, depth;
    XGetGeometry(display, host, &root, &x, &y, &w, &hh, &border, &depth);
    EXPECT_EQ(w, 260u);
    EXPECT_EQ(hh, 140u);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(border, 5u);
    XGetGeometry(display, ::Window(child), &root, &x, &y, &w, &hh, &border, &depth);
    EXPECT_EQ(w, 260u);
    EXPECT_EQ(hh, 140u);
    EXPECT_EQ(frame->getBounds(), ViewRect(0, 0, 260, 140));

    dispatch(effEditClose);
    XSync(display, False);
}

}  // namespace

TEST_F(X11WindowTest, AnEditorOpensOnceTheDisplayIsThereEvenAfterAFailedAttempt)
{
    platform::X11WindowSystem fresh;  // no connection tried yet
    platform::WindowSystem::install(&fresh);
    const std::string displayName = DisplayString(display);
    unsetenv("DISPLAY");
    EXPECT_EQ(dispatch(effEditOpen, reinterpret_cast<void*>(host)), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    setenv("DISPLAY", displayName.c_str(), 1);
    EXPECT_EQ(dispatch(effEditOpen, reinterpret_cast<void*>(host)), 1);
    EXPECT_NE(editor->getFrame(), nullptr);
    dispatch(effEditClose);
    platform::WindowSystem::install(nullptr);
}

// A window of a class of the caller's own: where it was asked to be, in the host's window, and left
// alone once the host destroyed its own window with it.
TEST_F(X11WindowTest, AClassWindowSitsWhereAskedAndOneGoneWithItsParentIsLeftAlone)
{
    platform::WindowSystem& ws = platform::WindowSystem::current();
    platform::WindowClassRecord record;
    record.recordSize = ws.windowClassRecordSize();
    record.style = platform::kClassRedrawHorizontal | platform::kClassRedrawVertical;
    record.instance = 0x77;
    record.className = "TestLocal";
    std::uint32_t error = 0;
    ASSERT_NE(ws.registerWindowClass(record, error), 0);
    EXPECT_EQ(ws.registerWindowClass(record, error), 0);
    EXPECT_EQ(error, platform::kErrorClassAlreadyExists);
    EXPECT_EQ(ws.clientRect(platform::NativeWindow(host)), (platform::Rect{0, 0, 300, 200}));

    const std::uint32_t style = platform::kWindowChild | platform::kWindowVisible;
    EXPECT_EQ(ws.createClassWindow("OtherLocal", "t", style, {0, 0, 10, 10}, host, 0x77, error), 0u);
    EXPECT_EQ(error, platform::kErrorClassNotFound);
    const platform::NativeWindow made = ws.createClassWindow("TestLocal", "t", style, {10, 20, 110, 70}, host, 0x77, error);
    ASSERT_NE(made, 0u) << error;
    ws.showWindowNow(made);
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    ASSERT_TRUE(XGetGeometry(display, ::Window(made), &root, &x, &y, &w, &h, &border, &depth));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(w, 100u);
    EXPECT_EQ(h, 50u);
    EXPECT_TRUE(ws.destroyClassWindow(made));
    EXPECT_FALSE(ws.destroyClassWindow(made)) << "destroyed once";

    // The host destroys its window first: the class window went with it and is not asked about again.
    const platform::NativeWindow orphan = ws.createClassWindow("TestLocal", "t", style, {0, 0, 50, 50}, host, 0x77, error);
    ASSERT_NE(orphan, 0u);
    XDestroyWindow(display, host);
    XSync(display, False);
    host = XCreateSimpleWindow(display, DefaultRootWindow(display), 50, 50, 300, 200, 0, 0, 0x808080);
    EXPECT_FALSE(ws.destroyClassWindow(orphan));

    EXPECT_TRUE(ws.unregisterWindowClass("TestLocal", 0x77, error));
    EXPECT_FALSE(ws.unregisterWindowClass("TestLocal", 0x77, error));
    EXPECT_EQ(error, platform::kErrorClassDoesNotExist);
}
