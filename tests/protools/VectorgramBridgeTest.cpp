// The window bridge of +vectorgram for Pro Tools on the headless window system: its window class and
// child window, where it places the editor in the host's window, the view the library shows, sizes,
// highlights, and every way a window can come and go (two inserts, reopening, a host that destroys its
// window first, a bridge without an effect).
#include "protools/CVectorgramGroup.h"
#include "protools/CVectorgramView.h"
#include "protools/library/CNoResourceView.h"
#include "tests/protools/FailingAllocation.h"
#include "tests/protools/ProToolsWindowSupport.h"
#include "viewframework/CDrawContext.h"
#include "widgets/VGTextButton.h"

#include <memory>

using namespace ptwindow;

namespace {

class VectorgramBridge : public WindowFixture {
protected:
    void TearDown() override
    {
        failing::disarm();
        WindowFixture::TearDown();
    }
    // Where the bridge put its window in the host's client area.
    platform::Rect placement(PI_Insert insert) const { return headless.rectOf(bridge(insert)->getChildWindow()); }
};

TEST_F(VectorgramBridge, RegistersItsClassAndMakesItsChildWindowAsSpecified)
{
    const PI_Insert insert = create();
    const platform::NativeWindow parent = hostWindow(390, 430);
    ASSERT_EQ(open(insert, parent), PI_NoErr);
    CVectorgramCustomUI* b = bridge(insert);
    ASSERT_NE(b, nullptr);

    const platform::WindowClassRecord& c = headless.lastClassRecord();
    EXPECT_EQ(c.recordSize, 48u);
    EXPECT_EQ(c.style, 3u);
    EXPECT_EQ(c.instance, process(insert).getModuleInstance());
    EXPECT_NE(c.instance, 0u);
    EXPECT_EQ(c.icon, 0x7F00u);
    EXPECT_EQ(c.cursor, 0x7F00u);
    EXPECT_EQ(c.background, platform::StockBrush::Black);
    EXPECT_EQ(c.menuName, nullptr);
    EXPECT_STREQ(c.className, "VectorgramLocal");
    EXPECT_NE(b->getClassAtom(), 0);

    const platform::NativeWindow child = b->getChildWindow();
    ASSERT_NE(child, 0u);
    const auto made = headless.classWindow(child);
    EXPECT_EQ(made.className, "VectorgramLocal");
    EXPECT_EQ(made.title, "VectorgramCustomUI");
    EXPECT_EQ(made.style, 0x50000000u);
    EXPECT_EQ(made.instance, c.instance);
    EXPECT_EQ(made.shownNow, 1);
    EXPECT_EQ(headless.parentOf(child), parent);
    // The editor's frame lives in the bridge's window, and the first draw painted it.
    ASSERT_NE(frameWindow(insert), 0u);
    EXPECT_EQ(headless.parentOf(frameWindow(insert)), child);
    EXPECT_EQ(headless.pixel(frameWindow(insert), 0, 0), 0x000000u) << "the frame's line";
    EXPECT_EQ(headless.pixel(frameWindow(insert), 22, 200), 0xFFFFFFu);
}

TEST_F(VectorgramBridge, PlacesTheEditorAtTheBottomCentredWithTruncation)
{
    const PI_Insert insert = create();
    const struct {
        int width, height;
        platform::Rect expected;
    } cases[] = {
        {390, 430, {0, 0, 390, 430}},
        {400, 430, {5, 0, 395, 430}},
        {391, 430, {0, 0, 390, 430}},  // (391 - 390) / 2 truncates to 0
        {401, 430, {5, 0, 395, 430}},
        {390, 500, {0, 70, 390, 500}},  // taller: at the bottom, the band above
        {480, 600, {45, 170, 435, 600}},
        {380, 430, {-5, 0, 385, 430}},  // narrower: centred all the same
    };
    for (const auto& c : cases) {
        const platform::NativeWindow parent = hostWindow(c.width, c.height);
        ASSERT_EQ(open(insert, parent), PI_NoErr) << c.width << " x " << c.height;
        EXPECT_EQ(placement(insert), c.expected) << c.width << " x " << c.height;
        EXPECT_EQ(bridge(insert)->getParentWidth(), c.width);
        EXPECT_EQ(bridge(insert)->getVerticalOffset(), c.height - 430);
        EXPECT_EQ(headless.rectOf(frameWindow(insert)), (platform::Rect{0, 0, 390, 430}));
        ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    }
    EXPECT_EQ(headless.windowCount(), 0u);

    // The editor's rectangle decides the size: a bridge told another one places that.
    ASSERT_NE(bridge(insert), nullptr);
    bridge(insert)->setRect(0, 0, 300, 200);
    PI_ViewRect size{};
    ASSERT_EQ(r().getViewSize(insert, &size), PI_NoErr);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.left, 0);
    EXPECT_EQ(size.bottom, 200);
    EXPECT_EQ(size.right, 300);
    ASSERT_EQ(open(insert, hostWindow(400, 300)), PI_NoErr);
    EXPECT_EQ(placement(insert), (platform::Rect{50, 100, 350, 300}));
}

TEST_F(VectorgramBridge, AnswersItsSizeAndTheLibraryHoldsItsView)
{
    const PI_Insert insert = create();
    EXPECT_EQ(bridge(insert), nullptr) << "made only when the library first asks";
    PI_ViewRect size{};
    ASSERT_EQ(r().getViewSize(insert, &size), PI_NoErr);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.left, 0);
    EXPECT_EQ(size.bottom, 430);
    EXPECT_EQ(size.right, 390);
    ASSERT_NE(bridge(insert), nullptr);
    EXPECT_EQ(editor(insert)->getFrame(), nullptr) << "the editor waits, closed";
    EXPECT_EQ(r().getViewSize(insert, nullptr), PI_ErrNullPointer);

    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    CEffectProcess& p = process(insert);
    const CPlugInView* view = p.plugInView();
    ASSERT_NE(dynamic_cast<const CNoResourceView*>(view), nullptr);
    EXPECT_EQ(view->bounds().right, 390);
    EXPECT_EQ(view->bounds().bottom, 430);
    ASSERT_EQ(view->subviewCount(), 1);
    auto* inside = dynamic_cast<CVectorgramView*>(view->subview(0));
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside, process(insert).getPlugInView());
    EXPECT_EQ(inside->viewID(), 0x4E6F4944u);  // 'NoID'
    EXPECT_EQ(inside->bounds().right, 390);
    EXPECT_EQ(inside->bounds().bottom, 430);
    EXPECT_EQ(inside->getCustomUI(), bridge(insert));
    EXPECT_EQ(inside->state(), 1);
    EXPECT_NE(process(insert).getViewPort(), nullptr);

    // A draw request repaints the whole editor at once.
    const platform::NativeWindow frame = frameWindow(insert);
    CFrame* f = editor(insert)->getFrame();
    auto paint = f->makeContext();
    paint->setBrushColour(kColourBlack);  // spoil the picture
    paint->fillBox(ViewRect(0, 0, 390, 430));
    paint->release();
    ASSERT_EQ(headless.pixel(frame, 22, 200), 0x000000u);
    const PI_ViewRect corner{0, 0, 10, 10};
    ASSERT_EQ(r().drawWindow(insert, &corner), PI_NoErr);
    EXPECT_EQ(headless.pixel(frame, 22, 200), 0xFFFFFFu) << "not only the rectangle named";
    ASSERT_EQ(r().drawWindow(insert, nullptr), PI_NoErr);

    ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    EXPECT_EQ(inside->state(), 0);
    EXPECT_EQ(process(insert).getViewPort(), nullptr);
    EXPECT_EQ(r().drawWindow(insert, nullptr), PI_ErrNoWindow);
    EXPECT_EQ(r().closeWindow(insert), PI_ErrNoWindow) << "a second close";
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(p.plugInView(), view) << "the library keeps its view";
    EXPECT_EQ(inside->state(), 1);
}

TEST_F(VectorgramBridge, BadPortsAndMissingInsertsAreRefused)
{
    const PI_Insert insert = create();
    EXPECT_EQ(r().openWindow(insert, nullptr), PI_ErrNullPointer);
    PI_WindowPort wrong{PI_PortVersion + 1, 0, hostWindow(390, 430)};
    EXPECT_EQ(r().openWindow(insert, &wrong), PI_ErrBadPort);
    EXPECT_EQ(open(insert, 0), PI_ErrBadPort);
    EXPECT_EQ(open(insert + 1, hostWindow(390, 430)), PI_ErrUnknownInsert);
    EXPECT_EQ(r().closeWindow(insert), PI_ErrNoWindow);
    std::int32_t index = -1;
    EXPECT_EQ(r().controlAt(0, 1, 1, &index), PI_ErrUnknownInsert);
    EXPECT_EQ(r().controlAt(insert, 1, 1, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(r().highlightControl(insert, 3, 1, 0), PI_ErrUnknownControl);
    EXPECT_EQ(headless.windowCount(), 0u);

    // A parent the system does not know: the bridge's window cannot be made, and the host hears so.
    const platform::NativeWindow gone = hostWindow(390, 430);
    headless.removeHostWindow(gone);
    EXPECT_EQ(open(insert, gone), PI_ErrWindowFailed);
    EXPECT_FALSE(process(insert).windowOpen());
    EXPECT_EQ(process(insert).getViewPort(), nullptr);
    EXPECT_EQ(bridge(insert)->getParentWindow(), 0u);
    EXPECT_EQ(headless.windowCount(), 0u);
    // So does a system that refuses the window for its own reasons; and a later open still works.
    headless.failNextClassWindow(8);  // not enough memory
    EXPECT_EQ(open(insert, hostWindow(390, 430)), PI_ErrWindowFailed);
    EXPECT_EQ(bridge(insert)->getModuleInstance(), 0u);
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(bridge(insert)->getModuleInstance(), process(insert).getModuleInstance());
    EXPECT_NE(frameWindow(insert), 0u);
}

TEST_F(VectorgramBridge, TwoInsertsShareTheClassInAnyOrder)
{
    const platform::ModuleHandle module = platform::moduleContaining(reinterpret_cast<const void*>(&WinPlugInOpen));
    PI_Insert a = create(), b = create();
    ASSERT_EQ(open(a, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(CVectorgramCustomUI::classUsers(module), 1);
    // The second bridge registers again; "already exists" is success, and its window opens.
    ASSERT_EQ(open(b, hostWindow(400, 500)), PI_NoErr);
    EXPECT_EQ(bridge(b)->getClassAtom(), 0) << "its registration found the class there";
    EXPECT_EQ(CVectorgramCustomUI::classUsers(module), 2);
    EXPECT_NE(frameWindow(a), 0u);
    EXPECT_NE(frameWindow(b), 0u);
    EXPECT_NE(editor(a), editor(b));

    // Close and reopen in any order; the first insert goes while the second's window is open.
    ASSERT_EQ(r().closeWindow(a), PI_NoErr);
    ASSERT_EQ(r().closeWindow(b), PI_NoErr);
    ASSERT_EQ(open(b, hostWindow(390, 430)), PI_NoErr);
    ASSERT_EQ(open(a, hostWindow(390, 430)), PI_NoErr);
    ASSERT_EQ(r().destroyInsert(a), PI_NoErr);
    EXPECT_EQ(CVectorgramCustomUI::classUsers(module), 1);
    ASSERT_EQ(r().closeWindow(b), PI_NoErr);
    ASSERT_EQ(open(b, hostWindow(390, 430)), PI_NoErr) << "the class outlived the first bridge";
    a = create();
    ASSERT_EQ(open(a, hostWindow(390, 430)), PI_NoErr);
    ASSERT_EQ(r().destroyInsert(b), PI_NoErr);
    ASSERT_EQ(r().destroyInsert(a), PI_NoErr);
    EXPECT_EQ(CVectorgramCustomUI::classUsers(module), 0);
    EXPECT_EQ(headless.windowCount(), 0u);
    // The last bridge unregistered it: the next registers afresh.
    b = create();
    ASSERT_EQ(open(b, hostWindow(390, 430)), PI_NoErr);
    EXPECT_NE(bridge(b)->getClassAtom(), 0);
}

TEST_F(VectorgramBridge, ARegistrationRefusedForAnotherReasonMakesNoBridge)
{
    const PI_Insert insert = create();
    vectorgram* effect = process(insert).getEffect();
    headless.failNextClassRegistration(87);
    PI_ViewRect size{};
    EXPECT_EQ(r().getViewSize(insert, &size), PI_ErrWindowFailed);
    EXPECT_EQ(bridge(insert), nullptr);
    EXPECT_EQ(effect->getEditor(), nullptr) << "the editor made for it went with it";
    EXPECT_EQ(size.right, 0);
    // The next request tries again and succeeds.
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(effect->getEditor(), editor(insert));
    try {
        headless.failNextClassRegistration(5);  // access denied
        bridge(insert)->registerWindowClass();
        ADD_FAILURE() << "no error thrown";
    } catch (std::uint32_t error) {
        EXPECT_EQ(error, 5u);
    }
}

TEST_F(VectorgramBridge, ReopeningClosesTheOldWindowAndASecondCloseAnswersFalse)
{
    const PI_Insert insert = create();
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    const platform::NativeWindow first = bridge(insert)->getChildWindow();
    const platform::NativeWindow other = hostWindow(400, 430);
    ASSERT_EQ(open(insert, other), PI_NoErr);
    EXPECT_FALSE(headless.exists(first));
    EXPECT_EQ(headless.classWindowsDestroyed(), 1);
    EXPECT_EQ(headless.parentOf(bridge(insert)->getChildWindow()), other);
    EXPECT_EQ(headless.windowCount(), 2u) << "one bridge window and the frame's";

    CVectorgramCustomUI* b = bridge(insert);
    EXPECT_TRUE(b->close());
    EXPECT_EQ(b->getChildWindow(), 0u);
    EXPECT_FALSE(b->close());
    EXPECT_EQ(headless.classWindowsDestroyed(), 2);
    EXPECT_EQ(headless.windowCount(), 0u);
    EXPECT_FALSE(b->open(0)) << "no parent, nothing made";
    EXPECT_EQ(headless.windowCount(), 0u);
}

TEST_F(VectorgramBridge, AHostThatDestroysItsWindowFirstLeavesNothingStale)
{
    const PI_Insert insert = create();
    const platform::NativeWindow parent = hostWindow(390, 430);
    ASSERT_EQ(open(insert, parent), PI_NoErr);
    idle(insert, 2);
    const int destroyCalls = headless.destroyCalls();
    headless.destroyHostWindow(parent);
    EXPECT_EQ(headless.windowCount(), 0u);
    // The plug-in goes on being idled and drawn, then is told; it calls nothing on the dead windows.
    idle(insert, 2);
    EXPECT_EQ(r().drawWindow(insert, nullptr), PI_NoErr);
    EXPECT_EQ(r().closeWindow(insert), PI_NoErr);
    EXPECT_EQ(headless.destroyCalls(), destroyCalls);
    EXPECT_EQ(headless.classWindowsDestroyed(), 0);
    EXPECT_EQ(bridge(insert)->getChildWindow(), 0u);
    EXPECT_EQ(editor(insert)->getFrame(), nullptr);
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_NE(frameWindow(insert), 0u);
    ASSERT_EQ(r().destroyInsert(insert), PI_NoErr);
    EXPECT_EQ(headless.windowCount(), 0u);
}

TEST_F(VectorgramBridge, ANullPortBeforeAnyBridgeOnlyRecordsIt)
{
    const PI_Insert insert = create();
    CVectorgramProcess& p = process(insert);
    p.setWindowPort(nullptr);
    EXPECT_EQ(p.getCustomUI(), nullptr) << "no bridge made for it";
    EXPECT_EQ(p.getPlugInView(), nullptr);
    EXPECT_FALSE(p.windowOpen());
    // A port before any bridge: recorded, nothing opened.
    const PI_WindowPort given = port(hostWindow(390, 430));
    p.setWindowPort(&given);
    EXPECT_TRUE(p.windowOpen());
    EXPECT_EQ(headless.windowCount(), 0u);
    p.setWindowPort(nullptr);

    // With the library's view but the bridge taken away.
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    CVectorgramCustomUI* kept = p.getCustomUI();
    p.setCustomUI(nullptr);
    p.setWindowPort(nullptr);
    EXPECT_EQ(p.getPlugInView()->state(), 0);
    p.setCustomUI(kept);
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_NE(frameWindow(insert), 0u);
}

TEST_F(VectorgramBridge, WithoutAnEffectThereIsNoEditorAndNoWindow)
{
    CVectorgramCustomUI orphan(nullptr);
    EXPECT_EQ(orphan.getEditor(), nullptr);
    std::int32_t l = 1, t = 1, rr = 1, b = 1;
    orphan.getRect(&l, &t, &rr, &b);
    EXPECT_EQ(rr - l, 0);
    EXPECT_EQ(b - t, 0);
    EXPECT_FALSE(orphan.open(hostWindow(390, 430)));
    EXPECT_EQ(orphan.getParentWindow(), 0u);
    EXPECT_EQ(orphan.setControlValue(2, 0), 0);
    orphan.idle();
    orphan.draw(0, 0, 390, 430);
    orphan.setControlHighlight(2, true, 0);
    EXPECT_EQ(headless.windowCount(), 0u);

    failing::failNextAllocationOf(sizeof(vectorgram));
    const PI_Insert insert = create();
    ASSERT_TRUE(failing::fired());
    PI_ViewRect size{};
    EXPECT_EQ(r().getViewSize(insert, &size), PI_ErrNoWindow);
    EXPECT_EQ(open(insert, hostWindow(390, 430)), PI_ErrNoWindow);
    EXPECT_EQ(r().drawWindow(insert, nullptr), PI_ErrNoWindow);
    ASSERT_NE(bridge(insert), nullptr);
    EXPECT_EQ(editor(insert), nullptr);
    EXPECT_EQ(headless.windowCount(), 0u);
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    ASSERT_EQ(r().idle(insert), PI_NoErr);
    EXPECT_EQ(r().destroyInsert(insert), PI_NoErr);
}

TEST_F(VectorgramBridge, TheViewForgetsTheBridgeBeforeTheBridgeGoes)
{
    // A process made the way the library makes one, its view kept beyond it.
    std::unique_ptr<CProcess> made(CVectorgramGroup::createProcess());
    auto& p = dynamic_cast<CVectorgramProcess&>(*made);
    std::unique_ptr<CPlugInView> view(p.createPlugInView());
    ASSERT_NE(view, nullptr);
    auto* inside = dynamic_cast<CVectorgramView*>(view->subview(0));
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->getCustomUI(), p.getCustomUI());
    made.reset();
    EXPECT_EQ(inside->getCustomUI(), nullptr);
    view->draw(PI_ViewRect{0, 0, 430, 390});  // reaches nothing
}

TEST_F(VectorgramBridge, HighlightRedrawsTheSliderOnlyAndNoControlLiesUnderAnyPoint)
{
    const PI_Insert insert = create();
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    idle(insert, 3);
    VGSlider* slider = editor(insert)->slider();
    ASSERT_FALSE(slider->needsRedraw());
    for (const std::int32_t on : {1, 0}) {
        ASSERT_EQ(r().highlightControl(insert, 2, on, 3), PI_NoErr);
        EXPECT_TRUE(slider->needsRedraw()) << "highlight " << on;
        idle(insert, 2);
        EXPECT_FALSE(slider->needsRedraw());
    }
    // The master bypass is the library's own; it changes nothing on screen.
    ASSERT_EQ(r().highlightControl(insert, 1, 1, 3), PI_NoErr);
    EXPECT_TRUE(process(insert).controlHighlighted(1));
    EXPECT_FALSE(process(insert).controlHighlighted(2));
    EXPECT_FALSE(slider->needsRedraw());
    EXPECT_FALSE(editor(insert)->peakBits()->needsRedraw());
    // Other indices the bridge is asked about directly do nothing either.
    for (std::int32_t index : {0, 1, 3, 901, -8888}) bridge(insert)->setControlHighlight(index, true, 1);
    EXPECT_FALSE(slider->needsRedraw());

    for (const platform::Point at : {platform::Point{195, 388}, {0, 0}, {389, 429}, {-5, 1000}}) {
        std::int32_t index = -1;
        ASSERT_EQ(r().controlAt(insert, at.x, at.y, &index), PI_NoErr);
        EXPECT_EQ(index, 0) << at.x << "," << at.y;
    }
}

TEST_F(VectorgramBridge, CloseAndReopenKeepTheEditorAndRestoreItsColours)
{
    const PI_Insert insert = create();
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    CVectorgramVSTEditor* first = editor(insert);
    vectorgram* effect = process(insert).getEffect();
    EXPECT_EQ(effect->getEditor(), first) << "the effect owns the editor";
    EXPECT_TRUE(first->isEditorOpen());
    click(frameWindow(insert), {378, 408});  // the colour button
    const VGPalette random = first->currentPalette();
    EXPECT_FALSE(random[0] == CVectorgramVSTEditor::kDefaultPalette[0] &&
                 random[1] == CVectorgramVSTEditor::kDefaultPalette[1]);
    ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    EXPECT_FALSE(first->isEditorOpen());
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(editor(insert), first);
    EXPECT_TRUE(first->isEditorOpen());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(first->currentPalette()[i], CVectorgramVSTEditor::kDefaultPalette[i]);
}

// Under AddressSanitizer: nothing leaks, however often the window comes and goes.
TEST_F(VectorgramBridge, OpensAndCloses1000Times)
{
    const PI_Insert insert = create();
    const platform::NativeWindow parent = hostWindow(400, 460);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(open(insert, parent), PI_NoErr);
        if (i % 100 == 0) {
            idle(insert, 2);
            ASSERT_EQ(r().drawWindow(insert, nullptr), PI_NoErr);
        }
        ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    }
    EXPECT_EQ(headless.windowCount(), 0u);
    EXPECT_EQ(headless.classWindowsDestroyed(), 1000);
}

}  // namespace
