// +vectorgram for Pro Tools in real Windows windows: vectorgram_rtas.dll loaded and driven through its
// exports and the documented host interface only, its window opened in a top-level host window given
// as the port. The window class and child window are the ones Pro Tools' bridge makes, the editor sits
// at the bottom centred, a drag of the slider asks for control 2 and the effect follows the report,
// two inserts open side by side, close and reopen, and the picture agrees with the Linux one.
#include "platform/GraphicsSession.h"
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/PictureComparison.h"
#include "tests/e2e/win32/WindowsEditorHost.h"
#include "tools/plughost/ProToolsPlugin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kScreen = 40u << 16 | 94u << 8 | 108u;
constexpr int kWidth = 390, kHeight = 430;
// The host window is wider by an odd 41 pixels and taller by 60: the editor sits at (20, 60).
constexpr int kHostWidth = kWidth + 41, kHostHeight = kHeight + 60;
constexpr int kLeft = 20, kTop = 60;

// The host's side of the notifications: requests are recorded, and reported back only when the test
// says so.
struct Requests {
    std::vector<std::int32_t> values;
    static void PI_CALL notify(void* user, PI_Insert, std::int32_t what, std::int32_t index, std::int32_t value)
    {
        if (what == PI_NotifyControlRequest && index == 2) static_cast<Requests*>(user)->values.push_back(value);
    }
};

class VectorgramRtasWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
        std::string error;
        ASSERT_TRUE(plugin.load(pluginPath("vectorgram_rtas"), error)) << error;
        ASSERT_EQ(plugin.open(), PI_NoErr);
    }
    void TearDown() override
    {
        for (const PI_Insert insert : inserts) r().destroyInsert(insert);
        plugin.unload();
    }
    const ProToolsPlugin::Routines& r() const { return plugin.routines(); }

    PI_Insert create()
    {
        PI_Insert insert = 0;
        EXPECT_EQ(r().createInsert(1, 44100, &insert), PI_NoErr);
        inserts.push_back(insert);
        return insert;
    }
    // A host window of its own for the insert, idling it on the host's timer, with the plug-in window
    // opened inside.
    void openIn(WindowsEditorHost& host, PI_Insert insert)
    {
        std::string error;
        ASSERT_TRUE(host.openWindow(kHostWidth, kHostHeight, error)) << error;
        host.idleWith([this, insert] { r().idle(insert); });
        const PI_WindowPort port{PI_PortVersion, 0, std::uint64_t(reinterpret_cast<std::uintptr_t>(host.window()))};
        ASSERT_EQ(r().openWindow(insert, &port), PI_NoErr);
        ASSERT_TRUE(host.pumpUntil([&] { return editorPixel(host, 25 + 100, 35 + 200) == kScreen; }))
            << "the editor never painted";
    }
    std::string samples(PI_Insert insert) const { return plugin.controlText(insert, 2); }
    static std::uint32_t editorPixel(WindowsEditorHost& host, int x, int y) { return host.pixel(kLeft + x, kTop + y); }

    platform::GraphicsSession gdiplus;
    ProToolsPlugin plugin;
    std::vector<PI_Insert> inserts;
};

}  // namespace

TEST_F(VectorgramRtasWindows, TheBridgesClassAndWindowSitAtTheBottomCentred)
{
    const PI_Insert insert = create();
    PI_ViewRect size{};
    ASSERT_EQ(r().getViewSize(insert, &size), PI_NoErr);
    EXPECT_EQ(size.right - size.left, kWidth);
    EXPECT_EQ(size.bottom - size.top, kHeight);
    WindowsEditorHost host;
    ASSERT_NO_FATAL_FAILURE(openIn(host, insert));

    HWND child = GetWindow(host.window(), GW_CHILD);
    ASSERT_NE(child, nullptr);
    char name[64] = "", title[64] = "";
    GetClassNameA(child, name, sizeof name);
    GetWindowTextA(child, title, sizeof title);
    EXPECT_STREQ(name, "VectorgramLocal");
    EXPECT_STREQ(title, "VectorgramCustomUI");
    EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_STYLE)) & 0x50000000u, 0x50000000u);
    RECT placed{};
    GetWindowRect(child, &placed);
    MapWindowPoints(HWND_DESKTOP, host.window(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, kLeft);
    EXPECT_EQ(placed.top, kTop);
    EXPECT_EQ(placed.right, kLeft + kWidth);
    EXPECT_EQ(placed.bottom, kHostHeight);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    const HMODULE module = GetModuleHandleA("vectorgram_rtas.dll");
    ASSERT_NE(module, nullptr);
    ASSERT_TRUE(GetClassInfoExA(module, "VectorgramLocal", &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &DefWindowProcA);
    EXPECT_EQ(wc.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(0x7F00)));
    EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, MAKEINTRESOURCEA(0x7F00)));
    EXPECT_EQ(wc.lpszMenuName, nullptr);

    // The band above the editor and the margins stay the host's.
    EXPECT_EQ(host.pixel(kLeft + 195, 10), 0x808080u);
    EXPECT_EQ(host.pixel(5, kTop + 200), 0x808080u);
    EXPECT_EQ(editorPixel(host, 0, 0), 0x000000u) << "the frame's line";
    EXPECT_EQ(editorPixel(host, 25 + 100, 35 + 200), kScreen);
}

TEST_F(VectorgramRtasWindows, ADragAsksForControlTwoAndTheEffectFollowsTheReport)
{
    const PI_Insert insert = create();
    Requests requests;
    ASSERT_EQ(r().setNotify(insert, Requests::notify, &requests), PI_NoErr);
    WindowsEditorHost host;
    ASSERT_NO_FATAL_FAILURE(openIn(host, insert));
    EXPECT_EQ(editorPixel(host, 25 + 12 + 119, 380 + 13), kAccent) << "the thumb starts at 200 samples";

    host.drag({{kLeft + 157, kTop + 388}, {kLeft + 260, kTop + 388}, {kLeft + 389, kTop + 388}}, 400);
    ASSERT_FALSE(requests.values.empty()) << "the drag never reached the slider";
    for (std::size_t i = 1; i < requests.values.size(); ++i) EXPECT_GE(requests.values[i], requests.values[i - 1]);
    EXPECT_EQ(requests.values.back(), 2147483647);
    EXPECT_EQ(samples(insert), "200") << "nothing changes before Pro Tools reports back";

    ASSERT_EQ(r().setControlValue(insert, 2, requests.values.back()), PI_NoErr);
    EXPECT_EQ(samples(insert), "512");
    EXPECT_TRUE(host.pumpUntil([&] { return editorPixel(host, 25 + 328, 380 + 13) == kAccent; }))
        << "the thumb did not stand at the right end";
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/vectorgram-rtas-editor-win32-dragged.png"));

    // Automation moves it back; the window follows without a request.
    const std::size_t asked = requests.values.size();
    ASSERT_EQ(r().setControlValue(insert, 2, -2147483647 - 1), PI_NoErr);
    EXPECT_TRUE(host.pumpUntil([&] { return editorPixel(host, 25 + 12, 380 + 13) == kAccent; }));
    EXPECT_EQ(requests.values.size(), asked);
    ASSERT_EQ(r().setNotify(insert, nullptr, nullptr), PI_NoErr);
}

TEST_F(VectorgramRtasWindows, TwoInsertsOpenCloseAndReopen)
{
    const PI_Insert a = create(), b = create();
    WindowsEditorHost first(40, 40), second(40 + kHostWidth + 20, 40);
    ASSERT_NO_FATAL_FAILURE(openIn(first, a));
    ASSERT_NO_FATAL_FAILURE(openIn(second, b)) << "the second bridge finds the class registered";
    EXPECT_NE(GetWindow(first.window(), GW_CHILD), nullptr);
    EXPECT_NE(GetWindow(second.window(), GW_CHILD), nullptr);

    ASSERT_EQ(r().closeWindow(a), PI_NoErr);
    first.pumpFor(50);
    EXPECT_EQ(GetWindow(first.window(), GW_CHILD), nullptr);
    EXPECT_EQ(r().closeWindow(a), PI_ErrNoWindow);
    const PI_WindowPort port{PI_PortVersion, 0, std::uint64_t(reinterpret_cast<std::uintptr_t>(first.window()))};
    ASSERT_EQ(r().openWindow(a, &port), PI_NoErr);
    EXPECT_TRUE(first.pumpUntil([&] { return editorPixel(first, 25 + 100, 35 + 200) == kScreen; }));

    // The first insert goes while the second's window is open; the second closes and reopens still.
    ASSERT_EQ(r().destroyInsert(a), PI_NoErr);
    inserts.erase(inserts.begin());
    EXPECT_EQ(GetWindow(first.window(), GW_CHILD), nullptr);
    ASSERT_EQ(r().closeWindow(b), PI_NoErr);
    const PI_WindowPort again{PI_PortVersion, 0, std::uint64_t(reinterpret_cast<std::uintptr_t>(second.window()))};
    ASSERT_EQ(r().openWindow(b, &again), PI_NoErr);
    EXPECT_TRUE(second.pumpUntil([&] { return editorPixel(second, 25 + 100, 35 + 200) == kScreen; }));

    // A host that destroys its window first, then tells the plug-in.
    second.destroyHostWindow();
    EXPECT_EQ(r().closeWindow(b), PI_NoErr);
    EXPECT_EQ(r().idle(b), PI_NoErr);
}

TEST_F(VectorgramRtasWindows, ThePictureAgreesWithTheLinuxOne)
{
    const PI_Insert insert = create();
    WindowsEditorHost host;
    ASSERT_NO_FATAL_FAILURE(openIn(host, insert));
    // Idle until the direction dot has come to rest, as in the Linux picture.
    ASSERT_TRUE(host.pumpUntil([&] { return host.idlesSent() >= 100; }, 30000));
    host.pumpFor(100);
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/vectorgram-rtas-editor-win32.png"));
    const std::vector<std::uint32_t> all = host.capture();
    ASSERT_EQ(all.size(), std::size_t(kHostWidth) * kHostHeight);
    std::vector<std::uint32_t> editor;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) editor.push_back(all[std::size_t((kTop + y) * kHostWidth + kLeft + x)]);

    expectSamePicture(editor, kWidth, kHeight, TW_LINUX_RTAS_PICTURE,
                      {{0, 0}, {200, 0}, {22, 200}, {25 + 100, 35 + 200}, {25 + 169, 35 + 130}, {25 + 169, 35 + 10}},
                      20, 40);
}
