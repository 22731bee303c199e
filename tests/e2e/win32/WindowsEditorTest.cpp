// The test plug-in's editor in real windows of a Windows host: synthesised presses and drags reach the
// controls and the host, the window repaints, window classes are one per library, and every order of
// closing editor, effect and host window is survived.
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;
// Grey levels of the test controls: value * 255, truncated.
constexpr std::uint32_t grey(unsigned level)
{
    return level * 0x010101u;
}

std::string classOf(HWND hwnd)
{
    char name[256] = "";
    if (!hwnd || !GetClassNameA(hwnd, name, sizeof name)) return "";
    return name;
}

bool classRegistered(const std::string& name)
{
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return !name.empty() && GetClassInfoExA(GetModuleHandleA(nullptr), name.c_str(), &info) != 0;
}

HMODULE moduleOf(const char* file)
{
    return GetModuleHandleA(file);
}

// "Plugin" and the module handle in hex, whatever form the hex takes.
HMODULE moduleNamedBy(const std::string& className)
{
    if (className.rfind("Plugin", 0) != 0) return nullptr;
    return reinterpret_cast<HMODULE>(std::uintptr_t(std::strtoull(className.c_str() + 6, nullptr, 16)));
}

HMODULE moduleHolding(const void* address)
{
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(address), &m);
    return m;
}

class WindowsEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
    }
    void open(WindowsEditorHost& h, const char* plugin)
    {
        std::string error;
        ASSERT_TRUE(h.load(pluginPath(plugin), error)) << error;
        ASSERT_TRUE(h.openEditor(error)) << error;
        ASSERT_NE(h.editorWindow(), nullptr);
        ASSERT_TRUE(h.pumpUntil([&] { return h.pixel(1, 1) == kWhite; })) << "the editor never painted";
    }
};

TEST_F(WindowsEditorTest, APressSetsTheControlTellsTheHostAndRepaintsTheWindow)
{
    WindowsEditorHost h;
    ASSERT_NO_FATAL_FAILURE(open(h, "testeditor_vst"));
    EXPECT_EQ(h.width(), 200);
    EXPECT_EQ(h.height(), 100);
    RECT client{};
    GetClientRect(h.editorWindow(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);

    EXPECT_EQ(h.pixel(0, 0), kBlack);
    EXPECT_EQ(h.pixel(120, 0), kBlack);
    EXPECT_EQ(h.pixel(0, 70), kBlack);
    EXPECT_EQ(h.pixel(199, 99), kWhite);
    EXPECT_EQ(h.pixel(30, 30), grey(63));   // 0.25
    EXPECT_EQ(h.pixel(150, 30), grey(191));  // 0.75
    EXPECT_TRUE(h.saveScreenshot(TW_SCREENSHOT_DIR "/testeditor-win32.png"));

    h.press({55, 30});  // (55 - 10) / 90
    ASSERT_FALSE(h.plugin().automations.empty()) << "the press never reached the control";
    for (const auto& a : h.plugin().automations) {
        EXPECT_EQ(a.index, 0);
        EXPECT_NEAR(a.value, 0.5f, 1e-6f);
    }
    EXPECT_NEAR(h.plugin().getParameter(0), 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(h.plugin().getParameter(1), 0.75f);
    EXPECT_TRUE(h.pumpUntil([&] { return h.pixel(30, 30) == grey(127); })) << std::hex << h.pixel(30, 30);
    EXPECT_EQ(h.pixel(99, 49), grey(127));
    EXPECT_EQ(h.pixel(150, 30), grey(191));
    EXPECT_EQ(h.pixel(100, 30), grey(191));  // x = 100 belongs to the right control
    EXPECT_EQ(h.pixel(50, 50), kWhite);
    EXPECT_TRUE(h.saveScreenshot(TW_SCREENSHOT_DIR "/testeditor-win32-pressed.png"));
}

TEST_F(WindowsEditorTest, ADragIsFollowedBetweenOneBeginEditAndOneEndEdit)
{
    WindowsEditorHost h;
    ASSERT_NO_FATAL_FAILURE(open(h, "testeditor_vst"));
    const int idlesBefore = h.plugin().idleCalls.load();
    h.drag({{19, 30}, {46, 35}, {82, 30}}, 400);

    const auto& automations = h.plugin().automations;
    ASSERT_GE(automations.size(), 3u);
    EXPECT_NEAR(automations.front().value, 0.1f, 1e-6f);  // (19 - 10) / 90
    EXPECT_NEAR(automations.back().value, 0.8f, 1e-6f);   // (82 - 10) / 90
    int distinct = 1;
    for (std::size_t i = 1; i < automations.size(); ++i) {
        EXPECT_EQ(automations[i].index, 0);
        EXPECT_GE(automations[i].value, automations[i - 1].value) << "at " << i;
        if (automations[i].value != automations[i - 1].value) ++distinct;
    }
    EXPECT_GE(distinct, 3) << "the value did not follow the pointer";
    EXPECT_EQ(h.plugin().beginEdits, std::vector<VstInt32>{0});
    EXPECT_EQ(h.plugin().endEdits, std::vector<VstInt32>{0});
    EXPECT_GT(h.plugin().idleCalls.load(), idlesBefore) << "the drag loop kept no idle cycle";
    EXPECT_NEAR(h.plugin().getParameter(0), 0.8f, 1e-6f);
    EXPECT_TRUE(h.pumpUntil([&] { return h.pixel(50, 30) == grey(204); })) << std::hex << h.pixel(50, 30);
    EXPECT_EQ(h.pixel(150, 30), grey(191));
}

TEST_F(WindowsEditorTest, EachLibraryHasItsOwnClassSharedByItsEditorsUntilTheLastGoes)
{
    WindowsEditorHost a(40, 40), b(300, 40), c(40, 200);
    ASSERT_NO_FATAL_FAILURE(open(a, "testeditor_vst"));
    ASSERT_NO_FATAL_FAILURE(open(b, "testeditor2_vst"));
    ASSERT_NO_FATAL_FAILURE(open(c, "testeditor_vst"));
    const HMODULE first = moduleOf("testeditor_vst.dll"), second = moduleOf("testeditor2_vst.dll");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);

    const std::string nameA = classOf(a.editorWindow()), nameB = classOf(b.editorWindow()),
                      nameC = classOf(c.editorWindow());
    EXPECT_EQ(moduleNamedBy(nameA), first) << nameA;
    EXPECT_EQ(moduleNamedBy(nameB), second) << nameB;
    EXPECT_NE(nameA, nameB);
    EXPECT_EQ(nameA, nameC);
    EXPECT_TRUE(classRegistered(nameA));
    EXPECT_TRUE(classRegistered(nameB));
    // Each class's window procedure lives in its own library.
    EXPECT_EQ(moduleHolding(reinterpret_cast<void*>(GetClassLongPtrA(a.editorWindow(), GCLP_WNDPROC))), first);
    EXPECT_EQ(moduleHolding(reinterpret_cast<void*>(GetClassLongPtrA(b.editorWindow(), GCLP_WNDPROC))), second);

    const HWND childA = a.editorWindow();
    a.closeEditor();
    a.pumpFor(30);
    EXPECT_FALSE(IsWindow(childA));
    EXPECT_TRUE(classRegistered(nameA)) << "gone while the other editor of the library still uses it";
    // The editor left open still takes input and paints.
    c.press({145, 30});  // (145 - 100) / 90
    EXPECT_NEAR(c.plugin().getParameter(1), 0.5f, 1e-6f);
    EXPECT_TRUE(c.pumpUntil([&] { return c.pixel(150, 30) == grey(127); }));
    EXPECT_TRUE(a.plugin().automations.empty());

    c.closeEditor();
    c.pumpFor(30);
    EXPECT_FALSE(classRegistered(nameA));
    EXPECT_TRUE(classRegistered(nameB));
    b.closeEditor();
    EXPECT_FALSE(classRegistered(nameB));
}

TEST_F(WindowsEditorTest, ClosingEditorAndEffectBeforeTheHostWindowLeavesNothingBehind)
{
    std::string name;
    {
        WindowsEditorHost h;
        ASSERT_NO_FATAL_FAILURE(open(h, "testeditor_vst"));
        const HWND child = h.editorWindow();
        name = classOf(child);
        h.closeEditor();
        h.pumpFor(30);
        EXPECT_FALSE(IsWindow(child));
        EXPECT_EQ(h.editorWindow(), nullptr);
        h.closeEffect();
        EXPECT_EQ(moduleOf("testeditor_vst.dll"), nullptr);
        EXPECT_FALSE(classRegistered(name));
        h.pumpFor(30);
        h.destroyHostWindow();
    }
    // And the library opens its editor again afterwards.
    WindowsEditorHost again;
    ASSERT_NO_FATAL_FAILURE(open(again, "testeditor_vst"));
    EXPECT_EQ(again.pixel(30, 30), grey(63));
}

TEST_F(WindowsEditorTest, AHostWindowDestroyedFirstTakesTheEditorAndCloseDestroysNothingElse)
{
    WindowsEditorHost a(40, 40), b(300, 40);
    ASSERT_NO_FATAL_FAILURE(open(a, "testeditor_vst"));
    ASSERT_NO_FATAL_FAILURE(open(b, "testeditor_vst"));
    const HWND childA = a.editorWindow(), childB = b.editorWindow();
    const std::string name = classOf(childA);

    a.destroyHostWindow();
    EXPECT_FALSE(IsWindow(childA));
    // Idle and close reach a frame whose window is gone: nothing may touch a handle.
    a.plugin().dispatch(effEditIdle);
    a.closeEditor();
    b.pumpFor(30);
    EXPECT_TRUE(IsWindow(childB));
    EXPECT_TRUE(classRegistered(name));
    b.press({55, 30});
    EXPECT_NEAR(b.plugin().getParameter(0), 0.5f, 1e-6f);
    EXPECT_TRUE(b.pumpUntil([&] { return b.pixel(30, 30) == grey(127); }));
    a.closeEffect();

    b.destroyHostWindow();
    EXPECT_FALSE(IsWindow(childB));
    b.closeEditor();
    b.closeEffect();
    EXPECT_EQ(moduleOf("testeditor_vst.dll"), nullptr);
    // A library gone must not leave a class whose window procedure pointed into it.
    EXPECT_FALSE(classRegistered(name));

    WindowsEditorHost again;
    ASSERT_NO_FATAL_FAILURE(open(again, "testeditor_vst"));
    EXPECT_EQ(again.pixel(150, 30), grey(191));
}

// The test plug-in's own request to resize its frame (see TestEditor.h): opcode, index, width in
// value, height in opt.
constexpr VstInt32 kVendorOpcode = 50, kResizeFrame = 0x74775346;

RECT clientOf(HWND hwnd)
{
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

TEST_F(WindowsEditorTest, SetFrameSizeGoesThroughAHostThatSizesItsWindowElseResizesTheHostWindow)
{
    WindowsEditorHost h;
    ASSERT_NO_FATAL_FAILURE(open(h, "testeditor_vst"));
    auto resize = [&](int w, int hgt) { return h.plugin().dispatch(kVendorOpcode, kResizeFrame, w, nullptr, float(hgt)); };

    // The host offers sizeWindow: it is asked, and only the editor's own window changes.
    ASSERT_EQ(resize(260, 130), 1);
    ASSERT_EQ(h.plugin().windowSizes.size(), 1u);
    EXPECT_EQ(h.plugin().windowSizes[0], (std::pair<VstInt32, VstInt32>{260, 130}));
    EXPECT_EQ(clientOf(h.editorWindow()).right, 260);
    EXPECT_EQ(clientOf(h.editorWindow()).bottom, 130);
    EXPECT_EQ(h.width(), 200);
    EXPECT_EQ(h.height(), 100);
    EXPECT_EQ(resize(260, 130), 0);  // unchanged

    // A host that does not: the frame grows the borderless host window itself, to exactly its size.
    h.plugin().offersSizeWindow = false;
    ASSERT_EQ(resize(300, 150), 1);
    EXPECT_EQ(h.plugin().windowSizes.size(), 1u);
    EXPECT_EQ(h.width(), 300);
    EXPECT_EQ(h.height(), 150);
    EXPECT_EQ(clientOf(h.editorWindow()).right, 300);
    EXPECT_EQ(clientOf(h.editorWindow()).bottom, 150);
    RECT outer{};
    GetWindowRect(h.window(), &outer);
    EXPECT_EQ(outer.left, 40) << "the host window moved";
    EXPECT_EQ(outer.top, 40);
    // The new area is the editor's: painted in its white, the controls where they were.
    EXPECT_TRUE(h.pumpUntil([&] { return h.pixel(299, 149) == kWhite && h.pixel(250, 120) == kWhite; }))
        << std::hex << h.pixel(299, 149);
    EXPECT_EQ(h.pixel(30, 30), grey(63));
    EXPECT_EQ(h.pixel(0, 140), kBlack);  // the frame's left line runs the new height
    EXPECT_EQ(h.pixel(280, 0), kBlack);

    // Shrinking takes the host window with it.
    ASSERT_EQ(resize(180, 90), 1);
    EXPECT_EQ(h.width(), 180);
    EXPECT_EQ(h.height(), 90);
    h.closeEditor();
    EXPECT_EQ(resize(220, 110), 0) << "no frame once closed";
}

}  // namespace
